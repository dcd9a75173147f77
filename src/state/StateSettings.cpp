#include "state/StateSettings.h"

void applySettings(const SettingsFile &s, AppState &state)
{
    state.emulators.defaultIndex = s.Defaultemu;
    state.musicPlayers.defaultIndex = s.Defaultmplayer;
    // A view the program does not have would leave the list nowhere: the list alone instead.
    state.layout.ViewMode = s.view >= 0 && s.view < LayoutState::kViews ? s.view : 0;
    state.layout.HalfSizeScreenshots = s.SSSize;
    state.layout.ShowLoadingScreens = s.loadscr != 0;
    state.database.LastDatabase = s.lastdb;
    state.LoadLastDatabase = s.loadlast;
    // A list the file does not give keeps what it holds.
    if (!s.emulators.isEmpty())
        state.emulators.entries = s.emulators;
    if (!s.musicPlayers.isEmpty())
        state.musicPlayers.entries = s.musicPlayers;
    if (!s.RomPaths.isEmpty())
        state.paths[PathKind::Rom].setDirs(s.RomPaths);
    if (!s.ScreenshotPaths.isEmpty())
        state.paths[PathKind::Screenshot].setDirs(s.ScreenshotPaths);
    if (!s.MusicPaths.isEmpty())
        state.paths[PathKind::Music].setDirs(s.MusicPaths);
    state.dats.setFiles(s.datFiles);
}

SettingsFile settingsFromState(const AppState &state)
{
    SettingsFile s;
    s.Defaultemu = state.emulators.defaultIndex;
    s.Defaultmplayer = state.musicPlayers.defaultIndex;
    s.view = state.layout.ViewMode;
    s.SSSize = state.layout.HalfSizeScreenshots;
    s.loadscr = state.layout.ShowLoadingScreens ? 1 : 0;
    s.lastdb = state.database.LastDatabase;
    s.loadlast = state.LoadLastDatabase;
    s.emulators = state.emulators.entries;
    s.musicPlayers = state.musicPlayers.entries;
    s.RomPaths = state.paths[PathKind::Rom].dirs();
    s.ScreenshotPaths = state.paths[PathKind::Screenshot].dirs();
    s.MusicPaths = state.paths[PathKind::Music].dirs();
    s.datFiles = state.dats.files();
    return s;
}
