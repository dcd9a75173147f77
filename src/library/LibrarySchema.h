#pragma once

#include <QString>

class LibraryConnection;

// The tables of a library file, version 1:
//   kivo_entry    a row per key: its kind (0: rom file, 1: entry name) and spelling, favourite,
//                 tags (joined by line feeds; NULL for none) and the run choice (NULL: default)
//   kivo_session  a row per start of an entry: the start in UTC seconds and the seconds played
//   kivo_session_entry, kivo_entry_more  indexes: the sessions of an entry, the rows with tags
//                 or a run choice
// PRAGMA application_id marks the file as Kivo's and PRAGMA user_version holds the version;
// text is kept as UTF-16, as Qt reads it.
inline constexpr qint32 kLibraryApplicationId = 0x4B49564C; // "KIVL"
inline constexpr int kLibrarySchemaVersion = 1;

// Qt makes a QVariant of every value read: a row's id, kind and favourite come as one number,
// id * 4 + kind * 2 + favourite (an id this Kivo writes is far below 2^61, and a row of an
// unknown kind is not read), and what only some rows have comes from a second query, which the
// partial index kivo_entry_more answers without reading the others.
inline const QString kSelectEntries =
    QStringLiteral("SELECT id * 4 + kind * 2 + (favourite <> 0), spelling FROM kivo_entry "
                   "WHERE id BETWEEN 1 AND 2305843009213693951 AND kind IN (0, 1) ORDER BY id");
inline const QString kSelectEntryMore =
    QStringLiteral("SELECT id, tags, emulator, machine, arguments FROM kivo_entry "
                   "WHERE coalesce(tags, emulator, machine, arguments) IS NOT NULL ORDER BY id");
// Each session as its row's id and start * 2^29 + seconds: seconds are counted up to
// kMaxSessionSeconds (below 2^29), and a start is taken as between 1970 and the year 2514.
inline constexpr int kSessionSecondsBits = 29;
inline const QString kSelectSessionTotals =
    QStringLiteral("SELECT entry, min(max(start, 0), 17179869183) * 536870912 + "
                   "min(max(seconds, 0), 316224000) FROM kivo_session");
inline const QString kSelectSessions =
    QStringLiteral("SELECT id, entry, start, seconds FROM kivo_session ORDER BY id");

struct LibraryInspection
{
    enum class State {
        Empty,      // no tables at all: a new file, or one of no bytes
        Ours,       // a library of this version
        Newer,      // a library of a later version
        Damaged,    // not readable as a library: not SQLite, broken, another program's
        Unreadable, // not read at all (busy, no permission): nothing can be said of it
    };
    State state = State::Empty;
    int version = 0;
    QString reason; // Damaged, Unreadable: why
};

// Whether every page of the file behind `connection` is sound (Ours) or not (Damaged,
// Unreadable); reads only, and reads the whole file.
LibraryInspection checkLibraryPages(LibraryConnection &connection);
// What the file behind `connection` holds; reads only. Later: the caller checks the pages
// itself, at the same time on another connection.
enum class PageCheck { Now, Later };
LibraryInspection inspectLibrary(LibraryConnection &connection, PageCheck pages = PageCheck::Now);
// Makes the tables of a new library in one transaction.
bool createLibrarySchema(LibraryConnection &connection);
