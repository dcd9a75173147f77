#pragma once

#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "state/RomFileIndex.h"
#include "ui/common/CatalogueView.h"
#include "ui/common/DesktopOpener.h"
#include "ui/common/Dialogs.h"
#include "ui/identify/IdentifyCommands.h"
#include "ui/list/GameListProxy.h"
#include "ui/main/CatalogueCommands.h"
#include "ui/main/LibraryCommands.h"
#include "ui/main/MainMenus.h"

#include <QMainWindow>

#include <memory>

class ColumnChooser;
class EntryLauncher;
class GameListFinder;
class GameListModel;
class GameListView;
class InfoPane;
class PaneArranger;
class ProcessStarter;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class ScreenshotCommands;
class ScreenshotStrip;
class WindowSettings;

// The main window: the game list, the details pane, the menus, and the start and stop of the
// program. It keeps its widgets, wires them to the rooms that do the work (the catalogue
// commands, finding and sorting, the panes, the screenshots, the settings, launching) and runs
// the start-up and shutdown. Controls keep the names the rest of the program (and the tests)
// know them by.
class frmMain : public QMainWindow, public MainMenuArrays, public CatalogueView
{
    Q_OBJECT

public:
    // Runs the start-up sequence (Form_Load) before returning.
    frmMain(AppState &state, Dialogs &dialogs, ProcessStarter &starter, QWidget *parent = nullptr);
    ~frmMain() override;

    // Controls.
    QWidget *picListPane = nullptr; // the filter bar above the game list, and the list
    QLineEdit *txtFilter = nullptr;
    QCheckBox *chkMissing = nullptr; // "Missing files only"
    GameListView *lstGames = nullptr;
    InfoPane *picInfoPane = nullptr;
    QPlainTextEdit *txtInfo = nullptr;
    ScreenshotStrip *picScrPane = nullptr;
    QStatusBar *statBar = nullptr;
    QLabel *lblEntries = nullptr; // the entry count, a permanent part of the status bar
    QLabel *lblLibrary = nullptr; // why the library records nothing, while it does not
    QMenu *contextMenu = nullptr;
    QMenu *runWithMenu = nullptr;
    QMenu *runAsMenu = nullptr;

    AppState &state() { return m_state; }
    // What the list shows: the catalogue through the filter and the sort.
    GameListProxy *gameListModel() const { return m_proxy; }
    CatalogueCommands &commands() { return m_commands; }
    LibraryCommands &library() { return m_library; }
    IdentifyCommands &identifier() { return m_identify; }
    GameListFinder &finder() { return *m_finder; }
    // The header's menu of optional columns.
    ColumnChooser &columns() { return *m_columns; }
    PaneArranger &panes() { return *m_panes; }
    ScreenshotCommands &screenshots() { return *m_screenshots; }
    EntryLauncher &launcher() { return *m_launcher; }
    // Decoded pictures, shared by the strip, the viewer and the properties preview.
    PictureLoader &pictures() { return m_pictures; }
    // The details text exactly as written, lines ending CR LF.
    const QString &infoText() const;

    // What commands and dialogs ask after they changed the shared state.
    void RefillGameList() override;
    void lstClick() override;
    void ArrangePanes() override;
    void clearSelection() override;
    void RebuildEmulatorMenu() override;
    int listedRows() const override;
    void entryChanged(int slot) override;
    void showStatus(const QString &text) override;

    // Event handlers.
    void Form_Load();
    void Form_Unload();
    void mnuRoms_Click(int index);
    void view_Click();
    void lstGames_MouseUp(Qt::MouseButton button, const QPoint &globalPos);
    void lstGames_DblClick();
    void lstGames_OLEDragDrop(const QStringList &paths);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanes();
    void wireList();
    void wireMenus();
    // After the filter or the sort changed: the count, and no selection the list does not show.
    void afterFilterChange();
    void selectCurrentRow();
    // The slots of the rows selected in the list.
    QList<int> selectedSlots() const;
    void updatePlayMusicItem();
    // Roms > Favourite is ticked when every selected entry is one.
    void updateLibraryItems();
    void setRomItemsEnabled(bool enabled);

    AppState &m_state;
    Dialogs &m_dialogs;
    ProcessStarter &m_starter;
    CatalogueCommands m_commands;
    LibraryCommands m_library;
    IdentifyCommands m_identify;
    QtDesktopOpener m_desktopOpener;
    PictureLoader m_pictures;
    RomFileIndex m_romFiles;
    GameListModel *m_model = nullptr;
    GameListProxy *m_proxy = nullptr;
    GameListFinder *m_finder = nullptr;
    ColumnChooser *m_columns = nullptr;
    EntryLauncher *m_launcher = nullptr;
    std::unique_ptr<PaneArranger> m_panes;
    std::unique_ptr<ScreenshotCommands> m_screenshots;
    std::unique_ptr<WindowSettings> m_settings;
    bool m_unloaded = false;
};
