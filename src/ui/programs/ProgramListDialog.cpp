#include "ui/programs/ProgramListDialog.h"

#include "settings/LanguageTable.h"
#include "ui/common/Dialogs.h"
#include "ui/common/Mnemonics.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kAddCaption = 22;        // lang018
constexpr int kRemoveCaption = 23;     // lang019
constexpr int kSetDefaultCaption = 24; // lang020
constexpr int kCloseCaption = 25;      // lang021

const QString kRemoveQuestion = QStringLiteral("Are you sure?");

QPushButton *addButton(QWidget *parent, QLayout *layout, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

} // namespace

ProgramListDialog::ProgramListDialog(ProgramList &list, const LanguageTable &language,
                                     Dialogs &dialogs, const Kind &kind, QWidget *parent)
    : QDialog(parent)
    , m_list(list)
    , m_dialogs(dialogs)
    , m_kind(kind)
{
    setWindowTitle(language.at(kind.titleCaption));
    setModal(true);

    lstEmus = new QListWidget(this);
    lstEmus->setObjectName(QStringLiteral("lstEmus"));

    auto *buttons = new QVBoxLayout;
    cmdAdd = addButton(this, buttons, "cmdAdd", language.at(kAddCaption));
    cmdRemove = addButton(this, buttons, "cmdRemove", language.at(kRemoveCaption));
    m_setDefault = addButton(this, buttons, kind.setDefaultName, language.at(kSetDefaultCaption));
    buttons->addStretch();
    m_close = addButton(this, buttons, kind.closeName, language.at(kCloseCaption));
    giveMnemonics({cmdAdd, cmdRemove, m_setDefault, m_close}, LanguageTable::defaults());

    m_layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(lstEmus, 1);
    top->addLayout(buttons);
    m_layout->addLayout(top, 1);
    resize(420, 260);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdRemove, &QPushButton::clicked, this, [this] { cmdRemove_Click(); });
    connect(m_setDefault, &QPushButton::clicked, this, [this] { setDefault_Click(); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
    if (kind.buttonsFollowRowClick) {
        cmdRemove->setEnabled(false);
        m_setDefault->setEnabled(false);
        // Keyboard moves select a row as a click does.
        connect(lstEmus, &QListWidget::currentRowChanged, this, [this](int row) {
            if (row >= 0)
                lstEmus_Click();
        });
    }
    connect(lstEmus, &QListWidget::currentRowChanged, this,
            [this](int row) { currentProgramChanged(indexOfRow(row)); });

    ShowProgramList();
}

void ProgramListDialog::addDetails(QWidget *details)
{
    // The details take the room; the list keeps enough for a few emulators.
    m_layout->setStretch(0, 0);
    lstEmus->setMinimumHeight(lstEmus->fontMetrics().height() * 7);
    lstEmus->setMaximumHeight(lstEmus->fontMetrics().height() * 10);
    m_layout->addWidget(details, 1);
}

void ProgramListDialog::selectProgram(qsizetype index)
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).index == index)
            lstEmus->setCurrentRow(row);
    }
}

void ProgramListDialog::refreshRowTexts()
{
    const QList<ProgramListRow> rows = programListRows(m_list);
    // A row only changes its text here; anything else is a new list to show.
    if (rows.size() != m_rows.size()) {
        ShowProgramList();
        return;
    }
    m_rows = rows;
    for (int row = 0; row < m_rows.size(); ++row)
        lstEmus->item(row)->setText(m_rows.at(row).text);
}

void ProgramListDialog::done(int result)
{
    closing();
    QDialog::done(result);
}

qsizetype ProgramListDialog::indexOfRow(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).index : -1;
}

void ProgramListDialog::ShowProgramList()
{
    lstEmus->clear();
    m_rows = programListRows(m_list);
    for (const ProgramListRow &row : std::as_const(m_rows))
        lstEmus->addItem(row.text);
    if (m_list.defaultIndex > kNone) {
        for (int row = 0; row < m_rows.size(); ++row) {
            if (m_rows.at(row).index == m_list.defaultIndex)
                lstEmus->setCurrentRow(row);
        }
    }
}

void ProgramListDialog::AddProgram(const QString &path)
{
    const QString proposed = defaultProgramName(path);
    const QString name = m_dialogs.inputBox(this, m_kind.namePrompt, m_kind.nameTitle, proposed);
    if (name.isEmpty() && !m_kind.emptyNameAddsDefault)
        return;
    addProgramEntry(m_list, path, name);
    ShowProgramList();
    for (qsizetype index = m_list.entries.size() - 1; index >= 0; --index) {
        if (m_list.entries.at(index).path == path) {
            programAdded(index);
            break;
        }
    }
}

void ProgramListDialog::RemoveProgram(int row)
{
    const qsizetype index = indexOfRow(row);
    if (index < 0)
        return;
    const Message question{kRemoveQuestion, m_kind.removeTitle, MessageIcon::None,
                           MessageButtons::YesNo};
    if (m_dialogs.show(this, question) != Dialogs::Answer::Yes)
        return;
    removeProgramEntry(m_list, index);
    ShowProgramList();
}

void ProgramListDialog::cmdAdd_Click()
{
    const QString path = m_dialogs.openFile(
        this, {m_kind.fileDialogTitle, executableFilter(), QString(), executableSuffix()});
    if (!path.isEmpty())
        AddProgram(path);
}

void ProgramListDialog::cmdRemove_Click()
{
    RemoveProgram(lstEmus->currentRow());
}

// With no row selected the default becomes -1, which showing the list turns into "no default".
void ProgramListDialog::setDefault_Click()
{
    m_list.defaultIndex = qint32(indexOfRow(lstEmus->currentRow()));
    ShowProgramList();
}

void ProgramListDialog::lstEmus_Click()
{
    cmdRemove->setEnabled(true);
    m_setDefault->setEnabled(indexOfRow(lstEmus->currentRow()) != m_list.defaultIndex);
}

QString ProgramListDialog::executableFilter()
{
#ifdef Q_OS_WIN
    return QStringLiteral("Executable (*.exe)|*.exe");
#else
    // Programs here have no ending to filter by.
    return QStringLiteral("Programs (*)|*");
#endif
}

QString ProgramListDialog::executableSuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral("exe");
#else
    return QString();
#endif
}
