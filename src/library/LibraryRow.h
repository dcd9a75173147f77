#pragma once

#include "core/Message.h"
#include "library/LibraryKey.h"

#include <QStringList>

// How an entry wants to be run, where it differs from what its file says.
struct EntryRunChoice
{
    QString emulator;  // the emulator's display name; empty: the default for the file's kind
    QString machine;   // a machineKey(); empty: the machine read from the file
    QString arguments; // added to the emulator's own

    bool isDefault() const
    {
        return emulator.isEmpty() && machine.isEmpty() && arguments.isEmpty();
    }
    friend bool operator==(const EntryRunChoice &, const EntryRunChoice &) = default;
};

// What the library remembers of one entry. The totals come from its play sessions.
struct LibraryRow
{
    LibraryKey key; // spelled as it was first given
    bool favourite = false;
    QStringList tags; // each spelled as it was first given, unique without regard to case
    qint64 plays = 0;
    qint64 lastPlayed = 0; // UTC seconds since 1970 of the latest start; only when plays > 0
    qint64 secondsPlayed = 0;
    EntryRunChoice run;

    friend bool operator==(const LibraryRow &, const LibraryRow &) = default;
};

// One start of an entry, as the file holds it.
struct PlaySession
{
    qint64 id = 0;
    LibraryKey key;
    qint64 start = 0; // UTC seconds since 1970
    qint64 seconds = 0;
};

// What a change to the library came to. When not ok nothing changed, in the file or in memory,
// and `message` says why.
struct LibraryWrite
{
    bool ok = true;
    Message message;
    qint64 session = 0; // recordStart: the session to end
};

// A run that ends this soon adds no play time: the launcher takes such an end
// (kQuickEndMilliseconds, 5000) for a program that never ran.
inline constexpr qint64 kQuickEndSeconds = 5;
// Longer sessions are counted as this long, so no sum of them can overflow.
inline constexpr qint64 kMaxSessionSeconds = qint64(10) * 366 * 24 * 3600;
inline constexpr qsizetype kMaxTagLength = 64;
// "Recently played" reaches this far back.
inline constexpr qint64 kRecentSeconds = qint64(30) * 24 * 3600;
