#pragma once

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>

#include <list>

// One screenshot file, decoded.
struct LoadedPicture
{
    QImage image; // a null image when !ok
    bool ok = false;
    QString error; // why the file could not be shown, when !ok
    // A Spectrum screen (the name ends in ".scr" in any letter case): `image` is DisplayZX's
    // phase 0 and `screen` the 6,912 bytes drawn, so a viewer can draw phase 1 with
    // DisplayZX(screen, 1) when screenFlashes(screen).
    bool isScr = false;
    QByteArray screen;
};

// Loads the pictures of the screenshot strip, the properties preview and the viewer: .scr screens
// through DisplayZX, every other file by its content through QImageReader (BMP, GIF, JPEG; PNG
// too). Never throws: a file that cannot be read or decoded gives ok = false and a reason.
//
// Results are kept, keyed by path, file size and modification time, so showing an entry again
// decodes nothing while a file changed on disk is decoded afresh. Failed decodes are kept as well
// (the same bytes fail the same way); a path that is missing or not a regular file is not. The
// kept pictures are bounded by their size in bytes and the least recently used go first; a
// picture larger than the whole budget is returned but not kept.
//
// Not thread-safe: one loader belongs to the UI thread, owned by whoever owns the windows.
class PictureLoader
{
public:
    // About 330 full-size screens.
    static constexpr qint64 kDefaultBudgetBytes = 64 * 1024 * 1024;

    explicit PictureLoader(qint64 budgetBytes = kDefaultBudgetBytes);

    LoadedPicture load(const QString &path);
    // The loading screen a tape or snapshot holds (or an archive's Spectrum member), drawn as
    // a .scr is: kept like a picture, by the rom file's path, size and modification time, and a
    // file without a screen is kept as such (ok = false, an empty error).
    LoadedPicture loadLoadingScreen(const QString &romPath);

    void clear();
    int count() const { return int(m_index.size()); }
    qint64 bytes() const { return m_bytes; }
    // Files actually read and decoded, and loads answered from what was kept.
    int decodes() const { return m_decodes; }
    int hits() const { return m_hits; }

private:
    struct Entry
    {
        QString key; // the path, marked apart for a loading screen
        qint64 size;
        qint64 modified;
        qint64 cost;
        LoadedPicture picture;
    };
    using Entries = std::list<Entry>; // most recently used first

    void remove(Entries::iterator entry);
    // Whatever is kept under `key` for the file at `path`, or what `decode` makes of it.
    template <typename Decode>
    LoadedPicture loadKept(const QString &path, const QString &key, bool isScr, Decode decode);

    qint64 m_budget;
    qint64 m_bytes = 0;
    int m_decodes = 0;
    int m_hits = 0;
    Entries m_entries;
    QHash<QString, Entries::iterator> m_index;
};
