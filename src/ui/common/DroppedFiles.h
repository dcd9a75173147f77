#pragma once

#include <QStringList>

class QMimeData;

// Local file paths of a drop's URLs, from any file manager; other URLs are ignored.
QStringList droppedPaths(const QMimeData *mime);
