// The catalogue array, the Windows-1252 table and the search-path lists with their file lookup.
#include "TestSupport.h"

#include "core/Cp1252.h"
#include "core/FileLookup.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"
#include "core/SharedText.h"

#include <QTemporaryDir>

using namespace testsupport;

namespace {

RomRecord named(const QString &name)
{
    RomRecord record;
    record.RomName = name;
    return record;
}

QStringList names(const RomDatabase &database)
{
    QStringList out;
    for (const RomRecord &record : database.slots())
        out.append(record.RomName);
    return out;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The trailing empty slot must survive every operation, or rows map to the wrong slots.
    void addingKeepsTheTrailingEmptySlot()
    {
        RomDatabase database;
        QCOMPARE(database.slotCount(), 1);
        QVERIFY(!database.HasEntries());
        QCOMPARE(database.EntryCount(), 0);
        for (const char *name : {"Alpha", "Beta", "Gamma"})
            database.Add(named(QLatin1String(name)));
        QCOMPARE(names(database), (QStringList{"Alpha", "Beta", "Gamma", ""}));
        QVERIFY(database.HasEntries());
        QCOMPARE(database.EntryCount(), 3);
    }

    void removeEntries_data()
    {
        QTest::addColumn<QString>("indices");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("first and last") << "0,2" << QStringList{"Beta", ""};
        QTest::newRow("middle") << "1" << QStringList{"Alpha", "Gamma", ""};
        QTest::newRow("every entry resets") << "0,1,2" << QStringList{""};
        QTest::newRow("nothing listed") << "" << QStringList{"Alpha", "Beta", "Gamma", ""};
        QTest::newRow("index out of range ignored") << "1,7" << QStringList{"Alpha", "Gamma", ""};
    }
    void removeEntries()
    {
        QFETCH(QString, indices);
        QFETCH(QStringList, left);
        RomDatabase database;
        for (const char *name : {"Alpha", "Beta", "Gamma"})
            database.Add(named(QLatin1String(name)));
        database.RemoveEntries(indices);
        QCOMPARE(names(database), left);
    }

    // A damaged file leaves empty slots between entries; removing every named entry must not
    // leave a catalogue that looks empty but still carries those slots.
    void removingAllNamedEntriesAroundEmptySlotsResets()
    {
        RomDatabase database;
        database.replaceSlots({named("A"), RomRecord{}, named("B"), RomRecord{}});
        database.RemoveEntries(QList<int>{0, 2});
        QCOMPARE(database.slotCount(), 1);
        QVERIFY(!database.HasEntries());
    }

    // 0x80-0x9F are where Windows-1252 and Latin-1 differ; undefined bytes must round-trip.
    void cp1252RoundTrip()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = fromCp1252(all);
        QCOMPARE(text.at(0x80), QChar(0x20AC));
        QCOMPARE(text.at(0x92), QChar(0x2019));
        QCOMPARE(text.at(0x9F), QChar(0x0178));
        QCOMPARE(text.at(0xE9), QChar(0xE9));
        QCOMPARE(toCp1252(text), all);
        QCOMPARE(toCp1252(QStringLiteral("Ж€😀")), QByteArray("?\x80?"));
    }

    // Loaded fields share one allocation; each must still behave as a string of its own.
    void sharedTextSlicesAreIndependentStrings()
    {
        QString first, second;
        {
            SharedTextBuilder text(32);
            first = text.add("Manic\x80", 6);
            second = text.add("Miner", 5);
            QVERIFY(text.add("", 0).isNull());
        }
        QCOMPARE(first, QStringLiteral("Manic€"));
        QCOMPARE(first.utf16()[6], u'\0');
        QCOMPARE(second.utf16()[5], u'\0');
        first += QStringLiteral(" II");
        QCOMPARE(second, QStringLiteral("Miner"));
        second.replace(0, 1, QStringLiteral("L"));
        QCOMPARE(first, QStringLiteral("Manic€ II"));
        QCOMPARE(second, QStringLiteral("Liner"));
    }

    void addSearchPath()
    {
        SearchPaths paths;
        QString first = QStringLiteral("C:\\Roms");
        paths.AddSearchPath(PathKind::Rom, first);
        // The caller sees the separator added, the native one.
        QCOMPARE(first, QStringLiteral("C:\\Roms") + QDir::separator());
        first = QStringLiteral("C:\\Roms\\");
        paths[PathKind::Rom].setDirs({first});
        QString sameInOtherCase = QStringLiteral("c:\\roms\\");
        paths.AddSearchPath(PathKind::Rom, sameInOtherCase);
        QString unixDir = QStringLiteral("/home/ann/roms");
        paths.AddSearchPath(PathKind::Rom, unixDir);
        QCOMPARE(unixDir, QStringLiteral("/home/ann/roms/"));
        QCOMPARE(paths[PathKind::Rom].dirs(), (QStringList{"C:\\Roms\\", "/home/ann/roms/"}));
        QVERIFY(!paths[PathKind::Screenshot].IsListUsed());
        QVERIFY(paths.HasSearchPath(PathKind::Rom, QStringLiteral("c:\\ROMS\\")));
        QVERIFY(!paths.HasSearchPath(PathKind::Rom, QStringLiteral("C:\\Roms")));
    }

    // Catalogues made on Windows name MANIC.TAP for manic.tap; wildcards and "ordinary file"
    // follow the Windows listing rules.
    void fileExists_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("resolved");
        QTest::newRow("exact") << "games/manic.tap" << true << "games/manic.tap";
        QTest::newRow("other case") << "games/MANIC.TAP" << true << "games/manic.tap";
        QTest::newRow("directory part is taken as written") << "GAMES/manic.tap" << false << "";
        QTest::newRow("star") << "games/*.tap" << true << "games/manic.tap";
        QTest::newRow("star dot star") << "games/*.*" << true << "";
        QTest::newRow("question mark") << "games/m?nic.TAP" << true << "games/manic.tap";
        QTest::newRow("no match") << "games/*.z80" << false << "";
        QTest::newRow("a directory is no file") << "games/sub" << false << "";
        QTest::newRow("hidden file") << "games/.hidden.tap" << false << "";
        QTest::newRow("hidden file by wildcard") << "games/.h*" << false << "";
        QTest::newRow("link to a file") << "games/link.tap" << true << "games/link.tap";
        QTest::newRow("missing directory") << "nowhere/manic.tap" << false << "";
        QTest::newRow("windows path") << "C:\\Games\\manic.tap" << false << "";
    }
    void fileExists()
    {
        QFETCH(QString, relative);
        QFETCH(bool, exists);
        QFETCH(QString, resolved);
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        touch(root + "games/manic.tap");
        touch(root + "games/.hidden.tap");
        QDir().mkpath(root + "games/sub");
        QFile::link(root + "games/manic.tap", root + "games/link.tap");
        const QString path = relative.startsWith(u'C') ? relative : root + relative;
        QCOMPARE(FileExists(path), exists);
        if (!resolved.isEmpty())
            QCOMPARE(resolveExistingFile(path), root + resolved);
    }

    void findInSearchPathsTakesTheFirstDirectoryInOrder()
    {
        QTemporaryDir dir;
        const QString a = dir.path() + "/a/", b = dir.path() + "/b/";
        touch(b + "jetpac.tap");
        SearchPaths paths;
        QString first = a, second = b;
        paths.AddSearchPath(PathKind::Rom, first);
        paths.AddSearchPath(PathKind::Rom, second);
        QCOMPARE(paths.FindInSearchPaths(PathKind::Rom, "JETPAC.TAP"), b + "jetpac.tap");
        touch(a + "Jetpac.tap");
        QCOMPARE(paths.FindInSearchPaths(PathKind::Rom, "jetpac.tap"), a + "Jetpac.tap");
        QCOMPARE(paths.FindInSearchPaths(PathKind::Music, "jetpac.tap"), QString());
    }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
