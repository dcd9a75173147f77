// The machine a rom file needs, from heads made here, from files and archives, through the cache,
// from snapshots snapconv converts and from the shared corpus.
#include "ArchiveMaker.h"
#include "SnapshotMaker.h"
#include "TapeImages.h"
#include "TestSupport.h"

#include "tape/MachineReader.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tapeimages;
using namespace testsupport;

namespace {

const QString kNoSign = QStringLiteral("no sign of another machine");
const QString kBlock = QStringLiteral("the tape's hardware block");
const QString kName = QStringLiteral("the file name");
const QString kByte = QStringLiteral("the snapshot's hardware byte");
const QString kId = QStringLiteral("the snapshot's machine id");

QByteArray tape(const QList<std::array<int, 3>> &hardware)
{
    return tzx({standard(header(0, "loader", 4, 10)), hardwareType(hardware)});
}

// The head is all of the file unless `size` says more; a machine of "-" falls through to 48K.
void row(const QString &label, const QString &name, const QByteArray &head, const QString &machine,
         const QString &why, qint64 size = -1, const QString &other = {})
{
    const bool none = machine == u"-";
    QTest::newRow(qPrintable(label)) << name << head << (size < 0 ? head.size() : size) << other
                                     << (none ? "48K" : machine) << (none ? kNoSign : why);
}

void compare(const MachineReading &reading, const QString &machine, const QString &why)
{
    QCOMPARE(machineName(reading.machine), machine);
    QCOMPARE(reading.why, why);
    QCOMPARE(reading.fromSnapshot, why.contains(u"snapshot"));
}

} // namespace

class tst_MachineReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void heads_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<qint64>("size");
        for (const char *column : {"other", "machine", "why"})
            QTest::addColumn<QString>(column);
        // Z80 hardware bytes 0-16 and 128 by version, plain and modified: catches the values that
        // moved in version 3, a lost modify bit, an unknown value that does not fall through.
        const QList<int> values = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 128};
        const QString tail = "|Pentagon 128|Scorpion|%1|+2|+2A|TC2048|TS2068|-|TS2068";
        const QList<std::tuple<int, bool, QString>> columns = {
            {23, false, "48K|48K|48K|128K|128K|-|-|+3|+3" + tail.arg("48K")},
            {23, true, "16K|16K|16K|+2|+2|-|-|+2A|+2A" + tail.arg("16K")},
            {54, false, "48K|48K|48K|48K|128K|128K|128K|+3|+3" + tail.arg("48K")},
            {55, true, "16K|16K|16K|16K|+2|+2|+2|+2A|+2A" + tail.arg("16K")}};
        for (const auto &[extra, modified, machines] : columns) {
            for (int i = 0; i < values.size(); ++i)
                row(QStringLiteral("z80 %1 %2 %3").arg(extra).arg(values[i]).arg(modified), "a.z80",
                    z80Header(extra, values[i], modified), machines.split(u'|')[i], kByte);
        }
        row("z80 v1", "A.Z80", QByteArray(6, 0) + "\x34" + QByteArray(23, 0), "48K",
            "a version 1 Z80 snapshot");
        row("z80 unknown, then the name", "a (128K).z80", z80Header(23, 5), "128K", kName);
        const QStringList szx = QStringLiteral("16K|48K|128K|+2|+2A|+3|+3|Pentagon 128|TC2048|"
                                               "TS2068|Scorpion|128K|TS2068|Pentagon 128|"
                                               "Pentagon 128|48K|128K|-")
                                    .split(u'|');
        for (int id = 0; id < szx.size(); ++id)
            row(QStringLiteral("szx %1").arg(id), "a.szx", szxHeader(id), szx[id], kId);
        for (const qint64 size : {49179, 131103, 147487}) {
            const QString machine = size == 49179 ? "48K" : "128K";
            for (const qint64 near : {size - 1, size, size + 1})
                row(QStringLiteral("sna %1").arg(near), "a.Sna", {}, near == size ? machine : "-",
                    "the snapshot's size", near);
        }
        row("dsk", "a.DSK", {}, "+3", "a +3 disk");
        row("trd", "a.trd", {}, "Pentagon 128", "a TR-DOS disk");
        row("scl", "a.scl", {}, "Pentagon 128", "a TR-DOS disk");
        // A hardware block: catches a tape for the 48K and 128K alike taken for a 128K one, and
        // the first of several models lost.
        row("48K and 128K", "a.tzx", tape({{0, 1, 0}, {0, 3, 0}}), "-", "");
        row("not 48K", "a.tzx", tape({{0, 1, 3}}), "128K", kBlock);
        row("not 48K, TS2068", "a.TZX", tape({{0, 1, 3}, {0, 7, 1}}), "TS2068", kBlock);
        row("128K models", "a.tzx", tape({{3, 1, 0}, {0, 5, 1}, {0, 3, 0}}), "+2A", kBlock);
        row("a clone we lack, not 16K", "a.tzx", tape({{0, 0x25, 0}, {0, 0, 3}}), "128K", kBlock);
        row("TC2048", "a.tzx", tape({{0, 6, 0}}), "-", "");
        row("no computer", "a.tzx", tape({{3, 1, 0}}), "-", "");
        row("in a tap", "a.tap", tape({{0, 1, 3}}), "-", "");
        // TOSEC names, the file's or its archive's; a snapshot comes first.
        row("(128k)", "Game (1987)(Firm)(128k).tap", {}, "128K", kName);
        row("[128k]", "Game [128k].tzx", {}, "128K", kName);
        row("archive's name", "game.tap", {}, "128K", kName, -1, "Game (128K).zip");
        row("directory's name", "/roms (128K)/game.tap", {}, "-", "");
        row("snapshot first", "G (128K).z80", z80Header(54, 9), "Pentagon 128", kByte);
        // Heads cut anywhere or lying about lengths: the later rules, never a read past the end.
        for (const qsizetype cut : {0, 7, 29, 31, 37, 85})
            row(QStringLiteral("z80 cut at %1").arg(cut), "a.z80", z80Header(54, 4).left(cut), "-",
                "");
        row("z80 extra of 65535", "a.z80", z80Header(54, 4).replace(30, 2, "\xFF\xFF"), "-", "");
        row("szx cut at 7", "a.szx", szxHeader(2).left(7), "-", "");
        row("hardware block cut", "a.tzx", tape({{0, 1, 3}}).chopped(1), "-", "");
        row("no signature", "a.tzx", tape({{0, 1, 3}}).mid(1), "-", "");
        row("huge block", "a.tzx", tzx({QByteArray("\x15\0\0\0\0\0\xFF\xFF\xFF", 9)}), "-", "");
    }
    void heads()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, head);
        QFETCH(qint64, size);
        QFETCH(QString, other);
        QFETCH(QString, machine);
        QFETCH(QString, why);
        compare(machineOf(head, size, name, other), machine, why);
    }

    // From disk: a plain file, a zipped or gzipped member (its declared size for an SNA) with
    // both names for TOSEC; SNAs snapconv converts to Z80 and SZX (it takes a 128K SNA for a
    // Pentagon's, which the size cannot tell apart); corpus files whose makers name the machine.
    // kivo-cli machine prints the same, or exits 1 for a file it cannot read.
    void files_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("machine"); // empty: unreadable
        QTest::addColumn<QString>("why");
        const QByteArray game = tape({{0, 3, 1}}) + standard(data(QByteArray(9000, 'x')));
        QTest::newRow("plain") << "a.tzx" << game << "128K" << kBlock;
        QTest::newRow("zip") << "a.zip" << makeZip({{"n.txt", "n"}, {"g/a.tzx", game}}) << "128K"
                             << kBlock;
        QTest::newRow("gz, sna") << "a.sna.gz" << makeGzip(QByteArray(131103, 0)) << "128K"
                                 << "the snapshot's size";
        QTest::newRow("zip named") << "G (128K).zip" << makeZip("g.tap", "x") << "128K" << kName;
        QTest::newRow("member named") << "a.zip" << makeZip("G [128K].tap", "x") << "128K" << kName;
        QTest::newRow("zip without a rom") << "a.zip" << makeZip("a.txt", "x") << ""
                                           << "";
        const QString snapconv = QStandardPaths::findExecutable(QStringLiteral("snapconv"));
        QTemporaryDir dir;
        for (const QString out : {"48K.z80", "48K.szx", "Pentagon 128.z80", "Pentagon 128.szx"}) {
            const QString in = dir.filePath(out + ".sna");
            writeFile(in, QByteArray(out.startsWith("48K") ? 49179 : 131103, '\x80')); // SP 0x8080
            if (!snapconv.isEmpty() && QProcess::execute(snapconv, {in, dir.filePath(out)}) == 0)
                QTest::newRow(qPrintable(out))
                    << out << readFile(dir.filePath(out)) << out.chopped(4)
                    << (out.endsWith("z80") ? kByte : kId);
        }
        for (const char *file : {"p16k=16K", "pplus2=+2", "pplus2a40=+2A", "pts2068=TS2068"}) {
            const QStringList parts = QString(file).split(u'=');
            const QString path = corpusDir() + "/collection/chernandezba__zesarux-extras/";
            if (!corpusDir().isEmpty() && QFile::exists(path + parts[0] + ".z80"))
                QTest::newRow(file)
                    << parts[0] + ".z80" << readFile(path + parts[0] + ".z80") << parts[1] << kByte;
        }
    }
    void files()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, machine);
        QFETCH(QString, why);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeFile(path, bytes);
        const MachineFile file = readMachineFile(path);
        QCOMPARE(file.ok, !machine.isEmpty());
        QCOMPARE(file.reason.isEmpty(), file.ok);
        compare(file.reading, file.ok ? machine : "48K", file.ok ? why : kNoSign);
        QCOMPARE(readMachine(path), file.reading);
        const CliRun run = runCli({"machine", path});
        QCOMPARE(run.exitCode, file.ok ? 0 : 1);
        QCOMPARE(run.out, file.ok ? "{\n  \"machine\": \"" + machine.toUtf8() +
                                        "\",\n  \"why\": \"" + why.toUtf8() + "\"\n}\n"
                                  : QByteArray());
        QVERIFY(file.ok ? run.err.isEmpty()
                        : run.err.startsWith("kivo-cli: Cannot read " + path.toUtf8()));
    }

    // A directory cannot be read; usage errors exit 2.
    void cliRejects()
    {
        QCOMPARE(runCli({"machine", QDir::tempPath()}).exitCode, 1);
        QCOMPARE(runCli({"machine", "a.tap", "b.tap"}).exitCode, 2);
        QVERIFY(runCli({"--help"}).out.contains("kivo-cli machine FILE"));
    }

    // The cache answers from memory until the size or modification time changes.
    void cache()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.z80");
        const QDateTime time = QDateTime::currentDateTime().addDays(-1);
        const QList<std::tuple<QByteArray, int, QString>> steps = {
            {z80Header(54, 4), 0, "128K"},
            {z80Header(54, 7), 0, "128K"},
            {z80Header(54, 7), 2, "+3"},
            {z80Header(23, 9), 2, "Pentagon 128"}};
        MachineCache cache;
        for (const auto &[bytes, seconds, machine] : steps) {
            writeFile(path, bytes);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(time.addSecs(seconds), QFileDevice::FileModificationTime));
            QCOMPARE(machineName(cache.machineOf(path).machine), machine);
        }
        QVERIFY(QFile::remove(path));
        QCOMPARE(cache.machineOf(path).why, kNoSign);
    }
};

QTEST_GUILESS_MAIN(tst_MachineReader)
#include "tst_MachineReader.moc"
