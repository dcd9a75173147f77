// Identifying rom files by a DAT: the fingerprint of a plain file and of an archive (its stored
// CRC, nothing inflated), which fields a DAT entry fills, identification with its progress,
// Cancel and duplicates, the groups of duplicates, and a tape matched against the real DAT.
#include "ArchiveMaker.h"
#include "DatMaker.h"
#include "TestSupport.h"

#include "scan/Identify.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using testsupport::bytesWithCrc;
using testsupport::makeZip;
using testsupport::touch;

namespace {

using Prints = QList<std::pair<int, Fingerprint>>;

Fingerprint print(qint64 size, quint32 crc)
{
    return {true, size, crc};
}

// A zip of one member whose headers declare `crc`, whatever its bytes are.
QByteArray zipDeclaring(const QString &member, const QByteArray &bytes, quint32 crc)
{
    QByteArray zip = makeZip({{member, bytes, true}});
    testsupport::putLittleEndian32(zip, testsupport::localSizes(zip), crc);
    testsupport::putLittleEndian32(zip, testsupport::centralSizes(zip), crc);
    return zip;
}

DatEntry entry(const QString &title, qint32 year, const QString &publisher, const QString &authors)
{
    DatEntry made;
    made.game = title + QStringLiteral(" (") + publisher + u')';
    made.title = title;
    made.year = year;
    made.publisher = publisher;
    made.authors = authors;
    return made;
}

RomRecord record(const QString &name, const QString &file, qint32 year = 0,
                 const QString &publisher = {})
{
    RomRecord made;
    made.RomName = name;
    made.RomFile = file;
    made.Year = year;
    made.Publisher = publisher;
    return made;
}

} // namespace

Q_DECLARE_METATYPE(Fingerprint)
Q_DECLARE_METATYPE(RomRecord)
Q_DECLARE_METATYPE(Prints)

class TestIdentify : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches an archive inflated (its stored CRC is a lie here), the wrong member taken, an empty
    // or unreadable file given a fingerprint.
    void fingerprints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Fingerprint>("expected");
        const QByteArray tape = bytesWithCrc(300, 0xC0FFEE01);
        QTest::newRow("plain tape") << "game.tap" << tape << print(300, 0xC0FFEE01);
        QTest::newRow("empty file") << "empty.tap" << QByteArray() << Fingerprint{};
        QTest::newRow("zip by its stored crc")
            << "game.zip" << zipDeclaring("Game.TZX", tape, 0x12345678) << print(300, 0x12345678);
        QTest::newRow("zip: its spectrum member")
            << "two.zip" << makeZip({{"a.txt", "notes"}, {"b.z80", tape}})
            << print(300, 0xC0FFEE01);
        QTest::newRow("zip without a spectrum file")
            << "text.zip" << makeZip({{"a.txt", "notes"}}) << Fingerprint{};
        QTest::newRow("damaged zip") << "bad.zip" << QByteArray("PK not really") << Fingerprint{};
    }
    void fingerprints()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        touch(dir.filePath(name), bytes);
        QTEST(fingerprintOf(dir.filePath(name)), "expected");
        QCOMPARE(fingerprintOf(dir.filePath("missing.tap")), Fingerprint{});
        QCOMPARE(fingerprintOf(dir.path()), Fingerprint{});
    }

    // Only what is empty is filled; the name a drop gives counts as empty, what the user typed
    // never does.
    void fillsEmptyFields_data()
    {
        QTest::addColumn<RomRecord>("before");
        QTest::addColumn<QString>("kindName");
        QTest::addColumn<RomRecord>("after");
        const QString authors = QStringLiteral("A. Coder, B. Artist");
        const auto filled = [&](const QString &file) {
            RomRecord made = record("Jetpac", file, 1983, "Ultimate");
            made.Authors = authors;
            return made;
        };
        QTest::newRow("all empty") << record("", "x.tap") << "" << filled("x.tap");
        QTest::newRow("dropped name") << record("jp", "jp.tap") << "" << filled("jp.tap");
        QTest::newRow("blank name") << record("  ", "jp.tap") << "" << filled("jp.tap");
        QTest::newRow("archive named after its member")
            << record("Jet Pac", "pack.zip") << "Jet Pac.tap" << filled("pack.zip");
        RomRecord typed = record("pack", "pack.zip", 1984, "Mine");
        typed.Authors = QStringLiteral("Me");
        QTest::newRow("typed: kept") << typed << "Jet Pac.tap" << typed;
        RomRecord partly = typed;
        partly.Year = 0;
        partly.Authors.clear();
        typed.Year = 1983;
        typed.Authors = authors;
        QTest::newRow("typed: only the empty ones") << partly << "Jet Pac.tap" << typed;
    }
    void fillsEmptyFields()
    {
        QFETCH(RomRecord, before);
        QFETCH(QString, kindName);
        QFETCH(RomRecord, after);
        RomRecord record = before;
        const bool changed = fillEmptyFields(
            record, entry("Jetpac", 1983, "Ultimate", "A. Coder, B. Artist"), kindName);
        QCOMPARE(record, after);
        QCOMPARE(changed, before != after);
        // An entry that knows nothing fills nothing.
        QVERIFY(!fillEmptyFields(record, DatEntry{}, kindName));
        QCOMPARE(record, after);
    }

    // Catches unordered groups, a group of one, a failed fingerprint matched, one slot counted
    // twice.
    void groupsDuplicates_data()
    {
        QTest::addColumn<Prints>("prints");
        QTest::addColumn<QList<QList<int>>>("groups");
        QTest::newRow("none") << Prints{{0, print(5, 1)}, {1, print(5, 2)}, {2, print(6, 1)}}
                              << QList<QList<int>>{};
        QTest::newRow("ordered") << Prints{{9, print(5, 1)},
                                           {4, print(7, 7)},
                                           {2, print(5, 1)},
                                           {7, print(7, 7)},
                                           {3, print(5, 1)}}
                                 << QList<QList<int>>{{2, 3, 9}, {4, 7}};
        QTest::newRow("unreadable and repeated slots")
            << Prints{{1, Fingerprint{}}, {2, Fingerprint{}}, {3, print(5, 1)}, {3, print(5, 1)}}
            << QList<QList<int>>{};
    }
    void groupsDuplicates()
    {
        QFETCH(Prints, prints);
        QTEST(duplicateGroups(prints), "groups");
    }

    // Matches in job order with the name a drop would take, duplicates among all files,
    // progress ending at the total, and Cancel before any file.
    void identifiesFiles()
    {
        QTemporaryDir dir;
        const QByteArray known = bytesWithCrc(500, 0xAB000001);
        touch(dir.filePath("a.tap"), known);
        touch(dir.filePath("b.zip"), makeZip("Inside.tzx", known));
        touch(dir.filePath("c.tap"), "unknown");
        touch(dir.filePath("d.tap"), "unknown");
        testsupport::writeFile(dir.filePath("games.dat"),
                               testsupport::clrMameProDat({{"Known (Soft)", 500, 0xAB000001}}));
        DatCatalogue dat;
        QVERIFY(!dat.addFile(dir.filePath("games.dat")));
        const QList<IdentifyJob> jobs = {{3, dir.filePath("a.tap")},
                                         {5, dir.filePath("b.zip")},
                                         {6, dir.filePath("c.tap")},
                                         {7, dir.filePath("missing.tap")},
                                         {8, dir.filePath("d.tap")}};
        QList<std::pair<int, int>> calls;
        const IdentifyResult result = identifyFiles(jobs, dat, [&](int done, int total) {
            calls.append({done, total});
        });
        QVERIFY(!result.cancelled);
        QCOMPARE(result.matches.size(), 2);
        QCOMPARE(result.matches.at(0).slot, 3);
        QCOMPARE(result.matches.at(0).kindName, "a.tap");
        QCOMPARE(result.matches.at(1).slot, 5);
        QCOMPARE(result.matches.at(1).kindName, "Inside.tzx");
        QCOMPARE(result.matches.at(1).entry.title, "Known");
        QCOMPARE(result.duplicates, (QList<QList<int>>{{3, 5}, {6, 8}}));
        QCOMPARE(calls.last(), (std::pair<int, int>{5, 5}));

        const std::atomic<bool> cancel{true};
        const IdentifyResult cancelled = identifyFiles(jobs, dat, {}, &cancel);
        QVERIFY(cancelled.cancelled && cancelled.matches.isEmpty() &&
                cancelled.duplicates.isEmpty());
    }

    // A tape of the size and CRC-32 of one of the real DAT's games is that game, plain or zipped.
    void identifiesByTheRealDat()
    {
        const QString path = testsupport::corpusDir() +
                             "/collection/libretro__libretro-database/Sinclair - ZX Spectrum.dat";
        if (!QFileInfo::exists(path))
            QSKIP("the shared corpus is not here");
        DatCatalogue dat;
        QVERIFY(!dat.addFile(path));
        QTemporaryDir dir;
        const QByteArray tape = bytesWithCrc(51430, 0x21D018B5);
        touch(dir.filePath("frame.tzx"), tape);
        touch(dir.filePath("frame.zip"), makeZip("frame.tzx", tape));
        const IdentifyResult result =
            identifyFiles({{0, dir.filePath("frame.tzx")}, {1, dir.filePath("frame.zip")}}, dat);
        QCOMPARE(result.matches.size(), 2);
        RomRecord named = record("frame", "frame.zip");
        QVERIFY(fillEmptyFields(named, result.matches.at(1).entry, result.matches.at(1).kindName));
        QCOMPARE((QStringList{named.RomName, QString::number(named.Year), named.Publisher,
                              named.Authors}),
                 (QStringList{"10th Frame", "1987", "US Gold Ltd",
                              "Paragon Programming Ltd, John Price, Donnald J. Capbbel)"}));
    }
};

QTEST_GUILESS_MAIN(TestIdentify)
#include "tst_identify.moc"
