#pragma once

#include "core/CatalogueBinding.h"
#include "core/ProgramDir.h"
#include "core/ProgramEntry.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"
#include "library/Library.h"
#include "library/LibraryKeyCache.h"
#include "settings/LanguageTable.h"
#include "state/DatShelf.h"
#include "state/LayoutState.h"
#include "tape/MachineReader.h"
#include "tape/TapeIndex.h"

// Everything that lives for the whole run. main() creates one; the main window and every dialog
// receive it by reference and change it in place. No globals: tests build several side by side.
struct AppState
{
    explicit AppState(ProgramDir dir)
        : programDir(std::move(dir))
    {
    }

    ProgramDir programDir;
    RomDatabase database;
    SearchPaths paths;
    ProgramList emulators;    // default: DefaultEmulator
    ProgramList musicPlayers; // default: DefaultMusicPlayer
    qint32 LoadLastDatabase = 0;
    LanguageTable language;
    GameTypeTable gameTypes;
    LayoutState layout;
    TapeIndex tape;
    // The machine each rom file needs, read once per file until it changes.
    MachineCache machines;

    // The file the catalogue in memory was loaded from or saved to in this run; unbound when it
    // came from nowhere. Only this file is overwritten without asking (LastDatabase may name a
    // file remembered from an earlier run).
    CatalogueBinding boundDatabase;
    // What is remembered of the entries beside the catalogue: favourites, tags, plays, each
    // entry's own way to run. It follows the catalogue: New, Load, the first save and Save as.
    Library library;
    // The DAT files entries are identified with, read once when first needed.
    DatShelf dats;
    // The library key of each entry, for the views that look up every entry's row.
    LibraryKeyCache libraryKeys;

    // What the library remembers of the entry in `slot`; nullptr for nothing.
    const LibraryRow *libraryRowOf(int slot) const
    {
        return libraryKeys.rowOf(library, database, slot);
    }
};
