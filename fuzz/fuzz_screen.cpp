// A .scr screen: read from a file, drawn in both flash phases, and loaded as the screenshot strip
// and the viewer load it.

#include "FuzzSupport.h"

#include "render/DisplayZX.h"
#include "render/PictureLoader.h"
#include "render/ScreenFile.h"

#include <cstring>

namespace {

// The pixel at (x, y) as the display file lays it out: three thirds of 2 KB, each holding eight
// character rows stored by pixel line first.
bool pixelSet(const uchar *bitmap, int x, int y)
{
    const int address = (y / 64) * 2048 + (y % 8) * 256 + ((y / 8) % 8) * 32 + x / 8;
    return (bitmap[address] >> (7 - x % 8)) & 1;
}

void checkDrawn(const QImage &image, const QByteArray &screen, int phase)
{
    FUZZ_CHECK(image.width() == kScreenWidth && image.height() == kScreenHeight);
    FUZZ_CHECK(image.format() == QImage::Format_RGB32);
    const auto *bitmap = reinterpret_cast<const uchar *>(screen.constData());
    const uchar *attributes = bitmap + kBitmapBytes;
    for (int y = 0; y < kScreenHeight; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < kScreenWidth; ++x) {
            const uchar attribute = attributes[(y / 8) * 32 + x / 8];
            const bool swap = phase == 1 && (attribute & 0x80);
            const bool ink = pixelSet(bitmap, x, y) != swap;
            const int colour = ink ? attribute & 7 : (attribute >> 3) & 7;
            if (line[x] != spectrumColour(colour, attribute & 0x40))
                kivofuzz::fail("a pixel in neither its ink nor its paper", __FILE__, __LINE__);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("screen.scr"), bytes);

    // The file's first 6,912 bytes, zero-filled; the rest is never read.
    ScreenFile file;
    const qint64 peak = kivofuzz::peakHeap([&] { file = readScreenFile(path); });
    kivofuzz::checkHeap(peak, 0, 0, 64 << 10, "readScreenFile");
    FUZZ_CHECK(file.ok && file.error.isEmpty());
    FUZZ_CHECK(file.screen.size() == kScreenBytes);
    const qsizetype present = std::min<qsizetype>(bytes.size(), kScreenBytes);
    FUZZ_CHECK(std::memcmp(file.screen.constData(), bytes.constData(), size_t(present)) == 0);
    for (qsizetype i = present; i < kScreenBytes; ++i)
        FUZZ_CHECK(file.screen.at(i) == 0);

    QImage phase0;
    const qint64 drawPeak = kivofuzz::peakHeap([&] { phase0 = DisplayZX(file.screen, 0); });
    kivofuzz::checkHeap(drawPeak, 0, 0, 256 << 10, "DisplayZX");
    checkDrawn(phase0, file.screen, 0);
    const QImage phase1 = DisplayZX(file.screen, 1);
    checkDrawn(phase1, file.screen, 1);
    // Any odd tick is phase 1.
    FUZZ_CHECK(DisplayZX(file.screen, 7) == phase1);
    // The picture changes between the phases exactly when the screen says it flashes.
    FUZZ_CHECK(screenFlashes(file.screen) == (phase0 != phase1));
    // The file's own bytes, short or long, draw the same picture as the zero-filled screen.
    FUZZ_CHECK(DisplayZX(bytes, 0) == phase0);
    FUZZ_CHECK(screenFlashes(bytes) == screenFlashes(file.screen));

    PictureLoader loader;
    const LoadedPicture picture = loader.load(path);
    FUZZ_CHECK(picture.ok && picture.isScr);
    FUZZ_CHECK(picture.screen == file.screen);
    FUZZ_CHECK(picture.image == phase0);
    return 0;
}
