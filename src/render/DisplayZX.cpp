#include "render/DisplayZX.h"

#include <array>
#include <cstring>

namespace {

struct InkPaper
{
    QRgb ink;
    QRgb paper;
};

constexpr QRgb colourOf(int colour, bool bright)
{
    const QRgb level = bright ? 0xFF : 0xD7;
    return 0xFF000000u | ((colour & 2) ? level << 16 : 0) | ((colour & 4) ? level << 8 : 0) |
           ((colour & 1) ? level : 0);
}

// Ink and paper of every attribute byte in both flash phases, worked out once at compile time so
// drawing a cell is one look-up.
using AttributeTable = std::array<InkPaper, 256>;

constexpr AttributeTable attributeTable(bool swapFlashing)
{
    AttributeTable table{};
    for (int attribute = 0; attribute < 256; ++attribute) {
        const bool bright = attribute & 0x40;
        QRgb ink = colourOf(attribute & 7, bright);
        QRgb paper = colourOf((attribute >> 3) & 7, bright);
        if (swapFlashing && (attribute & 0x80)) {
            const QRgb swapped = ink;
            ink = paper;
            paper = swapped;
        }
        table[attribute] = {ink, paper};
    }
    return table;
}

constexpr std::array<AttributeTable, 2> kAttributeTables = {attributeTable(false),
                                                            attributeTable(true)};

// Offset in the bitmap of pixel row y: the screen is three thirds of eight character rows,
// and within a third the rows are stored by pixel line first.
constexpr int rowOffset(int y)
{
    return ((y & 0xC0) << 5) | ((y & 0x07) << 8) | ((y & 0x38) << 2);
}

} // namespace

QRgb spectrumColour(int colour, bool bright)
{
    return colourOf(colour & 7, bright);
}

QImage DisplayZX(const uchar *bitmap, const uchar *attributes, int flashPhase)
{
    QImage image(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const AttributeTable &table = kAttributeTables[flashPhase & 1];
    for (int y = 0; y < kScreenHeight; ++y) {
        const uchar *pixels = bitmap + rowOffset(y);
        const uchar *cells = attributes + (y >> 3) * 32;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < 32; ++x) {
            const InkPaper colours = table[cells[x]];
            const QRgb difference = colours.ink ^ colours.paper;
            const unsigned byte = pixels[x];
            for (int bit = 0; bit < 8; ++bit) {
                // All ones where the pixel is set: paper ^ (ink ^ paper) is the ink.
                const QRgb mask = 0u - ((byte >> (7 - bit)) & 1u);
                out[bit] = colours.paper ^ (difference & mask);
            }
            out += 8;
        }
    }
    return image;
}

QImage DisplayZX(const QByteArray &screen, int flashPhase)
{
    if (screen.size() >= kScreenBytes) {
        const auto *bytes = reinterpret_cast<const uchar *>(screen.constData());
        return DisplayZX(bytes, bytes + kBitmapBytes, flashPhase);
    }
    std::array<uchar, kScreenBytes> filled{};
    std::memcpy(filled.data(), screen.constData(), size_t(screen.size()));
    return DisplayZX(filled.data(), filled.data() + kBitmapBytes, flashPhase);
}

bool screenFlashes(const QByteArray &screen)
{
    for (qsizetype i = kBitmapBytes; i < qMin(screen.size(), qsizetype(kScreenBytes)); ++i) {
        const auto attribute = uchar(screen[i]);
        if ((attribute & 0x80) && (attribute & 7) != ((attribute >> 3) & 7))
            return true;
    }
    return false;
}
