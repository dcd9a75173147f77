#pragma once

#include <QByteArray>
#include <QImage>

// A ZX Spectrum screen: 6,144 bitmap bytes in the display file's interleaved row order, then 768
// attribute bytes, one per 8 x 8 cell (bits 0-2 ink, 3-5 paper, 6 BRIGHT, 7 FLASH).
constexpr int kScreenWidth = 256;
constexpr int kScreenHeight = 192;
constexpr int kBitmapBytes = 6144;
constexpr int kAttributeBytes = 768;
constexpr int kScreenBytes = kBitmapBytes + kAttributeBytes;

// The colours, 0xAARRGGBB: each channel 0xD7 at normal intensity and 0xFF when BRIGHT; black
// is black in both. `colour` is the Spectrum's colour number 0-7 (bit 0 blue, 1 red, 2 green).
QRgb spectrumColour(int colour, bool bright);

// Draws the screen into a new 256 x 192 image of Format_RGB32. `flashPhase` 0 draws the cells as
// stored; 1 (any odd value, so a timer may pass its tick count) swaps ink and paper in the cells
// whose FLASH bit is set. Reads exactly 6,144 and 768 bytes.
QImage DisplayZX(const uchar *bitmap, const uchar *attributes, int flashPhase = 0);

// The same over a whole screen file's bytes: the first 6,912, zero-filled when there are fewer.
QImage DisplayZX(const QByteArray &screen, int flashPhase = 0);

// True when any cell of the screen has its FLASH bit set with ink and paper of different
// colours, so the picture changes between the phases (a viewer animates only then).
bool screenFlashes(const QByteArray &screen);
