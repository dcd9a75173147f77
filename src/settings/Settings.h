#pragma once

#include "core/Message.h"
#include "settings/SettingsFile.h"

#include <QRect>

// Where the main window goes after the placement keys: `current` is its rectangle as built,
// `screen` the rectangle of the screen it shows on. A size of 100 pixels or less is ignored; a
// position of -99 or less centres the window on the screen.
QRect placeWindow(const SettingsFile &settings, const QRect &current, const QRect &screen);

// What the user is told when the settings file could not be written.
Message settingsNotSavedMessage(const QString &path);
