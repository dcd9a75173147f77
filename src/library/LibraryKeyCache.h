#pragma once

#include "core/RomDatabase.h"
#include "library/Library.h"
#include "library/LibraryKey.h"

#include <vector>

// The library key of each catalogue entry, folded once: the list's Show views and columns look
// up the row of every entry again whenever the list changes. An entry whose rom file or name has
// been given another text since is folded again, so nothing needs to tell the cache of changes.
class LibraryKeyCache
{
public:
    // What `library` remembers of the entry in `slot` of `catalogue`; nullptr for nothing.
    const LibraryRow *rowOf(const Library &library, const RomDatabase &catalogue, int slot) const;

private:
    struct Kept
    {
        // The texts the key was made from, kept so a new text is seen at a glance: a text given
        // to the entry since no longer shares their characters.
        QString romFile;
        QString name;
        FoldedLibraryKey key;
        LibraryRowPlace place;
        bool made = false;
    };

    Kept &keptOf(int slot, const RomRecord &record) const;

    mutable std::vector<Kept> m_kept; // by slot
};
