#pragma once

#include "core/ProgramEntry.h"
#include "launch/Launcher.h"
#include "library/LibraryRow.h"

// How Run starts an entry: what the user asked this once (a Run With place, a Run As machine)
// first, then the entry's own choice from the library (an emulator by its name, a machine, extra
// arguments), then the rules of the emulators and the file. An emulator the entry names that is
// no longer in the list leaves the choice to those rules.
RunChoice entryRunChoice(const EntryRunChoice &own, const ProgramList &emulators,
                         const RunChoice &asked = {});
