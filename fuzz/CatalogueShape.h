#pragma once

#include "FuzzSupport.h"

#include "core/RomDatabase.h"

namespace kivofuzz {

// What every reader that fills a catalogue must leave: every slot but the last holds an entry,
// the last is the empty one, and the counts say so.
inline void checkCatalogueShape(const RomDatabase &database)
{
    const QList<RomRecord> &slots = database.slots();
    FUZZ_CHECK(!slots.isEmpty());
    FUZZ_CHECK(!slots.last().isEntry());
    for (qsizetype i = 0; i + 1 < slots.size(); ++i)
        FUZZ_CHECK(slots.at(i).isEntry());
    FUZZ_CHECK(database.EntryCount() == slots.size() - 1);
    FUZZ_CHECK(database.HasEntries() == (slots.size() > 1));
}

} // namespace kivofuzz
