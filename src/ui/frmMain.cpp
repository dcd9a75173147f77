#include "ui/frmMain.h"

#include "core/DatFile.h"
#include "core/FileLookup.h"
#include "core/PathText.h"
#include "state/InfoText.h"
#include "ui/BusyCursor.h"
#include "ui/GameListModel.h"
#include "ui/GameListView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>

namespace {

const QString kSaveFirstText = QStringLiteral("Save current database first?");
const QString kNewDatabaseTitle = QStringLiteral("New Database");
const QString kSaveOnExitText = QStringLiteral("Save Database?");
const QString kSaveDialogTitle = QStringLiteral("Save Database");
const QString kLoadDialogTitle = QStringLiteral("Load Database");
const QString kRemovalTitle = QStringLiteral("Game Removal");
const QString kAddDirectoryText =
    QStringLiteral("do you wish to add the contents of this directory?");

constexpr int kDroppedRomType = 15; // "Arcade - [uncategorized]"
constexpr int kInfoPaneHeight = 130;
constexpr QSize kBuiltInSize(780, 540);

bool isDroppableRomExtension(const QString &extension)
{
    return extension == u"tzx" || extension == u"z80" || extension == u"tap" || extension == u"sna";
}

QString removalQuestion(int count, int entries)
{
    if (count == 1)
        return QStringLiteral("Are you sure you want to remove 1 game?");
    if (count == entries)
        return QStringLiteral("Are you sure you want to remove all games?");
    return QStringLiteral("Are you sure you want to remove %1 games?").arg(count);
}

Message question(const QString &text, const QString &title, MessageButtons buttons)
{
    return Message{text, title, MessageIcon::None, buttons};
}

} // namespace

frmMain::frmMain(AppState &state, Dialogs &dialogs, ProcessStarter &starter, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_starter(starter)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kApplicationTitle);
    resize(kBuiltInSize);
    buildPanes();
    buildMenus();
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::buildPanes()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralPane"));
    setCentralWidget(central);
    central->installEventFilter(this);

    m_model = new GameListModel(m_state.database, this);
    lstGames = new GameListView(central);
    lstGames->setObjectName(QStringLiteral("lstGames"));
    lstGames->setModel(m_model);
    lstGames->header()->resizeSection(GameListModel::NameColumn, 300);
    lstGames->header()->resizeSection(GameListModel::PublisherColumn, 220);
    lstGames->header()->resizeSection(GameListModel::YearColumn, 70);

    picInfoPane = new QWidget(central);
    picInfoPane->setObjectName(QStringLiteral("picInfoPane"));
    txtInfo = new QPlainTextEdit(picInfoPane);
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    picInfoPane->resize(kBuiltInSize.width(), kInfoPaneHeight);
    picInfoPane->installEventFilter(this);
    picInfoPane->hide();

    picScrPane = new QWidget(central);
    picScrPane->setObjectName(QStringLiteral("picScrPane"));
    picScrPane->hide();

    statBar = new QStatusBar(this);
    statBar->setObjectName(QStringLiteral("statBar"));
    setStatusBar(statBar);

    connect(lstGames->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { selectCurrentRow(); });
    connect(lstGames, &GameListView::mouseReleased, this, &frmMain::lstGames_MouseUp);
    connect(lstGames, &QAbstractItemView::doubleClicked, this, [this] { lstGames_DblClick(); });
    connect(lstGames, &GameListView::enterPressed, this, [this] { lstGames_DblClick(); });
    connect(lstGames, &GameListView::deletePressed, this, [this] { removeSelected(); });
    connect(lstGames, &GameListView::filesDropped, this, &frmMain::lstGames_OLEDragDrop);
}

QAction *frmMain::addMenuItem(QMenu *menu, QList<QAction *> &items, const QString &caption)
{
    QAction *action = caption == u"-" ? menu->addSeparator() : menu->addAction(caption);
    items.append(action);
    return action;
}

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    blank = QList<QAction *>(9, nullptr);
    auto topMenu = [&](int index, const QString &caption, const char *name) {
        QMenu *menu = bar->addMenu(caption);
        menu->setObjectName(QLatin1String(name));
        blank[index] = menu->menuAction();
        return menu;
    };
    auto connectItems = [this](const QList<QAction *> &items, void (frmMain::*handler)(int)) {
        for (int i = 0; i < items.size(); ++i)
            connect(items.at(i), &QAction::triggered, this,
                    [this, handler, i] { (this->*handler)(i); });
    };

    QMenu *file = topMenu(0, QStringLiteral("File"), "mnuFileMenu");
    for (const char *caption : {"New", "Load", "Save", "Save as...", "-", "Exit"})
        addMenuItem(file, mnuFile, QLatin1String(caption));
    mnuFile[0]->setShortcut(QKeySequence::New);
    mnuFile[1]->setShortcut(QKeySequence::Open);
    mnuFile[2]->setShortcut(QKeySequence::Save);
    mnuFile[3]->setShortcut(QKeySequence::SaveAs);
    mnuFile[5]->setShortcut(QKeySequence::Quit);
    connectItems(mnuFile, &frmMain::mnuFile_Click);

    QMenu *roms = topMenu(1, QStringLiteral("Roms"), "mnuRomsMenu");
    for (const char *caption : {"Add Rom", "-", "Remove Selected", "-", "Properties..."})
        addMenuItem(roms, mnuRoms, QLatin1String(caption));
    connectItems(mnuRoms, &frmMain::mnuRoms_Click);

    QMenu *viewMenu = topMenu(2, QStringLiteral("View"), "mnuViewMenu");
    addMenuItem(viewMenu, view, QStringLiteral("View Options"));
    connect(view[0], &QAction::triggered, this, [this] { view_Click(); });

    QMenu *emus = topMenu(3, QStringLiteral("Emulators"), "mnuEmusMenu");
    for (const char *caption : {"Speccy", "Music"})
        addMenuItem(emus, mnuEmus, QLatin1String(caption));
    connectItems(mnuEmus, &frmMain::mnuEmus_Click);

    QMenu *misc = topMenu(4, QStringLiteral("Misc"), "mnuMiscMenu");
    for (const char *caption : {"Import", "Export", "-", "Paths", "-", "Load last DB"})
        addMenuItem(misc, mnuMisc, QLatin1String(caption));
    mnuMisc[5]->setCheckable(true);
    connectItems(mnuMisc, &frmMain::mnuMisc_Click);

    // The game list's context menu is not on the menu bar.
    contextMenu = new QMenu(QStringLiteral("Roms"), this);
    contextMenu->setObjectName(QStringLiteral("mnuClickMenu"));
    blank[5] = contextMenu->menuAction();
    addMenuItem(contextMenu, mnuClick, QStringLiteral("Add Rom"));
    addMenuItem(contextMenu, mnuClick, QStringLiteral("-"));
    addMenuItem(contextMenu, mnuClick, QStringLiteral("Remove Selected"));
    addMenuItem(contextMenu, mnuClick, QStringLiteral("-"));
    runWithMenu = contextMenu->addMenu(QStringLiteral("Run With"));
    runWithMenu->setObjectName(QStringLiteral("emunameMenu"));
    mnuClick.append(runWithMenu->menuAction());
    for (const char *caption : {"-", "Play Music", "-", "Properties..."})
        addMenuItem(contextMenu, mnuClick, QLatin1String(caption));
    for (int place = 0; place < 20; ++place) {
        QAction *action = runWithMenu->addAction(QString());
        emuname.append(action);
        connect(action, &QAction::triggered, this, [this, place] { emuname_Click(place); });
    }
    connectItems(mnuClick, &frmMain::mnuClick_Click);

    QAction *about = bar->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    blank[7] = about;
    connect(about, &QAction::triggered, this, [this] { blank_Click(7); });

    auto *images = new QMenu(QStringLiteral("images"), this);
    images->setObjectName(QStringLiteral("mnuImagesMenu"));
    blank[8] = images->menuAction();

    mnuRoms[2]->setEnabled(false);
    mnuRoms[4]->setEnabled(false);
    mnuClick[6]->setEnabled(false);
}

// Start-up: every list in a known state, then settings, the last database, the language file,
// the Run With menu and the list.
void frmMain::Form_Load()
{
    m_state.database.Reset();
    m_state.database.SelectedIndex = kNone;
    m_state.layout = LayoutState{};
    m_state.paths.resetAll();

    LoadSettings();

    mnuMisc[5]->setChecked(m_state.LoadLastDatabase == 1);
    if (m_state.LoadLastDatabase == 1) {
        const QString last = m_state.database.LastDatabase;
        if (!last.isEmpty() && FileExists(last)) {
            const DatResult result = LoadDatabase(m_state.database, m_state.paths, last);
            showMessages(result.messages);
            if (result.ok)
                m_state.boundDatabase = last;
        }
    }

    LoadLanguage();
    RebuildEmulatorMenu();
    RefillGameList();
    ArrangePanes();
    if (m_model->rowCount() > 0)
        lstClick();
}

// Shutdown cannot be cancelled: offer to save, write the settings, close every other window.
void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (m_state.database.HasEntries() &&
        ask(question(kSaveOnExitText, kApplicationTitle, MessageButtons::YesNo)) ==
            Dialogs::Answer::Yes) {
        // A failed save offers another name until one works or the user gives up.
        SaveOutcome outcome = saveCatalogue();
        while (outcome == SaveOutcome::Failed)
            outcome = saveCatalogueAs(m_state.database.LastDatabase);
    }
    SaveSettings();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == centralWidget())
            formResize();
        else if (watched == picInfoPane)
            txtInfo->setGeometry(0, 0, picInfoPane->width(), picInfoPane->height());
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::RefillGameList()
{
    const bool hasEntries = m_state.database.HasEntries();
    mnuFile[2]->setEnabled(hasEntries);
    mnuFile[3]->setEnabled(hasEntries);
    mnuMisc[1]->setEnabled(hasEntries);

    m_model->refill();
    statBar->showMessage(m_model->rowCount() == 1
                             ? QStringLiteral("1 entry")
                             : QStringLiteral("%1 entries").arg(m_model->rowCount()));

    // The list keeps showing the selected entry; one that is gone is no longer selected.
    RomDatabase &database = m_state.database;
    if (database.SelectedIndex > kNone) {
        const int row = m_model->rowOfSlot(database.SelectedIndex);
        if (row < 0) {
            clearSelection();
        } else {
            const QModelIndex index = m_model->index(row, 0);
            lstGames->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
            lstGames->scrollTo(index);
        }
    }
}

void frmMain::lstClick()
{
    const RomDatabase &database = m_state.database;
    if (m_model->rowCount() == 0 || !database.isEntrySlot(database.SelectedIndex))
        return;
    const RomRecord &record = database.Get(database.SelectedIndex);
    if (m_state.layout.StripOrientation >= 0) {
        LoadScreenshots(record.Screenshots);
        formResize();
    }
    updatePlayMusicItem();
    setInfoText(m_state.layout.showsInfoPane() ? InfoText(record, m_state.gameTypes) : QString());
}

// Places the list and the details pane by the view mode; the information pane keeps its height.
void frmMain::ArrangePanes()
{
    LayoutState &layout = m_state.layout;
    const bool halfSize = layout.HalfSizeScreenshots == 1;
    layout.ScreenshotWidth = halfSize ? 128 : 256;
    layout.ScreenshotHeight = halfSize ? 96 : 192;
    layout.VisibleShotCount = 0;
    const QSize area = centralWidget()->size();
    const int infoHeight = layout.showsInfoPane() ? picInfoPane->height() : 0;
    layout.StripOrientation = -1;
    picScrPane->hide();
    picInfoPane->setVisible(layout.showsInfoPane());
    if (layout.showsInfoPane())
        picInfoPane->setGeometry(0, std::max(0, area.height() - infoHeight), area.width(),
                                 infoHeight);
    lstGames->setGeometry(0, 0, area.width(), std::max(0, area.height() - infoHeight));
}

void frmMain::formResize()
{
    if (isMinimized())
        return;
    ArrangePanes();
}

void frmMain::LoadScreenshots(const QString &screenshots)
{
    // The screenshot strip is not part of this window yet; no view mode shows it.
    Q_UNUSED(screenshots);
}

void frmMain::selectCurrentRow()
{
    const QModelIndex current = lstGames->currentIndex();
    if (!current.isValid())
        return;
    RomDatabase &database = m_state.database;
    const int slot = m_model->slotOfRow(current.row());
    if (slot != database.SelectedIndex && database.isEntrySlot(slot)) {
        // A new entry starts its strip at the first screenshot.
        database.SelectedIndex = slot;
        m_state.layout.FirstVisibleShot = 0;
        lstClick();
    }
    setRomItemsEnabled(true);
}

void frmMain::clearSelection()
{
    m_state.database.SelectedIndex = kNone;
    LoadScreenshots(QString());
    setInfoText(QString());
    mnuClick[6]->setEnabled(false);
}

void frmMain::setInfoText(const QString &text)
{
    m_infoText = text;
    txtInfo->setPlainText(QString(text).replace(kCrLf, QStringLiteral("\n")));
}

void frmMain::updatePlayMusicItem()
{
    const RomDatabase &database = m_state.database;
    mnuClick[6]->setEnabled(database.isEntrySlot(database.SelectedIndex) &&
                            !database.Get(database.SelectedIndex).AudioFile.isEmpty());
}

void frmMain::setRomItemsEnabled(bool enabled)
{
    mnuRoms[2]->setEnabled(enabled);
    mnuRoms[4]->setEnabled(enabled);
}

void frmMain::lstGames_MouseUp(Qt::MouseButton button, const QPoint &globalPos)
{
    if (m_model->rowCount() == 0)
        setRomItemsEnabled(false);
    else if (lstGames->currentIndex().isValid())
        selectCurrentRow();
    if (button != Qt::RightButton)
        return;
    const bool selected = m_state.database.SelectedIndex > kNone;
    mnuClick[2]->setEnabled(selected);
    mnuClick[4]->setEnabled(selected);
    mnuClick[8]->setEnabled(selected);
    contextMenu->popup(globalPos);
}

void frmMain::lstGames_DblClick()
{
    if (m_state.database.SelectedIndex > kNone)
        RunEntry(kDefaultEmulator);
}

void frmMain::mnuFile_Click(int index)
{
    switch (index) {
    case 0:
        newDatabase();
        break;
    case 1:
        loadDatabase();
        break;
    case 2:
        saveCatalogue();
        break;
    case 3:
        saveCatalogueAs(m_state.database.LastDatabase);
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

void frmMain::mnuRoms_Click(int index)
{
    if (index == 2)
        removeSelected();
}

void frmMain::view_Click() {}

void frmMain::mnuMisc_Click(int index)
{
    if (index == 5)
        m_state.LoadLastDatabase = mnuMisc[5]->isChecked() ? 1 : 0;
}

void frmMain::mnuClick_Click(int index)
{
    switch (index) {
    case 0:
        mnuRoms_Click(0);
        break;
    case 2:
        removeSelected();
        break;
    case 6:
        PlayEntryMusic();
        break;
    case 8:
        mnuRoms_Click(4);
        break;
    default:
        break;
    }
}

void frmMain::blank_Click(int index)
{
    if (index == 7)
        showAbout();
}

void frmMain::emuname_Click(int index)
{
    RunEntry(index);
}

void frmMain::newDatabase()
{
    RomDatabase &database = m_state.database;
    if (!database.HasEntries())
        return;
    switch (ask(question(kSaveFirstText, kNewDatabaseTitle, MessageButtons::YesNoCancel))) {
    case Dialogs::Answer::Yes:
        if (saveCatalogue() != SaveOutcome::Saved)
            return;
        database.LastDatabase.clear();
        break;
    case Dialogs::Answer::No:
        break;
    default:
        return;
    }
    database.Reset();
    m_state.boundDatabase.clear();
    afterCatalogueReplaced();
}

void frmMain::loadDatabase()
{
    RomDatabase &database = m_state.database;
    QString proposed;
    if (database.HasEntries()) {
        switch (ask(question(kSaveFirstText, kNewDatabaseTitle, MessageButtons::YesNoCancel))) {
        case Dialogs::Answer::Yes:
            if (saveCatalogue() != SaveOutcome::Saved)
                return;
            break;
        case Dialogs::Answer::No:
            break;
        default:
            return;
        }
        proposed = database.LastDatabase;
    }
    // A cancelled dialog or a rejected file leaves the catalogue in memory as it is.
    const QString path =
        m_dialogs.openFile(this, {kLoadDialogTitle, kDatabaseFilter, proposed, {}});
    if (path.isEmpty())
        return;
    database.LastDatabase = path;
    DatResult result;
    {
        BusyCursor busy;
        result = LoadDatabase(database, m_state.paths, path);
    }
    showMessages(result.messages);
    if (!result.ok)
        return;
    m_state.boundDatabase = path;
    afterCatalogueReplaced();
}

void frmMain::afterCatalogueReplaced()
{
    clearSelection();
    RefillGameList();
    ArrangePanes();
    if (m_model->rowCount() > 0)
        lstClick();
}

frmMain::SaveOutcome frmMain::saveCatalogue()
{
    const QString last = m_state.database.LastDatabase;
    // Only the file this catalogue came from (or a new one) is written without asking: the
    // remembered LastDatabase of an earlier run may hold another whole catalogue.
    if (!last.isEmpty() && (last == m_state.boundDatabase || !QFileInfo::exists(last)))
        return saveTo(last);
    return saveCatalogueAs(last);
}

frmMain::SaveOutcome frmMain::saveCatalogueAs(const QString &proposed)
{
    const QString path = askDatabaseName(proposed);
    return path.isEmpty() ? SaveOutcome::Cancelled : saveTo(path);
}

QString frmMain::askDatabaseName(const QString &proposed)
{
    return m_dialogs.saveFile(this,
                              {kSaveDialogTitle, kDatabaseFilter, proposed, QStringLiteral("dat")});
}

frmMain::SaveOutcome frmMain::saveTo(const QString &path)
{
    DatResult result;
    {
        BusyCursor busy;
        result = SaveDatabase(m_state.database, path);
    }
    showMessages(result.messages);
    if (!result.ok)
        return SaveOutcome::Failed;
    m_state.database.LastDatabase = path;
    m_state.boundDatabase = path;
    return SaveOutcome::Saved;
}

void frmMain::removeSelected()
{
    // The selection's ranges, not selectedRows(): that tests every row against every range,
    // which takes seconds with 10,000 rows picked one by one.
    QList<int> slots;
    const QItemSelection selection = lstGames->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            slots.append(m_model->slotOfRow(row));
    }
    if (slots.isEmpty())
        return;
    std::sort(slots.begin(), slots.end());
    slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
    const QString text = removalQuestion(int(slots.size()), m_model->rowCount());
    if (ask(question(text, kRemovalTitle, MessageButtons::YesNo)) == Dialogs::Answer::Yes) {
        BusyCursor busy;
        m_state.database.RemoveEntries(slots);
        clearSelection();
    }
    RefillGameList();
    if (m_model->rowCount() == 0)
        clearSelection();
    lstClick();
}

void frmMain::lstGames_OLEDragDrop(const QStringList &paths)
{
    BusyCursor busy;
    for (const QString &path : paths) {
        // The file system says what a directory is: names like "Games.old" or ".local" hold dots.
        if (QFileInfo(toFileSystemPath(path)).isDir()) {
            if (ask(question(kAddDirectoryText, kApplicationTitle, MessageButtons::YesNo)) !=
                Dialogs::Answer::Yes)
                continue;
            const QString directory = endsWithSeparator(path) ? path : path + nativeSeparator();
            for (const QString &name : listOrdinaryFiles(directory, QStringLiteral("*.*")))
                addDroppedFile(path, name);
        } else {
            addDroppedFile(directoryPart(path), fileNamePart(path));
        }
    }
    RefillGameList();
}

void frmMain::addDroppedFile(const QString &directory, const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0 || !isDroppableRomExtension(name.mid(dot + 1).toLower()))
        return;
    RomRecord record;
    record.RomName = QString(name).remove(name.mid(dot)); // every ".ext", in the name's own case
    if (record.RomName.isEmpty())
        return; // ".tap" alone would make an entry without a name
    record.RomFile = name;
    record.RomType = kDroppedRomType;
    m_state.database.Add(std::move(record));
    if (!m_state.paths.HasSearchPath(PathKind::Rom, directory)) {
        QString added = directory;
        m_state.paths.AddSearchPath(PathKind::Rom, added);
    }
}

Dialogs::Answer frmMain::ask(const Message &message)
{
    return m_dialogs.show(this, message);
}

void frmMain::showMessages(const Messages &messages)
{
    for (const Message &message : messages)
        m_dialogs.show(this, message);
}
