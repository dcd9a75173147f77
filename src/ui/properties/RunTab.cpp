#include "ui/properties/RunTab.h"

#include "state/AppState.h"
#include "state/EntryMachine.h"
#include "ui/properties/CommandPreview.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QString kDefaultEmulatorChoice = QStringLiteral("The default for its kind");
const QString kMachineAsRead = QStringLiteral("As read from the file: %1");
const QString kMachineNotRead = QStringLiteral("As read from the file");

} // namespace

RunTab::RunTab(AppState &state, QWidget *parent)
    : QWidget(parent)
    , m_state(state)
{
    setObjectName(QStringLiteral("tabRun"));
    cboEmulator = new QComboBox(this);
    cboEmulator->setObjectName(QStringLiteral("cboEmulator"));
    cboMachine = new QComboBox(this);
    cboMachine->setObjectName(QStringLiteral("cboMachine"));
    txtArguments = new QLineEdit(this);
    txtArguments->setObjectName(QStringLiteral("txtRunArguments"));
    txtArguments->setPlaceholderText(QStringLiteral("added after the emulator's own"));
    preview = new CommandPreview(state, this);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Emulator:"), cboEmulator);
    form->addRow(QStringLiteral("&Machine:"), cboMachine);
    form->addRow(QStringLiteral("Extra &arguments:"), txtArguments);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(preview);
    layout->addStretch();

    connect(cboEmulator, &QComboBox::currentIndexChanged, this, [this] { update(); });
    connect(cboMachine, &QComboBox::currentIndexChanged, this, [this] { update(); });
    connect(txtArguments, &QLineEdit::textChanged, this, [this] { update(); });
}

void RunTab::showChoice(const EntryRunChoice &choice, const RomRecord &record)
{
    m_showing = true;
    m_record = record;
    cboEmulator->clear();
    cboEmulator->addItem(kDefaultEmulatorChoice, QString());
    for (const ProgramEntry &emulator : std::as_const(m_state.emulators.entries)) {
        if (!emulator.name.isEmpty() && !emulator.path.isEmpty())
            cboEmulator->addItem(emulator.name, emulator.name);
    }
    // An emulator the entry names that is gone stays shown, so OK does not drop it unasked.
    if (!choice.emulator.isEmpty() && cboEmulator->findData(choice.emulator) < 0)
        cboEmulator->addItem(choice.emulator, choice.emulator);
    cboEmulator->setCurrentIndex(std::max(0, cboEmulator->findData(choice.emulator)));

    cboMachine->clear();
    cboMachine->addItem(kMachineNotRead, QString());
    for (const SpectrumMachine machine : allMachines())
        cboMachine->addItem(machineName(machine), machineKey(machine));
    const std::optional<SpectrumMachine> chosen = machineFromText(choice.machine);
    cboMachine->setCurrentIndex(chosen ? cboMachine->findData(machineKey(*chosen)) : 0);
    txtArguments->setText(choice.arguments);
    m_showing = false;
    entryEdited(record);
}

void RunTab::entryEdited(const RomRecord &record)
{
    m_record = record;
    const std::optional<MachineReading> read =
        machineOfEntry(record, m_state.paths, m_state.machines);
    cboMachine->setItemText(0,
                            read ? kMachineAsRead.arg(machineWithReason(*read)) : kMachineNotRead);
    update();
}

EntryRunChoice RunTab::choice() const
{
    return {cboEmulator->currentData().toString(), cboMachine->currentData().toString(),
            txtArguments->text().trimmed()};
}

void RunTab::update()
{
    if (!m_showing)
        preview->showFor(m_record, choice());
}
