#pragma once

#include "core/Message.h"
#include "state/AppState.h"
#include "ui/Dialogs.h"

#include <QMainWindow>

class GameListModel;
class GameListView;
class ProcessStarter;
class QMenu;
class QPlainTextEdit;
class QStatusBar;

// The main window: the game list, the details pane, the menus and the start and stop of the
// program. Controls keep the names the rest of the program (and the tests) know them by.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    // Runs the start-up sequence (Form_Load) before returning.
    frmMain(AppState &state, Dialogs &dialogs, ProcessStarter &starter, QWidget *parent = nullptr);
    ~frmMain() override;

    // Controls.
    GameListView *lstGames = nullptr;
    QWidget *picInfoPane = nullptr;
    QPlainTextEdit *txtInfo = nullptr;
    QWidget *picScrPane = nullptr;
    QStatusBar *statBar = nullptr;

    // Menus, by the indices the program's commands use. `blank` holds the top-level items
    // (5: the game list's context menu, 8: the picture menu; 6 is unused and null).
    QList<QAction *> blank;
    QList<QAction *> mnuFile;
    QList<QAction *> mnuRoms;
    QList<QAction *> view;
    QList<QAction *> mnuEmus;
    QList<QAction *> mnuMisc;
    QList<QAction *> mnuClick;
    QList<QAction *> emuname; // the "Run With" submenu's places
    QMenu *contextMenu = nullptr;
    QMenu *runWithMenu = nullptr;

    AppState &state() { return m_state; }
    GameListModel *gameListModel() const { return m_model; }
    // The details text exactly as written, lines ending CR LF.
    const QString &infoText() const { return m_infoText; }

    // Operations other windows call after they changed the shared state.
    void RefillGameList();
    void lstClick();
    void ArrangePanes();
    void formResize();
    void LoadScreenshots(const QString &screenshots);

    // Event handlers.
    void Form_Load();
    void Form_Unload();
    void mnuFile_Click(int index);
    void mnuRoms_Click(int index);
    void view_Click();
    void mnuEmus_Click(int index);
    void mnuMisc_Click(int index);
    void mnuClick_Click(int index);
    void blank_Click(int index);
    void emuname_Click(int index);
    void lstGames_MouseUp(Qt::MouseButton button, const QPoint &globalPos);
    void lstGames_DblClick();
    void lstGames_OLEDragDrop(const QStringList &paths);

    // Settings, language and About box (frmMainSettings.cpp).
    void LoadSettings();
    void SaveSettings();
    void LoadLanguage();
    void showAbout();

    // Emulators, music players and launching (frmMainLaunch.cpp).
    void RebuildEmulatorMenu();
    // `emulator`: an index into the emulator list, or kDefaultEmulator.
    void RunEntry(int emulator);
    void PlayEntryMusic();
    static constexpr int kDefaultEmulator = -1;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class SaveOutcome { Saved, Cancelled, Failed };

    void buildPanes();
    void buildMenus();
    QAction *addMenuItem(QMenu *menu, QList<QAction *> &items, const QString &caption);

    // Selection.
    void selectCurrentRow();
    void clearSelection();
    void setInfoText(const QString &text);
    void updatePlayMusicItem();
    void setRomItemsEnabled(bool enabled);

    // Catalogue commands.
    void newDatabase();
    void loadDatabase();
    void removeSelected();
    void addDroppedFile(const QString &directory, const QString &name);
    void afterCatalogueReplaced();

    // Saving: to the file the catalogue belongs to, or through the save dialog.
    SaveOutcome saveCatalogue();
    SaveOutcome saveCatalogueAs(const QString &proposed);
    SaveOutcome saveTo(const QString &path);
    QString askDatabaseName(const QString &proposed);

    Dialogs::Answer ask(const Message &message);
    void showMessages(const Messages &messages);

    AppState &m_state;
    Dialogs &m_dialogs;
    ProcessStarter &m_starter;
    GameListModel *m_model = nullptr;
    QString m_infoText;
    bool m_unloaded = false;
};
