#pragma once

#include "core/RomRecord.h"
#include "core/SearchPathList.h"
#include "tape/MachineReader.h"

#include <optional>

// The machine an entry's rom file needs, when the file is found in the rom paths; nothing for
// an entry without one or whose file is in none of them.
std::optional<MachineReading> machineOfEntry(const RomRecord &record, const SearchPaths &paths,
                                             MachineCache &machines);

// "128K (the tape's hardware block)": the machine and why, as the details pane says it.
QString machineWithReason(const MachineReading &reading);
