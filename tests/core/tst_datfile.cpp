// The .dat file byte for byte: writer, both readers, the version-1 upgrade and damaged files.
#include "TestSupport.h"

#include "core/DatFile.h"
#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>

#include <sys/stat.h>

using namespace testsupport;

namespace {

// Builds a file the way the format describes it, independently of the writer.
class DatBuilder
{
public:
    DatBuilder &raw(const QByteArray &bytes)
    {
        m_bytes += bytes;
        return *this;
    }
    DatBuilder &i32(qint32 value)
    {
        char raw[4];
        qToLittleEndian(value, raw);
        m_bytes.append(raw, 4);
        return *this;
    }
    DatBuilder &str(const QByteArray &cp1252)
    {
        i32(qint32(cp1252.size()));
        m_bytes += cp1252;
        return *this;
    }
    DatBuilder &header(qint32 version, qint32 slots) { return raw("KIVO").i32(version).i32(slots); }
    // name, type, shots, year, notes, file, publisher, authors (+ audio from version 2)
    DatBuilder &record(const QByteArray &name, qint32 type, const QByteArray &shots, qint32 year,
                       const QByteArray &notes, const QByteArray &file, const QByteArray &pub,
                       const QByteArray &authors, const QByteArray *audio)
    {
        str(name).i32(type).str(shots).i32(year).str(notes).str(file).str(pub).str(authors);
        if (audio)
            str(*audio);
        return *this;
    }
    QByteArray bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

const QByteArray kNoAudio;

RomRecord sample(const QString &name)
{
    RomRecord record;
    record.RomName = name;
    record.RomType = 15;
    record.Screenshots = QStringLiteral("a.gif,b.scr");
    record.Year = 1984;
    record.Notes = QStringLiteral("line one\r\nline two – “quoted” café");
    record.RomFile = name + QStringLiteral(".tap");
    record.Publisher = QStringLiteral("Bug-Byte");
    record.Authors = QStringLiteral("M. Smith");
    record.AudioFile = QStringLiteral("theme.mp3");
    return record;
}

RomDatabase databaseOf(const QList<RomRecord> &records)
{
    RomDatabase database;
    for (const RomRecord &record : records)
        database.Add(record);
    return database;
}

// Fails after `limit` bytes, as a full disk does.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(qint64 limit)
        : m_limit(limit)
    {
        open(QIODevice::WriteOnly);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 len) override
    {
        if (m_written + len > m_limit)
            return -1;
        m_written += len;
        return len;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace

class TestDatFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A writer that drifts from the layout breaks every catalogue written on Windows.
    void writesTheDocumentedLayout()
    {
        RomDatabase database;
        database.Add(sample("Alpha"));
        RomRecord beta;
        beta.RomName = QStringLiteral("Beta");
        database.Add(beta);
        const QByteArray audio = "theme.mp3";
        const QByteArray empty;
        const QByteArray expected = DatBuilder()
                                        .header(2, 3)
                                        .record("Alpha", 15, "a.gif,b.scr", 1984,
                                                "line one\r\nline two \x96 \x93quoted\x94 caf\xE9",
                                                "Alpha.tap", "Bug-Byte", "M. Smith", &audio)
                                        .record("Beta", 0, "", 0, "", "", "", "", &empty)
                                        .bytes();
        QCOMPARE(serializeDatabase(database, 2), expected);
    }

    // Empty slots are never written, and the count is of what is written: the file reads back
    // whole, not as damaged.
    void writerSkipsEmptySlotsAndCountsWhatItWrites()
    {
        RomDatabase database;
        database.replaceSlots({sample("A"), RomRecord{}, sample("B")});
        const QByteArray bytes = serializeDatabase(database, 2);
        QCOMPARE(bytes.mid(8, 4), QByteArray("\x03\0\0\0", 4));
        RomDatabase reread;
        SearchPaths paths;
        const DatResult result = loadDatabaseBytes(reread, paths, bytes);
        QVERIFY(result.ok);
        QVERIFY(!result.damaged);
        QCOMPARE(reread.slots().size(), 3);
        QCOMPARE(reread.Get(0).RomName, QStringLiteral("A"));
        QCOMPARE(reread.Get(1).RomName, QStringLiteral("B"));
        QVERIFY(!reread.Get(2).isEntry());
    }

    void roundTripThroughAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("games.dat");
        RomDatabase database;
        database.Add(sample("Alpha"));
        database.Add(sample("Ärger € ñ"));
        QVERIFY(SaveDatabase(database, path).ok);
        RomDatabase loaded;
        SearchPaths paths;
        const DatResult result = LoadDatabase(loaded, paths, path);
        QVERIFY(result.ok);
        QVERIFY(result.messages.isEmpty());
        QCOMPARE(loaded.slots(), database.slots());
    }

    // The reader goes through a file in windows of its bytes: fields that straddle two windows
    // and a text longer than a whole window come back whole.
    void largeFileThroughTheWindow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("large.dat");
        RomDatabase database;
        for (int i = 0; i < 4000; ++i)
            database.Add(sample(QStringLiteral("Game %1").arg(i)));
        RomRecord huge = sample("Huge");
        huge.Notes = QString(300 * 1024, u'n') + QStringLiteral("end");
        database.Add(huge);
        database.Add(sample("After"));
        QVERIFY(SaveDatabase(database, path).ok);
        RomDatabase loaded;
        SearchPaths paths;
        const DatResult result = LoadDatabase(loaded, paths, path);
        QVERIFY(result.ok);
        QVERIFY(!result.damaged);
        QCOMPARE(loaded.slots(), database.slots());
    }

    void rejectedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString badMagic = "There is a problem with the database file.\r\nFile not loaded";
        const QString badVersion = "Unsupported file version\r\nFile not loaded";
        QTest::newRow("wrong magic") << DatBuilder().raw("KIVA").i32(2).i32(1).bytes() << badMagic;
        QTest::newRow("lower-case magic") << DatBuilder().raw("kivo").i32(2).bytes() << badMagic;
        QTest::newRow("empty file") << QByteArray() << badMagic;
        QTest::newRow("version 3") << DatBuilder().header(3, 1).bytes() << badVersion;
    }
    // A rejected file must leave the catalogue exactly as it was.
    void rejectedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        RomDatabase database;
        database.Add(sample("Keep"));
        const QList<RomRecord> before = database.slots();
        SearchPaths paths;
        for (auto load : {loadDatabaseBytes, mergeDatabaseBytes}) {
            const DatResult result = load(database, paths, bytes);
            QVERIFY(!result.ok);
            QCOMPARE(result.messages.size(), 1);
            QCOMPARE(
                describe(result.messages.first()),
                describe({text, "Invalid Database", MessageIcon::Critical, MessageButtons::Ok}));
            QCOMPARE(database.slots(), before);
        }
    }

    void versionZeroCarriesNoRecords()
    {
        RomDatabase database;
        SearchPaths paths;
        QVERIFY(loadDatabaseBytes(database, paths, DatBuilder().header(0, 3).bytes()).ok);
        QVERIFY(!database.HasEntries());
        QCOMPARE(database.slotCount(), 1);
    }

    // The upgrade belongs to version 1 alone, and its table to old types 0-9: a version-2 file
    // keeps its types and directories, and old type 10 is no old code.
    void upgradeBoundaries()
    {
        const QByteArray audio = "m.mp3";
        const QByteArray v2 =
            DatBuilder()
                .header(2, 2)
                .record("Two", 3, "C:\\S\\a.gif", 0, "", "C:\\Games\\x.tap", "", "", &audio)
                .bytes();
        RomDatabase database;
        SearchPaths paths;
        QVERIFY(loadDatabaseBytes(database, paths, v2).ok);
        QCOMPARE(database.Get(0).RomType, 3);
        QCOMPARE(database.Get(0).RomFile, QStringLiteral("C:\\Games\\x.tap"));
        QCOMPARE(database.Get(0).Screenshots, QStringLiteral("C:\\S\\a.gif"));
        QVERIFY(!paths[PathKind::Rom].IsListUsed());

        const QByteArray v1 = DatBuilder()
                                  .header(1, 4)
                                  .record("Nine", 9, "", 0, "", "n.tap", "", "", nullptr)
                                  .record("Ten", 10, "", 0, "", "t.tap", "", "", nullptr)
                                  .record("Minus", -1, "", 0, "", "m.tap", "", "", nullptr)
                                  .bytes();
        QVERIFY(loadDatabaseBytes(database, paths, v1).ok);
        QCOMPARE(database.Get(0).RomType, 101);
        QCOMPARE(database.Get(1).RomType, 10);
        QCOMPARE(database.Get(2).RomType, -1);
    }

    // Version 1: directories move to the search paths once, types map to the new table.
    void versionOneIsUpgraded()
    {
        const QByteArray bytes =
            DatBuilder()
                .header(1, 4)
                .record("Jetpac", 8, "C:\\Shots\\a.gif,C:\\Shots\\b.scr", 1983, "",
                        "C:\\Games\\Speccy\\jetpac.tap", "Ultimate", "", nullptr)
                .record("Pssst", 12, "", 0, "", "c:\\games\\SPECCY\\pssst.tap", "", "", nullptr)
                .record("Atic", 0, "", 0, "", "atic.tap", "", "", nullptr)
                .bytes();
        RomDatabase database;
        SearchPaths paths;
        const DatResult result = loadDatabaseBytes(database, paths, bytes);
        QVERIFY(result.ok);
        QVERIFY(result.messages.isEmpty()); // only the merge tells about the upgrade
        QCOMPARE(database.Get(0).RomFile, QStringLiteral("jetpac.tap"));
        QCOMPARE(database.Get(0).Screenshots, QStringLiteral("a.gif,b.scr"));
        QCOMPARE(database.Get(0).RomType, 94);
        QCOMPARE(database.Get(1).RomType, 12);
        QCOMPARE(database.Get(2).RomType, 15);
        QCOMPARE(database.Get(2).AudioFile, QString());
        // The bare name contributes an empty directory, as old catalogues expect.
        QCOMPARE(paths[PathKind::Rom].dirs(), (QStringList{"C:\\Games\\Speccy\\", ""}));
        QCOMPARE(paths[PathKind::Screenshot].dirs(), QStringList{"C:\\Shots\\"});
    }

    void mergeAppendsAndUpgradesOnlyTheNewRecords()
    {
        RomDatabase database;
        RomRecord old = sample("Old");
        old.RomType = 3; // must not be mapped: it was not read from the version-1 file
        old.RomFile = QStringLiteral("C:\\Keep\\old.tap");
        database.Add(old);
        SearchPaths paths;
        const QByteArray v1 = DatBuilder()
                                  .header(1, 2)
                                  .record("New", 3, "", 0, "", "D:\\new.tap", "", "", nullptr)
                                  .bytes();
        const DatResult result = mergeDatabaseBytes(database, paths, v1);
        QVERIFY(result.ok);
        QCOMPARE(result.messages.size(), 1);
        QCOMPARE(describe(result.messages.first()),
                 describe({"Old database format has been updated to new version",
                           "Information only", MessageIcon::None, MessageButtons::Ok}));
        QCOMPARE(database.EntryCount(), 2);
        QCOMPARE(database.Get(0), old);
        QCOMPARE(database.Get(1).RomType, 36);
        QCOMPARE(database.Get(1).RomFile, QStringLiteral("new.tap"));
        QCOMPARE(paths[PathKind::Rom].dirs(), QStringList{"D:\\"});
    }

    void mergeOfVersionTwoSkipsEmptySlotsAndSaysNothing()
    {
        RomDatabase source;
        source.replaceSlots({sample("A"), RomRecord{}, sample("B")});
        RomDatabase database;
        database.Add(sample("Mine"));
        SearchPaths paths;
        const DatResult result = mergeDatabaseBytes(database, paths, serializeDatabase(source, 2));
        QVERIFY(result.ok);
        QVERIFY(result.messages.isEmpty());
        QCOMPARE(database.slotCount(), 4);
        QCOMPARE(database.Get(2).RomName, QStringLiteral("B"));
    }

    // Truncation and damage: read what is there, keep the trailing empty slot, never allocate
    // more than the file could hold.
    void damagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("maxSlots");
        QTest::addColumn<bool>("damaged");
        const QByteArray audio = "m.mp3";
        const QByteArray two = DatBuilder()
                                   .header(2, 3)
                                   .record("Alpha", 1, "", 0, "", "a.tap", "", "", &audio)
                                   .record("Beta", 1, "", 0, "", "b.tap", "", "", &audio)
                                   .bytes();
        QTest::newRow("intact") << two << QStringList{"Alpha", "Beta"} << 3 << false;
        QTest::newRow("cut at a record boundary")
            << DatBuilder()
                   .header(2, 3)
                   .record("Alpha", 1, "", 0, "", "a.tap", "", "", &audio)
                   .bytes()
            << QStringList{"Alpha"} << 2 << true;
        QTest::newRow("cut inside the second record")
            << two.left(two.size() - 12) << QStringList{"Alpha", "Beta"} << 3 << true;
        QTest::newRow("cut inside the first name")
            << two.left(18) << QStringList{"Al"} << 2 << true;
        QTest::newRow("header only") << two.left(12) << QStringList{} << 1 << true;
        QTest::newRow("garbage after the records")
            << two + QByteArray("junk") << QStringList{"Alpha", "Beta"} << 3 << true;
        QTest::newRow("one record more than counted")
            << DatBuilder()
                   .header(2, 2)
                   .record("Alpha", 1, "", 0, "", "", "", "", &audio)
                   .record("Beta", 1, "", 0, "", "", "", "", &audio)
                   .bytes()
            << QStringList{"Alpha", "Beta"} << 3 << true;
        QTest::newRow("slot count of two billion")
            << DatBuilder()
                   .header(2, 2000000000)
                   .record("Alpha", 1, "", 0, "", "", "", "", &audio)
                   .bytes()
            << QStringList{"Alpha"} << 2 << true;
        QTest::newRow("negative slot count")
            << DatBuilder().header(2, -5).bytes() << QStringList{} << 1 << true;
        QTest::newRow("negative string length")
            << DatBuilder().header(2, 2).i32(-7).i32(1).bytes() << QStringList{} << 1 << true;
        QTest::newRow("string length of two billion")
            << DatBuilder().header(2, 2).i32(2000000000).raw("Name").bytes() << QStringList{"Name"}
            << 2 << true;
        // A damaged slot 0 must not hide the entries after it: Save and the shutdown question
        // look at slot 0.
        QTest::newRow("unnamed first record")
            << DatBuilder()
                   .header(2, 3)
                   .record("", 1, "", 0, "", "lost.tap", "", "", &audio)
                   .record("Beta", 1, "", 0, "", "b.tap", "", "", &audio)
                   .bytes()
            << QStringList{"Beta"} << 2 << false;
    }
    void damagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, entries);
        QFETCH(int, maxSlots);
        QFETCH(bool, damaged);
        RomDatabase database;
        SearchPaths paths;
        const DatResult result = loadDatabaseBytes(database, paths, bytes);
        QVERIFY(result.ok);
        QCOMPARE(result.damaged, damaged);
        QCOMPARE(result.entriesRead, entries.size());
        QStringList loaded;
        for (const RomRecord &record : database.slots())
            loaded.append(record.RomName);
        QCOMPARE(loaded, entries + QStringList{QString()}); // entries first, one empty slot last
        QVERIFY(database.slotCount() <= maxSlots);
        QCOMPARE(database.HasEntries(), !entries.isEmpty());

        RomDatabase merged;
        merged.Add(sample("Mine"));
        QCOMPARE(mergeDatabaseBytes(merged, paths, bytes).damaged, damaged);
        QCOMPARE(merged.EntryCount(), 1 + entries.size());
    }

    // Read from a file, a damaged catalogue says so once, with the path; an unreadable file or
    // a FIFO (whose read would never return) is rejected with the system's reason.
    void damagedOrUnreadableFiles()
    {
        QTemporaryDir dir;
        RomDatabase database;
        database.Add(sample("Alpha"));
        database.Add(sample("Beta"));
        RomDatabase first;
        first.Add(sample("Alpha"));
        const QString cut = dir.filePath("cut.dat");
        writeFile(cut, serializeDatabase(database, 2).left(serializeDatabase(first, 2).size()));
        RomDatabase loaded;
        SearchPaths paths;
        DatResult result = LoadDatabase(loaded, paths, cut);
        QVERIFY(result.ok);
        QCOMPARE(result.messages.size(), 1);
        QCOMPARE(describe(result.messages.first()),
                 describe({"The database file is damaged: 1 entries could be read.\r\n" + cut,
                           "Invalid Database", MessageIcon::Information, MessageButtons::Ok}));

        const QString fifo = dir.filePath("pipe.dat");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &path : {fifo, dir.path(), dir.filePath("missing.dat")}) {
            result = LoadDatabase(loaded, paths, path);
            QVERIFY(!result.ok);
            QCOMPARE(result.messages.size(), 1);
            QCOMPARE(result.messages.first().title, QStringLiteral("Invalid Database"));
            QVERIFY(result.messages.first().text.startsWith(
                "Unable to open the database file.\r\n" + path + "\r\n"));
            QCOMPARE(loaded.EntryCount(), 1); // the catalogue in memory is untouched
            QVERIFY(!MergeDatabase(loaded, paths, path).ok);
        }
    }

    // Random damage anywhere in a real file: loading and merging never crash, never leave the
    // catalogue without its trailing empty slot and never build more slots than the file holds.
    void randomlyDamagedFilesLoad()
    {
        RomDatabase original;
        for (int i = 0; i < 20; ++i)
            original.Add(sample(QStringLiteral("Game %1").arg(i)));
        const QByteArray intact = serializeDatabase(original, 2);
        QRandomGenerator random(1984);
        for (int round = 0; round < 2000; ++round) {
            QByteArray damaged = intact.left(random.bounded(intact.size() + 1));
            for (int hits = random.bounded(1, 6); hits > 0 && !damaged.isEmpty(); --hits)
                damaged[random.bounded(damaged.size())] = char(random.bounded(256));
            damaged.replace(0, 4, "KIVO");
            RomDatabase database;
            SearchPaths paths;
            loadDatabaseBytes(database, paths, damaged);
            QVERIFY(!database.slots().last().isEntry());
            for (int slot = 0; slot + 1 < database.slotCount(); ++slot)
                QVERIFY(database.Get(slot).isEntry());
            QVERIFY(database.slotCount() <= damaged.size() / 32 + 2);
            mergeDatabaseBytes(database, paths, damaged);
            QVERIFY(!database.slots().last().isEntry());
        }
    }

    void savingAnEmptyCatalogueWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.dat");
        writeFile(path, "previous");
        const DatResult result = SaveDatabase(RomDatabase{}, path);
        QVERIFY(!result.ok);
        QCOMPARE(describe(result.messages.value(0)),
                 describe({"No data to save", "Kivo", MessageIcon::None, MessageButtons::Ok}));
        QCOMPARE(readFile(path), QByteArray("previous"));
    }

    // A write that fails halfway must not cost the user the catalogue already on disk.
    void failedWriteKeepsTheOldFile()
    {
        RomDatabase database;
        for (int i = 0; i < 50; ++i)
            database.Add(sample(QStringLiteral("Game %1").arg(i)));
        FailingDevice device(100);
        QVERIFY(!writeDatabase(device, database, 2));

        QTemporaryDir dir;
        const QString path = dir.filePath("games.dat");
        writeFile(path, "the old catalogue");
        const WriteResult failed = writeFileSafely(path, [&](QIODevice &out) {
            out.write(serializeDatabase(database, 2).left(100));
            return false;
        });
        QVERIFY(!failed.ok);
        QCOMPARE(readFile(path), QByteArray("the old catalogue"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"games.dat"});

        const QString unwritable = dir.filePath("missing-dir/games.dat");
        const DatResult result = SaveDatabase(database, unwritable);
        QVERIFY(!result.ok);
        QCOMPARE(result.messages.size(), 1);
        const Message &message = result.messages.first();
        QCOMPARE(message.title, QStringLiteral("Can't Save"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        QVERIFY(
            message.text.startsWith("Unable to save the database file.\r\n" + unwritable + "\r\n"));
    }

    // Going through a file entry by entry gives exactly what loading and merging give: the same
    // entries, the same upgraded search paths, the same messages, the same count.
    void streamedReadingGivesWhatLoadingGives()
    {
        QTemporaryDir dir;
        const QString v1 = dir.filePath("v1.dat");
        writeFile(v1, DatBuilder()
                          .header(1, 4)
                          .record("Old", 2, "C:\\S\\a.scr,b.gif", 0, "", "C:\\G\\old.tap", "", "",
                                  nullptr)
                          .record("", 0, "", 0, "", "", "", "", nullptr)
                          .record("Two", 0, "", 0, "", "D:\\two.tap", "", "", nullptr)
                          .bytes());
        const QString damaged = dir.filePath("damaged.dat");
        QByteArray whole = serializeDatabase(databaseOf({sample("A"), sample("B")}), 2);
        writeFile(damaged, whole.left(whole.size() - 3));

        for (const QString &path : {v1, damaged}) {
            RomDatabase loaded;
            SearchPaths loadedPaths;
            const DatResult load = LoadDatabase(loaded, loadedPaths, path);
            const DatResult merge = MergeDatabase(loaded, loadedPaths, path);

            QList<RomRecord> streamed;
            SearchPaths streamedPaths;
            const auto collect = [&](const RomRecord &record) { streamed.append(record); };
            const DatResult first =
                readDatabaseEntries(path, streamedPaths, DatReading::Load, collect);
            const DatResult second =
                readDatabaseEntries(path, streamedPaths, DatReading::Merge, collect);

            QCOMPARE(streamed, loaded.slots().first(loaded.EntryCount()));
            for (PathKind kind : {PathKind::Rom, PathKind::Screenshot, PathKind::Music})
                QCOMPARE(streamedPaths[kind].dirs(), loadedPaths[kind].dirs());
            QCOMPARE(first.messages, load.messages);
            QCOMPARE(second.messages, merge.messages);
            QCOMPARE(first.entriesRead, load.entriesRead);
            QCOMPARE(first.damaged, load.damaged);
            QCOMPARE(countDatabaseEntries(path).entriesRead, load.entriesRead);
        }
        QVERIFY(!countDatabaseEntries(dir.filePath("missing.dat")).ok);
    }

    // Saving entries as they come writes the same bytes as saving the catalogue; a save that
    // is abandoned, has nothing to save or cannot be written leaves the old file alone.
    void streamedSaving()
    {
        QTemporaryDir dir;
        const RomDatabase database = databaseOf({sample("A"), RomRecord{}, sample("B")});
        const auto everyEntry = [&](const EntrySink &sink) {
            for (const RomRecord &record : database.slots()) {
                if (!sink(record))
                    return false;
            }
            return true;
        };
        const QString path = dir.filePath("streamed.dat");
        QVERIFY(SaveDatabaseEntries(path, everyEntry).ok);
        QCOMPARE(readFile(path), serializeDatabase(database, 2));

        const QByteArray before = readFile(path);
        const DatResult abandoned = SaveDatabaseEntries(path, [&](const EntrySink &sink) {
            sink(sample("C"));
            return false;
        });
        QVERIFY(!abandoned.ok);
        QVERIFY(abandoned.messages.isEmpty()); // the producer says why
        const DatResult nothing = SaveDatabaseEntries(path, [&](const EntrySink &sink) {
            sink(RomRecord{});
            return true;
        });
        QVERIFY(!nothing.ok);
        QCOMPARE(nothing.messages.value(0).text, QStringLiteral("No data to save"));
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"streamed.dat"});

        const DatResult unwritable =
            SaveDatabaseEntries(dir.filePath("no/such/dir/x.dat"), everyEntry);
        QVERIFY(!unwritable.ok);
        QCOMPARE(unwritable.messages.value(0).title, QStringLiteral("Can't Save"));
    }

    // The command-line tool is the scriptable face of the same reader and writer.
    void cliDumpAndWrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("cli.dat");
        const QByteArray json = R"({"entries": [{"RomName": "Manic", "RomType": 15, "Year": 1983,
            "Notes": "a\r\nb", "RomFile": "manic.tap", "Publisher": "Bug-Byte"}]})";
        CliRun run = runCli({"write", path}, json);
        QCOMPARE(run.exitCode, 0);
        RomDatabase database;
        SearchPaths paths;
        QVERIFY(LoadDatabase(database, paths, path).ok);
        QCOMPARE(database.Get(0).Notes, QStringLiteral("a\r\nb"));

        const QString v1 = dir.filePath("v1.dat");
        writeFile(v1, DatBuilder()
                          .header(1, 2)
                          .record("Old", 0, "", 0, "", "C:\\G\\old.tap", "", "", nullptr)
                          .bytes());
        run = runCli({"dump", path, "--merge", v1});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject dump = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(dump["slots"].toInt(), 3);
        QCOMPARE(dump["entries"].toArray().size(), 2);
        QCOMPARE(dump["entries"][1]["slot"].toInt(), 1);
        QCOMPARE(dump["entries"][1]["RomFile"].toString(), QStringLiteral("old.tap"));
        QCOMPARE(dump["entries"][0]["Year"].toInt(), 1983);
        QCOMPARE(dump["RomPaths"].toArray(), QJsonArray{"C:\\G\\"});
        QCOMPARE(dump["MusicPaths"].toArray(), QJsonArray{});
        QCOMPARE(
            run.err,
            QByteArray("Information only: Old database format has been updated to new version\n"));

        const QString bad = dir.filePath("bad.dat");
        writeFile(bad, "NOPE");
        run = runCli({"dump", bad});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith("Invalid Database: There is a problem with the database file."));
        QCOMPARE(runCli({"dump"}).exitCode, 2);
    }
};

QTEST_GUILESS_MAIN(TestDatFile)
#include "tst_datfile.moc"
