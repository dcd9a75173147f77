// The loading screen read from tapes and snapshots built here, from snapshots snapconv converts
// and from the shared corpus; and kivo-cli screen.
#include "SnapshotMaker.h"
#include "TapeImages.h"
#include "TestSupport.h"

#include "tape/LoadingScreen.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

using namespace tapeimages;

using testsupport::z80Pack;

namespace {

constexpr int kScreen = 6912;
constexpr int kPage = 16384;

// A screen with runs, ED bytes and noise, different for every `seed`.
QByteArray screen(int seed)
{
    QByteArray bytes(kScreen, '\0');
    for (int i = 0; i < kScreen; ++i) {
        const int cell = i / 16;
        bytes[i] = cell % 5 == 0   ? char(0xED)
                   : cell % 3 == 0 ? char(seed)
                                   : char((i * 7 + seed * 31) ^ (i >> 3));
    }
    return bytes;
}

QByteArray page(int seed)
{
    return screen(seed) + QByteArray(kPage - kScreen, char(seed));
}

QByteArray turbo(const QByteArray &spectrum)
{
    return QByteArray(1, 0x11) + QByteArray(15, '\x01') + le(spectrum.size(), 3) + spectrum;
}

QByteArray pureData(const QByteArray &bytes)
{
    return QByteArray(1, 0x14) + QByteArray(7, '\x01') + le(bytes.size(), 3) + bytes;
}

QByteArray screenHeader(int length = kScreen)
{
    return header(3, "screen", length, 16384);
}

// --- snapshots

// SP at 0x8000, where the PC is taken from.
QByteArray sna48(const QByteArray &ram)
{
    QByteArray header(27, '\0');
    header[24] = char(0x80);
    return header + ram;
}

// Banks 0-7 as a 128K SNA stores them, `paged` at 0xC000.
QByteArray sna128(const QList<QByteArray> &banks, int port)
{
    const int paged = port & 7;
    QByteArray bytes = QByteArray(27, '\0') + banks[5] + banks[2] + banks[paged];
    bytes += le(0x8000, 2) + char(port) + char(0);
    for (int bank : {0, 1, 3, 4, 6, 7}) {
        if (bank != paged || paged == 2 || paged == 5)
            bytes += banks[bank];
    }
    return bytes;
}

QList<QByteArray> banks()
{
    QList<QByteArray> all;
    for (int bank = 0; bank < 8; ++bank)
        all.append(page(bank + 1));
    return all;
}

QByteArray z80V1(const QByteArray &ram, bool compressed)
{
    QByteArray header(30, '\0');
    header[6] = char(0x34); // PC
    header[12] = compressed ? char(0x20) : char(0);
    return header + (compressed ? z80Pack(ram) + QByteArray("\0\xED\xED\0", 4) : ram);
}

struct Z80Page
{
    int number;
    QByteArray bytes;
    bool raw = false;
};

QByteArray z80Block(const Z80Page &page)
{
    const QByteArray data = page.raw ? page.bytes : z80Pack(page.bytes);
    return le(page.raw ? 0xFFFF : data.size(), 2) + char(page.number) + data;
}

QByteArray z80V23(int extra, int mode, int port, const QList<Z80Page> &pages)
{
    QByteArray header(30 + 2 + extra, '\0');
    header[30] = char(extra);
    header[34] = char(mode);
    header[35] = char(port);
    for (const Z80Page &page : pages)
        header += z80Block(page);
    return header;
}

QByteArray chunk(const char *id, const QByteArray &data)
{
    return QByteArray(id, 4) + le(data.size(), 4) + data;
}

QByteArray ramp(int bank, const QByteArray &bytes, bool compressed)
{
    return chunk("RAMP", le(compressed ? 1 : 0, 2) + char(bank) +
                             (compressed ? qCompress(bytes).mid(4) : bytes));
}

QByteArray szx(int machine, int port, const QList<QByteArray> &chunks)
{
    QByteArray bytes = QByteArray("ZXST\x01\x04", 6) + char(machine) + char(0);
    bytes += chunk("SPCR", QByteArray(1, '\0') + char(port) + QByteArray(6, '\0'));
    for (const QByteArray &c : chunks)
        bytes += c;
    return bytes;
}

} // namespace

class tst_LoadingScreen : public QObject
{
    Q_OBJECT

    void addColumns()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected"); // empty: no screen
        QTest::addColumn<QString>("source");
    }

    static void check()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, expected);
        QFETCH(QString, source);
        const std::optional<LoadingScreen> found = loadingScreenOf(bytes, name);
        QCOMPARE(found.has_value(), !expected.isEmpty());
        if (found) {
            QCOMPARE(found->screen.size(), kScreen);
            QVERIFY(found->screen == expected);
            QCOMPARE(found->source, source);
        }
    }

private Q_SLOTS:
    // Which block of a tape is its screen: announced by a Bytes header at 16384, or a data block
    // of exactly 6,912 bytes on its own; the first announced one wins over any headerless one.
    void tapes_data()
    {
        addColumns();
        const QByteArray a = screen(1), b = screen(2);
        const QByteArray prog = header(0, "loader", 4, 10);
        const QByteArray code = header(3, "code", kScreen, 32768);
        QTest::newRow("tap: header and data after a program")
            << "a.tap" << tap({prog, data("abcd"), screenHeader(), data(a)}) << a << "tape block 3";
        QTest::newRow("tzx in capitals: longer bytes at 16384")
            << "A.TZX"
            << tzx({standard(screenHeader(kScreen + 100)),
                    standard(data(a + QByteArray(100, 'x')))})
            << a << "tape block 1";
        QTest::newRow("tzx: a pause between header and data")
            << "a.tzx"
            << tzx({standard(screenHeader()), QByteArray("\x20\0\0", 3), standard(data(a))}) << a
            << "tape block 2";
        QTest::newRow("tzx: turbo")
            << "a.tzx" << tzx({turbo(screenHeader()), turbo(data(a))}) << a << "tape block 1";
        QTest::newRow("tzx: headerless pure data")
            << "a.tzx" << tzx({standard(prog), standard(data("abcd")), pureData(a)}) << a
            << "tape block 2";
        QTest::newRow("tzx: framed pure data")
            << "a.tzx" << tzx({pureData(data(a))}) << a << "tape block 0";
        QTest::newRow("tap: headerless")
            << "a.tap" << tap({data("abcd"), data(a)}) << a << "tape block 1";
        QTest::newRow("announced wins over an earlier headerless")
            << "a.tap" << tap({data(b), data(a, 0x55), screenHeader(), data(a)}) << a
            << "tape block 3";
        QTest::newRow("first announced wins")
            << "a.tap" << tap({screenHeader(), data(a), screenHeader(), data(b)}) << a
            << "tape block 1";
        QTest::newRow("first headerless wins")
            << "a.tap" << tap({data(b), data(a)}) << b << "tape block 0";
        QTest::newRow("header without its data, then a headerless one")
            << "a.tap" << tap({screenHeader(), header(0, "x", 1, 0), data("x"), data(b)}) << b
            << "tape block 3";
        QTest::newRow("none: CODE elsewhere, short and compressed screens")
            << "a.tap" << tap({code, data(a), screenHeader(), data(a.left(4000)), data(a + "x")})
            << QByteArray() << QString();
        QTest::newRow("none: header announcing a screen, no data")
            << "a.tzx" << tzx({standard(prog), standard(data("abcd")), standard(screenHeader())})
            << QByteArray() << QString();
        QTest::newRow("none: data block cut short")
            << "a.tap" << tap({screenHeader(), data(a)}).chopped(1) << QByteArray() << QString();
        QTest::newRow("none: not a TZX") << "a.tzx" << tap({data(a)}) << QByteArray() << QString();
        QTest::newRow("none: other ending")
            << "a.txt" << tap({data(a)}) << QByteArray() << QString();
    }
    void tapes() { check(); }

    // Screen memory: RAM page 5, or page 7 on a 128K machine showing its shadow screen, in each
    // layout of each format.
    void snapshots_data()
    {
        addColumns();
        const QByteArray ram = page(5) + page(2) + page(0);
        const QList<QByteArray> all = banks();
        const QString five = QStringLiteral("snapshot RAM page 5");
        const QString seven = QStringLiteral("snapshot RAM page 7");
        QTest::newRow("sna 48K") << "a.sna" << sna48(ram) << ram.left(kScreen) << five;
        QTest::newRow("sna 128K") << "a.SNA" << sna128(all, 0x03) << all[5].left(kScreen) << five;
        for (const int paged : {0, 2, 5, 6, 7}) {
            QTest::addRow("sna 128K shadow, bank %d paged", paged)
                << "a.sna" << sna128(all, 0x08 | paged) << all[7].left(kScreen) << seven;
        }

        QTest::newRow("z80 v1 packed") << "a.z80" << z80V1(ram, true) << ram.left(kScreen) << five;
        QTest::newRow("z80 v1 raw") << "a.z80" << z80V1(ram, false) << ram.left(kScreen) << five;
        // A single ED keeps the byte after it, here an ED that starts a run; then a run of EDs.
        QByteArray edRam = ram;
        edRam.replace(0, 9, QByteArray("\xED\x12\xED\xED\xED\xED\xED\xED\x07", 9));
        QByteArray edPacked(30, '\0');
        edPacked[6] = char(0x34);
        edPacked[12] = char(0x20);
        edPacked += QByteArray("\xED\x12\xED\xED\x06\xED\x07", 7) + z80Pack(ram.mid(9)) +
                    QByteArray("\0\xED\xED\0", 4);
        QTest::newRow("z80 v1 single ED beside a run")
            << "a.z80" << edPacked << edRam.left(kScreen) << five;
        QTest::newRow("z80 v2 48K, pages in any order")
            << "a.z80" << z80V23(23, 0, 0x08, {{5, page(2)}, {8, page(5)}, {4, page(0)}})
            << page(5).left(kScreen) << five;
        QTest::newRow("z80 v3 48K, raw page")
            << "a.z80" << z80V23(54, 0, 0, {{8, page(5), true}, {4, page(0)}})
            << page(5).left(kScreen) << five;
        QTest::newRow("z80 v2 128K shadow")
            << "a.z80" << z80V23(23, 3, 0x18, {{8, all[5]}, {10, all[7]}, {3, all[0]}})
            << all[7].left(kScreen) << seven;
        QTest::newRow("z80 v3 128K shadow, raw")
            << "a.z80" << z80V23(55, 4, 0x08, {{10, all[7], true}, {8, all[5]}})
            << all[7].left(kScreen) << seven;
        QTest::newRow("z80 v3 128K, normal screen")
            << "a.z80" << z80V23(55, 4, 0x07, {{10, all[7]}, {8, all[5]}}) << all[5].left(kScreen)
            << five;
        // Mode 3 is a 128K in version 2 but a 48K with a disc interface in version 3.
        QTest::newRow("z80 v3 mode 3 ignores the shadow bit")
            << "a.z80" << z80V23(54, 3, 0x08, {{10, all[7]}, {8, all[5]}}) << all[5].left(kScreen)
            << five;

        QTest::newRow("szx 48K packed")
            << "a.szx" << szx(1, 0x08, {ramp(5, all[5], true)}) << all[5].left(kScreen) << five;
        QTest::newRow("szx 128K shadow, raw")
            << "a.szx" << szx(2, 0x08, {ramp(5, all[5], false), ramp(7, all[7], false)})
            << all[7].left(kScreen) << seven;
        QTest::newRow("szx 128K shadow, packed")
            << "a.szx" << szx(7, 0x18, {ramp(7, all[7], true), ramp(5, all[5], true)})
            << all[7].left(kScreen) << seven;
    }
    void snapshots() { check(); }

    // Damaged and hostile snapshots give nothing rather than a screen of garbage.
    void damaged_data()
    {
        addColumns();
        const QByteArray ram = page(5) + page(2) + page(0);
        const QList<QByteArray> all = banks();
        QTest::newRow("sna of another size")
            << "a.sna" << sna48(ram).chopped(1) << QByteArray() << QString();
        // Bank 2 paged, which stores six more banks, in a file sized for five.
        QTest::newRow("sna 128K, size and paged bank disagree")
            << "a.sna" << sna128(all, 0x0A).left(131103) << QByteArray() << QString();
        QByteArray overflow = z80V1(ram, true);
        overflow.insert(30, QByteArray("\xED\xED\xFF\x01", 4));
        QTest::newRow("z80 v1 run past 48K") << "a.z80" << overflow << QByteArray() << QString();
        QTest::newRow("z80 v1 short image")
            << "a.z80" << z80V1(ram.left(40000), true) << QByteArray() << QString();
        QTest::newRow("z80 v1 raw, cut short")
            << "a.z80" << z80V1(ram, false).chopped(1) << QByteArray() << QString();
        QTest::newRow("z80 v2 page out of range")
            << "a.z80" << z80V23(23, 0, 0, {{200, page(1)}, {8, page(5)}}) << QByteArray()
            << QString();
        QTest::newRow("z80 v3 block cut short")
            << "a.z80" << z80V23(54, 0, 0, {{8, page(5)}, {4, page(0)}}).chopped(1) << QByteArray()
            << QString();
        QTest::newRow("z80 v3 page unpacks short")
            << "a.z80" << z80V23(54, 0, 0, {{8, page(5).left(9000)}}) << QByteArray() << QString();
        QTest::newRow("z80 unknown header length")
            << "a.z80" << z80V23(40, 0, 0, {{8, page(5)}}) << QByteArray() << QString();
        QTest::newRow("szx chunk cut short")
            << "a.szx" << szx(1, 0, {ramp(5, all[5], false)}).chopped(1) << QByteArray()
            << QString();
        QTest::newRow("szx page of the wrong size")
            << "a.szx" << szx(1, 0, {ramp(5, all[5].left(8000), false)}) << QByteArray()
            << QString();
        // 16 MB of zeros deflate to 16 KB; the page must come out at exactly 16 KB.
        QTest::newRow("szx zlib bomb")
            << "a.szx" << szx(1, 0, {ramp(5, QByteArray(16 << 20, '\0'), true)}) << QByteArray()
            << QString();
        QTest::newRow("szx damaged stream")
            << "a.szx" << szx(1, 0, {chunk("RAMP", QByteArray("\x01\0\x05garbage", 10))})
            << QByteArray() << QString();
        QTest::newRow("szx without the magic")
            << "a.szx" << szx(1, 0, {ramp(5, all[5], false)}).mid(1) << QByteArray() << QString();
    }
    void damaged() { check(); }

    // Snapshots another program wrote from ours: the screens agree byte for byte.
    void snapconvAgrees_data()
    {
        QTest::addColumn<QByteArray>("sna");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("options");
        const QByteArray ram = page(5) + page(2) + page(0);
        const QList<QByteArray> all = banks();
        for (const char *ending : {"z80", "szx"}) {
            for (const bool packed : {true, false}) {
                const QStringList options = packed ? QStringList() : QStringList{"-n"};
                const char *how = packed ? "packed" : "raw";
                QTest::addRow("48K %s %s", ending, how)
                    << sna48(ram) << ram.left(kScreen) << QString("out.") + ending << options;
                QTest::addRow("128K shadow %s %s", ending, how)
                    << sna128(all, 0x18) << all[7].left(kScreen) << QString("out.") + ending
                    << options;
            }
        }
    }
    void snapconvAgrees()
    {
        QFETCH(QByteArray, sna);
        QFETCH(QByteArray, expected);
        QFETCH(QString, output);
        QFETCH(QStringList, options);
        const QString snapconv = QStandardPaths::findExecutable(QStringLiteral("snapconv"));
        if (snapconv.isEmpty())
            QSKIP("snapconv is not installed (fuse-emulator-utils; scripts/setup.sh deps)");
        QTemporaryDir dir;
        testsupport::writeFile(dir.filePath("in.sna"), sna);
        QProcess process;
        process.start(snapconv,
                      options + QStringList{dir.filePath("in.sna"), dir.filePath(output)});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(loadingScreenOf(sna, "in.sna")->screen, expected);
        const std::optional<LoadingScreen> found =
            loadingScreenOf(testsupport::readFile(dir.filePath(output)), output);
        QVERIFY(found);
        QVERIFY(found->screen == expected);
    }

    // A tape from the shared corpus whose screen is known: made with zmakebas from a .scr.
    void corpusTape()
    {
        const QString corpus = testsupport::corpusDir();
        const QString tape =
            corpus + QStringLiteral("/rustzx/rustzx-test/test_data/simple_tape.tap");
        const QString scr = corpus + QStringLiteral("/rustzx/rustzx-test/test_data/src/rustzx.scr");
        if (corpus.isEmpty() || !QFile::exists(tape) || !QFile::exists(scr))
            QSKIP("the shared corpus is not here");
        const LoadingScreenFile file = readLoadingScreen(tape);
        QVERIFY(file.ok);
        QVERIFY(file.screen);
        QCOMPARE(file.screen->source, QStringLiteral("tape block 3"));
        QVERIFY(file.screen->screen == testsupport::readFile(scr));
    }

    // The file reader reads only regular files, and files of at most 64 MB.
    void readsOnlyRegularFiles()
    {
        QTemporaryDir dir;
        const LoadingScreenFile directory = readLoadingScreen(dir.path() + "/x.tap");
        QVERIFY(!directory.ok);
        QVERIFY(!directory.reason.isEmpty());
        QVERIFY(QDir(dir.path()).mkdir("d.tap"));
        QVERIFY(!readLoadingScreen(dir.filePath("d.tap")).ok);
        QFile large(dir.filePath("large.tap"));
        QVERIFY(large.open(QIODevice::WriteOnly));
        QVERIFY(large.resize(kLoadingScreenFileLimit + 1));
        large.close();
        const LoadingScreenFile tooLarge = readLoadingScreen(large.fileName());
        QVERIFY(!tooLarge.ok);
        QCOMPARE(tooLarge.reason, kLoadingScreenTooLarge);
        testsupport::writeFile(dir.filePath("a.tap"), tap({data(screen(3))}));
        const LoadingScreenFile read = readLoadingScreen(dir.filePath("a.tap"));
        QVERIFY(read.ok && read.screen);
        QVERIFY(read.screen->screen == screen(3));
    }

    // kivo-cli screen: the .scr is the screen, a PNG is what kivo-cli render draws of it, the
    // source goes to stdout; a file without a screen or unreadable exits 1 saying so.
    void cli_data()
    {
        QTest::addColumn<QString>("out");
        QTest::newRow("scr") << "out.SCR";
        QTest::newRow("png") << "out.png";
    }
    void cli()
    {
        QFETCH(QString, out);
        QTemporaryDir dir;
        const QString in = dir.filePath("in.tap");
        testsupport::writeFile(in, tap({screenHeader(), data(screen(4))}));
        const testsupport::CliRun run = testsupport::runCli({"screen", in, dir.filePath(out)});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("{\n  \"source\": \"tape block 1\"\n}\n"));
        const QByteArray written = testsupport::readFile(dir.filePath(out));
        if (out.endsWith(".SCR")) {
            QVERIFY(written == screen(4));
            return;
        }
        QCOMPARE(written.left(8), QByteArray("\x89PNG\r\n\x1A\n"));
        QCOMPARE(qFromBigEndian<quint32>(written.constData() + 16), 256u); // IHDR width
        QCOMPARE(qFromBigEndian<quint32>(written.constData() + 20), 192u); // and height
        testsupport::writeFile(dir.filePath("s.scr"), screen(4));
        QCOMPARE(
            testsupport::runCli({"render", dir.filePath("s.scr"), dir.filePath("r.png")}).exitCode,
            0);
        QVERIFY(written == testsupport::readFile(dir.filePath("r.png")));
    }

    // No screen, an unreadable file and missing arguments each say so; --help lists the command.
    void cliFailures()
    {
        QTemporaryDir dir;
        const QString none = dir.filePath("none.tap");
        testsupport::writeFile(none, tap({header(0, "x", 1, 0), data("x")}));
        const testsupport::CliRun empty =
            testsupport::runCli({"screen", none, dir.filePath("o.scr")});
        QCOMPARE(empty.exitCode, 1);
        QCOMPARE(empty.err, "kivo-cli: No screen found in " + none.toUtf8() + "\n");
        QVERIFY(!QFile::exists(dir.filePath("o.scr")));
        const testsupport::CliRun missing =
            testsupport::runCli({"screen", dir.filePath("missing.tap"), dir.filePath("o.scr")});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.startsWith("kivo-cli: Cannot read " +
                                       dir.filePath("missing.tap").toUtf8()));
        QCOMPARE(testsupport::runCli({"screen", none}).exitCode, 2);
        QVERIFY(testsupport::runCli({"--help"}).out.contains("kivo-cli screen FILE OUT"));
    }
};

QTEST_GUILESS_MAIN(tst_LoadingScreen)
#include "tst_LoadingScreen.moc"
