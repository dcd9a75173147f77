#include "library/LibraryKey.h"

#include "core/PathText.h"

LibraryKey LibraryKey::romFile(const QString &file)
{
    return {Kind::RomFile, fileNamePart(file)};
}

LibraryKey LibraryKey::name(const QString &name)
{
    return {Kind::Name, name};
}

LibraryKey LibraryKey::of(const RomRecord &record)
{
    const LibraryKey file = romFile(record.RomFile);
    return file.isValid() ? file : name(record.RomName);
}
