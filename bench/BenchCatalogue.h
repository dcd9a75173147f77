#pragma once

// A catalogue to measure with, for the benchmarks of every layer (it needs the core alone).
#include "core/RomDatabase.h"

namespace benchsupport {

// Entries the size of a real catalogue's: names, publishers, authors, a rom file, a couple of
// screenshots, a short note for one in three and music for one in five.
inline RomDatabase realisticCatalogue(int entries)
{
    RomDatabase database;
    for (int i = 0; i < entries; ++i) {
        RomRecord record;
        record.RomName = QStringLiteral("Some Spectrum Game Title %1").arg(i);
        record.RomType = i % 130;
        record.Screenshots = QStringLiteral("game%1-load.scr,game%1-play.gif").arg(i);
        record.Year = 1982 + i % 12;
        record.Notes = i % 3 == 0 ? QStringLiteral("Needs a Kempston joystick.\r\nLevel 3 is hard.")
                                  : QString();
        record.RomFile = QStringLiteral("game%1.tzx").arg(i);
        record.Publisher = QStringLiteral("Software House Ltd");
        record.Authors = QStringLiteral("A. Programmer, B. Artist");
        record.AudioFile = i % 5 == 0 ? QStringLiteral("game%1.mp3").arg(i) : QString();
        database.Add(std::move(record));
    }
    return database;
}

} // namespace benchsupport
