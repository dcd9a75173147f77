// kivo-cli export and import: the same files, messages and exit codes as the functions the
// window calls, on the streams the tool promises.
#include "InterchangeFiles.h"
#include "TestSupport.h"

#include "core/DatFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace testsupport;
using namespace interchangefiles;

namespace {

QByteArray ownDatabase(const QList<RomRecord> &records)
{
    RomDatabase database;
    for (const RomRecord &record : records)
        database.Add(record);
    return serializeDatabase(database, kCurrentDatabaseVersion);
}

QStringList jsonNames(const QByteArray &out)
{
    QStringList result;
    for (const QJsonValue &value : QJsonDocument::fromJson(out).object()["entries"].toArray())
        result.append(value.toObject()["RomName"].toString());
    return result;
}

} // namespace

class TestCliInterchange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // export writes what the menu command writes; an empty or rejected catalogue writes
    // nothing and exits 1 with the program's message.
    void exportCatalogue()
    {
        QTemporaryDir dir;
        RomRecord alpha = entry("Alpha", 15, 1984);
        alpha.Notes = "one\r\ntwo";
        writeFile(dir.filePath("games.dat"), ownDatabase({alpha, entry("Beta", 3, 0)}));
        const QString out = dir.filePath("games.kvl");
        const CliRun run = runCli({"export", dir.filePath("games.dat"), out});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(readFile(out),
                 pocketFile({{"Alpha", "15", "", "1984", "one%%NL%%two", "", "", "", ""},
                             {"Beta", "3", "", "0", "", "", "", "", ""}}));
    }

    void exportFailures_data()
    {
        QTest::addColumn<QByteArray>("dat");
        QTest::addColumn<QString>("target"); // relative to the temporary directory
        QTest::addColumn<QByteArray>("errStart");
        QTest::newRow("no entries")
            << ownDatabase({}) << "out.kvl" << QByteArray("Kivo: No data to save\n");
        QTest::newRow("not a catalogue")
            << QByteArray("nonsense") << "out.kvl"
            << QByteArray("Invalid Database: There is a problem with the database file.\n");
        QTest::newRow("unwritable target")
            << ownDatabase({entry("A")}) << "missing/out.kvl"
            << QByteArray("Can't Export: Unable to write the file.\n");
    }
    void exportFailures()
    {
        QFETCH(QByteArray, dat);
        QFETCH(QString, target);
        QFETCH(QByteArray, errStart);
        QTemporaryDir dir;
        writeFile(dir.filePath("in.dat"), dat);
        const CliRun run = runCli({"export", dir.filePath("in.dat"), dir.filePath(target)});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(errStart), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QVERIFY(!QFile::exists(dir.filePath(target)));
    }

    // --list prints the files page; names with blanks stay whole.
    void listFiles()
    {
        QTemporaryDir dir;
        touch(dir.filePath("My Games.kvl"), "KIVOPPC1\r\n" + pocketEntry("A") + pocketEntry("B"));
        touch(dir.filePath("other.kvl"), "not ours");
        const CliRun run = runCli({"import", "kvl", dir.path(), "--list"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(run.out).array(), QJsonArray{"My Games.kvl [2]"});
    }

    // import prints the catalogue as dump does and the summary on stderr; the SGD game
    // directories reach the rom paths.
    void importSgdOverwrite()
    {
        QTemporaryDir dir;
        touch(dir.filePath("sgd/sgd.ini"), "GameDir=C:\\SPECTRUM\\GAMES\r\n");
        touch(dir.filePath("sgd/a.dat"),
              sgdRecord("Manic", "1983 ", "Bug-Byte", "MANIC   .TAP", "ARC") + sgdRecord("end"));
        touch(dir.filePath("sgd/b.dat"), sgdRecord("Jet", "1984 ") + sgdRecord("end"));
        writeFile(dir.filePath("into.dat"), ownDatabase({entry("Old")}));
        const CliRun run =
            runCli({"import", "sgd", dir.filePath("sgd"), "--file", "a.dat", "--file", "b.dat",
                    "--overwrite", "--into", dir.filePath("into.dat")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QByteArray("Import: 2 entries added, 0 skipped\n"));
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(jsonNames(run.out), (QStringList{"Manic", "Jet"}));
        const QJsonObject manic = json["entries"].toArray().first().toObject();
        QCOMPARE(manic["RomFile"].toString(), QStringLiteral("MANIC.TAP"));
        QCOMPARE(manic["RomType"].toInt(), 15);
        QCOMPARE(manic["Publisher"].toString(), QStringLiteral("Bug-Byte"));
        QCOMPARE(json["RomPaths"].toArray(), QJsonArray{"C:\\SPECTRUM\\GAMES\\"});
        QCOMPARE(json["slots"].toInt(), 3);
    }

    // Without --file every listed file is imported, merged into the catalogue given.
    void importEveryListedFile()
    {
        QTemporaryDir dir;
        touch(dir.filePath("in/a.dat"), ownDatabase({entry("A1"), entry("A2")}));
        touch(dir.filePath("in/sgd-data.dat"), sgdRecord("Not ours") + sgdRecord("end"));
        writeFile(dir.filePath("into.dat"), ownDatabase({entry("Old")}));
        const CliRun run =
            runCli({"import", "dat", dir.filePath("in"), "--into", dir.filePath("into.dat")});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(jsonNames(run.out), (QStringList{"Old", "A1", "A2"}));
    }

    void importFailures_data()
    {
        QTest::addColumn<QStringList>("arguments"); // DIR stands for the temporary directory
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("errStart");
        // Usage errors exit 2; a directory the wizard would refuse or a rejected file exits 1.
        QTest::newRow("unknown kind") << QStringList{"import", "tzx", "DIR"} << 2
                                      << QByteArray("kivo-cli: import sgd|dat|kvl");
        QTest::newRow("--list with --overwrite")
            << QStringList{"import", "kvl", "DIR", "--list", "--overwrite"} << 2
            << QByteArray("kivo-cli: ");
        QTest::newRow("--file without a name")
            << QStringList{"import", "kvl", "DIR", "--file"} << 2 << QByteArray("kivo-cli: ");
        QTest::newRow("no sgd.ini") << QStringList{"import", "sgd", "DIR"} << 1
                                    << QByteArray("Can't Import: The directory holds no sgd.ini");
        QTest::newRow("rejected file")
            << QStringList{"import", "dat", "DIR", "--file", "v3.dat"} << 1
            << QByteArray("Invalid Database: Unsupported file version\nFile not loaded\n"
                          "Import: 0 entries added, 0 skipped\n");
    }
    void importFailures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, errStart);
        QTemporaryDir dir;
        touch(dir.filePath("v3.dat"), QByteArray("KIVO\x03\0\0\0\x01\0\0\0", 12));
        arguments.replaceInStrings(QStringLiteral("DIR"), dir.path());
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.startsWith(errStart), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestCliInterchange)
#include "tst_cli_interchange.moc"
