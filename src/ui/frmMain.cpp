#include "ui/frmMain.h"

#include "state/InfoText.h"
#include "ui/GameListModel.h"
#include "ui/GameListProxy.h"
#include "ui/GameListView.h"
#include "ui/ScreenshotStrip.h"
#include "ui/frmPaths.h"
#include "ui/frmProperties.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

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
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kApplicationTitle);
    resize(kBuiltInSize);
    buildPanes();
    build(menuBar(), this);
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
    lstGames->header()->resizeSection(GameListModel::NameColumn, 300);
    lstGames->header()->resizeSection(GameListModel::PublisherColumn, 220);
    lstGames->header()->resizeSection(GameListModel::YearColumn, 70);

    buildFilterBar();

    picInfoPane = new QWidget(central);
    picInfoPane->setObjectName(QStringLiteral("picInfoPane"));
    txtInfo = new QPlainTextEdit(picInfoPane);
    txtInfo->setObjectName(QStringLiteral("txtInfo"));
    txtInfo->setReadOnly(true);
    picInfoPane->resize(kBuiltInSize.width(), kInfoPaneHeight);
    picInfoPane->installEventFilter(this);
    picInfoPane->hide();

    picScrPane = new ScreenshotStrip(m_state, m_pictures, central);
    picScrPane->hide();
    connect(picScrPane, &ScreenshotStrip::resizeRequested, this, [this] { formResize(); });
    connect(picScrPane, &ScreenshotStrip::viewRequested, this, &frmMain::viewPicture);
    connect(
        picScrPane, &ScreenshotStrip::imageMenuRequested, this,
        [this](int, const QPoint &globalPos) { blank[Menu::TopImages]->menu()->popup(globalPos); });
    connect(picScrPane, &ScreenshotStrip::filesDropped, this, &frmMain::picScrPane_OLEDragDrop);

    m_romFilesTimer.setSingleShot(true);
    connect(&m_romFilesTimer, &QTimer::timeout, this, [this] {
        if (m_romFiles.update(m_state.paths[PathKind::Rom]))
            m_model->romFilesChanged();
    });

    statBar = new QStatusBar(this);
    statBar->setObjectName(QStringLiteral("statBar"));
    setStatusBar(statBar);
    lblEntries = new QLabel(statBar);
    lblEntries->setObjectName(QStringLiteral("lblEntries"));
    statBar->addPermanentWidget(lblEntries);

    connect(lstGames->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { selectCurrentRow(); });
    connect(lstGames, &GameListView::mouseReleased, this, &frmMain::lstGames_MouseUp);
    connect(lstGames, &QAbstractItemView::doubleClicked, this, [this] { lstGames_DblClick(); });
    connect(lstGames, &GameListView::enterPressed, this, [this] { lstGames_DblClick(); });
    connect(lstGames, &GameListView::deletePressed, this,
            [this] { m_commands.removeEntries(selectedSlots()); });
    connect(lstGames, &GameListView::filesDropped, this, &frmMain::lstGames_OLEDragDrop);
}

void frmMain::wireMenus()
{
    contextMenu = blank[Menu::TopClick]->menu();
    runWithMenu = mnuClick[Menu::ClickRunWith]->menu();
    const auto connectItems = [this](const QList<QAction *> &items, void (frmMain::*handler)(int)) {
        for (int i = 0; i < items.size(); ++i)
            connect(items.at(i), &QAction::triggered, this,
                    [this, handler, i] { (this->*handler)(i); });
    };
    connectItems(mnuFile, &frmMain::mnuFile_Click);
    connectItems(mnuRoms, &frmMain::mnuRoms_Click);
    connectItems(mnuEmus, &frmMain::mnuEmus_Click);
    connectItems(mnuMisc, &frmMain::mnuMisc_Click);
    connectItems(mnuClick, &frmMain::mnuClick_Click);
    connectItems(mnuImages, &frmMain::mnuImages_Click);
    connect(view[Menu::ViewOptions], &QAction::triggered, this, [this] { view_Click(); });
    connect(blank[Menu::TopAbout], &QAction::triggered, this,
            [this] { blank_Click(Menu::TopAbout); });

    // Nothing to remove, edit or play until an entry is picked.
    mnuRoms[Menu::RomsRemove]->setEnabled(false);
    mnuRoms[Menu::RomsProperties]->setEnabled(false);
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

    LoadSettings();
    mnuMisc[Menu::MiscLoadLast]->setChecked(m_state.LoadLastDatabase == 1);
    m_commands.loadLastDatabase();
    LoadLanguage();
    RebuildEmulatorMenu();
    RefillGameList();
    ArrangePanes();
    if (listedRows() > 0)
        lstClick();
}

// Shutdown cannot be cancelled: offer to save, write the settings, close the windows this one
// opened.
void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_commands.saveAtShutdown();
    SaveSettings();
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
    mnuFile[Menu::FileSave]->setEnabled(hasEntries);
    mnuFile[Menu::FileSaveAs]->setEnabled(hasEntries);
    mnuMisc[Menu::MiscExport]->setEnabled(hasEntries);

    m_model->refill();
    // New directories among the rom paths are listed once the window is idle, and the list then
    // shows which files are missing.
    m_romFilesTimer.start(0);
    showEntryCount();

    // The list keeps showing the selected entry; one that is gone is no longer selected.
    RomDatabase &database = m_state.database;
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

void frmMain::showEntryCount()
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const int rows = listedRows();
    const int total = m_proxy->totalRows();
    if (m_proxy->filtering())
        lblEntries->setText(
            QStringLiteral("%1 of %2 entries").arg(locale.toString(rows), locale.toString(total)));
    else
        lblEntries->setText(rows == 1 ? QStringLiteral("1 entry")
                                      : QStringLiteral("%1 entries").arg(locale.toString(rows)));
}

int frmMain::listedRows() const
{
    return m_proxy->rowCount();
}

void frmMain::entryChanged(int slot)
{
    m_model->refreshSlot(slot);
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
        LoadScreenshots(record.Screenshots);
        formResize();
    }
    updatePlayMusicItem();
    setInfoText(m_state.layout.showsInfoPane() ? InfoText(record, m_state.gameTypes) : QString());
}

void frmMain::selectCurrentRow()
{
    const QModelIndex current = lstGames->currentIndex();
    if (!current.isValid())
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
    // The selection's ranges, not selectedRows(): that tests every row against every range,
    // which takes seconds with 10,000 rows picked one by one.
    QList<int> slots;
    const QItemSelection selection = lstGames->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            slots.append(m_proxy->slotOfRow(row));
    }
    return slots;
}

void frmMain::clearSelection()
{
    m_state.database.SelectedIndex = kNone;
    LoadScreenshots(QString());
    setInfoText(QString());
    mnuClick[Menu::ClickPlayMusic]->setEnabled(false);
}

void frmMain::setInfoText(const QString &text)
{
    m_infoText = text;
    txtInfo->setPlainText(QString(text).replace(kCrLf, QStringLiteral("\n")));
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
    for (const int item : {Menu::ClickRemove, Menu::ClickRunWith, Menu::ClickProperties})
        mnuClick[item]->setEnabled(selected);
    contextMenu->popup(globalPos);
}

void frmMain::lstGames_DblClick()
{
    if (m_state.database.SelectedIndex > kNone)
        RunEntry(kDefaultEmulator);
}

void frmMain::lstGames_OLEDragDrop(const QStringList &paths)
{
    m_commands.dropOnList(paths);
}

void frmMain::mnuFile_Click(int index)
{
    switch (index) {
    case Menu::FileNew:
        m_commands.newDatabase();
        break;
    case Menu::FileLoad:
        m_commands.loadDatabase();
        break;
    case Menu::FileSave:
        m_commands.save();
        break;
    case Menu::FileSaveAs:
        m_commands.saveAs();
        break;
    case Menu::FileExit:
        close();
        break;
    default:
        break;
    }
}

void frmMain::mnuRoms_Click(int index)
{
    if (index == Menu::RomsRemove)
        m_commands.removeEntries(selectedSlots());
    const bool adding = index == Menu::RomsAdd;
    if (adding || (index == Menu::RomsProperties && m_state.database.SelectedIndex > kNone))
        frmProperties(m_state, m_dialogs, *this, m_pictures, adding, this).exec();
}

void frmMain::mnuMisc_Click(int index)
{
    switch (index) {
    case Menu::MiscImport:
        m_commands.importDatabases();
        break;
    case Menu::MiscExport:
        m_commands.exportPocketDatabase();
        break;
    case Menu::MiscPaths: {
        frmPaths dialog(m_state, m_dialogs, m_desktopOpener, this);
        dialog.exec();
        break;
    }
    case Menu::MiscLoadLast:
        m_state.LoadLastDatabase = mnuMisc[Menu::MiscLoadLast]->isChecked() ? 1 : 0;
        break;
    default:
        break;
    }
}

void frmMain::mnuClick_Click(int index)
{
    switch (index) {
    case Menu::ClickAdd:
        mnuRoms_Click(Menu::RomsAdd);
        break;
    case Menu::ClickRemove:
        mnuRoms_Click(Menu::RomsRemove);
        break;
    case Menu::ClickPlayMusic:
        PlayEntryMusic();
        break;
    case Menu::ClickProperties:
        mnuRoms_Click(Menu::RomsProperties);
        break;
    default:
        break;
    }
}

void frmMain::blank_Click(int index)
{
    if (index == Menu::TopAbout)
        showAbout();
}
