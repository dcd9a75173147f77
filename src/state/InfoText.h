#pragma once

#include "core/RomRecord.h"
#include "settings/LanguageTable.h"
#include "tape/MachineReader.h"

#include <optional>

// The details of an entry as the information pane shows them, lines ending CR LF. The labels are
// fixed English texts; the type name comes from the (translatable) game-type table. The machine
// line follows the type when the entry's rom file was found and read.
QString InfoText(const RomRecord &record, const GameTypeTable &gameTypes,
                 const std::optional<MachineReading> &machine = std::nullopt);
