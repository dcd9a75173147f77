#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <bitset>

// A Spectrum screen drawn pixel by pixel: a 256 x 192 bitmap (y counted from the top) and one
// attribute per 8 x 8 cell, as the real machine has, so what we draw clashes as it would there.
class SpectrumCanvas
{
public:
    enum Colour { Black, Blue, Red, Magenta, Green, Cyan, Yellow, White };

    SpectrumCanvas(Colour ink = Black, Colour paper = White, bool bright = false);

    // Attributes of the cells from (column, row), `columns` x `rows` cells, clipped to the screen.
    void colourCells(int column, int row, int columns, int rows, Colour ink, Colour paper,
                     bool bright = false, bool flash = false);

    // Pixels outside the screen are ignored, so shapes may run over the edges.
    void plot(int x, int y, bool set = true);
    void line(int x0, int y0, int x1, int y1, bool set = true);
    void fillRect(int x, int y, int width, int height, bool set = true);
    void circle(int cx, int cy, int radius, bool filled, bool set = true);

    // Text in the demo's own 5 x 7 letters. `x`, `y` are pixels; each letter takes 6 x 8 pixels
    // times `scale`. Lower case is drawn as capitals; characters without a glyph as blanks.
    void text(int x, int y, const QString &text, int scale = 1, bool set = true);
    // Text on the character grid: each letter in its own 8 x 8 cell, as PRINT AT places it.
    void printAt(int row, int column, const QString &text);
    static int textWidth(const QString &text, int scale = 1)
    {
        return int(text.size()) * 6 * scale;
    }

    bool pixel(int x, int y) const;
    // The 6,912 bytes of a .scr file: the bitmap in the display file's row order, then the
    // attributes.
    QByteArray screen() const;

private:
    std::bitset<256 * 192> m_pixels;
    std::array<unsigned char, 768> m_attributes{};
};
