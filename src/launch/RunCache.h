#pragma once

#include <QString>

// Where the Spectrum member of an archived rom file is written for the emulator, which needs a
// real file. Each archive gets a directory named by a hash of its path, size and modification
// time, holding the member under its own base name (so the emulator sees the right ending); an
// archive seen before, unchanged, reuses its file without being opened. Past the limit, the
// files used longest ago go. Tests hand in a directory of their own.
class RunCache
{
public:
    static constexpr qint64 kDefaultLimit = 512LL * 1024 * 1024;

    explicit RunCache(const QString &directory, qint64 limit = kDefaultLimit);

    // The user's own: $XDG_CACHE_HOME/kivo/run (~/.cache/kivo/run).
    static QString standardDirectory();

    struct Result
    {
        bool ok = false;
        QString path;         // the member's file in the cache
        bool written = false; // extracted now, rather than reused
        QString reason;       // the whole text to show, when !ok
    };

    Result memberFile(const QString &archivePath);
    // Where memberFile puts the member `memberName` (a base name) of `archivePath`, without
    // writing anything: what a preview of the command names.
    QString memberPath(const QString &archivePath, const QString &memberName) const;

    const QString &directory() const { return m_directory; }

private:
    QString keyOf(const QString &archivePath) const;
    QString directoryOf(const QString &archivePath) const;
    QString makeDirectory(const QString &path) const;
    void trim(const QString &keep) const;

    QString m_directory;
    qint64 m_limit;
};
