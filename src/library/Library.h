#pragma once

#include "core/Message.h"
#include "core/RomDatabase.h"
#include "library/LibraryRow.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class LibraryConnection;
struct SessionRead;

// Where a row was found in a library, until its rows are added to, moved or dropped.
struct LibraryRowPlace
{
    quint64 generation = 0;
    qsizetype at = -1;
};

// What the user wants remembered of a catalogue's entries, which its .dat file cannot hold:
// favourites, tags, plays and the way each entry runs. It lives in an SQLite file beside the
// catalogue (games.dat: games.kivolib), keyed by the entries' rom files, and is read into memory
// once when opened: reads never touch the file. A change goes to the file first, in a
// transaction of its own, and reaches memory only once committed; a failed change changes
// nothing and says why.
//
// A library starts in memory, as a new catalogue does, and reaches a file with the catalogue's
// first save. A file Kivo cannot read as a library is never written over: it is kept beside as
// NAME.kivolib.damaged-YYYYMMDD-HHMMSS and a new library is started.
class Library
{
public:
    enum class Access { ReadWrite, ReadOnly };
    // Why nothing is recorded: asked for (another Kivo window has the catalogue), a library of
    // a later Kivo, or a file that cannot be used (not set aside, not writable, not creatable).
    enum class ReadOnlyReason { None, Requested, Newer, Unusable };

    // An empty library in memory.
    Library();
    ~Library();
    Library(const Library &) = delete;
    Library &operator=(const Library &) = delete;

    // The library file of the catalogue file `cataloguePath`: DIR/NAME.dat gives DIR/NAME.kivolib.
    static QString pathFor(const QString &cataloguePath);

    // Load: the library of `cataloguePath`, created when there is none (ReadWrite only). The
    // message, when there is one, is for the user: a damaged file was kept aside, or the file
    // cannot be used and the library records nothing.
    std::optional<Message> open(const QString &cataloguePath, Access access = Access::ReadWrite);
    // New: an empty library in memory.
    void startNew();
    // The catalogue's first save or Save as: this library, with all it holds, becomes the
    // library of `cataloguePath`, replacing any library there, and is recorded there from now
    // on. Saving to the path it has already is nothing to do. Sessions started stay open.
    std::optional<Message> saveAs(const QString &cataloguePath);

    // The file; empty while the library is in memory.
    const QString &path() const { return m_path; }
    bool isReadOnly() const { return m_readOnly != ReadOnlyReason::None; }
    ReadOnlyReason readOnlyReason() const { return m_readOnly; }
    // Why nothing is recorded, for the status bar; empty when changes are recorded.
    const QString &readOnlyText() const { return m_readOnlyText; }

    // The row of `key`; a row with no plays, tags or choices when the library has none.
    LibraryRow row(const LibraryKey &key) const;
    // The row of `key`, nullptr when there is none, for a caller that looks the same key up
    // again and again: `place` remembers where its row is until a row is added, moved or
    // dropped.
    const LibraryRow *rowOf(const FoldedLibraryKey &key, LibraryRowPlace &place) const;
    bool contains(const LibraryKey &key) const { return find(key) != nullptr; }
    qsizetype rowCount() const { return qsizetype(m_rows.size()) - m_removed; }
    QList<LibraryRow> rows() const;
    // Every tag of every row once, in its first spelling, in alphabetical order.
    QStringList allTags() const;
    // The slots of `catalogue`'s entries last started at most 30 days before `now` (UTC
    // seconds), the latest first; and of those never started, in catalogue order.
    QList<int> recentlyPlayed(const RomDatabase &catalogue, qint64 now) const;
    QList<int> neverPlayed(const RomDatabase &catalogue) const;
    // Every session of every row, read from the file (for merging and checking the totals);
    // nothing when it cannot be read.
    std::optional<QList<PlaySession>> sessions() const;

    LibraryWrite setFavourite(const LibraryKey &key, bool favourite);
    // Tags are trimmed and at most kMaxTagLength long; empty ones and repeats (without regard
    // to case) are dropped, and a tag the row has already keeps its spelling there. addTag
    // refuses an empty or longer tag.
    LibraryWrite setTags(const LibraryKey &key, const QStringList &tags);
    LibraryWrite addTag(const LibraryKey &key, const QString &tag);
    LibraryWrite removeTag(const LibraryKey &key, const QString &tag);
    LibraryWrite setRunChoice(const LibraryKey &key, const EntryRunChoice &choice);
    // A start of the entry at `when` (UTC seconds): one more play, and the latest start.
    LibraryWrite recordStart(const LibraryKey &key, qint64 when);
    // The session ended after `seconds` (the launcher's milliseconds / 1000); a run shorter
    // than kQuickEndSeconds adds no time. A session ends once.
    LibraryWrite recordEnd(qint64 session, qint64 seconds);
    // The rom file was renamed: its row moves to `to`, open sessions with it. When `to` has a
    // row already, the two become one: `to`'s spelling, favourite when either was, `to`'s tags
    // then the others, `to`'s run choice unless it has none, and the sessions of both.
    LibraryWrite renameKey(const LibraryKey &from, const LibraryKey &to);
    // Adds `other`'s rows this one lacks, and every one of its sessions, so totals add up;
    // favourites and tags are united, and a row's run choice is taken where it has none.
    LibraryWrite mergeFrom(const Library &other);

private:
    struct Row : LibraryRow
    {
        qint64 id = 0; // kivo_entry.id; 0 until written
        bool removed = false;
    };

    void reset(std::unique_ptr<LibraryConnection> connection, const QString &path);
    void becomeReadOnly(ReadOnlyReason reason, const QString &text);
    std::optional<Message> openFile(const QString &path);
    std::optional<Message> openReadOnly(const QString &path, ReadOnlyReason reason,
                                        std::unique_ptr<LibraryConnection> connection = {});
    // The rows and what only some have; their play sessions come apart.
    bool loadRows(QString &error);
    void addSessions(const std::vector<SessionRead> &sessions);
    bool copyTo(const QString &target, QString &error);

    const Row *find(const FoldedLibraryKey &key) const;
    const Row *find(const LibraryKey &key) const;
    // A copy of the row of `key` to change, or a new row for it.
    Row staged(const LibraryKey &key) const;
    std::optional<LibraryWrite> notRecorded() const;
    std::optional<LibraryWrite> refused(const LibraryKey &key) const;
    LibraryWrite commit(const std::function<bool()> &work);
    bool write(Row &row);
    LibraryWrite store(Row row);
    void install(const Row &row);
    // Rows were added, moved or dropped: every LibraryRowPlace is to be found again.
    void rowsMoved();

    std::unique_ptr<LibraryConnection> m_connection;
    QString m_path;
    ReadOnlyReason m_readOnly = ReadOnlyReason::None;
    QString m_readOnlyText;
    std::vector<Row> m_rows;
    qsizetype m_removed = 0;
    // Folded key text to index in m_rows, one table per kind of key.
    std::array<QHash<QString, qsizetype>, 2> m_index;
    // Sessions started here and not yet ended, to the key of their row.
    QHash<qint64, LibraryKey> m_openSessions;
    quint64 m_generation = 0;
};
