#pragma once

class ColumnChooser;
class Dialogs;
class GameListView;
class QMainWindow;
struct AppState;
struct MainMenuArrays;

// kivo.ini and lang.ini as the main window reads and writes them: the shared settings, the
// window's placement, the list's optional columns and column widths, and the language file's
// captions.
class WindowSettings
{
public:
    WindowSettings(AppState &state, Dialogs &dialogs, QMainWindow &window, GameListView &list,
                   ColumnChooser &columns, MainMenuArrays &menus);

    void LoadSettings();
    // A failed write is reported; the file of the previous run is then kept as it was.
    void SaveSettings();
    void LoadLanguage();
    // The settings came from the first-run script: show the first entry at once.
    bool isFirstRun() const { return m_firstRun; }

private:
    AppState &m_state;
    Dialogs &m_dialogs;
    QMainWindow &m_window;
    GameListView &m_list;
    ColumnChooser &m_columns;
    MainMenuArrays &m_menus;
    bool m_firstRun = false;
};
