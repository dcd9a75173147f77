#pragma once

#include "core/Message.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"
#include "scan/DatCatalogue.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

// Scan Folder: a directory tree becomes catalogue entries, each named from the file itself.
//
// The window, on OK:
//   1. on the interface thread, builds the request, with catalogueFileNames(database);
//   2. on a worker thread, calls scanCollection with a progress callback that posts to the
//      interface thread and a cancel flag its Cancel button sets;
//   3. back on the interface thread, unless the result is cancelled, calls mergeScanResult once
//      and refills the game list once.
// The worker never touches the catalogue or the paths; all it writes are the screens it keeps,
// and only once the walk completed uncancelled.

struct ScanRequest
{
    QString directory;
    bool subfolders = true;
    QStringList datFiles; // Logiqx XML or ClrMamePro; a file that is neither is reported, left out
    // DAT files read already (the ones kept in the settings), waited for beside the walk and
    // used with those of datFiles; their own messages are the giver's to tell.
    std::function<std::shared_ptr<const DatCatalogue>()> readDats;
    QString screensDirectory; // keep loading screens as NAME.scr here; empty: keep none
    // RomFile of every entry, case-folded: a file of such a name is already in the catalogue.
    QSet<QString> catalogueFiles;
};

// Builds ScanRequest::catalogueFiles; on the thread that owns the catalogue.
QSet<QString> catalogueFileNames(const RomDatabase &database);

struct ScanProgress
{
    qint64 filesSeen = 0;    // every file met, of any kind
    qint64 entriesFound = 0; // tapes, snapshots, disks and archives holding one, met so far
};
// Called from the scanning thread, about every 50 ms and once at the end.
using ScanProgressCallback = std::function<void(const ScanProgress &)>;

struct ScanCounts
{
    int added = 0;       // new entries (parts of one program count once)
    int inCatalogue = 0; // entries whose file is already an entry's RomFile
    int copies = 0;      // files of a name met before, with the same size and CRC-32
    int clashes = 0;     // files of a name met before, with other contents: not added
    int skipped = 0;     // unreadable folders and files, FIFOs, devices, empty files

    friend bool operator==(const ScanCounts &, const ScanCounts &) = default;
};

struct ScanResult
{
    bool cancelled = false; // nothing to add; no screen was kept
    QList<RomRecord> entries;
    // The directories that gave an entry, each ending with the native separator, in the order
    // first met: the rom paths the window adds, as it does for dropped files.
    QStringList directories;
    // Where the kept screens are, ending with the separator; empty when none was kept.
    QString screensDirectory;
    ScanCounts counts;
    QStringList clashPaths; // full paths of the files left out for a clash
    Messages messages;      // DAT files refused, screens not written

    // For the status bar and kivo-cli: "12 entries added, 3 already in the catalogue, ...".
    QString statusText() const;
};

// Walks `request.directory`. Directory links are not followed; names starting with "." are
// passed over, as lookups through the rom paths never find them. Safe on any thread; the cancel
// flag is checked before every file.
ScanResult scanCollection(const ScanRequest &request, const ScanProgressCallback &progress = {},
                          const std::atomic<bool> *cancel = nullptr);

// Appends the result's entries to the catalogue, passing over any whose RomFile became an entry
// since the scan began, adds its directories to the rom paths and the screens' directory to the
// screenshot paths, as drops do. Returns the entries added. Does nothing for a cancelled result.
int mergeScanResult(RomDatabase &database, SearchPaths &paths, const ScanResult &result);
