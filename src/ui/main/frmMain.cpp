#include "ui/main/frmMain.h"

#include "state/EntryMachine.h"
#include "state/InfoText.h"
#include "ui/list/ColumnChooser.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListProxy.h"
#include "ui/list/GameListView.h"
#include "ui/main/EntryLauncher.h"
#include "ui/main/GameListFinder.h"
#include "ui/main/InfoPane.h"
#include "ui/main/LibraryCommands.h"
#include "ui/main/PaneArranger.h"
#include "ui/main/ScreenshotCommands.h"
#include "ui/main/WindowSettings.h"
#include "ui/main/frmAbout.h"
#include "ui/paths/frmPaths.h"
#include "ui/properties/frmProperties.h"
#include "ui/scan/frmScan.h"
#include "ui/screens/ScreenshotStrip.h"
#include "ui/screens/frmLayout.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>

namespace {

constexpr int kInfoPaneHeight = 130;
constexpr QSize kBuiltInSize(780, 540);
constexpr int kStatusTimeout = 8000; // ms a passing note stays in the status bar

} // namespace

frmMain::frmMain(AppState &state, Dialogs &dialogs, ProcessStarter &starter, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_starter(starter)
    , m_commands(state, dialogs, *this, this)
    , m_library(state, *this, this)
    , m_identify(
          state, dialogs, *this,
          [this](const QList<int> &slots) { m_commands.removeEntries(slots); }, this)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kApplicationTitle);
    resize(kBuiltInSize);
    build(menuBar(), this);
    buildPanes();
    wireList();
    wireMenus();
    Form_Load();
}

frmMain::~frmMain()
{
    // The panes draw from members of this window (the rom file index, the picture cache), which
    // go before the window's children would: the panes go first.
    delete takeCentralWidget();
}

void frmMain::buildPanes()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralPane"));
    setCentralWidget(central);
    central->installEventFilter(this);

    picListPane = new QWidget(central);
    picListPane->setObjectName(QStringLiteral("picListPane"));
    m_model = new GameListModel(m_state.database, m_romFiles, this);
    m_proxy = new GameListProxy(*m_model, m_state.gameTypes, this);
    lstGames = new GameListView(picListPane);
    lstGames->setObjectName(QStringLiteral("lstGames"));
    lstGames->setModel(m_proxy);
    m_model->setMachineText([this](const RomRecord &record) {
        const std::optional<MachineReading> machine =
            machineOfEntry(record, m_state.paths, m_state.machines);
        return machine ? machineName(machine->machine) : QString();
    });
    m_model->setLibraryRow([this](int slot) { return m_state.libraryRowOf(slot); });
    m_columns = new ColumnChooser(*m_model, *lstGames);
    m_finder = new GameListFinder(m_state, *m_model, *m_proxy, *lstGames, m_romFiles, picListPane);
    txtFilter = m_finder->filterBox();
    chkMissing = m_finder->missingOnly();

    picInfoPane = new InfoPane(central);
    txtInfo = picInfoPane->txtInfo;
    picInfoPane->resize(kBuiltInSize.width(), kInfoPaneHeight);
    picInfoPane->hide();

    picScrPane = new ScreenshotStrip(m_state, m_pictures, central);
    picScrPane->hide();

    statBar = new QStatusBar(this);
    statBar->setObjectName(QStringLiteral("statBar"));
    setStatusBar(statBar);
    lblEntries = new QLabel(statBar);
    lblEntries->setObjectName(QStringLiteral("lblEntries"));
    statBar->addPermanentWidget(lblEntries);
    lblLibrary = new QLabel(statBar);
    lblLibrary->setObjectName(QStringLiteral("lblLibrary"));
    statBar->addWidget(lblLibrary, 1);

    contextMenu = blank[Menu::TopClick]->menu();
    runWithMenu = mnuClick[Menu::ClickRunWith]->menu();
    runAsMenu = mnuClick[Menu::ClickRunAs]->menu();
    m_panes = std::make_unique<PaneArranger>(m_state, *this, *picListPane, *picInfoPane,
                                             *picScrPane, *statBar);
    m_screenshots =
        std::make_unique<ScreenshotCommands>(m_state, m_dialogs, *picScrPane, *m_panes,
                                             *blank[Menu::TopImages]->menu(), mnuImages, this);
    m_settings =
        std::make_unique<WindowSettings>(m_state, m_dialogs, *this, *lstGames, *m_columns, *this);
    m_launcher =
        new EntryLauncher(m_state, m_dialogs, m_starter, *this, *runWithMenu, *runAsMenu, this);
}

void frmMain::wireList()
{

    connect(m_finder, &GameListFinder::listChanged, this, [this] { afterFilterChange(); });
    connect(m_finder, &GameListFinder::runFirstMatch, this, [this] { lstGames_DblClick(); });
    connect(lstGames->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { selectCurrentRow(); });
    connect(lstGames, &GameListView::mouseReleased, this, &frmMain::lstGames_MouseUp);
    connect(lstGames, &QAbstractItemView::doubleClicked, this, [this] { lstGames_DblClick(); });
    connect(lstGames, &GameListView::enterPressed, this, [this] {
        // Enter meant for an item highlighted on the menu bar is that item's.
        if (QAction *highlighted = menuBar()->activeAction()) {
            menuBar()->setActiveAction(nullptr);
            if (highlighted->menu() == nullptr)
                highlighted->trigger();
            return;
        }
        lstGames_DblClick();
    });
    auto *toMenuBar = new QShortcut(Qt::Key_F10, this);
    connect(toMenuBar, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(blank[Menu::TopFile]); });
    connect(lstGames, &GameListView::deletePressed, this,
            [this] { m_commands.removeEntries(selectedSlots()); });
    connect(lstGames, &GameListView::filesDropped, this, &frmMain::lstGames_OLEDragDrop);
}

void frmMain::wireMenus()
{
    const QList<std::pair<QAction *, std::function<void()>>> commands = {
        {mnuFile[Menu::FileNew], [this] { m_commands.newDatabase(); }},
        {mnuFile[Menu::FileLoad], [this] { m_commands.loadDatabase(); }},
        {mnuFile[Menu::FileSave], [this] { m_commands.save(); }},
        {mnuFile[Menu::FileSaveAs], [this] { m_commands.saveAs(); }},
        {mnuFile[Menu::FileExit], [this] { close(); }},
        {mnuRoms[Menu::RomsAdd], [this] { mnuRoms_Click(Menu::RomsAdd); }},
        {mnuRoms[Menu::RomsRemove], [this] { mnuRoms_Click(Menu::RomsRemove); }},
        {mnuRoms[Menu::RomsProperties], [this] { mnuRoms_Click(Menu::RomsProperties); }},
        {mnuRoms[Menu::RomsFavourite],
         [this] {
             m_library.toggleFavourite(selectedSlots());
             updateLibraryItems();
         }},
        {mnuRoms[Menu::RomsTags], [this] { m_library.editTags(selectedSlots()); }},
        {mnuRoms[Menu::RomsIdentify], [this] { m_identify.identify(selectedSlots()); }},
        {mnuRoms[Menu::RomsDuplicates], [this] { m_identify.findDuplicates(); }},
        {view[Menu::ViewOptions], [this] { view_Click(); }},
        {mnuEmus[Menu::EmusSpeccy], [this] { m_launcher->mnuEmus_Click(Menu::EmusSpeccy); }},
        {mnuEmus[Menu::EmusMusic], [this] { m_launcher->mnuEmus_Click(Menu::EmusMusic); }},
        {mnuMisc[Menu::MiscImport], [this] { m_commands.importDatabases(); }},
        {mnuMisc[Menu::MiscExport], [this] { m_commands.exportPocketDatabase(); }},
        {mnuMisc[Menu::MiscPaths],
         [this] { frmPaths(m_state, m_dialogs, m_desktopOpener, this).exec(); }},
        {mnuMisc[Menu::MiscScan], [this] { frmScan(m_state, m_dialogs, *this, this).exec(); }},
        {mnuMisc[Menu::MiscDatFiles], [this] { m_identify.editDatFiles(); }},
        {view[Menu::ViewLoadingScreens], [this] { m_screenshots->toggleLoadingScreens(); }},
        {mnuMisc[Menu::MiscLoadLast],
         [this] { m_state.LoadLastDatabase = mnuMisc[Menu::MiscLoadLast]->isChecked() ? 1 : 0; }},
        {mnuClick[Menu::ClickAdd], [this] { mnuRoms_Click(Menu::RomsAdd); }},
        {mnuClick[Menu::ClickRemove], [this] { mnuRoms_Click(Menu::RomsRemove); }},
        {mnuClick[Menu::ClickPlayMusic], [this] { m_launcher->PlayEntryMusic(); }},
        {mnuClick[Menu::ClickProperties], [this] { mnuRoms_Click(Menu::RomsProperties); }},
        {blank[Menu::TopAbout],
         [this] { frmAbout(m_state.programDir.settingsFile(), this).exec(); }},
    };
    for (const auto &[action, command] : commands)
        connect(action, &QAction::triggered, this, command);

    mnuRoms[Menu::RomsFavourite]->setCheckable(true);
    mnuRoms[Menu::RomsFavourite]->setShortcut(Qt::CTRL | Qt::Key_D);
    // Nothing to remove, edit or play until an entry is picked.
    mnuRoms[Menu::RomsRemove]->setEnabled(false);
    mnuRoms[Menu::RomsProperties]->setEnabled(false);
    mnuRoms[Menu::RomsFavourite]->setEnabled(false);
    mnuRoms[Menu::RomsTags]->setEnabled(false);
    mnuClick[Menu::ClickPlayMusic]->setEnabled(false);
}

// Start-up: every list in a known state, then settings, the last database, the language file,
// the Run With menu and the list.
void frmMain::Form_Load()
{
    m_state.database.Reset();
    m_state.database.SelectedIndex = kNone;
    m_state.layout = LayoutState{};
    m_state.paths.resetAll();

    m_settings->LoadSettings();
    m_commands.loadLastDatabase();
    m_settings->LoadLanguage();
    RebuildEmulatorMenu();
    RefillGameList();
    ArrangePanes();
    if (listedRows() > 0)
        lstClick();
    // The demo's first start shows what an entry looks like; every other start picks nothing.
    if (m_settings->isFirstRun() && listedRows() > 0)
        lstGames->setCurrentIndex(m_proxy->index(0, 0));
}

// Shutdown cannot be cancelled: offer to save, write the settings, close the windows this one
// opened.
void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_commands.saveAtShutdown();
    m_state.boundDatabase.clear(); // other windows may save over it now
    m_settings->SaveSettings();
    const QList<QWidget *> owned = findChildren<QWidget *>();
    for (QWidget *window : owned) {
        if (window->isWindow() && window->isVisible())
            window->close();
    }
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

// A window resized while minimised gets no resize of its own when it is restored: it is laid
// out again as it comes back.
void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized())
        m_panes->formResize();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && watched == centralWidget())
        m_panes->formResize();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::RefillGameList()
{
    RomDatabase &database = m_state.database;
    const bool hasEntries = database.HasEntries();
    mnuFile[Menu::FileSave]->setEnabled(hasEntries);
    mnuFile[Menu::FileSaveAs]->setEnabled(hasEntries);
    mnuMisc[Menu::MiscExport]->setEnabled(hasEntries);

    m_finder->refillList();
    m_finder->libraryChanged();
    lblEntries->setText(m_finder->entryCountText());
    lblLibrary->setText(m_state.library.readOnlyText());

    // The list keeps showing the selected entry; one that is gone is no longer selected.
    if (database.SelectedIndex > kNone) {
        const int row = m_proxy->rowOfSlot(database.SelectedIndex);
        if (row < 0) {
            clearSelection();
        } else {
            const QModelIndex index = m_proxy->index(row, 0);
            lstGames->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                   QItemSelectionModel::Rows);
            lstGames->scrollTo(index);
        }
    }
}

int frmMain::listedRows() const
{
    return m_proxy->rowCount();
}

void frmMain::entryChanged(int slot)
{
    m_model->refreshSlot(slot);
    m_finder->libraryChanged();
    m_finder->scheduleRomFilesUpdate({m_state.database.Get(slot).RomFile});
}

void frmMain::showStatus(const QString &text)
{
    statBar->showMessage(text, kStatusTimeout);
}

void frmMain::lstClick()
{
    const RomDatabase &database = m_state.database;
    if (listedRows() == 0 || !database.isEntrySlot(database.SelectedIndex))
        return;
    const RomRecord &record = database.Get(database.SelectedIndex);
    if (m_state.layout.StripOrientation >= 0) {
        picScrPane->LoadScreenshots(record.Screenshots, record.RomFile);
        m_panes->formResize();
    }
    updatePlayMusicItem();
    updateLibraryItems();
    if (!m_state.layout.showsInfoPane()) {
        picInfoPane->setText(QString());
        return;
    }
    picInfoPane->setText(InfoText(record, m_state.gameTypes,
                                  machineOfEntry(record, m_state.paths, m_state.machines),
                                  m_state.library.row(LibraryKey::of(record))));
}

void frmMain::selectCurrentRow()
{
    const QModelIndex current = lstGames->currentIndex();
    // Focus gives the list a current row that nobody picked and that does not look selected.
    if (!current.isValid() || !lstGames->selectionModel()->isRowSelected(current.row()))
        return;
    RomDatabase &database = m_state.database;
    const int slot = m_proxy->slotOfRow(current.row());
    if (slot != database.SelectedIndex && database.isEntrySlot(slot)) {
        // A new entry starts its strip at the first screenshot.
        database.SelectedIndex = slot;
        m_state.layout.FirstVisibleShot = 0;
        lstClick();
    }
    setRomItemsEnabled(true);
}

QList<int> frmMain::selectedSlots() const
{
    return m_proxy->slotsOf(lstGames->selectionModel()->selection());
}

void frmMain::clearSelection()
{
    m_state.database.SelectedIndex = kNone;
    picScrPane->LoadScreenshots(QString());
    picInfoPane->setText(QString());
    mnuClick[Menu::ClickPlayMusic]->setEnabled(false);
}

void frmMain::updatePlayMusicItem()
{
    const RomDatabase &database = m_state.database;
    mnuClick[Menu::ClickPlayMusic]->setEnabled(
        database.isEntrySlot(database.SelectedIndex) &&
        !database.Get(database.SelectedIndex).AudioFile.isEmpty());
}

void frmMain::setRomItemsEnabled(bool enabled)
{
    mnuRoms[Menu::RomsRemove]->setEnabled(enabled);
    mnuRoms[Menu::RomsProperties]->setEnabled(enabled);
    mnuRoms[Menu::RomsFavourite]->setEnabled(enabled);
    mnuRoms[Menu::RomsTags]->setEnabled(enabled);
}

void frmMain::updateLibraryItems()
{
    mnuRoms[Menu::RomsFavourite]->setChecked(m_library.allFavourite(selectedSlots()));
}

void frmMain::lstGames_MouseUp(Qt::MouseButton button, const QPoint &globalPos)
{
    if (listedRows() == 0)
        setRomItemsEnabled(false);
    else if (lstGames->currentIndex().isValid())
        selectCurrentRow();
    if (button != Qt::RightButton)
        return;
    const bool selected = m_state.database.SelectedIndex > kNone;
    for (const int item :
         {Menu::ClickRemove, Menu::ClickRunWith, Menu::ClickRunAs, Menu::ClickProperties})
        mnuClick[item]->setEnabled(selected);
    contextMenu->popup(globalPos);
}

void frmMain::lstGames_DblClick()
{
    if (m_state.database.SelectedIndex > kNone)
        m_launcher->RunEntry(EntryLauncher::kDefaultEmulator);
}

void frmMain::lstGames_OLEDragDrop(const QStringList &paths)
{
    const int before = m_state.database.EntryCount();
    m_commands.dropOnList(paths);
    m_identify.identifyNew(before);
}

void frmMain::mnuRoms_Click(int index)
{
    if (index == Menu::RomsRemove)
        m_commands.removeEntries(selectedSlots());
    const bool adding = index == Menu::RomsAdd;
    if (!adding && (index != Menu::RomsProperties || m_state.database.SelectedIndex <= kNone))
        return;
    const int before = m_state.database.EntryCount();
    frmProperties(m_state, m_dialogs, *this, m_pictures, adding, this).exec();
    if (adding)
        m_identify.identifyNew(before);
}

void frmMain::ArrangePanes()
{
    m_panes->ArrangePanes();
}

void frmMain::RebuildEmulatorMenu()
{
    m_launcher->RebuildEmulatorMenu();
}

// The new view shows the selected entry's details and screenshots as it lays them out.
void frmMain::view_Click()
{
    frmLayout dialog(m_state, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_panes->formResize();
    lstClick();
}

void frmMain::afterFilterChange()
{
    lblEntries->setText(m_finder->entryCountText());
    const RomDatabase &database = m_state.database;
    // What the list no longer shows is no longer selected.
    if (database.SelectedIndex > kNone && m_proxy->rowOfSlot(database.SelectedIndex) < 0) {
        clearSelection();
        setRomItemsEnabled(false);
    }
    if (listedRows() == 0)
        setRomItemsEnabled(false);
}

const QString &frmMain::infoText() const
{
    return picInfoPane->text();
}
