#pragma once

#include <QString>

// One catalogue entry. File names are bare names; their directories come from the search paths.
// A record without a name is no entry: it is the catalogue's trailing empty slot.
struct RomRecord
{
    QString RomName;
    qint32 RomType = 0;  // index into the game-type table, 0..129
    QString Screenshots; // bare file names joined by ","
    qint32 Year = 0;     // 0: no year
    QString Notes;
    QString RomFile;
    QString Publisher;
    QString Authors;
    QString AudioFile;

    bool isEntry() const { return !RomName.isEmpty(); }
    friend bool operator==(const RomRecord &, const RomRecord &) = default;
};
