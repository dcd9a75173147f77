// SGD import: record counting, the six fields of a record, the game directories of sgd.ini and
// how the records join the catalogue.
#include "InterchangeFiles.h"
#include "TestSupport.h"

#include "interchange/SgdImport.h"

#include <QTemporaryDir>

#include <sys/stat.h>

using namespace testsupport;
using namespace interchangefiles;

class TestSgd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void recordCount_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("records");
        // Length / 252 rounded to the nearest, a half to the even neighbour: an off-by-one
        // here adds or loses the last real entry.
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("short") << 125 << 0;
        QTest::newRow("half of one: to even 0") << 126 << 0;
        QTest::newRow("over half of one") << 127 << 1;
        QTest::newRow("one") << 252 << 1;
        QTest::newRow("1.5: to even 2") << 378 << 2;
        QTest::newRow("2.5: to even 2") << 630 << 2;
        QTest::newRow("just over 2.5") << 631 << 3;
        QTest::newRow("just under 2.5") << 629 << 2;
        QTest::newRow("three") << 756 << 3;
        QTest::newRow("3.5: to even 4") << 882 << 4;
    }
    void recordCount()
    {
        QFETCH(int, length);
        QFETCH(int, records);
        QCOMPARE(SgdDataFile::recordCountForLength(length), records);
        QCOMPARE(SgdDataFile(QByteArray(length, ' ')).recordCount(), records);
    }

    // A record cut short by the end of the file reads as zeros where data is missing.
    void shortLastRecordIsZeroFilled()
    {
        const SgdDataFile data(sgdRecord("One") + QByteArray(200, 'x'));
        QCOMPARE(data.recordCount(), 2);
        QCOMPARE(QByteArray(data.record(1), 200), QByteArray(200, 'x'));
        QCOMPARE(QByteArray(data.record(1) + 200, 52), QByteArray(52, '\0'));
    }

    void fields_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("publisher");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("authors");
        // The genre is cleaned and lower-cased, then matched exactly.
        QTest::newRow("ARC in capitals")
            << sgdRecord("Game", "1984 ", "", "", "ARC") << "Game" << 1984 << ""
            << "" << 15 << "";
        QTest::newRow("arcade") << sgdRecord("Game", "1984 ", "", "", "arcade") << "Game" << 1984
                                << ""
                                << "" << 0 << "";
        QTest::newRow("arc/adv") << sgdRecord("G", "", "", "", " Arc/Adv") << "G" << 0 << ""
                                 << "" << 16 << "";
        QTest::newRow("bld") << sgdRecord("G", "", "", "", "bld") << "G" << 0 << ""
                             << "" << 101 << "";
        QTest::newRow("CR LF in the genre")
            << sgdRecord("G", "", "", "", "d\r\nem") << "G" << 0 << ""
            << "" << 94 << "";
        QTest::newRow("no genre") << sgdRecord("G", "", "", "", "") << "G" << 0 << ""
                                  << "" << 0 << "";
        // The year: its leading number, blanks between digits skipped, a fraction rounded.
        QTest::newRow("blank year") << sgdRecord("G", "     ") << "G" << 0 << ""
                                    << "" << 0 << "";
        QTest::newRow("leading blank") << sgdRecord("G", " 1983") << "G" << 1983 << ""
                                       << "" << 0 << "";
        QTest::newRow("blank between digits") << sgdRecord("G", "19 84") << "G" << 1984 << ""
                                              << "" << 0 << "";
        QTest::newRow("text after the number") << sgdRecord("G", "198?") << "G" << 198 << ""
                                               << "" << 0 << "";
        QTest::newRow("not a number") << sgdRecord("G", "n/a") << "G" << 0 << ""
                                      << "" << 0 << "";
        QTest::newRow("half to even") << sgdRecord("G", "84.5") << "G" << 84 << ""
                                      << "" << 0 << "";
        QTest::newRow("half to even, up") << sgdRecord("G", "85.5") << "G" << 86 << ""
                                          << "" << 0 << "";
        // The rom file loses every blank, also inside the name.
        QTest::newRow("name, blanks, .TAP")
            << sgdRecord("Manic", "1983 ", "Bug-Byte", "MANIC   .TAP") << "Manic" << 1983
            << "Bug-Byte"
            << "MANIC.TAP" << 0 << "";
        // Text fields: CR LF pairs out, outer blanks trimmed, inner blanks and code page kept.
        QTest::newRow("text fields") << sgdRecord("  Jet  Set\r\nWilly  ", "1984 ", "Caf\xE9 Soft",
                                                  "", "", "M. Smith, \x80 Team")
                                     << "Jet  SetWilly" << 1984 << "Café Soft"
                                     << "" << 0 << "M. Smith, € Team";
        QTest::newRow("fields run to their full width")
            << sgdRecord(QByteArray(37, 'N'), "1984 ", QByteArray(37, 'P'), "ABCDEFGHIJ.TZ", "arc",
                         QByteArray(102, 'A'))
            << QString(37, u'N') << 1984 << QString(37, u'P') << "ABCDEFGHIJ.TZ" << 15
            << QString(102, u'A');
    }
    void fields()
    {
        QFETCH(QByteArray, record);
        QCOMPARE(record.size(), 252);
        const RomRecord entry = sgdRecordToEntry(record.constData());
        QTEST(entry.RomName, "name");
        QTEST(int(entry.Year), "year");
        QTEST(entry.Publisher, "publisher");
        QTEST(entry.RomFile, "file");
        QTEST(int(entry.RomType), "type");
        QTEST(entry.Authors, "authors");
        QVERIFY(entry.Screenshots.isEmpty());
        QVERIFY(entry.Notes.isEmpty());
        QVERIFY(entry.AudioFile.isEmpty());
    }

    void cleanField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("clean");
        // CR LF pairs go in one pass (a pair formed by the removal stays), then outer blanks;
        // a lone CR or LF and tabs stay.
        QTest::newRow("pairs") << "a\r\nb\r\n"
                               << "ab";
        QTest::newRow("pair formed by removal") << "\r\r\n\n"
                                                << "\r\n";
        QTest::newRow("blanks") << "  a b  "
                                << "a b";
        QTest::newRow("blank inside a pair") << " \r\n a \r\n "
                                             << "a";
        QTest::newRow("lone breaks and tabs") << "\ta\rb\n"
                                              << "\ta\rb\n";
        QTest::newRow("blank only") << "    "
                                    << "";
    }
    void cleanField()
    {
        QFETCH(QString, field);
        QTEST(CleanField(field), "clean");
    }

    void gameDirectories_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("directories");
        // Items end at a comma or a line end; every blank goes; "GameDir=" is matched with its
        // case; a Windows path gets its own "\" appended.
        QTest::newRow("plain") << QByteArray("[Paths]\r\nGameDir=C:\\SPECTRUM\\GAMES\r\nX=1\r\n")
                               << QStringList{"C:\\SPECTRUM\\GAMES\\"};
        QTest::newRow("blanks around = and in the name")
            << QByteArray("GameDir = C:\\My Games\r\n") << QStringList{"C:\\MyGames\\"};
        QTest::newRow("trailing separator kept")
            << QByteArray("GameDir=C:\\A\\") << QStringList{"C:\\A\\"};
        QTest::newRow("other case")
            << QByteArray("gamedir=C:\\A\r\nGAMEDIR=C:\\B") << QStringList{};
        QTest::newRow("two items on a line")
            << QByteArray("GameDir=C:\\A,GameDir=D:\\B\n") << QStringList{"C:\\A\\", "D:\\B\\"};
        QTest::newRow("quoted item keeps its comma")
            << QByteArray("\"GameDir=C:\\Games, old\",x") << QStringList{"C:\\Games,old\\"};
        QTest::newRow("drive only") << QByteArray("GameDir=D:") << QStringList{"D:\\"};
        QTest::newRow("path of this system")
            << QByteArray("GameDir=/home/sam/spectrum") << QStringList{"/home/sam/spectrum/"};
        QTest::newRow("no directory") << QByteArray("GameDir=\r\nGameDir=   ") << QStringList{};
        QTest::newRow("Windows-1252")
            << QByteArray("GameDir=C:\\Jeux\\\xC9t\xE9") << QStringList{"C:\\Jeux\\Été\\"};
        QTest::newRow("UTF-8") << QByteArray("GameDir=/home/иван/игры")
                               << QStringList{"/home/иван/игры/"};
    }
    void gameDirectories()
    {
        QFETCH(QByteArray, ini);
        QTEST(sgdGameDirectories(ini), "directories");
    }

    // The game directories join the rom paths once, without regard to case; the records after
    // them, all but the last.
    void importAddsDirectoriesAndEntries()
    {
        QTemporaryDir dir;
        writeFile(dir.filePath("SGD.INI"),
                  "GameDir=C:\\SPECTRUM\\GAMES\r\nGameDir = C:\\Other Games\r\n");
        SearchPaths paths;
        QString known = "c:\\spectrum\\games\\";
        paths.AddSearchPath(PathKind::Rom, known);
        const SgdDataFile data(sgdRecord("One", "1982 ", "", "ONE.TAP", "arc") + sgdRecord("Two") +
                               sgdRecord("Last"));
        RomDatabase database;
        const ImportResult result =
            ImportSgdRecords(database, paths, data, dir.path() + "/", false);
        QCOMPARE(result.added, 2);
        QCOMPARE(result.skipped, 0);
        QCOMPARE(names(database), (QStringList{"One", "Two"}));
        QCOMPARE(database.Get(0).RomFile, QStringLiteral("ONE.TAP"));
        QCOMPARE(paths[PathKind::Rom].dirs(),
                 (QStringList{"c:\\spectrum\\games\\", "C:\\OtherGames\\"}));
    }

    void overwriteFlag_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("hadEntries");
        QTest::addColumn<QStringList>("names");
        // Only the overwrite flag empties a catalogue that has entries.
        QTest::newRow("merge") << false << true << QStringList{"Old", "New"};
        QTest::newRow("overwrite") << true << true << QStringList{"New"};
        QTest::newRow("merge into an empty catalogue") << false << false << QStringList{"New"};
    }
    void overwriteFlag()
    {
        QFETCH(bool, overwrite);
        QFETCH(bool, hadEntries);
        RomDatabase database;
        if (hadEntries)
            database.Add(entry("Old"));
        addSgdRecords(database, SgdDataFile(sgdRecord("New") + sgdRecord("End")), overwrite);
        QTEST(names(database), "names");
        QCOMPARE(database.slotCount(), database.EntryCount() + 1);
    }

    // A record with a blank name would leave an empty slot in the middle of the catalogue.
    void blankNameIsSkipped()
    {
        RomDatabase database;
        const ImportResult result = addSgdRecords(
            database,
            SgdDataFile(sgdRecord("A") + sgdRecord("   ") + sgdRecord("B") + sgdRecord("End")),
            false);
        QCOMPARE(result.added, 2);
        QCOMPARE(result.skipped, 1);
        QCOMPARE(database.slotCount(), 3);
        QCOMPARE(names(database), (QStringList{"A", "B"}));
    }

    void loadDataFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entries");
        // Files shorter than a record add nothing and are no failure; three records add two
        // entries; a half record over 2.5 still counts the last record out.
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("shorter than a record") << sgdRecord("A").left(100) << 0;
        QTest::newRow("one record") << sgdRecord("A") << 0;
        QTest::newRow("three records") << sgdRecord("A") + sgdRecord("B") + sgdRecord("C") << 2;
        QTest::newRow("2.5 records")
            << sgdRecord("A") + sgdRecord("B") + sgdRecord("C").left(126) << 1;
        QTest::newRow("3.5 records")
            << sgdRecord("A") + sgdRecord("B") + sgdRecord("C") + sgdRecord("D").left(126) << 3;
    }
    void loadDataFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, entries);
        QTemporaryDir dir;
        const QString path = dir.filePath("GAMES.DAT");
        writeFile(path, bytes);
        const SgdLoadResult loaded = LoadSgdDataFile(path);
        QVERIFY(loaded.ok);
        QVERIFY(loaded.messages.isEmpty());
        RomDatabase database;
        QCOMPARE(addSgdRecords(database, loaded.data, false).added, entries);
        QCOMPARE(database.EntryCount(), entries);
    }

    // Only regular files are read: a directory or a pipe must neither hang nor pass for data.
    void onlyRegularFiles()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath("pipe.dat");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        for (const QString &path : {dir.path(), pipe, dir.filePath("gone.dat")}) {
            const SgdLoadResult loaded = LoadSgdDataFile(path);
            QVERIFY(!loaded.ok);
            QCOMPARE(loaded.data.recordCount(), 0);
            QCOMPARE(loaded.messages.size(), 1);
            QCOMPARE(loaded.messages.first().title, QStringLiteral("Can't Import"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSgd)
#include "tst_sgd.moc"
