#include "ArchiveMaker.h"
#include "TapeImages.h"
#include "TestSupport.h"

#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace tapeimages;

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QList<int> idsOf(const TapeIndex &tape)
{
    QList<int> ids;
    for (const TapeBlock &block : tape.Blocks)
        ids.append(block.BlockId);
    return ids;
}

// The listing numbers every block once, in order; the only other rows are missing-datablock notes.
bool listsEveryBlockOnce(const TapeIndex &tape)
{
    qsizetype next = 0;
    for (const TapeRow &row : ListTapeBlocks(tape)) {
        if (row.block.isEmpty()) {
            if (row.description != kMissingDatablock)
                return false;
        } else if (row.block != QString::number(next++)) {
            return false;
        }
    }
    return next == tape.Blocks.size();
}

} // namespace

class tst_TapeReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches sign and byte-order faults: high bytes missing, values at 2^31.
    void littleEndianValue_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint32>("value");
        QTest::newRow("one byte") << hex("ff") << 255;
        QTest::newRow("two bytes") << hex("3412") << 0x1234;
        QTest::newRow("three bytes") << hex("563412") << 0x123456;
        QTest::newRow("2^31 - 1") << hex("ffffff7f") << 0x7FFFFFFF;
        QTest::newRow("2^31 is negative") << hex("00000080") << qint32(0x80000000);
        QTest::newRow("all ones") << hex("ffffffff") << -1;
    }
    void littleEndianValue()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint32, value);
        QCOMPARE(LittleEndianValue(bytes), value);
    }

    // One row per block ID: a wrong fixed size or length field shifts the walk, so the
    // 0x25 block placed after it would come out as something else.
    void blockLayouts_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("bytes"); // everything after the ID byte
        QTest::addColumn<QByteArray>("body");
        const auto row = [](const char *name, int id, const QByteArray &bytes,
                            const QByteArray &body) { QTest::newRow(name) << id << bytes << body; };
        const auto same = [&row](const char *name, int id, const QByteArray &bytes) {
            row(name, id, bytes, bytes);
        };
        same("0x10 standard", 0x10, hex("e803 0300 ff0102"));
        same("0x11 turbo", 0x11, hex("0102030405060708090a0b0c0d0e0f 020000 aabb"));
        // The length's third byte counts: a block past 64 KB read with a 2-byte length would
        // end after two bytes and turn the rest into made-up blocks.
        same("0x11 turbo, length past 64 KB", 0x11,
             hex("0102030405060708090a0b0c0d0e0f 020001") + QByteArray(0x10002, '\x25'));
        same("0x14 pure data, length past 64 KB", 0x14,
             hex("01020304050607 010001") + QByteArray(0x10001, '\x25'));
        same("0x12 tone", 0x12, hex("01020304"));
        row("0x13 pulses drop the count", 0x13, hex("02 1111 2222"), hex("1111 2222"));
        same("0x14 pure data", 0x14, hex("01020304050607 010000 cc"));
        same("0x15 direct", 0x15, hex("0102030405 020000 ddee"));
        same("0x16 C64 ROM", 0x16, hex("02000000 aabb"));
        same("0x17 C64 turbo", 0x17, hex("02000000 aabb"));
        same("0x18 CSW by its length", 0x18, hex("03000000 010203"));
        same("0x19 generalized by its length", 0x19, hex("02000000 aabb"));
        same("0x20 pause", 0x20, hex("e803"));
        same("0x21 group", 0x21, hex("03 414243"));
        same("0x22 group end", 0x22, {});
        same("0x23 jump", 0x23, hex("0200"));
        same("0x24 loop", 0x24, hex("0300"));
        same("0x25 loop end", 0x25, {});
        same("0x26 calls count words", 0x26, hex("0200 01000200"));
        same("0x27 return", 0x27, {});
        same("0x28 select", 0x28, hex("0300 010203"));
        same("0x2A stop 48K", 0x2A, hex("00000000"));
        same("0x2B signal level by its length", 0x2B, hex("01000000 01"));
        same("0x30 text", 0x30, hex("02 4869"));
        same("0x31 message", 0x31, hex("05 02 4869"));
        same("0x32 archive", 0x32, hex("0300 010203"));
        // A length word that disagrees with the strings: the strings say where the next block is.
        same("0x32 strings past its length", 0x32, hex("0500 01 0003616263"));
        same("0x32 length past its strings", 0x32, hex("0900 01 0003616263"));
        row("0x33 hardware drops the count", 0x33, hex("02 000102 030405"), hex("000102 030405"));
        same("0x34 emulation", 0x34, hex("0102030405060708"));
        same("0x35 custom", 0x35, QByteArray(16, 'x') + hex("02000000 aabb"));
        same("0x40 snapshot", 0x40, hex("01 020000 aabb"));
        same("0x5A glue", 0x5A, hex("5854617065211a0114"));
        same("0x4B unknown by its length", 0x4B, hex("02000000 aabb"));
        same("0xFF unknown, empty", 0xFF, hex("00000000"));
    }
    void blockLayouts()
    {
        QFETCH(int, id);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, body);
        TapeIndex tape;
        tape.IsTap = true;
        QVERIFY(!readTzxImage(tape, tzx({char(id) + bytes, hex("25")})));
        QCOMPARE(idsOf(tape), QList<int>({id, 0x25}));
        QCOMPARE(tape.Blocks.at(0).Body, body);
        QVERIFY(!tape.IsTap);
    }

    // Truncated and damaged images: a block past the end keeps its declared size (zeros for
    // what is missing) unless that size is more than the whole file, and the walk stops there.
    void truncated_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<bool>("tap");
        QTest::addColumn<int>("blocks");
        QTest::addColumn<QByteArray>("lastBody");
        const QByteArray pause = hex("20e803");
        QTest::newRow("tzx ends exactly after a block")
            << tzx({pause, pause}) << false << 2 << hex("e803");
        QTest::newRow("tzx data short, padded") << tzx({pause, hex("10 e803 0a00 ff0102")}) << false
                                                << 2 << hex("e803 0a00 ff0102 00000000000000");
        QTest::newRow("tzx length beyond the file, kept as is")
            << tzx({hex("10 e803 ffff ff0102"), pause}) << false << 1
            << hex("e803 ffff ff0102 20e803");
        QTest::newRow("tzx 4-byte length of 2^31")
            << tzx({hex("16 00000080 0102"), pause}) << false << 1 << hex("00000080 0102 20e803");
        QTest::newRow("tzx 4-byte length of 2^32 - 1")
            << tzx({hex("35") + QByteArray(16, 'x') + hex("ffffffff 01"), pause}) << false << 1
            << QByteArray(16, 'x') + hex("ffffffff 01 20e803");
        QTest::newRow("tzx ends in a fixed part")
            << tzx({pause, hex("12 0102")}) << false << 2 << hex("01020000");
        QTest::newRow("tzx ends after a count byte's ID")
            << tzx({pause, hex("13")}) << false << 2 << QByteArray();
        QTest::newRow("tzx signature only") << QByteArray("ZXTape!") << false << 0 << QByteArray();
        QTest::newRow("tzx header only") << tzx({}) << false << 0 << QByteArray();
        QTest::newRow("tap short, padded") << tap({header(0, "a", 1, 0)}) + hex("1400 ff0102")
                                           << true << 2 << hex("ff0102") + QByteArray(17, '\0');
        QTest::newRow("tap length beyond the file")
            << tap({header(0, "a", 1, 0)}) + hex("0a1a ff0102") << true << 2 << hex("ff0102");
        QTest::newRow("tap odd last byte")
            << tap({header(0, "a", 1, 0)}) + hex("03") << true << 2 << hex("000000");
        QTest::newRow("tap zero-length block") << hex("0000 0100 aa") << true << 2 << hex("aa");
    }
    void truncated()
    {
        QFETCH(QByteArray, image);
        QFETCH(bool, tap);
        QFETCH(int, blocks);
        QFETCH(QByteArray, lastBody);
        TapeIndex tape;
        if (tap)
            readTapImage(tape, image);
        else
            QVERIFY(!readTzxImage(tape, image));
        QCOMPARE(tape.Blocks.size(), blocks);
        if (blocks > 0)
            QCOMPARE(tape.Blocks.last().Body, lastBody);
    }

    // Cut anywhere, and with the last four bytes made a huge length, an image still reads and
    // lists without failing, and no block holds more than the file does.
    void cutAnywhere()
    {
        const QByteArray image =
            tzx({standard(header(0, "prog", 3, 10)),
                 hex("11") + QByteArray(15, '\1') + hex("030000 ff0102"), hex("13 02 1111 2222"),
                 hex("21 03 414243"), hex("26 0200 01000200"), hex("33 02 000102 030405"),
                 hex("35") + QByteArray(16, 'x') + hex("02000000 aabb"), hex("19 02000000 aabb"),
                 hex("40 01 020000 aabb"), hex("5a 000000000000000000")});
        for (qsizetype cut = 0; cut <= image.size(); ++cut) {
            for (const QByteArray &damage : {QByteArray(), hex("ffffffff")}) {
                QByteArray bytes = image.left(cut);
                if (!damage.isEmpty() && cut > 4)
                    bytes.replace(cut - 4, 4, damage);
                TapeIndex tape;
                readTzxImage(tape, bytes);
                for (const TapeBlock &block : std::as_const(tape.Blocks))
                    QVERIFY2(block.Body.size() <= bytes.size(),
                             qPrintable(QStringLiteral("cut at %1").arg(cut)));
                QVERIFY(listsEveryBlockOnce(tape));
                readTapImage(tape, bytes);
                for (const TapeBlock &block : std::as_const(tape.Blocks))
                    QVERIFY(block.Body.size() <= bytes.size());
                QVERIFY(listsEveryBlockOnce(tape));
            }
        }
    }

    void tapBlocks()
    {
        TapeIndex tape;
        readTapImage(tape, tap({header(3, "screen", 6912, 16384), data(QByteArray(6912, 'x'))}));
        QCOMPARE(idsOf(tape), QList<int>({0x10, 0x10}));
        QCOMPARE(tape.Blocks.at(0).Body.size(), 19);
        QCOMPARE(tape.Blocks.at(1).Body.size(), 6914);
        QVERIFY(tape.IsTap);
    }

    // A tape of tiny blocks holds its array once, sized before it is filled: grown block by
    // block, it was copied into ever larger arrays and held up to three times the blocks.
    void blocksAllocatedOnce()
    {
        TapeIndex tape;
        readTzxImage(tape, tzx(QList<QByteArray>(5000, hex("22"))));
        QCOMPARE(tape.Blocks.size(), 5000);
        QCOMPARE(tape.Blocks.capacity(), tape.Blocks.size());
        readTapImage(tape, QByteArray(2 * 5000, '\0')); // blocks of length 0
        QCOMPARE(tape.Blocks.size(), 5000);
        QCOMPARE(tape.Blocks.capacity(), tape.Blocks.size());
    }

    // The file level: ending chosen in lower case, signature checked case-sensitively, the
    // index emptied by every read and IsTap set by the reader chosen.
    void readFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("blocks");
        QTest::addColumn<bool>("isTap");
        QTest::addColumn<QString>("message");
        const QByteArray good = tzx({hex("22")});
        QTest::newRow("tzx") << "a.tzx" << good << 1 << false << QString();
        QTest::newRow("upper-case ending") << "A.TZX" << good << 1 << false << QString();
        QTest::newRow("tap") << "a.Tap" << tap({hex("ff00ff")}) << 1 << true << QString();
        QTest::newRow("other ending") << "a.z80" << good << 0 << true << QString();
        QTest::newRow("no dot") << "tzx" << good << 1 << false << QString();
        QTest::newRow("capital signature")
            << "a.tzx" << QByteArray("ZXTAPE!\x1A\x01\x14\x22") << 0 << true << kInvalidTzxImage;
        QTest::newRow("empty tzx") << "a.tzx" << QByteArray() << 0 << true << kInvalidTzxImage;
        QTest::newRow("any version")
            << "a.tzx" << hex("5a5854617065211a09ff22") << 1 << false << QString();
    }
    void readFile()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, image);
        QFETCH(int, blocks);
        QFETCH(bool, isTap);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        testsupport::writeFile(path, image);
        TapeIndex tape;
        tape.IsTap = true;
        tape.Blocks = {TapeBlock{}, TapeBlock{}, TapeBlock{}};
        const std::optional<Message> shown = ReadTapeImage(tape, path);
        QCOMPARE(tape.Blocks.size(), blocks);
        QCOMPARE(tape.IsTap, isTap);
        QCOMPARE(shown ? testsupport::describe(*shown) : QString(),
                 message.isEmpty() ? QString()
                                   : QStringLiteral("Kivo: %1 [none, ok]").arg(message));
    }

    // An archive reads as its Spectrum member: catches the kind taken from the archive's name
    // instead of the member's, blocks that differ from the member read plain, and an archive
    // that cannot be read passing without a word.
    void readArchive_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("member"); // read plain for comparison, empty when none
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<QString>("message");
        const QByteArray good = tzx({hex("22"), standard(header(3, "code", 2, 32768))});
        const QByteArray tapImage = tap({hex("ff00ff"), hex("0001")});
        QTest::newRow("zip of a tzx")
            << "a.zip" << testsupport::makeZip("dir/A.TZX", good) << "A.TZX" << good << QString();
        QTest::newRow("gz of a tap")
            << "b.tap.GZ" << testsupport::makeGzip(tapImage) << "b.tap" << tapImage << QString();
        QTest::newRow("zip of a snapshot")
            << "c.zip" << testsupport::makeZip("c.z80", good) << "c.z80" << good << QString();
        QTest::newRow("zip of a bad tzx")
            << "d.zip" << testsupport::makeZip("d.tzx", "ZXTAPE!") << "d.tzx"
            << QByteArray("ZXTAPE!") << "Kivo: Invalid TZX Image [none, ok]";
        QTest::newRow("no Spectrum file")
            << "e.zip" << testsupport::makeZip("e.txt", good) << "" << QByteArray()
            << "Kivo: Unable to read e.zip: it holds no tape, snapshot or disk image [critical, "
               "ok]";
        QTest::newRow("damaged") << "f.zip" << good << "" << QByteArray()
                                 << "Kivo: Unable to read f.zip: Not a zip archive [critical, ok]";
    }
    void readArchive()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, archive);
        QFETCH(QString, member);
        QFETCH(QByteArray, image);
        QFETCH(QString, message);
        QTemporaryDir dir;
        testsupport::writeFile(dir.filePath(name), archive);
        TapeIndex tape;
        tape.Blocks = {TapeBlock{}};
        const std::optional<Message> shown = ReadTapeImage(tape, dir.filePath(name));
        QCOMPARE(shown ? testsupport::describe(*shown) : QString(), message);
        TapeIndex plain;
        if (!member.isEmpty()) {
            testsupport::writeFile(dir.filePath(member), image);
            ReadTapeImage(plain, dir.filePath(member));
        }
        QCOMPARE(tape.IsTap, plain.IsTap);
        QCOMPARE(tape.Image, plain.Image);
        QCOMPARE(tape.Blocks.size(), plain.Blocks.size());
        for (qsizetype i = 0; i < tape.Blocks.size(); ++i)
            QCOMPARE(tape.Blocks.at(i).Body, plain.Blocks.at(i).Body);
    }

    // A FIFO would block the read forever and a directory has no bytes: both say why at once.
    void specialFilesSayWhy()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("pipe.tzx"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString directory = dir.filePath(QStringLiteral("folder.tap"));
        QVERIFY(QDir().mkdir(directory));
        for (const QString &path : {fifo, directory}) {
            TapeIndex tape;
            tape.Blocks = {TapeBlock{}};
            const std::optional<Message> shown = ReadTapeImage(tape, path);
            QVERIFY(shown);
            QCOMPARE(shown->text, QStringLiteral("Unable to read the tape image.\r\n") + path +
                                      QStringLiteral("\r\nIt is not a regular file."));
            QCOMPARE(shown->icon, MessageIcon::Critical);
            QVERIFY(tape.Blocks.isEmpty());
        }
    }

    // The mend: a real tape with CSW, generalized data and signal-level blocks lists every
    // block once, in file order (the IDs are those its source publishes).
    void unknownBlocksKeepTheWalk()
    {
        const QString corpus = testsupport::corpusDir();
        if (corpus.isEmpty())
            QSKIP("no ../shared/corpus: the third-party tapes are not here");
        TapeIndex tape;
        QVERIFY(!ReadTapeImage(tape, corpus + QStringLiteral("/zasm/Test/ZXSP/original/tzx.tzx")));
        const QList<int> expected = {0x32, 0x33, 0x10, 0x11, 0x19, 0x10, 0x31, 0x30, 0x20, 0x21,
                                     0x24, 0x12, 0x12, 0x25, 0x22, 0x30, 0x24, 0x13, 0x13, 0x25,
                                     0x2B, 0x18, 0x2B, 0x18, 0x2B, 0x18, 0x21, 0x20, 0x20, 0x22,
                                     0x31, 0x2A, 0x2A, 0x2B, 0x2B, 0x10, 0x10, 0x14, 0x11, 0x19,
                                     0x10, 0x10, 0x19, 0x19, 0x19, 0x19};
        QCOMPARE(idsOf(tape), expected);
    }
};

QTEST_GUILESS_MAIN(tst_TapeReader)
#include "tst_TapeReader.moc"
