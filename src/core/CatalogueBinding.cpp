#include "core/CatalogueBinding.h"

#include "core/PathText.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

// ".games.dat.lock" beside games.dat: hidden, and never taken for a catalogue by a listing.
QString lockFilePath(const QString &path)
{
    const QString native = toFileSystemPath(path);
    const QFileInfo info(native);
    return info.dir().filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".lock"));
}

std::unique_ptr<QLockFile> tryLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(lockFilePath(path));
    // A catalogue stays open for hours: only a lock whose process is gone is stale, never one
    // that is merely old.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    return nullptr;
}

} // namespace

CatalogueBinding::CatalogueBinding() = default;
CatalogueBinding::~CatalogueBinding() = default;

CatalogueBinding::Bind CatalogueBinding::bind(const QString &path)
{
    if (!holdsLockOf(path)) {
        clear();
        m_lock = tryLock(path);
        // No lock and nobody else's: a folder that takes no lock file (read-only media), where
        // nobody can save anyway.
        m_readOnly = m_lock == nullptr && isHeldElsewhere(path);
    }
    m_path = path;
    const QFileInfo info(toFileSystemPath(path));
    m_size = info.size();
    m_modified = info.lastModified();
    return m_readOnly ? Bind::HeldElsewhere : Bind::Locked;
}

void CatalogueBinding::clear()
{
    m_lock.reset();
    m_path.clear();
    m_readOnly = false;
    m_size = -1;
    m_modified = QDateTime();
}

bool CatalogueBinding::changedOnDisk() const
{
    if (!isBound())
        return false;
    const QFileInfo info(toFileSystemPath(m_path));
    return info.exists() && (info.size() != m_size || info.lastModified() != m_modified);
}

bool CatalogueBinding::isHeldElsewhere(const QString &path)
{
    QLockFile probe(lockFilePath(path));
    probe.setStaleLockTime(0);
    if (probe.tryLock(0)) {
        probe.unlock();
        return false;
    }
    return probe.error() == QLockFile::LockFailedError;
}
