#include "ui/programs/EmulatorProfileEditor.h"

#include "launch/EmulatorPresets.h"
#include "ui/common/Dialogs.h"
#include "ui/programs/ProgramListDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

const QString kSelectEmulator = QStringLiteral("Select an Emulator");
const QString kArgumentsHint =
    QStringLiteral("{file} the rom file, {dir} its folder, {name} its name, {machine} the "
                   "machine's arguments; [ ... ] is left out when a value in it is empty.");
const QString kNoPreset = QStringLiteral("(none)");
const QString kPresetMatches = QStringLiteral("The executable looks like %1.");

// A row that is a layout gets no buddy of its own: its label names the field it leads to.
QLabel *labelFor(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text, buddy->parentWidget());
    label->setBuddy(buddy);
    return label;
}

} // namespace

const QStringList &EmulatorProfileEditor::fileKinds()
{
    static const QStringList kinds = {
        QStringLiteral("tap"), QStringLiteral("tzx"), QStringLiteral("z80"), QStringLiteral("sna"),
        QStringLiteral("szx"), QStringLiteral("dsk"), QStringLiteral("trd"), QStringLiteral("scl")};
    return kinds;
}

EmulatorProfileEditor::EmulatorProfileEditor(Dialogs &dialogs, QWidget *parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("emulatorProfile"));
    auto *form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);

    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    form->addRow(QStringLiteral("&Name:"), txtName);

    auto *pathRow = new QHBoxLayout;
    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));
    cmdBrowse = new QPushButton(QStringLiteral("..."), this);
    cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    cmdBrowse->setAutoDefault(false);
    cmdBrowse->setToolTip(kSelectEmulator);
    pathRow->addWidget(txtPath, 1);
    pathRow->addWidget(cmdBrowse);
    form->addRow(labelFor(QStringLiteral("E&xecutable:"), txtPath), pathRow);

    auto *presetRow = new QHBoxLayout;
    cboPreset = new QComboBox(this);
    cboPreset->setObjectName(QStringLiteral("cboPreset"));
    cboPreset->addItem(kNoPreset);
    for (const EmulatorPreset &preset : emulatorPresets())
        cboPreset->addItem(preset.name);
    cmdPreset = new QPushButton(QStringLiteral("A&pply preset"), this);
    cmdPreset->setObjectName(QStringLiteral("cmdPreset"));
    cmdPreset->setAutoDefault(false);
    m_presetNote = new QLabel(this);
    m_presetNote->setObjectName(QStringLiteral("lblPreset"));
    presetRow->addWidget(cboPreset);
    presetRow->addWidget(cmdPreset);
    presetRow->addWidget(m_presetNote, 1);
    form->addRow(labelFor(QStringLiteral("Pre&set:"), cboPreset), presetRow);

    txtArguments = new QLineEdit(this);
    txtArguments->setObjectName(QStringLiteral("txtArguments"));
    txtArguments->setPlaceholderText(QStringLiteral("{file}"));
    form->addRow(QStringLiteral("&Arguments:"), txtArguments);
    auto *hint = new QLabel(kArgumentsHint, this);
    hint->setWordWrap(true);
    hint->setEnabled(false);
    form->addRow(QString(), hint);

    tblMachines = new QTableWidget(int(kMachineCount), 2, this);
    tblMachines->setObjectName(QStringLiteral("tblMachines"));
    tblMachines->setHorizontalHeaderLabels(
        {QStringLiteral("Machine"), QStringLiteral("Arguments")});
    tblMachines->verticalHeader()->hide();
    tblMachines->horizontalHeader()->setStretchLastSection(true);
    tblMachines->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    for (const SpectrumMachine machine : allMachines()) {
        auto *name = new QTableWidgetItem(machineName(machine));
        name->setFlags(Qt::ItemIsEnabled);
        tblMachines->setItem(int(machineIndex(machine)), 0, name);
        tblMachines->setItem(int(machineIndex(machine)), 1, new QTableWidgetItem);
    }
    tblMachines->resizeColumnToContents(0);
    tblMachines->setMinimumHeight(tblMachines->verticalHeader()->defaultSectionSize() * 6);
    form->addRow(QStringLiteral("&Machines:"), tblMachines);

    auto *kindsRow = new QHBoxLayout;
    for (const QString &kind : fileKinds()) {
        auto *box = new QCheckBox(kind, this);
        box->setObjectName(QStringLiteral("chkKind_") + kind);
        kindsRow->addWidget(box);
        chkKinds.append(box);
        connect(box, &QCheckBox::toggled, this, [this] { kindToggled(); });
    }
    kindsRow->addStretch();
    form->addRow(labelFor(QStringLiteral("Default &for:"), chkKinds.first()), kindsRow);

    connect(txtName, &QLineEdit::textChanged, this, [this] { nameEdited(); });
    connect(txtName, &QLineEdit::editingFinished, this, [this] {
        // A row needs a name: an emptied box gets the entry's own back.
        if (m_entry != nullptr && txtName->text().trimmed().isEmpty())
            txtName->setText(m_entry->name);
    });
    connect(txtPath, &QLineEdit::textChanged, this, [this] { pathEdited(); });
    connect(txtPath, &QLineEdit::editingFinished, this, [this] {
        if (m_entry != nullptr && txtPath->text().trimmed().isEmpty())
            txtPath->setText(m_entry->path);
    });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { browse(); });
    connect(cmdPreset, &QPushButton::clicked, this,
            [this] { applyPreset(cboPreset->currentIndex() - 1); });
    connect(txtArguments, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_entry != nullptr && !m_showing)
            m_entry->profile.arguments = text;
    });
    connect(tblMachines, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (column == 1)
            machineEdited(row);
    });
    showEntry();
}

void EmulatorProfileEditor::setEntry(ProgramEntry *entry)
{
    m_entry = entry;
    showEntry();
}

void EmulatorProfileEditor::showEntry()
{
    m_showing = true;
    const bool editing = m_entry != nullptr;
    static const ProgramEntry kNothing;
    const ProgramEntry &entry = editing ? *m_entry : kNothing;
    txtName->setText(entry.name);
    txtPath->setText(entry.path);
    txtArguments->setText(entry.profile.arguments);
    for (const SpectrumMachine machine : allMachines()) {
        tblMachines->item(int(machineIndex(machine)), 1)
            ->setText(entry.profile.machineArguments.at(machineIndex(machine)));
    }
    for (qsizetype i = 0; i < chkKinds.size(); ++i)
        chkKinds.at(i)->setChecked(entry.profile.defaultFor.contains(fileKinds().at(i)));
    setEnabled(editing);
    m_showing = false;
    offerPreset();
}

void EmulatorProfileEditor::nameEdited()
{
    if (m_entry == nullptr || m_showing || txtName->text().trimmed().isEmpty())
        return;
    m_entry->name = txtName->text();
    Q_EMIT entryRenamed();
}

void EmulatorProfileEditor::pathEdited()
{
    if (m_entry == nullptr || m_showing || txtPath->text().trimmed().isEmpty())
        return;
    m_entry->path = txtPath->text();
    offerPreset();
    Q_EMIT entryRenamed();
}

void EmulatorProfileEditor::browse()
{
    if (m_entry == nullptr)
        return;
    const QString path =
        m_dialogs.openFile(this, {kSelectEmulator, ProgramListDialog::executableFilter(),
                                  txtPath->text(), ProgramListDialog::executableSuffix()});
    if (!path.isEmpty())
        txtPath->setText(path);
}

void EmulatorProfileEditor::machineEdited(int row)
{
    if (m_entry == nullptr || m_showing || row < 0 || row >= int(kMachineCount))
        return;
    m_entry->profile.machineArguments[std::size_t(row)] = tblMachines->item(row, 1)->text();
}

void EmulatorProfileEditor::kindToggled()
{
    if (m_entry == nullptr || m_showing)
        return;
    QStringList kinds;
    for (qsizetype i = 0; i < chkKinds.size(); ++i) {
        if (chkKinds.at(i)->isChecked())
            kinds.append(fileKinds().at(i));
    }
    m_entry->profile.defaultFor = kinds;
}

void EmulatorProfileEditor::applyPreset(qsizetype index)
{
    const QList<EmulatorPreset> &presets = emulatorPresets();
    if (m_entry == nullptr || index < 0 || index >= presets.size())
        return;
    const EmulatorProfile &preset = presets.at(index).profile;
    m_entry->profile.arguments = preset.arguments;
    m_entry->profile.machineArguments = preset.machineArguments;
    showEntry();
}

void EmulatorProfileEditor::offerPreset()
{
    const EmulatorPreset *matching = m_entry != nullptr ? presetFor(m_entry->path) : nullptr;
    if (matching != nullptr)
        cboPreset->setCurrentIndex(int(matching - emulatorPresets().constData()) + 1);
    m_presetNote->setText(matching != nullptr ? kPresetMatches.arg(matching->name) : QString());
}
