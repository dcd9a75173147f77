#pragma once

#include <QByteArray>
#include <QString>

// Reading a whole file the program was pointed at. Only regular files are read: opening a FIFO
// would wait for a writer forever and a device never ends. The bytes are read, not mapped, so a
// file cut short by another program while we read it gives fewer bytes instead of a crash.
struct FileBytes
{
    bool ok = false;
    QByteArray bytes;
    QString reason; // the system's reason when !ok
};

// At most `limit` bytes from the start when `limit` is not negative.
FileBytes readRegularFile(const QString &path, qint64 limit = -1);
