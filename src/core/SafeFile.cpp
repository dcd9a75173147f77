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
    // The last buffered bytes go out here, not in commit(): commit() does not see that they
    // failed, and would put an empty or cut file in place of the old one on a full disk.
    if (!write(file) || !file.flush() || file.error() != QFileDevice::NoError) {
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
