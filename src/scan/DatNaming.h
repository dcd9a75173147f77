#pragma once

#include "scan/DatCatalogue.h"
#include "scan/DatGames.h"

#include <QList>

// How a DAT names its games, told from the games themselves: most names parse as TOSEC names
// gives Tosec; most games carry a region, or a "(...)" of region words in their name, gives
// NoIntro; anything else is TitlePublisher, which keeps a name without parentheses whole.
DatConvention conventionOf(const QList<DatGame> &games);

// What `game` says under `convention`; DatEntry::file is left to the caller.
DatEntry namedEntry(const DatGame &game, DatConvention convention);
