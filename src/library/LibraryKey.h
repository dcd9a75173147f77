#pragma once

#include "core/RomRecord.h"

#include <QString>

struct FoldedLibraryKey;

// What a library row belongs to: an entry's rom file as the catalogue stores it (a bare file
// name), or the entry's name when it has no rom file. A rom file and a name never match, even
// with the same text. Texts match without regard to case, by Unicode case folding: Windows finds
// MANIC.TAP when the disk holds manic.tap, and catalogues made there rely on it.
struct LibraryKey
{
    enum class Kind { RomFile = 0, Name = 1 };

    Kind kind = Kind::RomFile;
    QString text;

    // Only the file-name part counts: a row never holds a directory.
    static LibraryKey romFile(const QString &file);
    static LibraryKey name(const QString &name);
    // The rom file of `record`, or its name when it has none.
    static LibraryKey of(const RomRecord &record);

    bool isValid() const { return !text.isEmpty(); }
    QString folded() const { return text.toCaseFolded(); }
    FoldedLibraryKey foldedKey() const;
    bool matches(const LibraryKey &other) const
    {
        return kind == other.kind && text.compare(other.text, Qt::CaseInsensitive) == 0;
    }
    friend bool operator==(const LibraryKey &, const LibraryKey &) = default;
};

// A key as the library looks rows up: its text folded once.
struct FoldedLibraryKey
{
    LibraryKey::Kind kind = LibraryKey::Kind::RomFile;
    QString text;
};

inline FoldedLibraryKey LibraryKey::foldedKey() const
{
    return {kind, folded()};
}
