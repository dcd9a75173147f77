#pragma once

#include "core/Message.h"
#include "settings/SettingsFile.h"

#include <QList>
#include <QRect>

#include <optional>

// Where the main window goes after the placement keys: `current` is its rectangle as built,
// `screen` the rectangle of the screen it shows on. A size of 100 pixels or less is ignored; a
// position of -99 or less centres the window on the screen.
// `available` holds the usable area of every screen, the window's own screen first; when it is
// given, the window is made no larger than its screen and, unless enough of it shows on some
// screen to be seen and dragged, centred on its own screen. Without it (no screens), positions
// and sizes are only kept within +-kMaxWindowExtent.
QRect placeWindow(const SettingsFile &settings, const QRect &current, const QRect &screen,
                  const QList<QRect> &available = {});

// No window coordinate or size goes beyond this, so adding them cannot overflow.
constexpr int kMaxWindowExtent = 1 << 24;

// What the user is told when the settings file could not be written.
Message settingsNotSavedMessage(const QString &path);

// Writes the settings file as the shutdown does, through a temporary file: a failed write leaves
// the old file as it was and gives the message to show.
std::optional<Message> saveSettingsFile(const QString &path, const SettingsFile &settings);
