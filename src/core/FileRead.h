#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reading a file the program was pointed at. Only regular files are read: opening a FIFO would
// wait for a writer forever and a device never ends. The bytes are read, not mapped, so a file
// cut short by another program while we read it gives fewer bytes instead of a crash.

inline const QString kNotARegularFile = QStringLiteral("It is not a regular file.");

// Opens `path` for reading when it is a regular file (links followed), deciding on the opened
// file itself: a FIFO, a device or a directory is refused without blocking, also when the name
// is swapped for one between a check and the open. Returns the reason for the user when it
// cannot, leaving `file` closed; the empty text when it is open.
QString openRegularFile(const QString &path, QFile &file);

// True when `path` names a regular file (links followed).
bool isRegularFile(const QString &path);

struct FileBytes
{
    bool ok = false;
    QByteArray bytes;
    QString reason; // the system's reason when !ok
};

// The whole file, or at most `limit` bytes from its start when `limit` is not negative.
FileBytes readRegularFile(const QString &path, qint64 limit = -1);
