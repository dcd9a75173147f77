#include "ui/paths/frmPaths.h"

#include "core/DriveType.h"
#include "core/PathText.h"
#include "state/AppState.h"
#include "ui/common/DesktopOpener.h"
#include "ui/common/Dialogs.h"
#include "ui/common/DriveIcons.h"
#include "ui/common/Mnemonics.h"
#include "ui/paths/frmFindRomPath.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kOkCaption = 6;      // lang006
constexpr int kAddCaption = 22;    // lang018
constexpr int kRemoveCaption = 23; // lang019
constexpr int kGotoCaption = 30;   // lang026
constexpr int kTitleCaption = 47;  // lang043

struct Tab
{
    PathKind kind;
    const char *listName;
    const char *keyPrefix;
    int caption; // LanguageTable index
};

constexpr Tab kTabs[] = {
    {PathKind::Rom, "lstRoms", "rom", 27},     // lang023
    {PathKind::Screenshot, "lstSS", "ss", 28}, // lang024
    {PathKind::Music, "lstMusic", "ay", 29},   // lang025
};
constexpr int kTabCount = 3;

const QString kPathHeader = QStringLiteral("Path");
const QString kRemoveQuestion = QStringLiteral("Are you sure?");
const QString kRemoveTitle = QStringLiteral("Remove path");
const QString kMissingTip = QStringLiteral("Directory not found");
// Only a hand-edited kivo.ini puts an empty entry after the first.
const QString kEmptyEntryText = QStringLiteral("(empty)");
const QString kEmptyEntryTip = QStringLiteral("Empty entry");

QPushButton *addButton(QWidget *parent, QLayout *layout, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    layout->addWidget(button);
    return button;
}

// The directory a row's text names, when it is there to be shown.
bool isExistingDirectory(const QString &shown, DriveType type)
{
    return type != DriveType::NoRootDir && QFileInfo(toFileSystemPath(shown)).isDir();
}

} // namespace

frmPaths::frmPaths(AppState &state, Dialogs &dialogs, DesktopOpener &opener, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_opener(opener)
{
    setObjectName(QStringLiteral("frmPaths"));
    setWindowTitle(state.language.at(kTitleCaption));
    setModal(true);

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    QTreeWidget **views[kTabCount] = {&lstRoms, &lstSS, &lstMusic};
    for (int tab = 0; tab < kTabCount; ++tab) {
        auto *view = new QTreeWidget(SSTab1);
        view->setObjectName(QLatin1String(kTabs[tab].listName));
        view->setColumnCount(1);
        view->setHeaderLabels({kPathHeader});
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setSelectionMode(QAbstractItemView::SingleSelection);
        view->setIconSize(QSize(16, 16));
        view->header()->setStretchLastSection(true);
        SSTab1->addTab(view, state.language.at(kTabs[tab].caption));
        *views[tab] = view;
    }

    auto *buttons = new QHBoxLayout;
    Command1 = addButton(this, buttons, "Command1", state.language.at(kAddCaption));
    Command3 = addButton(this, buttons, "Command3", state.language.at(kRemoveCaption));
    Command4 = addButton(this, buttons, "Command4", state.language.at(kGotoCaption));
    buttons->addStretch();
    cmdOK = addButton(this, buttons, "cmdOK", state.language.at(kOkCaption));
    cmdOK->setDefault(true);
    giveMnemonics({cmdOK, Command1, Command3, Command4}, LanguageTable::defaults());

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(buttons);
    setMinimumSize(std::max(360, layout->minimumSize().width()), 240);
    resize(std::max(520, minimumWidth()), 320);

    connect(SSTab1, &QTabWidget::currentChanged, this, [this] { UpdatePathButtons(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    for (int tab = 0; tab < kTabCount; ++tab)
        ShowPathList(tab);
}

QTreeWidget *frmPaths::listView(int tab) const
{
    switch (tab) {
    case 0:
        return lstRoms;
    case 1:
        return lstSS;
    default:
        return lstMusic;
    }
}

SearchPathList &frmPaths::pathList(int tab)
{
    return m_state.paths[kTabs[std::clamp(tab, 0, kTabCount - 1)].kind];
}

QString frmPaths::shownDirectory(const QString &stored)
{
    if (stored.isEmpty() || endsWithSeparator(stored))
        return stored;
    // A directory written on Windows keeps its own separator.
    const bool windowsForm = stored.contains(u'\\') && !stored.contains(u'/');
    return stored + (windowsForm ? QChar(u'\\') : nativeSeparator());
}

void frmPaths::ShowPathList(int tab)
{
    QTreeWidget *view = listView(tab);
    const QString prefix = QLatin1String(kTabs[std::clamp(tab, 0, kTabCount - 1)].keyPrefix);
    view->clear();
    const SearchPathList &list = pathList(tab);
    if (list.IsListUsed()) {
        const QStringList &dirs = list.dirs();
        for (qsizetype i = 0; i < dirs.size(); ++i) {
            auto *item = new QTreeWidgetItem(view);
            item->setData(0, kKeyRole, prefix + QString::number(i));
            QString iconKey;
            if (dirs.at(i).isEmpty()) {
                iconKey = driveIconKey(DriveType::Unknown, false);
                item->setText(0, kEmptyEntryText);
                item->setToolTip(0, kEmptyEntryTip);
                item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
            } else {
                const QString shown = shownDirectory(dirs.at(i));
                const DriveType type = driveTypeOf(shown);
                const bool exists = isExistingDirectory(shown, type);
                iconKey = driveIconKey(type, exists && directoryHoldsFiles(shown));
                item->setText(0, shown);
                item->setToolTip(0, exists ? shown : kMissingTip);
            }
            item->setData(0, kIconKeyRole, iconKey);
            item->setIcon(0, driveIcon(iconKey));
        }
    }
    UpdatePathButtons();
}

void frmPaths::UpdatePathButtons()
{
    const bool hasRows = listView(SSTab1->currentIndex())->topLevelItemCount() > 0;
    Command3->setEnabled(hasRows);
    Command4->setEnabled(hasRows);
}

void frmPaths::LocateDirectory()
{
    if (m_locator) {
        LocatedPath = m_locator(this);
        return;
    }
    frmFindRomPath dialog(m_state.language, m_dialogs, QDir::currentPath(), this);
    dialog.exec();
    LocatedPath = dialog.LocatedPath();
}

int frmPaths::selectedIndex() const
{
    const int tab = SSTab1->currentIndex();
    const QList<QTreeWidgetItem *> selected = listView(tab)->selectedItems();
    if (selected.isEmpty())
        return -1;
    QString key = selected.first()->data(0, kKeyRole).toString();
    key.remove(QLatin1String(kTabs[tab].keyPrefix));
    bool ok = false;
    const int index = key.toInt(&ok);
    return ok ? index : -1;
}

void frmPaths::Command1_Click()
{
    const int tab = SSTab1->currentIndex();
    SearchPathList &list = pathList(tab);
    LocatedPath.clear();
    LocateDirectory();
    if (LocatedPath.isEmpty())
        return;
    // No message: a directory already listed is simply not added again.
    const QString located = LocatedPath.toLower();
    const QStringList &dirs = list.dirs();
    const bool listed = list.IsListUsed() &&
                        std::any_of(dirs.begin(), dirs.end(),
                                    [&](const QString &dir) { return dir.toLower() == located; });
    if (!listed)
        list.append(LocatedPath);
    ShowPathList(tab);
}

void frmPaths::Command3_Click()
{
    const int tab = SSTab1->currentIndex();
    if (listView(tab)->topLevelItemCount() == 0)
        return;
    const int index = selectedIndex();
    if (index < 0)
        return;
    const Message question{kRemoveQuestion, kRemoveTitle, MessageIcon::None, MessageButtons::YesNo};
    if (m_dialogs.show(this, question) != Dialogs::Answer::Yes)
        return;
    SearchPathList &list = pathList(tab);
    QStringList dirs = list.dirs();
    if (index >= dirs.size())
        return;
    // The list never becomes an empty container: its last directory is blanked instead.
    if (dirs.size() == 1)
        dirs[0].clear();
    else
        dirs.removeAt(index);
    list.setDirs(dirs);
    ShowPathList(tab);
}

void frmPaths::Command4_Click()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    const QString stored = pathList(SSTab1->currentIndex()).dirs().value(index);
    if (stored.isEmpty())
        return;
    const QString shown = shownDirectory(stored);
    // A directory that has gone has nothing to show; the browser would only complain.
    if (!isExistingDirectory(shown, driveTypeOf(shown)))
        return;
    m_opener.openDirectory(shown);
}

void frmPaths::cmdOK_Click()
{
    accept();
}
