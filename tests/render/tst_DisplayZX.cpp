// The screen renderer: where each bitmap byte lands, the colours of ink, paper, BRIGHT and FLASH,
// reading .scr files of every length, and pictures another emulator drew from the same screens.
#include "TestSupport.h"

#include "render/DisplayZX.h"
#include "render/ScreenFile.h"

#include <QHash>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace testsupport;

namespace {

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFD7D7D7;
constexpr uchar kBlackOnWhite = 7 << 3;

// The display file as the machine's manual describes it: three thirds of 2,048 bytes; within a
// third, eight blocks of 256 bytes, one per pixel line of a character row; within those, 32 bytes
// per character row.
int bitmapOffset(int xByte, int y)
{
    const int third = y / 64;
    const int characterRow = (y % 64) / 8;
    const int pixelLine = y % 8;
    return third * 2048 + pixelLine * 256 + characterRow * 32 + xByte;
}

QByteArray blankScreen(uchar attribute = kBlackOnWhite)
{
    return QByteArray(kBitmapBytes, '\0') + QByteArray(kAttributeBytes, char(attribute));
}

QString hex(QRgb colour)
{
    return QStringLiteral("%1").arg(colour, 8, 16, QLatin1Char('0'));
}

// Empty when `theirs`, cut at `offset`, shows the same picture as `ours` with other colours: each
// of their colours stands for exactly one of ours and no two of theirs for the same one.
QString differenceUpToPalette(const QImage &theirs, QPoint offset, const QImage &ours)
{
    QHash<QRgb, QRgb> toOurs;
    QHash<QRgb, QRgb> toTheirs;
    for (int y = 0; y < ours.height(); ++y) {
        for (int x = 0; x < ours.width(); ++x) {
            const QRgb their = theirs.pixel(offset.x() + x, offset.y() + y);
            const QRgb our = ours.pixel(x, y);
            const QRgb mapped = toOurs.value(their, our);
            const QRgb back = toTheirs.value(our, their);
            if (mapped != our || back != their) {
                return QStringLiteral("at %1,%2 their %3 is our %4, ours is %5 (their %6)")
                    .arg(x)
                    .arg(y)
                    .arg(hex(their), hex(mapped), hex(our), hex(back));
            }
            toOurs.insert(their, our);
            toTheirs.insert(our, their);
        }
    }
    return {};
}

QString writeTemp(QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    return path;
}

} // namespace

class tst_DisplayZX : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One set bit lands on the one pixel the display file's row order gives it: catches a wrong
    // third, character row or pixel line, a swapped bit order and stray writes elsewhere. The
    // offsets are written out, the boundary rows of each third and character row among them.
    void singlePixel_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("bit");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("first byte, left bit") << 0 << 0x80 << QPoint(0, 0);
        QTest::newRow("first byte, right bit") << 0 << 0x01 << QPoint(7, 0);
        QTest::newRow("end of row 0") << 31 << 0x01 << QPoint(255, 0);
        QTest::newRow("pixel line 1") << 256 << 0x80 << QPoint(0, 1);
        QTest::newRow("pixel line 7") << 1792 << 0x80 << QPoint(0, 7);
        QTest::newRow("character row 1") << 32 << 0x80 << QPoint(0, 8);
        QTest::newRow("character row 7") << 224 << 0x80 << QPoint(0, 56);
        QTest::newRow("last row of the first third") << 2047 << 0x01 << QPoint(255, 63);
        QTest::newRow("second third") << 2048 << 0x80 << QPoint(0, 64);
        QTest::newRow("middle of the screen") << 3213 << 0x04 << QPoint(109, 100);
        QTest::newRow("last row of the second third") << 4095 << 0x01 << QPoint(255, 127);
        QTest::newRow("third third") << 4096 << 0x80 << QPoint(0, 128);
        QTest::newRow("bottom row, left") << 6112 << 0x80 << QPoint(0, 191);
        QTest::newRow("last byte, right bit") << 6143 << 0x01 << QPoint(255, 191);
    }
    void singlePixel()
    {
        QFETCH(int, offset);
        QFETCH(int, bit);
        QFETCH(QPoint, pixel);
        QCOMPARE(bitmapOffset(pixel.x() / 8, pixel.y()), offset); // the table itself is right
        QByteArray screen = blankScreen();
        screen[offset] = char(bit);
        const QImage image = DisplayZX(screen);
        QCOMPARE(image.size(), QSize(kScreenWidth, kScreenHeight));
        QCOMPARE(image.format(), QImage::Format_RGB32);
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                const QRgb expected = QPoint(x, y) == pixel ? kBlack : kWhite;
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3")
                                         .arg(x)
                                         .arg(y)
                                         .arg(hex(image.pixel(x, y)))));
            }
        }
    }

    // The colours of one cell, its left half ink and right half paper: catches ink and paper
    // taken from the wrong bits, a wrong intensity, black turned grey by BRIGHT, FLASH ignored or
    // applied to cells without it, and a cell drawn from the wrong attribute.
    void cellColours_data()
    {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<int>("phase");
        QTest::addColumn<QRgb>("ink");
        QTest::addColumn<QRgb>("paper");
        QTest::newRow("blue on red") << 0x11 << 0 << 0xFF0000D7u << 0xFFD70000u;
        QTest::newRow("white on cyan") << 0x2F << 0 << 0xFFD7D7D7u << 0xFF00D7D7u;
        QTest::newRow("green on magenta") << 0x1C << 0 << 0xFF00D700u << 0xFFD700D7u;
        QTest::newRow("yellow on black") << 0x06 << 0 << 0xFFD7D700u << kBlack;
        QTest::newRow("bright green on magenta") << 0x5C << 0 << 0xFF00FF00u << 0xFFFF00FFu;
        QTest::newRow("bright white on yellow") << 0x77 << 0 << 0xFFFFFFFFu << 0xFFFFFF00u;
        QTest::newRow("bright black on black") << 0x40 << 0 << kBlack << kBlack;
        QTest::newRow("bright white on black") << 0x47 << 0 << 0xFFFFFFFFu << kBlack;
        QTest::newRow("flash, phase 0") << 0x91 << 0 << 0xFF0000D7u << 0xFFD70000u;
        QTest::newRow("flash, phase 1") << 0x91 << 1 << 0xFFD70000u << 0xFF0000D7u;
        QTest::newRow("flash, odd phase") << 0x91 << 3 << 0xFFD70000u << 0xFF0000D7u;
        QTest::newRow("flash, even phase") << 0x91 << 2 << 0xFF0000D7u << 0xFFD70000u;
        QTest::newRow("bright flash, phase 1") << 0xF0 << 1 << 0xFFFFFF00u << kBlack;
        QTest::newRow("no flash, phase 1") << 0x11 << 1 << 0xFF0000D7u << 0xFFD70000u;
    }
    void cellColours()
    {
        QFETCH(int, attribute);
        QFETCH(int, phase);
        QFETCH(QRgb, ink);
        QFETCH(QRgb, paper);
        // Cell (17, 13) of the 32 x 24; every other cell is black on white.
        const int column = 17;
        const int row = 13;
        QByteArray screen = blankScreen();
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < 32; ++x)
                screen[bitmapOffset(x, y)] = char(0xF0);
        }
        screen[kBitmapBytes + row * 32 + column] = char(attribute);
        const QImage image = DisplayZX(screen, phase);
        for (int y = row * 8 - 8; y < row * 8 + 16; ++y) {
            for (int x = column * 8 - 8; x < column * 8 + 16; ++x) {
                const bool inCell = x / 8 == column && y / 8 == row;
                const bool isInk = x % 8 < 4;
                const QRgb expected = inCell ? (isInk ? ink : paper) : (isInk ? kBlack : kWhite);
                if (image.pixel(x, y) != expected)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, not %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(hex(image.pixel(x, y)), hex(expected))));
            }
        }
    }

    // The byte-array form zero-fills a short screen and ignores what follows 6,912 bytes:
    // catches reading past a short buffer and drawing from the wrong end of a long one.
    void screenBytes()
    {
        QByteArray screen = blankScreen(0x3A);
        screen[0] = char(0xAA);
        QByteArray longer = screen + QByteArray(300, char(0xFF));
        QCOMPARE(DisplayZX(longer), DisplayZX(screen));
        const QByteArray start = screen.left(100);
        QCOMPARE(DisplayZX(start), DisplayZX(start + QByteArray(kScreenBytes - 100, '\0')));
        QCOMPARE(DisplayZX(QByteArray()).pixel(0, 0), kBlack);
    }

    // Whether a viewer has anything to animate: only cells with FLASH and two different colours.
    void screenFlashes_data()
    {
        QTest::addColumn<int>("attribute");
        QTest::addColumn<bool>("flashes");
        QTest::newRow("no flash") << 0x39 << false;
        QTest::newRow("flash, ink and paper differ") << 0xB9 << true;
        QTest::newRow("flash, ink and paper the same") << 0xBF << false;
    }
    void screenFlashes()
    {
        QFETCH(int, attribute);
        QFETCH(bool, flashes);
        QByteArray screen = blankScreen();
        screen[kScreenBytes - 1] = char(attribute); // the last cell: catches an early stop
        QCOMPARE(::screenFlashes(screen), flashes);
    }

    // A .scr file of any length gives exactly 6,912 bytes: its own, then zeros. Boundary rows on
    // each side of the bitmap's and the screen's length catch an off-by-one and a long file read
    // to its end.
    void readScreenFile_data()
    {
        QTest::addColumn<int>("length");
        for (const int length : {0, 1, 6143, 6144, 6145, 6911, 6912, 6913, 50000})
            QTest::addRow("%d bytes", length) << length;
    }
    void readScreenFile()
    {
        QFETCH(int, length);
        QByteArray bytes(length, '\0');
        for (int i = 0; i < length; ++i)
            bytes[i] = char(1 + i % 251);
        QTemporaryDir dir;
        const ScreenFile file = ::readScreenFile(writeTemp(dir, QStringLiteral("a.scr"), bytes));
        QVERIFY(file.ok);
        QVERIFY(file.error.isEmpty());
        QCOMPARE(file.screen.size(), kScreenBytes);
        const int kept = qMin(length, kScreenBytes);
        QCOMPARE(file.screen.left(kept), bytes.left(kept));
        QCOMPARE(file.screen.mid(kept), QByteArray(kScreenBytes - kept, '\0'));
    }

    // What is not a regular file is refused with a reason, at once: catches a hang on a FIFO
    // (the test would time out) and a directory read as an empty screen.
    void unreadableScreenFile()
    {
        QTemporaryDir dir;
        QStringList paths = {dir.filePath(QStringLiteral("missing.scr")), dir.path()};
#ifdef Q_OS_UNIX
        const QString fifo = dir.filePath(QStringLiteral("fifo.scr"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        paths.append(fifo);
#endif
        for (const QString &path : std::as_const(paths)) {
            const ScreenFile file = ::readScreenFile(path);
            QVERIFY2(!file.ok, qPrintable(path));
            QVERIFY2(!file.error.isEmpty(), qPrintable(path));
            QVERIFY(file.screen.isEmpty());
        }
    }

    // Screens another emulator drew (inside a 32 x 24 border, with its own colours), one of them
    // in each flash phase. The phase the picture was not drawn in must not match: that shows the
    // comparison can tell the phases apart.
    void otherEmulator_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<int>("phase");
        QTest::addColumn<bool>("otherPhaseDiffers");
        QTest::newRow("power-on screen") << "initial.scr"
                                         << "initial.png" << 0 << false;
        QTest::newRow("flashing, phase 0") << "flash.scr"
                                           << "flash_0.png" << 0 << true;
        QTest::newRow("flashing, phase 1") << "flash.scr"
                                           << "flash_1.png" << 1 << true;
    }
    void otherEmulator()
    {
        QFETCH(QString, screen);
        QFETCH(QString, picture);
        QFETCH(int, phase);
        QFETCH(bool, otherPhaseDiffers);
        if (corpusDir().isEmpty())
            QSKIP("the corpus is not there");
        const QString dir = corpusDir() + QStringLiteral("/gospeccy/src/spectrum/testdata/");
        const ScreenFile file = ::readScreenFile(dir + screen);
        QVERIFY2(file.ok, qPrintable(file.error));
        const QImage theirs(dir + picture);
        QCOMPARE(theirs.size(), QSize(320, 240));
        const QPoint border(32, 24);
        const QString difference =
            differenceUpToPalette(theirs, border, DisplayZX(file.screen, phase));
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
        QCOMPARE(differenceUpToPalette(theirs, border, DisplayZX(file.screen, 1 - phase)).isEmpty(),
                 !otherPhaseDiffers);
        QCOMPARE(::screenFlashes(file.screen), otherPhaseDiffers);
    }
};

QTEST_GUILESS_MAIN(tst_DisplayZX)
#include "tst_DisplayZX.moc"
