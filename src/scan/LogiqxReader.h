#pragma once

#include "scan/DatGames.h"

#include <QXmlStreamReader>

// Logiqx XML DATs: <datafile>, an optional <header> with <name> and <version>, then <game> or
// <machine> elements named by their name attribute, holding <rom size crc> elements and
// optionally <year>, <manufacturer>, and a region (<release region>, <region>). Rom elements
// short of a size and CRC-32, and games without a name, are passed over.
DatRead readLogiqx(QXmlStreamReader &xml);
