#pragma once

#include "core/RomRecord.h"
#include "library/LibraryRow.h"
#include "settings/LanguageTable.h"
#include "tape/MachineReader.h"

#include <optional>

// The details of an entry as the information pane shows them, lines ending CR LF. The labels are
// fixed English texts; the type name comes from the (translatable) game-type table. The machine
// line follows the type when the entry's rom file was found and read; what the library
// remembers (tags, plays) follows the notes.
QString InfoText(const RomRecord &record, const GameTypeTable &gameTypes,
                 const std::optional<MachineReading> &machine = std::nullopt,
                 const LibraryRow &remembered = {});

// "Played 12 times, last on 2026-12-01, 3 h 20 min in all"; empty for an entry never played.
// The date is the local one.
QString playedText(const LibraryRow &row);
// "3 h 20 min", "7 min".
QString playTimeText(qint64 seconds);
