#pragma once

#include <QIODevice>
#include <QString>

#include <functional>

// Every file the program writes goes through here: the data goes to a temporary file beside the
// target, which replaces the target only once it is complete. A failed write leaves the old file
// exactly as it was.
struct WriteResult
{
    bool ok = false;
    QString reason; // the system's reason when !ok
};

// `write` fills the device and returns false when anything it wrote failed.
WriteResult writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write);
WriteResult writeFileSafely(const QString &path, const QByteArray &contents);

// Writes all of `bytes` or reports failure.
bool writeAll(QIODevice &device, const QByteArray &bytes);
