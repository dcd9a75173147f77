#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class QLockFile;

// The catalogue file the catalogue in memory belongs to: the one file saved over without asking.
// While bound, a lock beside the file tells other Kivo windows that it is open here, and the
// file's size and modification time say whether another program changed it since.
class CatalogueBinding
{
public:
    enum class Bind { Locked, HeldElsewhere };

    CatalogueBinding();
    ~CatalogueBinding();
    CatalogueBinding(const CatalogueBinding &) = delete;
    CatalogueBinding &operator=(const CatalogueBinding &) = delete;

    // Binds to `path`, just loaded or saved: its lock is taken (a lock left by a process that is
    // gone is taken over) and its size and time remembered. HeldElsewhere: another Kivo has it
    // open, and this one only reads it.
    Bind bind(const QString &path);
    // The catalogue belongs to no file any more; the lock is given up.
    void clear();

    const QString &path() const { return m_path; }
    bool isBound() const { return !m_path.isEmpty(); }
    bool isReadOnly() const { return m_readOnly; }
    // This binding holds the lock of `path`.
    bool holdsLockOf(const QString &path) const { return m_lock != nullptr && path == m_path; }
    // The file's size or modification time differ from what it had when bound.
    bool changedOnDisk() const;

    // True when a live Kivo holds the lock of `path` (this binding's own lock counts too).
    static bool isHeldElsewhere(const QString &path);

private:
    QString m_path;
    bool m_readOnly = false;
    qint64 m_size = -1;
    QDateTime m_modified;
    std::unique_ptr<QLockFile> m_lock;
};
