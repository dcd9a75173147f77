// Scan Folder over trees built here: which source names each field, parts of one program made
// one entry, copies and clashes, what the walk passes over, DAT matches through an archive's
// own CRC-32, kept screens, Cancel, the merge, and kivo-cli scan.
#include "../tape/TapeImages.h"
#include "ArchiveMaker.h"
#include "TestSupport.h"

#include "core/DatFile.h"
#include "scan/CollectionScan.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tapeimages;
using testsupport::touch;

namespace {

quint32 crcOf(const QByteArray &bytes)
{
    return quint32(
        crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
}

// A TZX whose archive-info block gives title, publisher, two authors and a year.
QByteArray tzxWithCard(const QByteArray &title, const QByteArray &publisher, const QByteArray &year)
{
    QList<std::pair<int, QByteArray>> texts;
    if (!title.isEmpty())
        texts.append({0x00, title});
    if (!publisher.isEmpty())
        texts.append({0x01, publisher});
    texts.append({0x02, "A. Coder\rB. Artist"});
    if (!year.isEmpty())
        texts.append({0x03, year});
    QByteArray rest(1, char(texts.size()));
    for (const auto &[type, text] : texts)
        rest += char(type) + QByteArray(1, char(text.size())) + text;
    return tzx({QByteArray(1, 0x32) + le(rest.size(), 2) + rest, standard(header(0, "prog", 2, 0)),
                standard(data("ab"))});
}

// A tape whose second block is a screen its header announces.
QByteArray tapWithScreen(char fill)
{
    return tap({header(3, "screen", 6912, 16384), data(QByteArray(6912, fill))});
}

QString datOf(const QList<std::tuple<QString, qint64, quint32>> &games)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<datafile>\n");
    for (const auto &[name, size, crc] : games)
        xml += QStringLiteral("<game name=\"%1\"><rom name=\"r\" size=\"%2\" crc=\"%3\"/></game>\n")
                   .arg(name.toHtmlEscaped())
                   .arg(size)
                   .arg(crc, 8, 16, QLatin1Char('0'));
    return xml + QStringLiteral("</datafile>\n");
}

ScanResult scan(const QString &directory, const QStringList &dats = {},
                const QSet<QString> &known = {})
{
    ScanRequest request;
    request.directory = directory;
    request.datFiles = dats;
    request.catalogueFiles = known;
    return scanCollection(request);
}

RomRecord entry(const QString &name, const QString &file)
{
    RomRecord record;
    record.RomName = name;
    record.RomFile = file;
    return record;
}

QStringList romFiles(const ScanResult &result)
{
    QStringList names;
    for (const RomRecord &record : result.entries)
        names.append(record.RomFile);
    return names;
}

} // namespace

class TestCollectionScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each field comes from the first source that has it: DAT, then the tape's card, then the
    // file name read as TOSEC, then the bare name; a DAT finds a renamed file by its contents.
    void namesFields_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("datGame"); // empty: no DAT knows the file
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("publisher");
        QTest::addColumn<QString>("authors");
        const QByteArray carded = tzxWithCard("Card Title", "Card Soft", "1990");
        const QString tosec = QStringLiteral("Name Title (1985)(Name Soft).tzx");
        QTest::newRow("dat over card over name") << tosec << carded << "Dat Title (1984)(Dat Soft)"
                                                 << "Dat Title" << 1984 << "Dat Soft"
                                                 << "A. Coder, B. Artist";
        QTest::newRow("dat without year or publisher") << tosec << carded << "Dat Title (198x)(-)"
                                                       << "Dat Title" << 1990 << "Card Soft"
                                                       << "A. Coder, B. Artist";
        QTest::newRow("dat name not tosec") << tosec << carded << "Just A Game"
                                            << "Just A Game" << 1990 << "Card Soft"
                                            << "A. Coder, B. Artist";
        QTest::newRow("card over name") << tosec << carded << ""
                                        << "Card Title" << 1990 << "Card Soft"
                                        << "A. Coder, B. Artist";
        QTest::newRow("card with authors only") << tosec << tzxWithCard("", "", "") << ""
                                                << "Name Title" << 1985 << "Name Soft"
                                                << "A. Coder, B. Artist";
        QTest::newRow("card of a tap is never read")
            << "Name Title (1985)(Name Soft).tap" << tap({header(0, "Loader", 2, 0)}) << ""
            << "Name Title" << 1985 << "Name Soft"
            << "";
        QTest::newRow("renamed file found by the dat")
            << "x1.z80" << QByteArray(300, 'z') << "Jetpac (1983)(Ultimate)"
            << "Jetpac" << 1983 << "Ultimate"
            << "";
        QTest::newRow("bare name") << "Manic Miner.TAP" << QByteArray("tape") << ""
                                   << "Manic Miner" << 0 << ""
                                   << "";
    }
    void namesFields()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, datGame);
        QTemporaryDir dir;
        touch(dir.filePath("roms/" + file), bytes);
        QStringList dats;
        if (!datGame.isEmpty()) {
            dats.append(dir.filePath("games.dat"));
            touch(dats.last(), datOf({{datGame, bytes.size(), crcOf(bytes)},
                                      {"Decoy (1999)(X)", bytes.size(), crcOf(bytes) ^ 1}})
                                   .toUtf8());
        }
        const ScanResult result = scan(dir.filePath("roms"), dats);
        QVERIFY(result.messages.isEmpty());
        QCOMPARE(result.entries.size(), 1);
        const RomRecord &record = result.entries.first();
        QTEST(record.RomName, "name");
        QTEST(int(record.Year), "year");
        QTEST(record.Publisher, "publisher");
        QTEST(record.Authors, "authors");
        QCOMPARE(record.RomFile, file);
        QCOMPARE(record.RomType, 15);
        QCOMPARE(record.Notes, QString());
        QCOMPARE(result.directories, QStringList{QDir(dir.filePath("roms")).absolutePath() + '/'});
    }

    // Parts differing only in their media group make one entry, named after the first part,
    // the others listed in order; anything else that differs keeps them apart.
    void groupsParts()
    {
        QTemporaryDir dir;
        const QStringList files = {
            "Lords (1984)(Beyond)(Part 10 of 10).tap", "Lords (1984)(Beyond)(Part 2 of 10).tap",
            "Lords (1984)(Beyond)(Part 1 of 10).tap",  "Elite (1985)(Firebird)(Side B).tzx",
            "Elite (1985)(Firebird)(Side A).tzx",      "Elite (1985)(Other)(Side A).tzx",
            "Elite (1985)(Firebird)(Side B)[a].tzx",   "sub/Elite (1985)(Firebird)(Side C).tzx",
            "Elite (1985)(Firebird)(Side A).tap",
        };
        for (qsizetype i = 0; i < files.size(); ++i)
            touch(dir.filePath(files.at(i)), QByteArray(10 + i, 'p'));
        const ScanResult result = scan(dir.path());
        QCOMPARE(
            romFiles(result),
            QStringList({"Elite (1985)(Firebird)(Side A).tap", "Elite (1985)(Firebird)(Side A).tzx",
                         "Elite (1985)(Firebird)(Side B)[a].tzx", "Elite (1985)(Other)(Side A).tzx",
                         "Lords (1984)(Beyond)(Part 1 of 10).tap",
                         "Elite (1985)(Firebird)(Side C).tzx"}));
        QCOMPARE(result.entries.at(0).Notes, QString());
        QCOMPARE(result.entries.at(1).Notes, "Also: Elite (1985)(Firebird)(Side B).tzx");
        QCOMPARE(result.entries.at(2).Notes, QString());
        QCOMPARE(result.entries.at(4).Notes, "Also: Lords (1984)(Beyond)(Part 2 of 10).tap\r\n"
                                             "Lords (1984)(Beyond)(Part 10 of 10).tap");
        QCOMPARE(result.entries.at(4).RomName, "Lords");
        QCOMPARE(result.counts.added, 6);
    }

    // One name, one entry: the catalogue finds files by bare name through the rom paths.
    void keepsOneFilePerName()
    {
        QTemporaryDir dir;
        touch(dir.filePath("a/game.tap"), "same");
        touch(dir.filePath("b/GAME.TAP"), "same");
        touch(dir.filePath("c/Game.tap"), "other");
        touch(dir.filePath("c/known.tap"), "k");
        touch(dir.filePath("d/Side (1985)(X)(Side B).tap"), "b");
        touch(dir.filePath("d/Side (1985)(X)(Side A).tap"), "a");
        const ScanResult result =
            scan(dir.path(), {},
                 {"known.tap", QStringLiteral("Side (1985)(X)(Side B).tap").toCaseFolded()});
        QCOMPARE(romFiles(result), QStringList{"game.tap"});
        QCOMPARE(
            result.counts,
            (ScanCounts{.added = 1, .inCatalogue = 2, .copies = 1, .clashes = 1, .skipped = 0}));
        QCOMPARE(result.clashPaths, QStringList{QDir(dir.filePath("c/Game.tap")).absolutePath()});
        QCOMPARE(result.directories, QStringList{QDir(dir.filePath("a")).absolutePath() + '/'});
    }

    // What the walk cannot or must not read is passed over, and the walk goes on.
    void passesOverUnreadable_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("skipped");
        QTest::newRow("directory link loop") << "loop" << 0;
        QTest::newRow("fifo") << "fifo" << 1;
        QTest::newRow("empty file") << "empty" << 1;
        QTest::newRow("broken link") << "broken" << 1;
        QTest::newRow("unreadable folder") << "locked" << 1;
        QTest::newRow("damaged archive") << "badzip" << 1;
        QTest::newRow("archive of no rom") << "textzip" << 0;
        QTest::newRow("hidden file") << "hidden" << 0;
    }
    void passesOverUnreadable()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        touch(dir.filePath("a/good.tap"), "good");
        QDir().mkpath(dir.filePath("a/b"));
        const QByteArray target = dir.filePath("a/b/x.tap").toLocal8Bit();
        if (kind == "loop") {
            QVERIFY(QFile::link(dir.filePath("a"), dir.filePath("a/b/loop")));
        } else if (kind == "fifo") {
            QCOMPARE(mkfifo(target.constData(), 0600), 0);
        } else if (kind == "empty") {
            touch(target, {});
        } else if (kind == "broken") {
            QVERIFY(QFile::link(dir.filePath("none.tap"), target));
        } else if (kind == "locked") {
            if (geteuid() == 0)
                QSKIP("root reads a folder whatever its permissions");
            touch(target, "x");
            QVERIFY(QFile::setPermissions(dir.filePath("a/b"), {}));
        } else if (kind == "badzip") {
            touch(dir.filePath("a/b/x.zip"), "PK not really");
        } else if (kind == "textzip") {
            touch(dir.filePath("a/b/x.zip"), testsupport::makeZip("readme.txt", "hello"));
        } else if (kind == "hidden") {
            touch(dir.filePath("a/b/.x.tap"), "x");
        }
        const ScanResult result = scan(dir.path());
        QFile::setPermissions(dir.filePath("a/b"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(romFiles(result), QStringList{"good.tap"});
        QTEST(result.counts.skipped, "skipped");
    }

    // Without subfolders only the folder itself is read.
    void readsFlat()
    {
        QTemporaryDir dir;
        touch(dir.filePath("top.sna"), "t");
        touch(dir.filePath("deep/down.z80"), "d");
        ScanRequest request;
        request.directory = dir.path();
        request.subfolders = false;
        QCOMPARE(romFiles(scanCollection(request)), QStringList{"top.sna"});
        request.subfolders = true;
        QCOMPARE(romFiles(scanCollection(request)), (QStringList{"top.sna", "down.z80"}));
    }

    // An archive's Spectrum member is matched by the CRC-32 its directory declares; the entry's
    // file is the archive. A second archive of the same name and member is a copy.
    void matchesArchiveMembers()
    {
        QTemporaryDir dir;
        const QByteArray member = QByteArray(2000, 's');
        touch(dir.filePath("z/renamed.zip"),
              testsupport::makeZip({{"docs/info.txt", "t"}, {"game.SNA", member}}));
        touch(dir.filePath("z/y/RENAMED.ZIP"), testsupport::makeZip("x.sna", member));
        touch(dir.filePath("z/card.tzx.zip"),
              testsupport::makeZip("card.tzx", tzxWithCard("Zipped Card", "Zip Soft", "1986")));
        touch(dir.filePath("games.dat"),
              datOf({{"Zipped Game (1987)(Zip Soft)", member.size(), crcOf(member)}}).toUtf8());
        const ScanResult result = scan(dir.filePath("z"), {dir.filePath("games.dat")});
        QCOMPARE(romFiles(result), (QStringList{"card.tzx.zip", "renamed.zip"}));
        QCOMPARE(result.entries.at(0).RomName, "Zipped Card");
        QCOMPARE(result.entries.at(0).Year, 1986);
        QCOMPARE(result.entries.at(1).RomName, "Zipped Game");
        QCOMPARE(result.entries.at(1).Year, 1987);
        QCOMPARE(result.counts.copies, 1);
    }

    void reportsBadDat()
    {
        QTemporaryDir dir;
        touch(dir.filePath("roms/a.tap"), "a");
        touch(dir.filePath("bad.dat"), "<datafile><game name=\"x\">\n</datafile>");
        const ScanResult result = scan(dir.filePath("roms"), {dir.filePath("bad.dat")});
        QCOMPARE(result.messages.size(), 1);
        QCOMPARE(result.messages.first().text, "Not a DAT file: " + dir.filePath("bad.dat") +
                                                   ": Opening and ending tag mismatch. at line 2");
        QCOMPARE(romFiles(result), QStringList{"a.tap"});
    }

    // Screens are kept for new entries only, never over an existing file, and listed.
    void keepsScreens()
    {
        QTemporaryDir dir;
        touch(dir.filePath("roms/Great Escape, The.tap"), tapWithScreen('\x11'));
        touch(dir.filePath("roms/known.tap"), tapWithScreen('\x22'));
        touch(dir.filePath("roms/none.tap"), tap({header(0, "prog", 2, 0), data("ab")}));
        touch(dir.filePath("shots/Great Escape  The.scr"), "taken");
        ScanRequest request;
        request.directory = dir.filePath("roms");
        request.screensDirectory = dir.filePath("shots");
        request.catalogueFiles = {"known.tap"};
        const ScanResult result = scanCollection(request);
        QCOMPARE(romFiles(result), (QStringList{"Great Escape, The.tap", "none.tap"}));
        QCOMPARE(result.entries.at(0).Screenshots, "Great Escape  The (2).scr");
        QCOMPARE(result.entries.at(1).Screenshots, QString());
        QCOMPARE(testsupport::readFile(dir.filePath("shots/Great Escape  The (2).scr")),
                 QByteArray(6912, '\x11'));
        QCOMPARE(QDir(dir.filePath("shots")).entryList(QDir::Files).size(), 2);

        RomDatabase database;
        SearchPaths paths;
        QCOMPARE(mergeScanResult(database, paths, result), 2);
        QCOMPARE(paths[PathKind::Screenshot].usedDirs(), QStringList{dir.filePath("shots") + '/'});
        QCOMPARE(paths[PathKind::Rom].usedDirs(),
                 QStringList{QDir(dir.filePath("roms")).absolutePath() + '/'});
    }

    // Cancel leaves nothing to add and writes no screen, also when it comes after the walk.
    void cancelsWithoutTrace()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 20; ++i)
            touch(dir.filePath(QStringLiteral("roms/%1/g%1.tap").arg(i)), tapWithScreen(char(i)));
        std::atomic<bool> cancel = false;
        ScanRequest request;
        request.directory = dir.filePath("roms");
        request.screensDirectory = dir.filePath("shots");
        qint64 calls = 0;
        // Set from the progress callback, at the latest by the report at the walk's end.
        const ScanResult result = scanCollection(
            request,
            [&](const ScanProgress &progress) {
                ++calls;
                QVERIFY(progress.filesSeen >= progress.entriesFound);
                cancel = true;
            },
            &cancel);
        QVERIFY(calls >= 1);
        QVERIFY(result.cancelled);
        QVERIFY(result.entries.isEmpty());
        RomDatabase database;
        database.Add(entry("Kept", "kept.tap"));
        const QList<RomRecord> before = database.slots();
        SearchPaths paths;
        QCOMPARE(mergeScanResult(database, paths, result), 0);
        QCOMPARE(database.slots(), before);
        QVERIFY(!paths[PathKind::Rom].IsListUsed());
        QVERIFY(QDir(dir.filePath("shots")).isEmpty());
    }

    // The merge passes over an entry whose file became an entry during the scan.
    void mergesOnce()
    {
        QTemporaryDir dir;
        touch(dir.filePath("a.tap"), "a");
        touch(dir.filePath("b.tap"), "b");
        const ScanResult result = scan(dir.path());
        RomDatabase database;
        database.Add(entry("B", "B.TAP"));
        SearchPaths paths;
        QCOMPARE(mergeScanResult(database, paths, result), 1);
        QCOMPARE(database.EntryCount(), 2);
        QCOMPARE(database.Get(1).RomFile, "a.tap");
        QCOMPARE(mergeScanResult(database, paths, result), 0);
        QCOMPARE(paths[PathKind::Rom].usedDirs().size(), 1);
    }

    void scansFromTheCommandLine()
    {
        QTemporaryDir dir;
        touch(dir.filePath("roms/Jetpac (1983)(Ultimate).tap"), "j");
        touch(dir.filePath("roms/x/jetpac (1983)(ultimate).TAP"), "other");
        const QString into = dir.filePath("new.dat");
        testsupport::CliRun run =
            testsupport::runCli({"scan", dir.filePath("roms"), "--into", into});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("Scan Folder: 1 entries added, 0 already in the catalogue, 0 "
                                  "copies, 1 clashes, 0 skipped"),
                 run.err.constData());
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(json["entries"].toArray().size(), 1);
        QCOMPARE(json["entries"][0]["RomName"].toString(), "Jetpac");
        QCOMPARE(json["RomPaths"].toArray().size(), 1);
        QCOMPARE(json["skipped"]["clashes"].toInt(), 1);
        QCOMPARE(json["skipped"]["clashPaths"][0].toString(),
                 QDir(dir.filePath("roms/x/jetpac (1983)(ultimate).TAP")).absolutePath());

        RomDatabase saved;
        SearchPaths paths;
        QVERIFY(LoadDatabase(saved, paths, into).ok);
        QCOMPARE(saved.EntryCount(), 1);
        // A second run finds it in the catalogue and adds nothing.
        run = testsupport::runCli({"scan", dir.filePath("roms"), "--into", into, "--flat"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(run.out)["skipped"]["inCatalogue"].toInt(), 1);
        QVERIFY(LoadDatabase(saved, paths, into).ok);
        QCOMPARE(saved.EntryCount(), 1);

        // A damaged catalogue is not saved over.
        const QByteArray damaged = testsupport::readFile(into).chopped(3);
        testsupport::writeFile(into, damaged);
        QCOMPARE(testsupport::runCli({"scan", dir.filePath("roms"), "--into", into}).exitCode, 1);
        QCOMPARE(testsupport::readFile(into), damaged);

        QCOMPARE(testsupport::runCli({"scan"}).exitCode, 2);
        QCOMPARE(testsupport::runCli({"scan", dir.path(), "--bogus"}).exitCode, 2);
        QCOMPARE(testsupport::runCli({"scan", dir.filePath("none")}).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(TestCollectionScan)
#include "tst_collection_scan.moc"
