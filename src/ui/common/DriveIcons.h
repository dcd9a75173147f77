#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// The eleven 16 x 16 drive pictures the paths dialog and the directory chooser show, drawn
// here rather than shipped as images. Keys as driveIconKey() gives them; an unknown key draws
// the "unknown" picture.

// The picture of `key` at `scale` times 16 pixels, transparent around the glyph.
QPixmap drivePixmap(const QString &key, int scale = 1);
// The picture at 16 and 32 pixels, so it stays sharp on high-density screens.
QIcon driveIcon(const QString &key);
