#pragma once

#include "core/RomRecord.h"
#include "settings/LanguageTable.h"

// The details of an entry as the information pane shows them, lines ending CR LF. The labels are
// fixed English texts; the type name comes from the (translatable) game-type table.
QString InfoText(const RomRecord &record, const GameTypeTable &gameTypes);
