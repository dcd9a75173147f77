#pragma once

#include "scan/DatGames.h"

#include <QByteArrayView>
#include <QIODevice>

// ClrMamePro text DATs: blocks of the form `word ( key value ... )`, a value being a bare word, a
// quoted string (blanks and parentheses allowed inside, \" for a quote) or a nested block. The
// `clrmamepro` block gives the header's name and version; `game`, `machine` and `resource`
// blocks give a name, year, manufacturer and region, and `rom ( size N crc HEX ... )` lines.
// Other blocks and keys are passed over, at any depth, without recursion.
//
// Text is taken as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise.

// True when `head`, the first bytes of a file, opens as a ClrMamePro DAT does: a word, then "(".
bool looksLikeClrMamePro(QByteArrayView head);

DatRead readClrMamePro(QByteArrayView bytes);
// The same, reading the device a block at a time, for a file too large to hold whole.
DatRead readClrMamePro(QIODevice &device);
