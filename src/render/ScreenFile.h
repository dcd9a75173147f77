#pragma once

#include <QByteArray>
#include <QString>

// A .scr file as the renderer takes it.
struct ScreenFile
{
    QByteArray screen; // exactly 6,912 bytes when ok: the file's first, zero-filled to length
    bool ok = false;
    QString error; // why the file could not be read, when !ok
};

// Reads at most the first 6,912 bytes of a regular file; a shorter file (an empty one too) is
// zero-filled, the rest of a longer one is never read. A missing file, a directory, a FIFO or a
// device is refused at once.
ScreenFile readScreenFile(const QString &path);
