#pragma once

#include <QFile>
#include <QString>

inline const QString kNotARegularFile = QStringLiteral("It is not a regular file.");

// Opens `path` for reading only when it is a regular file (links followed), deciding on the
// opened file itself: a FIFO, a device or a directory is refused without blocking, also when the
// name is swapped for one between a check and the open. Returns the reason for the user when it
// cannot, leaving `file` closed.
QString openRegularFile(const QString &path, QFile &file);
