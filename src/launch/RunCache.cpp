#include "launch/RunCache.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/PathText.h"
#include "core/SafeFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kUnableToWrite = QStringLiteral("Unable to write %1: %2");
const QString kUnableToCreate = QStringLiteral("Unable to create %1");

// Only its owner may read or enter the directory: what one user unpacked is never another's.
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

QString cachedFileIn(const QString &directory)
{
    const QStringList files = QDir(directory).entryList(QDir::Files, QDir::Name);
    for (const QString &name : files) {
        // A temporary file left by an interrupted write has another ending.
        if (Archive::isSpectrumName(name))
            return directory + u'/' + name;
    }
    return {};
}

// Marks the file as just used, for the limit's "used longest ago".
void touch(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        file.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime);
}

} // namespace

RunCache::RunCache(const QString &directory, qint64 limit)
    : m_directory(QDir::cleanPath(directory))
    , m_limit(limit)
{
}

QString RunCache::standardDirectory()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/kivo/run");
}

QString RunCache::keyOf(const QString &archivePath) const
{
    const QFileInfo info(toFileSystemPath(archivePath));
    const QString identity = info.absoluteFilePath() + u'\n' + QString::number(info.size()) +
                             u'\n' + QString::number(info.lastModified().toMSecsSinceEpoch());
    return QString::fromLatin1(
        QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

QString RunCache::directoryOf(const QString &archivePath) const
{
    return m_directory + u'/' + keyOf(archivePath);
}

QString RunCache::memberPath(const QString &archivePath, const QString &memberName) const
{
    return directoryOf(archivePath) + u'/' + memberName;
}

QString RunCache::makeDirectory(const QString &path) const
{
    if (!QDir().mkpath(path) || !QFile::setPermissions(path, kOwnerOnly))
        return kUnableToCreate.arg(path);
    return {};
}

RunCache::Result RunCache::memberFile(const QString &archivePath)
{
    Result result;
    const QString directory = directoryOf(archivePath);
    if (const QString cached = cachedFileIn(directory); !cached.isEmpty()) {
        touch(cached);
        result.ok = true;
        result.path = cached;
        return result;
    }
    const RomFileBytes rom = readRomFile(archivePath);
    if (!rom.ok) {
        result.reason = rom.reason;
        return result;
    }
    for (const QString &made : {m_directory, directory}) {
        result.reason = makeDirectory(made);
        if (!result.reason.isEmpty())
            return result;
    }
    // The member's base name only: no name in an archive decides where we write.
    const QString path = memberPath(archivePath, rom.name);
    if (const WriteResult written = writeFileSafely(path, rom.bytes); !written.ok) {
        result.reason = kUnableToWrite.arg(path, written.reason);
        return result;
    }
    trim(path);
    result.ok = true;
    result.path = path;
    result.written = true;
    return result;
}

void RunCache::trim(const QString &keep) const
{
    struct Cached
    {
        QString path;
        qint64 size;
        QDateTime used;
    };
    QList<Cached> files;
    qint64 total = 0;
    QDirIterator it(m_directory, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        files.append({info.filePath(), info.size(), info.lastModified()});
        total += info.size();
    }
    if (total <= m_limit)
        return;
    std::sort(files.begin(), files.end(),
              [](const Cached &a, const Cached &b) { return a.used < b.used; });
    for (const Cached &file : files) {
        if (total <= m_limit)
            break;
        if (file.path == keep || !QFile::remove(file.path))
            continue;
        total -= file.size;
        QDir().rmdir(QFileInfo(file.path).path()); // when it was the directory's last file
    }
}
