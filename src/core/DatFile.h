#pragma once

#include "core/Message.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"

#include <QByteArray>
#include <QIODevice>

#include <functional>

// The catalogue's .dat file: "KIVO", version, slot count (entries + the trailing empty slot),
// then one record per entry. Integers are 32-bit little-endian; a string is its length and that
// many Windows-1252 bytes. Versions 0-2 are read, version 2 is written. Reads beyond the end of
// the file yield zeros, so a truncated file loads as far as it goes, and says it is damaged.
// Unnamed records a damaged file leaves between entries are dropped: the catalogue never holds an
// empty slot before an entry.

inline const QString kDatabaseFilter = QStringLiteral("Kivo data file (*.dat)|*.dat");
constexpr qint32 kCurrentDatabaseVersion = 2;

struct DatResult
{
    bool ok = true;    // false: the file was rejected or not written
    Messages messages; // to show the user, in order
    // Reading: the file held less than its slot count promised, a record ran past its end or
    // bytes follow the last record. What could be read was read; the file is not the
    // catalogue's own, so it must not be saved over without asking.
    bool damaged = false;
    int entriesRead = 0;
};

QByteArray serializeDatabase(const RomDatabase &database, qint32 version);
bool writeDatabase(QIODevice &device, const RomDatabase &database, qint32 version);

// Writes through a temporary file; the old file stays until the new one is complete.
DatResult SaveDatabase(const RomDatabase &database, const QString &path,
                       qint32 version = kCurrentDatabaseVersion);

// Saves entries as `produce` hands them to its sink, one at a time, so a catalogue is saved
// without ever being whole in memory; unnamed records are skipped. The sink returns false once
// writing failed. `produce` returns false to abandon the save, saying why itself: the old file
// stays either way.
using EntrySink = std::function<bool(const RomRecord &)>;
using EntryProducer = std::function<bool(const EntrySink &)>;
DatResult SaveDatabaseEntries(const QString &path, const EntryProducer &produce,
                              qint32 version = kCurrentDatabaseVersion);

// Replaces the catalogue with the file's slots; on rejection the catalogue is left as it was.
DatResult LoadDatabase(RomDatabase &database, SearchPaths &paths, const QString &path);
DatResult loadDatabaseBytes(RomDatabase &database, SearchPaths &paths, const QByteArray &bytes);

// Appends the file's entries to the catalogue.
DatResult MergeDatabase(RomDatabase &database, SearchPaths &paths, const QString &path);
DatResult mergeDatabaseBytes(RomDatabase &database, SearchPaths &paths, const QByteArray &bytes);

// Goes through the file's entries in order without building a catalogue, handing each to
// `entry` as LoadDatabase (or MergeDatabase) would add it: version-1 entries are upgraded into
// `paths` as they come. `countDatabaseEntries` gives the number of entries alone, in
// entriesRead, for a first pass.
enum class DatReading { Load, Merge };
DatResult readDatabaseEntries(const QString &path, SearchPaths &paths, DatReading reading,
                              const std::function<void(const RomRecord &)> &entry);
DatResult countDatabaseEntries(const QString &path);

// Version-1 records carry directories in RomFile and Screenshots and an old 10-value game type:
// moves the directories to the search paths and maps the type, for the entries in
// [firstSlot, endSlot).
void UpgradeOldEntries(RomDatabase &database, SearchPaths &paths, int firstSlot, int endSlot);
