#include "core/FileRead.h"

#include "core/PathText.h"

#include <QFile>
#include <QFileInfo>

FileBytes readRegularFile(const QString &path, qint64 limit)
{
    const QString fileSystemPath = toFileSystemPath(path);
    const QFileInfo info(fileSystemPath);
    if (!info.exists())
        return {false, {}, QStringLiteral("The file does not exist.")};
    if (!info.isFile())
        return {false, {}, QStringLiteral("It is not a regular file.")};
    QFile file(fileSystemPath);
    if (!file.open(QIODevice::ReadOnly))
        return {false, {}, file.errorString()};
    const qint64 size = limit < 0 ? file.size() : std::min(file.size(), limit);
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < size) {
        const qint64 got = file.read(bytes.data() + filled, size - filled);
        if (got < 0)
            return {false, {}, file.errorString()};
        if (got == 0)
            break; // shortened since we asked its size
        filled += got;
    }
    bytes.truncate(filled);
    return {true, std::move(bytes), {}};
}
