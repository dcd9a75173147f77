#include "render/RegularFile.h"

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
