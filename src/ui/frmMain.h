#pragma once

#include "render/PictureLoader.h"
#include "state/AppState.h"
#include "state/RomFileIndex.h"
#include "state/ScreenshotList.h"
#include "ui/CatalogueCommands.h"
#include "ui/CatalogueView.h"
#include "ui/DesktopOpener.h"
#include "ui/Dialogs.h"
#include "ui/GameListProxy.h"
#include "ui/MainMenus.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>

class GameListModel;
class GameListView;
class QCheckBox;
class QLineEdit;
class ScreenshotStrip;
class frmSSView;
class ProcessStarter;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
struct Launch;
struct RomRecord;

// The main window: the game list, the details pane, the menus, and the start and stop of the
// program. It keeps its widgets, wires them to the commands and runs the start-up and shutdown;
// the catalogue commands, the menus and the launching live in rooms of their own. Controls keep
// the names the rest of the program (and the tests) know them by.
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
    QWidget *picInfoPane = nullptr;
    QPlainTextEdit *txtInfo = nullptr;
    ScreenshotStrip *picScrPane = nullptr;
    QStatusBar *statBar = nullptr;
    QLabel *lblEntries = nullptr; // the entry count, a permanent part of the status bar

    QList<QAction *> emuname; // the "Run With" submenu's places
    QMenu *contextMenu = nullptr;
    QMenu *runWithMenu = nullptr;

    AppState &state() { return m_state; }
    // What the list shows: the catalogue through the filter and the sort.
    GameListProxy *gameListModel() const { return m_proxy; }
    CatalogueCommands &commands() { return m_commands; }
    // Decoded pictures, shared by the strip, the viewer and the properties preview.
    PictureLoader &pictures() { return m_pictures; }
    // The details text exactly as written, lines ending CR LF.
    const QString &infoText() const { return m_infoText; }

    // What commands and dialogs ask after they changed the shared state.
    void RefillGameList() override;
    void lstClick() override;
    void ArrangePanes() override;
    void clearSelection() override;
    void RebuildEmulatorMenu() override;
    int listedRows() const override;
    void entryChanged(int slot) override;
    void showStatus(const QString &text) override;

    // The window's resize handling: the panes, then the strip.
    void formResize();
    void LoadScreenshots(const QString &screenshots);
    void displayScrShots(qint32 maxNumber);
    // The viewer, once a picture was viewed; null before.
    frmSSView *viewer() const { return m_viewer; }

    // Event handlers.
    void Form_Load();
    void Form_Unload();
    void mnuFile_Click(int index);
    void mnuRoms_Click(int index);
    void view_Click();
    void mnuEmus_Click(int index);
    void mnuMisc_Click(int index);
    void mnuClick_Click(int index);
    void mnuImages_Click(int index);
    void blank_Click(int index);
    void emuname_Click(int index);
    void lstGames_MouseUp(Qt::MouseButton button, const QPoint &globalPos);
    void lstGames_DblClick();
    void lstGames_OLEDragDrop(const QStringList &paths);
    // Find and sort (frmMainFind.cpp).
    void txtFilter_Change();
    void chkMissing_Click();
    void header_Click(int column);
    // F5: the rom paths are listed again.
    void refreshRomFiles();
    // Pictures dropped on the strip join the selected entry's screenshots.
    void picScrPane_OLEDragDrop(const QStringList &paths, ScrFiles scr);

    // Settings, language and About box (frmMainSettings.cpp).
    void LoadSettings();
    void SaveSettings();
    void LoadLanguage();
    void showAbout();

    // Launching (frmMainLaunch.cpp). `emulator`: an index into the emulator list, or
    // kDefaultEmulator.
    void RunEntry(int emulator);
    void PlayEntryMusic();
    static constexpr int kDefaultEmulator = -1;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanes();
    void buildFilterBar();
    void wireMenus();
    // After the filter or the sort changed: the count, and no selection the list does not show.
    void afterFilterChange();

    void applyArrangement();
    void viewPicture(int index);
    void savePictureAs(int index);

    void selectCurrentRow();
    // The slots of the rows selected in the list.
    QList<int> selectedSlots() const;
    void setInfoText(const QString &text);
    void updatePlayMusicItem();
    void setRomItemsEnabled(bool enabled);
    void showEntryCount();

    // Starts what `plan` makes of the selected entry: the one way Run, Run With and Play Music
    // reach a program.
    void launchSelected(const std::function<Launch(const RomRecord &)> &plan);

    AppState &m_state;
    Dialogs &m_dialogs;
    ProcessStarter &m_starter;
    CatalogueCommands m_commands;
    QtDesktopOpener m_desktopOpener;
    PictureLoader m_pictures;
    frmSSView *m_viewer = nullptr;
    RomFileIndex m_romFiles;
    QTimer m_romFilesTimer;
    GameListModel *m_model = nullptr;
    GameListProxy *m_proxy = nullptr;
    QString m_infoText;
    bool m_unloaded = false;
};
