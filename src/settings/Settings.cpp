#include "settings/Settings.h"

#include "state/AppState.h"

void applySettings(const SettingsFile &s, AppState &state)
{
    state.emulators.defaultIndex = s.Defaultemu;
    state.musicPlayers.defaultIndex = s.Defaultmplayer;
    state.layout.ViewMode = s.view;
    state.layout.HalfSizeScreenshots = s.SSSize;
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
}

SettingsFile settingsFromState(const AppState &state)
{
    SettingsFile s;
    s.Defaultemu = state.emulators.defaultIndex;
    s.Defaultmplayer = state.musicPlayers.defaultIndex;
    s.view = state.layout.ViewMode;
    s.SSSize = state.layout.HalfSizeScreenshots;
    s.lastdb = state.database.LastDatabase;
    s.loadlast = state.LoadLastDatabase;
    s.emulators = state.emulators.entries;
    s.musicPlayers = state.musicPlayers.entries;
    s.RomPaths = state.paths[PathKind::Rom].dirs();
    s.ScreenshotPaths = state.paths[PathKind::Screenshot].dirs();
    s.MusicPaths = state.paths[PathKind::Music].dirs();
    return s;
}

QRect placeWindow(const SettingsFile &s, const QRect &current, const QRect &screen)
{
    QRect placed = current;
    if (!s.placementRead)
        return placed;
    if (s.winw > 100)
        placed.setWidth(nearestInteger(s.winw));
    if (s.winh > 100)
        placed.setHeight(nearestInteger(s.winh));
    // Centred from the size the window has now.
    qint32 left = screen.x() + nearestInteger(screen.width() / 2.0 - placed.width() / 2.0);
    qint32 top = screen.y() + nearestInteger(screen.height() / 2.0 - placed.height() / 2.0);
    if (s.winy > -99)
        top = nearestInteger(s.winy);
    if (s.winx > -99)
        left = nearestInteger(s.winx);
    placed.moveTo(left, top);
    return placed;
}

Message settingsNotSavedMessage(const QString &path)
{
    return Message::critical(QStringLiteral("Unable to save the settings file.") + kCrLf + path,
                             kApplicationTitle);
}
