#include "library/LibraryKeyCache.h"

namespace {

bool sameText(const QString &kept, const QString &now)
{
    return kept.constData() == now.constData() && kept.size() == now.size();
}

} // namespace

LibraryKeyCache::Kept &LibraryKeyCache::keptOf(int slot, const RomRecord &record) const
{
    if (slot >= int(m_kept.size()))
        m_kept.resize(std::size_t(slot) + 1);
    Kept &kept = m_kept[std::size_t(slot)];
    // An entry with a rom file is keyed by it alone; one without by its name.
    if (!kept.made || !sameText(kept.romFile, record.RomFile) ||
        (record.RomFile.isEmpty() && !sameText(kept.name, record.RomName)))
        kept = {record.RomFile, record.RomName, LibraryKey::of(record).foldedKey(), {}, true};
    return kept;
}

const LibraryRow *LibraryKeyCache::rowOf(const Library &library, const RomDatabase &catalogue,
                                         int slot) const
{
    if (!catalogue.isEntrySlot(slot))
        return nullptr;
    Kept &kept = keptOf(slot, catalogue.Get(slot));
    return library.rowOf(kept.key, kept.place);
}
