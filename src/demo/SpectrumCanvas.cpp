#include "SpectrumCanvas.h"

#include "PixelFont.h"
#include "render/DisplayZX.h"

#include <cstdlib>

namespace {

unsigned char attribute(SpectrumCanvas::Colour ink, SpectrumCanvas::Colour paper, bool bright,
                        bool flash)
{
    return static_cast<unsigned char>(ink | (paper << 3) | (bright ? 0x40 : 0) |
                                      (flash ? 0x80 : 0));
}

// Where pixel row y starts in the display file: three thirds of eight character rows, and
// within a third the rows are stored pixel line first.
int rowOffset(int y)
{
    return ((y & 0xC0) << 5) | ((y & 0x07) << 8) | ((y & 0x38) << 2);
}

} // namespace

SpectrumCanvas::SpectrumCanvas(Colour ink, Colour paper, bool bright)
{
    m_attributes.fill(attribute(ink, paper, bright, false));
}

void SpectrumCanvas::colourCells(int column, int row, int columns, int rows, Colour ink,
                                 Colour paper, bool bright, bool flash)
{
    for (int r = std::max(row, 0); r < std::min(row + rows, 24); ++r) {
        for (int c = std::max(column, 0); c < std::min(column + columns, 32); ++c)
            m_attributes[size_t(r * 32 + c)] = attribute(ink, paper, bright, flash);
    }
}

void SpectrumCanvas::plot(int x, int y, bool set)
{
    if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight)
        return;
    m_pixels.set(size_t(y * kScreenWidth + x), set);
}

bool SpectrumCanvas::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight)
        return false;
    return m_pixels.test(size_t(y * kScreenWidth + x));
}

void SpectrumCanvas::line(int x0, int y0, int x1, int y1, bool set)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        plot(x0, y0, set);
        if (x0 == x1 && y0 == y1)
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void SpectrumCanvas::fillRect(int x, int y, int width, int height, bool set)
{
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column)
            plot(column, row, set);
    }
}

void SpectrumCanvas::circle(int cx, int cy, int radius, bool filled, bool set)
{
    // Midpoint circle: every pixel whose centre lies within half a pixel of the rim.
    const int outer = radius * radius + radius;
    const int inner = radius * radius - radius;
    for (int y = -radius; y <= radius; ++y) {
        for (int x = -radius; x <= radius; ++x) {
            const int distance = x * x + y * y;
            if (distance <= outer && (filled || distance > inner))
                plot(cx + x, cy + y, set);
        }
    }
}

void SpectrumCanvas::text(int x, int y, const QString &text, int scale, bool set)
{
    for (const QChar character : text) {
        if (const auto glyph = glyphOf(character)) {
            for (int row = 0; row < 7; ++row) {
                for (int column = 0; column < 5; ++column) {
                    if ((*glyph)[size_t(row)] & (0x10 >> column))
                        fillRect(x + column * scale, y + row * scale, scale, scale, set);
                }
            }
        }
        x += 6 * scale;
    }
}

void SpectrumCanvas::printAt(int row, int column, const QString &text)
{
    for (const QChar character : text) {
        this->text(column * 8 + 1, row * 8 + 1, QString(character));
        ++column;
    }
}

QByteArray SpectrumCanvas::screen() const
{
    QByteArray bytes(kScreenBytes, '\0');
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            if (pixel(x, y))
                bytes[rowOffset(y) + x / 8] = char(bytes[rowOffset(y) + x / 8] | (0x80 >> (x % 8)));
        }
    }
    for (int cell = 0; cell < kAttributeBytes; ++cell)
        bytes[kBitmapBytes + cell] = char(m_attributes[size_t(cell)]);
    return bytes;
}
