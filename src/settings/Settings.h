#pragma once

#include "core/Message.h"
#include "settings/SettingsFile.h"

#include <QRect>

struct AppState;

// The Settings of kivo.ini taken into the shared state and back. The window placement and the
// column widths are not held in the state: the main window applies and collects them itself.
void applySettings(const SettingsFile &settings, AppState &state);
SettingsFile settingsFromState(const AppState &state);

// Where the main window goes after the placement keys: `current` is its rectangle as built,
// `screen` the rectangle of the screen it shows on. A size of 100 pixels or less is ignored; a
// position of -99 or less centres the window on the screen.
QRect placeWindow(const SettingsFile &settings, const QRect &current, const QRect &screen);

// What the user is told when the settings file could not be written.
Message settingsNotSavedMessage(const QString &path);
