// kivo-cli dump and write stream their JSON: what they accept, what they refuse, and that a
// catalogue goes through dump and write unchanged, byte for byte.
#include "TestSupport.h"

#include "core/DatFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace testsupport;

namespace {

QJsonArray dumpedEntries(const QString &path)
{
    const CliRun run = runCli({"dump", path});
    return QJsonDocument::fromJson(run.out).object()["entries"].toArray();
}

// Every form JSON allows, and much that write passes over. (One raw string per line: moc reads
// raw strings only within a line.)
const QByteArray kEveryForm =
    QByteArray("\xef\xbb\xbf") + // a byte order mark
    R"( { "before": {"entries": [1, [2, {"x": null}]]},)"
    R"( "entries" : [ 7, "text", null, [ {"RomName": "not an entry"} ],)"
    R"( {"Notes": "an unnamed entry first does not stop the save"},)"
    R"( {"RomName": "Caf\u00e9 \ud83d\ude00 \"q\" \\ \/ \b\f\n\r\t",)"
    R"(  "Year": 1.5e3, "RomType": -3, "Extra": {"deep": [[[]]]}, "Publisher": 42},)"
    R"( {"RomName": "Big", "Year": 4294967297, "RomType": 18446744073709551615,)"
    R"(  "RomName": "Last wins"} ],)"
    "\n\t\r \"after\": [true, false, -0.0e-1] } ";

} // namespace

class TestCliCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Anything that is not one JSON document holding an "entries" list is refused before the
    // old file is touched, even when entries were already read.
    void writeRefusesWhatIsNotTheDocument_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("top-level list") << QByteArray(R"([{"RomName": "A"}])");
        QTest::newRow("no entries") << QByteArray(R"({"items": []})");
        QTest::newRow("entries not a list") << QByteArray(R"({"entries": {}})");
        QTest::newRow("two entries lists")
            << QByteArray(R"({"entries": [{"RomName": "A"}], "entries": []})");
        QTest::newRow("cut short") << QByteArray(R"({"entries": [{"RomName": "A"})");
        QTest::newRow("text after") << QByteArray(R"({"entries": [{"RomName": "A"}]} x)");
        QTest::newRow("trailing comma") << QByteArray(R"({"entries": [{"RomName": "A"},]})");
        QTest::newRow("leading zero")
            << QByteArray(R"({"entries": [{"RomName": "A", "Year": 01}]})");
        QTest::newRow("bare word") << QByteArray(R"({"entries": [{"RomName": A}]})");
        QTest::newRow("lone surrogate") << QByteArray(R"({"entries": [{"RomName": "\ud800"}]})");
        QTest::newRow("bad escape") << QByteArray(R"({"entries": [{"RomName": "\x41"}]})");
        QTest::newRow("raw control") << QByteArray("{\"entries\": [{\"RomName\": \"a\tb\"}]}");
        QTest::newRow("bad UTF-8") << QByteArray("{\"entries\": [{\"RomName\": \"\xff\"}]}");
        QTest::newRow("overlong UTF-8")
            << QByteArray("{\"entries\": [{\"RomName\": \"\xc0\xaf\"}]}");
        QTest::newRow("missing colon") << QByteArray(R"({"entries" [{"RomName": "A"}]})");
    }
    void writeRefusesWhatIsNotTheDocument()
    {
        QFETCH(QByteArray, json);
        QTemporaryDir dir;
        const QString path = dir.filePath("kept.dat");
        writeFile(path, "the old catalogue");
        const CliRun run = runCli({"write", path}, json);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("stdin must hold a JSON object with an \"entries\" list"));
        QCOMPARE(readFile(path), QByteArray("the old catalogue"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.dat"});
    }

    // Every form JSON allows reads as the same text; what write does not know is passed over.
    void writeReadsEveryJsonForm()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("forms.dat");
        const CliRun run = runCli({"write", path}, kEveryForm);
        QCOMPARE(run.exitCode, 0);
        const QJsonArray entries = dumpedEntries(path);
        QCOMPARE(entries.size(), 2);
        // "😀" has no place in Windows-1252 and is stored as "?".
        QCOMPARE(entries[0]["RomName"].toString(), QStringLiteral("Café ? \"q\" \\ / \b\f\n\r\t"));
        QCOMPARE(entries[0]["Year"].toInt(), 0); // not an integer
        QCOMPARE(entries[0]["RomType"].toInt(), -3);
        QCOMPARE(entries[0]["Publisher"].toString(), QString()); // not text
        QCOMPARE(entries[1]["RomName"].toString(), QStringLiteral("Last wins"));
        QCOMPARE(entries[1]["Year"].toInt(), 1);     // the low 32 bits
        QCOMPARE(entries[1]["RomType"].toInt(), -1); // likewise

        const CliRun nothing = runCli({"write", path}, R"({"entries": [{"Notes": "x"}]})");
        QCOMPARE(nothing.exitCode, 1);
        QCOMPARE(nothing.err, QByteArray("Kivo: No data to save\n"));
        QCOMPARE(dumpedEntries(path).size(), 2);
    }

    // dump's JSON written back gives the file it came from, for text of every kind and for a
    // catalogue larger than the blocks both stream through.
    void dumpAndWriteRoundTrip()
    {
        QTemporaryDir dir;
        RomDatabase database;
        for (int i = 0; i < 3000; ++i) {
            RomRecord record;
            record.RomName = QStringLiteral("Entry %1 \"€\\ÿ\x01\x1f\x7f").arg(i);
            record.RomType = i % 130;
            record.Year = i % 3 == 0 ? -i : 1980 + i % 20;
            record.Notes =
                i % 300 == 0 ? QString(300000, QChar(u'n')) : QStringLiteral("a\r\nb\tc");
            record.Screenshots = QStringLiteral("s%1.scr,s%1.gif").arg(i);
            record.AudioFile = i % 2 ? QStringLiteral("t%1.mp3").arg(i) : QString();
            database.Add(record);
        }
        const QString original = dir.filePath("original.dat");
        QVERIFY(SaveDatabase(database, original).ok);
        const CliRun dump = runCli({"dump", original});
        QCOMPARE(dump.exitCode, 0);
        // What a general JSON reader makes of it: the whole catalogue, slots included.
        const QJsonObject document = QJsonDocument::fromJson(dump.out).object();
        QCOMPARE(document["slots"].toInt(), 3001);
        QCOMPARE(document["entries"].toArray().size(), 3000);
        QCOMPARE(document["entries"][2999]["slot"].toInt(), 2999);

        const QString copy = dir.filePath("copy.dat");
        QCOMPARE(runCli({"write", copy}, dump.out).exitCode, 0);
        QCOMPARE(readFile(copy), readFile(original));
        QCOMPARE(runCli({"dump", copy}).out, dump.out);
    }
};

QTEST_GUILESS_MAIN(TestCliCatalogue)
#include "tst_cli_catalogue.moc"
