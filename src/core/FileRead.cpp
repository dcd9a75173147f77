#include "core/FileRead.h"

#include "core/PathText.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

QString openRegularFile(const QString &path, QFile &file)
{
    const QString fileSystemPath = toFileSystemPath(path);
#ifdef Q_OS_UNIX
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd =
        ::open(QFile::encodeName(fileSystemPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return kNotARegularFile;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return file.errorString();
    }
    return {};
#else
    if (!QFileInfo(fileSystemPath).isFile())
        return QFileInfo::exists(fileSystemPath) ? kNotARegularFile
                                                 : QStringLiteral("No such file or directory");
    file.setFileName(fileSystemPath);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return {};
#endif
}

bool isRegularFile(const QString &path)
{
    return QFileInfo(toFileSystemPath(path)).isFile();
}

FileBytes readRegularFile(const QString &path, qint64 limit)
{
    QFile file;
    const QString reason = openRegularFile(path, file);
    if (!reason.isEmpty())
        return {false, {}, reason};
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
