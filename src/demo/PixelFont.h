#pragma once

#include <QChar>

#include <array>
#include <optional>

// The demo's own 5 x 7 letters: seven rows, bit 4 of each row the leftmost pixel.
using Glyph = std::array<unsigned char, 7>;

// The glyph of `character` (lower case gives the capital), or nothing for a character the font
// does not draw.
std::optional<Glyph> glyphOf(QChar character);
