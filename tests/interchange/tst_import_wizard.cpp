// The import wizard without its window: the directory test, the files page with its counts,
// Done with Merge and Overwrite, and the save before an overwrite.
#include "InterchangeFiles.h"
#include "TestSupport.h"

#include "core/DatFile.h"
#include "interchange/ImportFiles.h"
#include "interchange/ImportRun.h"
#include "interchange/PocketDatabase.h"

#include <QTemporaryDir>
#include <QtEndian>

#include <sys/stat.h>

using namespace testsupport;
using namespace interchangefiles;

namespace {

QByteArray le32(qint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    return QByteArray(raw, 4);
}

// A .dat file of our own holding the named entries, as the writer makes it.
QByteArray ownDatabase(const QStringList &entryNames)
{
    RomDatabase database;
    for (const QString &name : entryNames)
        database.Add(entry(name));
    return serializeDatabase(database, kCurrentDatabaseVersion);
}

QByteArray pocket(const QStringList &entryNames)
{
    QByteArray bytes = "KIVOPPC1\r\n";
    for (const QString &name : entryNames)
        bytes += pocketEntry(name.toLatin1());
    return bytes;
}

QByteArray sgd(const QStringList &entryNames)
{
    QByteArray bytes;
    for (const QString &name : entryNames)
        bytes += sgdRecord(name.toLatin1(), "1984 ", "", name.toLatin1() + ".TAP", "arc");
    return bytes + sgdRecord("last record");
}

using Files = QList<std::pair<QString, QByteArray>>;

void makeFiles(const QTemporaryDir &dir, const Files &files)
{
    for (const auto &[name, bytes] : files)
        touch(dir.filePath(name), bytes);
}

QStringList rowTexts(const QList<ImportFileRow> &rows)
{
    QStringList texts;
    for (const ImportFileRow &row : rows)
        texts.append(row.text());
    return texts;
}

ImportRequest request(ImportKind kind, const QTemporaryDir &dir, const QStringList &files,
                      bool overwrite)
{
    ImportRequest request;
    request.kind = kind;
    request.directory = dir.path();
    request.fileNames = files;
    request.overwrite = overwrite;
    return request;
}

RomDatabase catalogueWith(const QStringList &entryNames)
{
    RomDatabase database;
    for (const QString &name : entryNames)
        database.Add(entry(name));
    return database;
}

} // namespace

Q_DECLARE_METATYPE(Files)

class TestImportWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void directoryTest_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Files>("files");
        QTest::addColumn<bool>("fits");
        const int sgdKind = int(ImportKind::Sgd);
        const int own = int(ImportKind::Own);
        const int pocketKind = int(ImportKind::Pocket);
        // SGD needs both sgd.ini and a data file: .dat files alone are no SGD installation.
        QTest::newRow("sgd: ini and data")
            << sgdKind << Files{{"sgd.ini", ""}, {"a.dat", "x"}} << true;
        QTest::newRow("sgd: data without ini")
            << sgdKind << Files{{"a.dat", "x"}, {"b.dat", "y"}} << false;
        QTest::newRow("sgd: ini without data") << sgdKind << Files{{"sgd.ini", ""}} << false;
        // Names match without regard to case, as the Windows installations were written.
        QTest::newRow("sgd: capitals")
            << sgdKind << Files{{"SGD.INI", ""}, {"DATA.DAT", "x"}} << true;
        QTest::newRow("own: DATA.DAT") << own << Files{{"DATA.DAT", "x"}} << true;
        QTest::newRow("own: only .kvl") << own << Files{{"a.kvl", "x"}} << false;
        QTest::newRow("pocket: A.KVL") << pocketKind << Files{{"A.KVL", "x"}} << true;
        QTest::newRow("pocket: only .dat") << pocketKind << Files{{"a.dat", "x"}} << false;
        // A directory named like a file is no file.
        QTest::newRow("own: directory named x.dat") << own << Files{{"x.dat/inner", "x"}} << false;
        QTest::newRow("hidden file") << own << Files{{".a.dat", "x"}} << false;
    }
    void directoryTest()
    {
        QFETCH(int, kind);
        QFETCH(Files, files);
        QTemporaryDir dir;
        makeFiles(dir, files);
        QTEST(importDirectoryFits(ImportKind(kind), dir.path()), "fits");
        QTEST(importDirectoryFits(ImportKind(kind), dir.path() + "/"), "fits");
    }

    void sourceDirectory()
    {
        // The separator is appended once, never doubled after a root or a Windows path.
        QCOMPARE(importSourceDirectory("/home/sam/games"), QStringLiteral("/home/sam/games/"));
        QCOMPARE(importSourceDirectory("/"), QStringLiteral("/"));
        QCOMPARE(importSourceDirectory("C:\\"), QStringLiteral("C:\\"));
        QCOMPARE(importSourceDirectory(""), QString());
    }

    void filesPage_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("rows");
        const int sgdKind = int(ImportKind::Sgd);
        const int own = int(ImportKind::Own);
        const int pocketKind = int(ImportKind::Pocket);
        // The first four bytes decide: "kivo" in any case is ours, anything else SGD.
        const Files mixed{{"ours.dat", ownDatabase({"A", "B"})},
                          {"theirs.dat", sgd({"X", "Y", "Z"})},
                          {"lower.dat", "kivo" + QByteArray(40, '\0')},
                          {"tiny.dat", "ki"},
                          {"notes.txt", "KIVO"}};
        QTest::newRow("own among SGD files")
            << own << mixed << QStringList{"lower.dat [0]", "ours.dat [2]"};
        QTest::newRow("SGD among own files")
            << sgdKind << mixed << QStringList{"theirs.dat [3]", "tiny.dat [0]"};
        // Counts: our own file says its entries; a name with blanks is listed as it is.
        QTest::newRow("ten entries")
            << own
            << Files{{"ten.dat", ownDatabase({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"})},
                     {"My Games.DAT", ownDatabase({"A"})}}
            << QStringList{"My Games.DAT [1]", "ten.dat [10]"};
        // SGD counts 252-byte records, less the last one, which never becomes an entry.
        QTest::newRow("SGD records") << sgdKind
                                     << Files{{"sgd.ini", ""},
                                              {"three.dat", QByteArray(756, ' ')},
                                              {"two-and-a-half.dat", QByteArray(630, ' ')},
                                              {"short.dat", QByteArray(100, ' ')},
                                              {"empty.dat", QByteArray()}}
                                     << QStringList{"empty.dat [0]", "short.dat [0]",
                                                    "three.dat [2]", "two-and-a-half.dat [1]"};
        // A damaged count is never believed beyond what the file could hold.
        QTest::newRow("damaged counts")
            << own
            << Files{{"negative.dat", "KIVO" + le32(2) + le32(-5) + QByteArray(100, 'x')},
                     {"huge.dat", "KIVO" + le32(2) + le32(0x7FFFFFFF) + QByteArray(100, 'x')},
                     {"huge-v1.dat", "KIVO" + le32(1) + le32(0x7FFFFFFF) + QByteArray(64, 'x')},
                     {"header-only.dat", "KIVO" + le32(2)},
                     {"zero.dat", "KIVO" + le32(2) + le32(0)}}
            << QStringList{"header-only.dat [0]", "huge-v1.dat [2]", "huge.dat [2]",
                           "negative.dat [0]", "zero.dat [0]"};
        // Pocket files count their lines that are not blank, less the header.
        QTest::newRow("pocket lines") << pocketKind
                                      << Files{{"two.kvl", pocket({"A", "B"}) + "\r\n  \r\n"},
                                               {"header.KVL", "kivoppc1\r\n"},
                                               {"other.kvl", "not ours\r\n" + pocketEntry("A")}}
                                      << QStringList{"header.KVL [0]", "two.kvl [2]"};
    }
    void filesPage()
    {
        QFETCH(int, kind);
        QFETCH(Files, files);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        makeFiles(dir, files);
        QStringList texts = rowTexts(listImportFiles(ImportKind(kind), dir.path()));
        texts.sort(); // the page keeps directory order, which the file system decides
        QCOMPARE(texts, rows);
    }

    // A pipe named like a catalogue must not hang the listing or the import.
    void pipesAreNeverRead()
    {
        QTemporaryDir dir;
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.kvl")).constData(), 0600), 0);
        touch(dir.filePath("a.kvl"), pocket({"A"}));
        QCOMPARE(rowTexts(listImportFiles(ImportKind::Pocket, dir.path())),
                 QStringList{"a.kvl [1]"});
        RomDatabase database;
        SearchPaths paths;
        const ImportSummary summary = runImport(
            database, paths, request(ImportKind::Pocket, dir, {"pipe.kvl", "a.kvl"}, false));
        QCOMPARE(names(database), QStringList{"A"});
        QVERIFY(summary.messages.isEmpty());
    }

    void rowFileName()
    {
        // The name is what precedes the last " [", whatever brackets the name itself holds.
        QCOMPARE(importFileNameOfRow("my games.dat [2]"), QStringLiteral("my games.dat"));
        QCOMPARE(importFileNameOfRow("a [b].kvl [3]"), QStringLiteral("a [b].kvl"));
        QCOMPARE((ImportFileRow{"x y.dat", 12}.text()), QStringLiteral("x y.dat [12]"));
    }

    void done_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<Files>("files");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<bool>("replaced");
        const int sgdKind = int(ImportKind::Sgd);
        const int own = int(ImportKind::Own);
        const int pocketKind = int(ImportKind::Pocket);
        const Files pockets{{"one.kvl", pocket({"A1", "A2"})},
                            {"two.kvl", pocket({"B1"})},
                            {"three.kvl", pocket({"C1", "C2"})}};
        // Overwrite: the first file replaces, the rest are merged after it, in list order.
        QTest::newRow("pocket overwrite, three files")
            << pocketKind << pockets << QStringList{"one.kvl", "two.kvl", "three.kvl"} << true
            << QStringList{"A1", "A2", "B1", "C1", "C2"} << true;
        QTest::newRow("pocket merge keeps the catalogue")
            << pocketKind << pockets << QStringList{"three.kvl", "one.kvl"} << false
            << QStringList{"Old", "C1", "C2", "A1", "A2"} << false;
        // Two SGD files in overwrite mode: the second must not replace the first.
        const Files sgds{
            {"sgd.ini", "GameDir=C:\\GAMES"}, {"a.dat", sgd({"S1", "S2"})}, {"b.dat", sgd({"T1"})}};
        QTest::newRow("SGD overwrite, two files")
            << sgdKind << sgds << QStringList{"a.dat", "b.dat"} << true
            << QStringList{"S1", "S2", "T1"} << true;
        QTest::newRow("SGD merge") << sgdKind << sgds << QStringList{"b.dat"} << false
                                   << QStringList{"Old", "T1"} << false;
        const Files owns{{"x.dat", ownDatabase({"X1", "X2"})}, {"y.dat", ownDatabase({"Y1"})}};
        QTest::newRow("own overwrite") << own << owns << QStringList{"y.dat", "x.dat"} << true
                                       << QStringList{"Y1", "X1", "X2"} << true;
        QTest::newRow("own merge") << own << owns << QStringList{"x.dat"} << false
                                   << QStringList{"Old", "X1", "X2"} << false;
        // A file that is gone by now is skipped silently; the next one replaces.
        QTest::newRow("missing first file")
            << pocketKind << pockets << QStringList{"gone.kvl", "two.kvl"} << true
            << QStringList{"B1"} << true;
        // Names typed in another case are found; a name never widens into a pattern.
        QTest::newRow("other case") << pocketKind << pockets << QStringList{"TWO.KVL"} << false
                                    << QStringList{"Old", "B1"} << false;
        QTest::newRow("wildcard name")
            << pocketKind << pockets << QStringList{"*.kvl"} << true << QStringList{"Old"} << false;
        QTest::newRow("name with blanks")
            << pocketKind << Files{{"my old games.kvl", pocket({"M"})}}
            << QStringList{"my old games.kvl"} << false << QStringList{"Old", "M"} << false;
    }
    void done()
    {
        QFETCH(int, kind);
        QFETCH(Files, files);
        QFETCH(QStringList, selected);
        QFETCH(bool, overwrite);
        QTemporaryDir dir;
        makeFiles(dir, files);
        RomDatabase database = catalogueWith({"Old"});
        database.SelectedIndex = 0;
        SearchPaths paths;
        const ImportSummary summary =
            runImport(database, paths, request(ImportKind(kind), dir, selected, overwrite));
        QTEST(names(database), "names");
        QTEST(summary.replaced, "replaced");
        QVERIFY(summary.messages.isEmpty());
        QCOMPARE(summary.filesFailed, 0);
        QCOMPARE(database.slotCount(), database.EntryCount() + 1);
        // After a replace the old selection names nothing.
        QCOMPARE(database.SelectedIndex, summary.replaced ? kNone : 0);
    }

    // Done twice with Merge imports the files twice.
    void doneTwiceImportsTwice()
    {
        QTemporaryDir dir;
        makeFiles(dir, {{"a.kvl", pocket({"A"})}});
        RomDatabase database;
        SearchPaths paths;
        const ImportRequest merge = request(ImportKind::Pocket, dir, {"a.kvl"}, false);
        QCOMPARE(runImport(database, paths, merge).added, 1);
        QCOMPARE(runImport(database, paths, merge).added, 1);
        QCOMPARE(names(database), (QStringList{"A", "A"}));
    }

    // A first file that is rejected replaces nothing: the next one does, so Overwrite never
    // ends with the old entries mixed into the new ones.
    void rejectedFileReplacesNothing()
    {
        QTemporaryDir dir;
        makeFiles(dir, {{"bad.dat", "KIVO" + le32(3) + le32(1)}, {"good.dat", ownDatabase({"G"})}});
        RomDatabase database = catalogueWith({"Old"});
        SearchPaths paths;
        const ImportSummary summary = runImport(
            database, paths, request(ImportKind::Own, dir, {"bad.dat", "good.dat"}, true));
        QCOMPARE(names(database), QStringList{"G"});
        QVERIFY(summary.replaced);
        QCOMPARE(summary.filesFailed, 1);
        QCOMPARE(summary.filesRead, 1);
        QCOMPARE(summary.messages.size(), 1);
        QCOMPARE(summary.messages.first().title, QStringLiteral("Invalid Database"));
    }

    // What the status bar shows: entries added and damaged lines skipped, over all files;
    // the .dat reader's own messages come through in order.
    void summaryCounts()
    {
        QTemporaryDir dir;
        const QByteArray damaged = pocket({"A"}) + pocketEntry("B", "x") + pocketEntry("C");
        // Version 1, two slots: "Old1" with empty fields, then the trailing empty slot.
        QByteArray v1 = "KIVO" + le32(1) + le32(2) + le32(4) + "Old1";
        for (int field = 0; field < 7; ++field)
            v1 += le32(0);
        makeFiles(dir, {{"d.kvl", damaged}, {"v1.dat", v1}});
        RomDatabase database;
        SearchPaths paths;
        ImportSummary summary =
            runImport(database, paths, request(ImportKind::Pocket, dir, {"d.kvl"}, false));
        QCOMPARE(summary.added, 2);
        QCOMPARE(summary.skipped, 1);
        QCOMPARE(summary.statusText(), QStringLiteral("2 entries added, 1 skipped"));
        summary = runImport(database, paths, request(ImportKind::Own, dir, {"v1.dat"}, false));
        QCOMPARE(summary.added, 1);
        QCOMPARE(summary.statusText(), QStringLiteral("1 entry added, 0 skipped"));
        QCOMPARE(summary.messages.size(), 1);
        QCOMPARE(summary.messages.first().text,
                 QStringLiteral("Old database format has been updated to new version"));
    }

    // The wizard repaints between files and once at the end; the file indices only grow.
    void progressBetweenFiles()
    {
        QTemporaryDir dir;
        makeFiles(dir, {{"a.kvl", pocket({"A"})}, {"b.kvl", pocket({"B"})}});
        RomDatabase database;
        SearchPaths paths;
        QList<ImportProgress> calls;
        runImport(database, paths,
                  request(ImportKind::Pocket, dir, {"a.kvl", "gone.kvl", "b.kvl"}, false),
                  [&](const ImportProgress &progress) { calls.append(progress); });
        QStringList starts;
        int lastFile = -1;
        for (const ImportProgress &progress : std::as_const(calls)) {
            QVERIFY(progress.file >= lastFile);
            QCOMPARE(progress.files, 3);
            if (progress.file != lastFile)
                starts.append(QString::number(progress.file) + ":" + progress.fileName);
            lastFile = progress.file;
        }
        QCOMPARE(starts, (QStringList{"0:a.kvl", "1:gone.kvl", "2:b.kvl", "3:"}));
    }

    void saveFirstEnabled_data()
    {
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("hasEntries");
        QTest::addColumn<bool>("enabled");
        // Merge never offers the save, so it can never empty the catalogue.
        QTest::newRow("merge") << false << true << false;
        QTest::newRow("overwrite") << true << true << true;
        QTest::newRow("overwrite, nothing to lose") << true << false << false;
    }
    void saveFirstEnabled()
    {
        QFETCH(bool, overwrite);
        QFETCH(bool, hasEntries);
        const RomDatabase database = catalogueWith(hasEntries ? QStringList{"A"} : QStringList{});
        QTEST(::saveFirstEnabled(overwrite, database), "enabled");
    }

    void saveFirst_data()
    {
        QTest::addColumn<QString>("chosen"); // relative to the temporary directory
        QTest::addColumn<bool>("proceed");
        QTest::addColumn<bool>("saved");
        // A cancelled dialog goes on with nothing saved; a failed save stops everything.
        QTest::newRow("cancelled") << "" << true << false;
        QTest::newRow("saved") << "backup.dat" << true << true;
        QTest::newRow("save fails") << "missing/backup.dat" << false << false;
    }
    void saveFirst()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, proceed);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = chosen.isEmpty() ? QString() : dir.filePath(chosen);
        RomDatabase database = catalogueWith({"A", "B"});
        database.LastDatabase = "/somewhere/current.dat";
        const SaveFirstResult result = saveBeforeOverwrite(database, path);
        QCOMPARE(result.proceed, proceed);
        QCOMPARE(result.saved, saved);
        if (saved) {
            QVERIFY(result.messages.isEmpty());
            QVERIFY(!database.HasEntries());
            QVERIFY(database.LastDatabase.isEmpty());
            RomDatabase back;
            SearchPaths paths;
            QVERIFY(LoadDatabase(back, paths, path).ok);
            QCOMPARE(names(back), (QStringList{"A", "B"}));
        } else {
            // Nothing replaced: the catalogue and its file name are as they were.
            QCOMPARE(names(database), (QStringList{"A", "B"}));
            QCOMPARE(database.LastDatabase, QStringLiteral("/somewhere/current.dat"));
            QCOMPARE(result.messages.size(), proceed ? 0 : 1);
        }
        if (!proceed)
            QCOMPARE(result.messages.first().title, QStringLiteral("Can't Save"));
    }

    // Nothing to save is no reason to stop.
    void saveFirstWithNothingToSave()
    {
        QTemporaryDir dir;
        RomDatabase database;
        const SaveFirstResult result = saveBeforeOverwrite(database, dir.filePath("x.dat"));
        QVERIFY(result.proceed);
        QVERIFY(!result.saved);
        QVERIFY(!QFile::exists(dir.filePath("x.dat")));
    }
};

QTEST_GUILESS_MAIN(TestImportWizard)
#include "tst_import_wizard.moc"
