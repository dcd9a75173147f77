#include "core/SafeFile.h"

#include "core/PathText.h"

#include <QSaveFile>

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    return device.write(bytes) == bytes.size();
}

WriteResult writeFileSafely(const QString &path, const std::function<bool(QIODevice &)> &write)
{
    QSaveFile file(toFileSystemPath(path));
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (!write(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false,
                reason.isEmpty() ? QStringLiteral("The data could not be written.") : reason};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, {}};
}

WriteResult writeFileSafely(const QString &path, const QByteArray &contents)
{
    return writeFileSafely(path, [&](QIODevice &device) { return writeAll(device, contents); });
}
