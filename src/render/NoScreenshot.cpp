#include "render/NoScreenshot.h"

#include "render/DisplayZX.h"

#include <QPainter>
#include <QPainterPath>

#include <cstring>

namespace {

struct Glyph
{
    char character;
    const char *rows[8];
};

// Our own 8 x 8 letters, only those the placeholder needs.
constexpr Glyph kGlyphs[] = {
    {'K',
     {"........", ".##...##", ".##..##.", ".####...", ".##.##..", ".##..##.", ".##...##",
      "........"}},
    {'i',
     {"...##...", "........", "..###...", "...##...", "...##...", "...##...", "..####..",
      "........"}},
    {'v',
     {"........", "........", ".##..##.", ".##..##.", ".##..##.", "..####..", "...##...",
      "........"}},
    {'o',
     {"........", "........", "..####..", ".##..##.", ".##..##.", ".##..##.", "..####..",
      "........"}},
    {'n',
     {"........", "........", ".#####..", ".##..##.", ".##..##.", ".##..##.", ".##..##.",
      "........"}},
    {'m',
     {"........", "........", ".##.##..", ".######.", ".##.#.##", ".##.#.##", ".##.#.##",
      "........"}},
    {'a',
     {"........", "........", "..####..", ".....##.", "..#####.", ".##..##.", "..#####.",
      "........"}},
    {'g',
     {"........", "........", "..#####.", ".##..##.", ".##..##.", "..#####.", ".....##.",
      "..####.."}},
    {'e',
     {"........", "........", "..####..", ".##..##.", ".######.", ".##.....", "..####..",
      "........"}},
};

const Glyph *glyphFor(char character)
{
    for (const Glyph &glyph : kGlyphs) {
        if (glyph.character == character)
            return &glyph;
    }
    return nullptr; // a blank
}

// Each pixel of the font becomes a `scale` x `scale` square; text is centred on `centreX`.
void drawText(QPainter &painter, const char *text, int centreX, int top, int scale, QRgb colour)
{
    const int width = int(std::strlen(text)) * 8 * scale;
    int left = centreX - width / 2;
    for (const char *c = text; *c; ++c, left += 8 * scale) {
        const Glyph *glyph = glyphFor(*c);
        if (!glyph)
            continue;
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (glyph->rows[y][x] == '#')
                    painter.fillRect(left + x * scale, top + y * scale, scale, scale,
                                     QColor(colour));
            }
        }
    }
}

} // namespace

QImage drawPicNoSS()
{
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);

    // Stripes rising to the right, in the order of the colour numbers from blue to yellow.
    constexpr int kStripe = 16;
    constexpr int kColours[] = {1, 2, 3, 4, 5, 6};
    painter.setPen(Qt::NoPen);
    int colour = 0;
    for (int start = -kScreenHeight; start < kScreenWidth; start += kStripe, ++colour) {
        QPainterPath stripe;
        stripe.moveTo(start, kScreenHeight);
        stripe.lineTo(start + kStripe, kScreenHeight);
        stripe.lineTo(start + kStripe + kScreenHeight, 0);
        stripe.lineTo(start + kScreenHeight, 0);
        stripe.closeSubpath();
        painter.fillPath(stripe, QColor(spectrumColour(kColours[colour % 6], false)));
    }

    // A black panel keeps the words readable on any stripe.
    const QRect panel(48, 52, 160, 88);
    painter.fillRect(panel, Qt::black);
    painter.setPen(QColor(spectrumColour(7, true)));
    painter.drawRect(panel.adjusted(2, 2, -3, -3));
    drawText(painter, "Kivo", kScreenWidth / 2, 62, 4, spectrumColour(7, true));
    drawText(painter, "no image", kScreenWidth / 2, 106, 2, spectrumColour(6, true));
    return image;
}
