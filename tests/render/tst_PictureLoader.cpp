// Picture loading behind the strip, the preview and the viewer: what decodes and what is refused
// with a reason, and the kept pictures: hits, files changed on disk, and the bound.
#include "TestSupport.h"

#include "render/DisplayZX.h"
#include "render/PictureLoader.h"

#include <QBuffer>
#include <QDateTime>
#include <QImageWriter>
#include <QTemporaryDir>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace testsupport;

namespace {

QImage gradient(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, (x * y) & 0xFF));
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        qFatal("cannot write %s: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

// Qt writes no GIF, so the tests make their own: a minimum code size of 7 keeps every LZW code
// 8 bits wide when a clear code comes every 100 pixels, so each code is one byte. Pixel (x, y)
// has colour index (x + y) % 128; index i is (2i, 255 - 2i, i).
QByteArray gif(int width, int height)
{
    QByteArray out("GIF89a");
    const auto word = [&out](int value) {
        out.append(char(value & 0xFF));
        out.append(char(value >> 8));
    };
    word(width);
    word(height);
    out.append(char(0xF6)); // a global colour table of 128 entries
    out.append(2, '\0');
    for (int i = 0; i < 128; ++i) {
        out.append(char(i * 2));
        out.append(char(255 - i * 2));
        out.append(char(i));
    }
    out.append(',');
    word(0);
    word(0);
    word(width);
    word(height);
    out.append('\0');
    out.append(char(7));
    QByteArray codes;
    for (int i = 0; i < width * height; ++i) {
        if (i % 100 == 0)
            codes.append(char(128)); // clear
        codes.append(char((i % width + i / width) % 128));
    }
    codes.append(char(129)); // end of information
    for (qsizetype i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(';');
    return out;
}

QByteArray screenBytes(int length)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char(i * 7 + i / 256);
    return bytes;
}

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    writeFile(path, bytes);
    return path;
}

void setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

class tst_PictureLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each format the strip shows decodes, by content and not by name; a found file that holds no
    // whole picture gives ok = false and a reason, never an empty picture reported as shown.
    void decode_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<bool>("isScr");
        QTest::addColumn<QSize>("size");
        const QSize screen(256, 192);
        const QByteArray jpeg = encoded(gradient(256, 192), "jpeg");
        QTest::newRow("screen") << "a.scr" << screenBytes(6912) << true << true << screen;
        QTest::newRow("screen, capital ending")
            << "A.SCR" << screenBytes(6912) << true << true << screen;
        QTest::newRow("short screen") << "b.scr" << screenBytes(10) << true << true << screen;
        QTest::newRow("empty screen") << "c.scr" << QByteArray() << true << true << screen;
        QTest::newRow("screen without its ending")
            << "d.bmp" << screenBytes(6912) << false << false << QSize(0, 0);
        QTest::newRow("bmp") << "e.bmp" << encoded(gradient(256, 192), "bmp") << true << false
                             << screen;
        QTest::newRow("gif") << "f.gif" << gif(40, 30) << true << false << QSize(40, 30);
        QTest::newRow("jpeg") << "g.jpg" << jpeg << true << false << screen;
        QTest::newRow("jpeg with bytes after its end")
            << "h.jpeg" << jpeg + QByteArray(40, 'x') << true << false << screen;
        QTest::newRow("png") << "i.png" << encoded(gradient(64, 32), "png") << true << false
                             << QSize(64, 32);
        QTest::newRow("gif named .jpg") << "j.jpg" << gif(8, 8) << true << false << QSize(8, 8);
        QTest::newRow("empty gif") << "k.gif" << QByteArray() << false << false << QSize(0, 0);
        QTest::newRow("text named .gif")
            << "l.gif" << QByteArray("Not a picture at all.\r\n") << false << false << QSize(0, 0);
        QTest::newRow("jpeg cut in its header")
            << "m.jpg" << jpeg.left(100) << false << false << QSize(0, 0);
        QTest::newRow("jpeg cut in half")
            << "n.jpg" << jpeg.left(jpeg.size() / 2) << false << false << QSize(0, 0);
        QTest::newRow("jpeg without its last byte")
            << "o.jpg" << jpeg.chopped(1) << false << false << QSize(0, 0);
    }
    void decode()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(bool, isScr);
        QFETCH(QSize, size);
        QTemporaryDir dir;
        PictureLoader loader;
        const LoadedPicture picture = loader.load(write(dir, name, bytes));
        QCOMPARE(picture.ok, ok);
        QCOMPARE(picture.error.isEmpty(), ok);
        QCOMPARE(picture.isScr, isScr);
        QCOMPARE(picture.image.size(), size);
        QCOMPARE(picture.image.isNull(), !ok);
        QCOMPARE(loader.decodes(), 1);
    }

    // The pixels arrive as the file holds them: catches a format decoded into the wrong colours
    // or a screen drawn from other bytes than the file's.
    void pixels()
    {
        QTemporaryDir dir;
        PictureLoader loader;
        const QImage source = gradient(256, 192);
        for (const char *format : {"bmp", "png"}) {
            const QString name = QStringLiteral("shot.") + QLatin1String(format);
            const LoadedPicture picture = loader.load(write(dir, name, encoded(source, format)));
            QCOMPARE(picture.image.convertToFormat(QImage::Format_RGB32), source);
        }
        const LoadedPicture fromGif =
            loader.load(write(dir, QStringLiteral("shot.gif"), gif(40, 30)));
        QCOMPARE(fromGif.image.pixel(0, 0), qRgb(0, 255, 0));
        QCOMPARE(fromGif.image.pixel(39, 29), qRgb(136, 119, 68)); // index 68
        QVERIFY(fromGif.screen.isEmpty());

        const QByteArray screen = screenBytes(6912 + 500);
        const LoadedPicture fromScr = loader.load(write(dir, QStringLiteral("shot.scr"), screen));
        QCOMPARE(fromScr.screen, screen.left(6912));
        QCOMPARE(fromScr.image, DisplayZX(screen.left(6912), 0));
    }

    // What is not a regular file is refused at once and not kept: catches a hang on a FIFO and a
    // directory named like a picture read as one.
    void notAFile()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("folder.jpg"));
        QDir(dir.path()).mkdir(QStringLiteral("folder.scr"));
        QStringList paths = {dir.filePath(QStringLiteral("missing.gif")),
                             dir.filePath(QStringLiteral("folder.jpg")),
                             dir.filePath(QStringLiteral("folder.scr"))};
#ifdef Q_OS_UNIX
        for (const QString &name : {QStringLiteral("fifo.gif"), QStringLiteral("fifo.scr")}) {
            QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
            paths.append(dir.filePath(name));
        }
#endif
        PictureLoader loader;
        for (const QString &path : std::as_const(paths)) {
            const LoadedPicture picture = loader.load(path);
            QVERIFY2(!picture.ok, qPrintable(path));
            QVERIFY2(!picture.error.isEmpty(), qPrintable(path));
            QVERIFY(picture.image.isNull());
        }
        QCOMPARE(loader.count(), 0);
        QCOMPARE(loader.bytes(), 0);
    }

    // Showing a picture again decodes nothing and hands out the same pixels; a file changed on
    // disk, by its size or only by its time, is decoded afresh; a file gone is not shown from
    // what was kept. Catches a cache that never hits, one keyed by path alone, and a stale hit.
    void keptPictures()
    {
        QTemporaryDir dir;
        PictureLoader loader;
        const QString path = write(dir, QStringLiteral("shot.scr"), screenBytes(6912));
        const QDateTime time = QDateTime::currentDateTime().addSecs(-100);
        setModified(path, time);
        const LoadedPicture first = loader.load(path);
        const LoadedPicture again = loader.load(path);
        QCOMPARE(loader.decodes(), 1);
        QCOMPARE(loader.hits(), 1);
        QCOMPARE(again.image.cacheKey(), first.image.cacheKey());

        writeFile(path, screenBytes(100)); // a new size
        setModified(path, time);
        const LoadedPicture shorter = loader.load(path);
        QCOMPARE(loader.decodes(), 2);
        QCOMPARE(shorter.image, DisplayZX(screenBytes(100)));

        QByteArray sameSize = screenBytes(100);
        sameSize[0] = char(0xFF);
        writeFile(path, sameSize); // the same size, a new time
        setModified(path, time.addSecs(1));
        const LoadedPicture changed = loader.load(path);
        QCOMPARE(loader.decodes(), 3);
        QCOMPARE(changed.screen.left(100), sameSize);
        QCOMPARE(loader.count(), 1); // the old picture of the path is gone

        QVERIFY(QFile::remove(path));
        QVERIFY(!loader.load(path).ok);
        QCOMPARE(loader.count(), 0);
        QCOMPARE(loader.bytes(), 0);
    }

    // A file that fails, fails again the same way without being read again.
    void keptFailures()
    {
        QTemporaryDir dir;
        PictureLoader loader;
        const QString path = write(dir, QStringLiteral("bad.gif"), QByteArray("text"));
        const LoadedPicture first = loader.load(path);
        const LoadedPicture again = loader.load(path);
        QVERIFY(!again.ok);
        QCOMPARE(again.error, first.error);
        QCOMPARE(loader.decodes(), 1);
    }

    // The least recently used picture goes first when the budget is full: catches eviction by
    // age of loading instead of use, and a budget not kept. Room for three screens; each row
    // loads one and says whether it had to be decoded.
    void leastRecentlyUsed_data()
    {
        QTest::addColumn<QString>("loads");   // names, one letter each
        QTest::addColumn<QString>("decoded"); // per load: d decoded, k kept
        QTest::newRow("three fit") << "abcabc"
                                   << "dddkkk";
        QTest::newRow("fourth evicts the oldest") << "abcda"
                                                  << "ddddd";
        QTest::newRow("a use keeps a picture") << "abcadb"
                                               << "dddkdd";
        QTest::newRow("evicted one comes back") << "abcdabcd"
                                                << "dddddddd";
        QTest::newRow("recent ones stay") << "abcdcdba"
                                          << "ddddkkkd";
    }
    void leastRecentlyUsed()
    {
        QFETCH(QString, loads);
        QFETCH(QString, decoded);
        QTemporaryDir dir;
        for (const QChar name : QStringLiteral("abcd"))
            write(dir, name + QStringLiteral(".scr"), screenBytes(6912));
        PictureLoader probe;
        probe.load(dir.filePath(QStringLiteral("a.scr")));
        const qint64 oneScreen = probe.bytes();
        QVERIFY(oneScreen >= 256 * 192 * 4);

        PictureLoader loader(3 * oneScreen + oneScreen / 2);
        for (int i = 0; i < loads.size(); ++i) {
            const int before = loader.decodes();
            QVERIFY(loader.load(dir.filePath(loads[i] + QStringLiteral(".scr"))).ok);
            const QChar was = loader.decodes() > before ? u'd' : u'k';
            QVERIFY2(was == decoded[i],
                     qPrintable(QStringLiteral("load %1 of %2").arg(i).arg(loads)));
            QVERIFY(loader.bytes() <= 3 * oneScreen + oneScreen / 2);
        }
        QVERIFY(loader.count() <= 3);
    }

    // A picture larger than the whole budget is shown but not kept; clearing forgets everything.
    void beyondTheBudget()
    {
        QTemporaryDir dir;
        const QString path = write(dir, QStringLiteral("a.scr"), screenBytes(6912));
        PictureLoader small(1000);
        QVERIFY(small.load(path).ok);
        QCOMPARE(small.count(), 0);
        QCOMPARE(small.bytes(), 0);

        PictureLoader loader;
        loader.load(path);
        QCOMPARE(loader.count(), 1);
        loader.clear();
        QCOMPARE(loader.count(), 0);
        QCOMPARE(loader.bytes(), 0);
        loader.load(path);
        QCOMPARE(loader.decodes(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_PictureLoader)
#include "tst_PictureLoader.moc"
