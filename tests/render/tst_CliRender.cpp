// kivo-cli render: the PNG it writes is the renderer's picture, and bad input or arguments are
// refused with the documented status and message.
#include "TestSupport.h"

#include "render/DisplayZX.h"

#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

using namespace testsupport;

namespace {

// Stripes of bits over cells that flash, so the two phases differ everywhere.
QByteArray flashingScreen()
{
    QByteArray screen(kScreenBytes, '\0');
    for (int i = 0; i < kBitmapBytes; ++i)
        screen[i] = char(i % 3 == 0 ? 0x0F : 0x3C);
    for (int i = kBitmapBytes; i < kScreenBytes; ++i)
        screen[i] = char(0x80 | (i % 128));
    return screen;
}

} // namespace

class tst_CliRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The file read back equals DisplayZX's picture in the phase asked for: catches a phase
    // ignored or inverted, a lossy or resized encoding, and a short file not zero-filled.
    void render_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("optionsFirst");
        QTest::addColumn<int>("phase");
        const QStringList phase0{"--flash", "0"};
        const QStringList phase1{"--flash", "1"};
        QTest::newRow("default phase") << QStringList() << kScreenBytes << false << 0;
        QTest::newRow("phase 0") << phase0 << kScreenBytes << false << 0;
        QTest::newRow("phase 1") << phase1 << kScreenBytes << false << 1;
        QTest::newRow("phase 1 first, long file") << phase1 << 7000 << true << 1;
        QTest::newRow("short file") << QStringList() << 6200 << false << 0;
    }
    void render()
    {
        QFETCH(QStringList, options);
        QFETCH(int, length);
        QFETCH(bool, optionsFirst);
        QFETCH(int, phase);
        QTemporaryDir dir;
        QByteArray bytes = flashingScreen();
        bytes.resize(length, char(0x55));
        const QString in = dir.filePath(QStringLiteral("in.scr"));
        const QString out = dir.filePath(QStringLiteral("out.png"));
        writeFile(in, bytes);
        const QStringList files{in, out};
        const QStringList arguments =
            QStringList{"render"} + (optionsFirst ? options + files : files + options);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage written(out, "png");
        QCOMPARE(written.size(), QSize(256, 192));
        QByteArray expected = bytes.left(kScreenBytes);
        expected.resize(kScreenBytes, '\0');
        QCOMPARE(written.convertToFormat(QImage::Format_RGB32), DisplayZX(expected, phase));
        QVERIFY(written.convertToFormat(QImage::Format_RGB32) != DisplayZX(expected, 1 - phase));
    }

    // A screen that cannot be read or a picture that cannot be written is exit 1 with one
    // "Title: text" line, and nothing is left behind at the target.
    void failures_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("missing screen")
            << "missing.scr"
            << "out.png" << QByteArray("kivo-cli: Cannot read DIR/missing.scr: ");
        QTest::newRow("directory") << "folder"
                                   << "out.png" << QByteArray("kivo-cli: Cannot read DIR/folder: ");
        QTest::newRow("no such directory for the picture")
            << "in.scr"
            << "nowhere/out.png" << QByteArray("kivo-cli: Cannot write DIR/nowhere/out.png: ");
    }
    void failures()
    {
        QFETCH(QString, in);
        QFETCH(QString, out);
        QFETCH(QByteArray, err);
        QTemporaryDir dir;
        writeFile(dir.filePath(QStringLiteral("in.scr")), flashingScreen());
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
        const CliRun run = runCli({"render", dir.filePath(in), dir.filePath(out)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(err.replace("DIR", dir.path().toUtf8())), run.err.constData());
        QVERIFY(run.err.endsWith('\n') && run.err.count('\n') == 1);
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!QFileInfo::exists(dir.filePath(out)));
    }

    // Wrong arguments are exit 2 and write nothing.
    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("one file") << QStringList{"IN"};
        QTest::newRow("three files") << QStringList{"IN", "OUT", "OUT"};
        QTest::newRow("phase 2") << QStringList{"IN", "OUT", "--flash", "2"};
        QTest::newRow("phase missing") << QStringList{"IN", "OUT", "--flash"};
        QTest::newRow("unknown option") << QStringList{"IN", "OUT", "--scale", "2"};
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.scr"));
        const QString out = dir.filePath(QStringLiteral("out.png"));
        writeFile(in, flashingScreen());
        arguments.replaceInStrings(QStringLiteral("IN"), in);
        arguments.replaceInStrings(QStringLiteral("OUT"), out);
        const CliRun run = runCli(QStringList{"render"} + arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("Try 'kivo-cli --help'"));
        QVERIFY(!QFileInfo::exists(out));
    }

    void help()
    {
        const CliRun run = runCli({"--help"});
        QVERIFY(run.out.contains("kivo-cli render IN.scr OUT.png [--flash 0|1]"));
    }
};

QTEST_GUILESS_MAIN(tst_CliRender)
#include "tst_CliRender.moc"
