#pragma once

#include "core/RomDatabase.h"
#include "core/SearchPathList.h"
#include "interchange/ImportProgress.h"
#include "interchange/ImportResult.h"
#include "interchange/SgdDataFile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Import of an SGD installation: its data files (fixed-width records, see SgdDataFile) become
// catalogue entries, and the game directories its "sgd.ini" names join the rom paths.

struct SgdLoadResult
{
    bool ok = true; // false: the file could not be read
    SgdDataFile data;
    Messages messages;
};

// Reads every record of one data file. Only a regular file is read; a file shorter than half a
// record holds no records and is no failure.
SgdLoadResult LoadSgdDataFile(const QString &path);

// Removes every CR LF pair, then the blanks at either end.
QString CleanField(QStringView field);

// The entry one 252-byte record gives, every text field through CleanField: name, year (its
// leading number, blanks between digits skipped, rounded), publisher, rom file (every blank
// removed), type from the genre code (lower-cased and matched exactly: "arc" 15, "adv" 29,
// "arc/adv" 16, "sim" 36, "str" 43, "spo" 71, "brd" 85, "lrn" 93, "dem" 94, "bld" 101, anything
// else 0), authors. Nothing else is read.
RomRecord sgdRecordToEntry(const char *record);

// The directories of the "GameDir=" items of sgd.ini text (an item ends at a comma or the end of
// a line; a quoted item loses its quotes). Every blank is removed, also inside the name, and a
// separator is appended: the "\" of a Windows path, else the separator the text already uses,
// else the native one. Items that leave no directory are dropped.
QStringList sgdGameDirectories(const QByteArray &iniBytes);

// Adds the records to the catalogue, all but the last one, which never becomes an entry. The
// catalogue is emptied first when `overwrite` is set or it has no entries. A record whose name
// is blank is left out and counted in `skipped`: an entry without a name would be an empty slot
// in the middle of the catalogue.
ImportResult addSgdRecords(RomDatabase &database, const SgdDataFile &data, bool overwrite,
                           const RecordProgress &progress = {});

// Reads sgd.ini in `sgdDirectory` (ending with a separator; not changed) and adds its game
// directories to the rom paths, skipping those already there; then addSgdRecords. A missing
// sgd.ini adds no directory.
ImportResult ImportSgdRecords(RomDatabase &database, SearchPaths &paths, const SgdDataFile &data,
                              const QString &sgdDirectory, bool overwrite,
                              const RecordProgress &progress = {});
