#pragma once

#include "core/Message.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"
#include "interchange/ImportKind.h"
#include "interchange/ImportProgress.h"

#include <QString>
#include <QStringList>

// The import wizard's Done, without the window. The window, on Done:
//   1. if chkSaveDB is ticked and enabled (saveFirstEnabled), shows its save dialog with the
//      database filter and passes the chosen name, empty when cancelled, to
//      saveBeforeOverwrite; shows its messages; stops when it says not to proceed;
//   2. shows the busy pointer and calls runImport with a progress callback that repaints;
//   3. shows the summary's messages, puts statusText() in the status bar, and refills the game
//      list once (RefillGameList, ArrangePanes, lstClick when the list has rows).
// The progress callback must not change the catalogue or the paths.

// chkSaveDB is enabled only with Overwrite chosen and entries to lose; Merge never offers it.
bool saveFirstEnabled(bool overwrite, const RomDatabase &database);

struct SaveFirstResult
{
    bool proceed = true; // false: the save failed and the import must not run
    bool saved = false;
    Messages messages;
};

// Saves the catalogue to `chosenPath` before an overwrite, then clears LastDatabase and empties
// the catalogue. An empty path (the dialog was cancelled) or a catalogue without entries saves
// nothing and goes on. A save that fails stops the import before anything is replaced: the
// catalogue and LastDatabase stay as they were and the message says why.
SaveFirstResult saveBeforeOverwrite(RomDatabase &database, const QString &chosenPath);

struct ImportRequest
{
    ImportKind kind = ImportKind::Sgd;
    QString directory;      // the chosen directory; a separator is appended when missing
    QStringList fileNames;  // the selected files, bare names, in list order
    bool overwrite = false; // Overwrite Current DB: the first file read replaces the catalogue
};

struct ImportSummary
{
    int added = 0;         // entries the files gave
    int skipped = 0;       // damaged lines and nameless records left out
    int filesRead = 0;     // files imported
    int filesFailed = 0;   // files that could not be read or were rejected
    bool replaced = false; // the catalogue was replaced by the first file read
    Messages messages;     // to show the user, in order

    // For the status bar and kivo-cli: "12 entries added, 3 skipped".
    QString statusText() const;
};

// Imports the files in order. A file that no longer exists (or is no regular file) is skipped
// silently. With `overwrite`, the first file read replaces the catalogue and every later one is
// merged; a file that cannot be read or is rejected replaces nothing, so the next one does.
// SGD: LoadSgdDataFile then ImportSgdRecords; own catalogue: MergeDatabase, or LoadDatabase to
// replace; pocket: Reset to replace, then ImportPocketDatabase.
// `progress` is called before each file, once all are done, and, within SGD and pocket files,
// between records at most about every 50 ms (an own catalogue is read in one call). After a
// replace SelectedIndex is kNone.
ImportSummary runImport(RomDatabase &database, SearchPaths &paths, const ImportRequest &request,
                        const ImportProgressCallback &progress = {});
