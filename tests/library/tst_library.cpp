// The library beside the catalogue: keys, the changes and what they add up to, its file through
// New, Load, Save as, damage, a newer Kivo, a second window, failing writes and a killed writer.
#include "library/Library.h"
#include "library/LibraryKeyCache.h"

#include "TestSupport.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <functional>

using namespace testsupport;

// One write call, given a session left open.
using Step = std::function<LibraryWrite(Library &, qint64)>;
Q_DECLARE_METATYPE(Step)

namespace {

constexpr qint64 kStart = 1700000000; // 2023-11-14T22:13:20Z

LibraryKey file(const QString &name)
{
    return LibraryKey::romFile(name);
}

// A folder of catalogues, their libraries, and SQL run on them as another program would.
class Shelf
{
public:
    QString catalogue(const QString &name = "games") const
    {
        return m_dir.filePath(name + QStringLiteral(".dat"));
    }
    QString library(const QString &name = "games") const
    {
        return Library::pathFor(catalogue(name));
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }
    std::optional<Message> open(Library &library, const QString &name = "games",
                                Library::Access access = Library::Access::ReadWrite) const
    {
        touch(catalogue(name));
        return library.open(catalogue(name), access);
    }
    void sql(const QString &name, const QStringList &statements) const
    {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "raw");
            db.setDatabaseName(library(name));
            QVERIFY(db.open());
            for (const QString &statement : statements) {
                QSqlQuery query(db);
                QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
            }
        }
        QSqlDatabase::removeDatabase("raw");
    }
    // The same rows every time: a favourite, tags, a played entry and a run choice.
    void fill(Library &library) const
    {
        QVERIFY(library.setFavourite(file("manic.tap"), true).ok);
        QVERIFY(library.setTags(file("jetpac.tap"), {"arcade", "shooter"}).ok);
        QVERIFY(library.recordEnd(library.recordStart(file("atic.tzx"), kStart).session, 120).ok);
        QVERIFY(library.setRunChoice(file("knight.z80"), {"Fuse", "128K", "--no-sound"}).ok);
    }

private:
    QTemporaryDir m_dir;
};

// Every write call; `newer`, when given, adds that column.
void addWriteCalls(const QString &prefix, int newer = -1)
{
    const QList<std::pair<const char *, Step>> calls = {
        {"setFavourite", [](Library &l, qint64) { return l.setFavourite(file("atic.tzx"), true); }},
        {"setTags", [](Library &l, qint64) { return l.setTags(file("manic.tap"), {"new"}); }},
        {"addTag", [](Library &l, qint64) { return l.addTag(file("jetpac.tap"), "maze"); }},
        {"removeTag", [](Library &l, qint64) { return l.removeTag(file("jetpac.tap"), "arcade"); }},
        {"setRunChoice",
         [](Library &l, qint64) {
             return l.setRunChoice(file("manic.tap"), {"Fuse", "", ""});
         }},
        {"recordStart", [](Library &l, qint64) { return l.recordStart(file("manic.tap"), 1); }},
        {"recordEnd", [](Library &l, qint64 session) { return l.recordEnd(session, 600); }},
        {"renameKey",
         [](Library &l, qint64) { return l.renameKey(file("atic.tzx"), file("atic2.tzx")); }},
        {"renameKey onto a row",
         [](Library &l, qint64) { return l.renameKey(file("atic.tzx"), file("manic.tap")); }},
        {"mergeFrom",
         [](Library &l, qint64) {
             Library other;
             other.setFavourite(file("new.tap"), true);
             other.recordStart(file("manic.tap"), 1);
             return l.mergeFrom(other);
         }},
    };
    for (const auto &[name, step] : calls) {
        QTestData &row = QTest::newRow(qPrintable(prefix + QLatin1String(name))) << step;
        if (newer >= 0)
            row << (newer == 1);
    }
}

QByteArray contents(const Shelf &shelf)
{
    return readFile(shelf.library()) + "|" + readFile(shelf.library() + "-wal");
}

} // namespace

class tst_Library : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches an ASCII-only match (SQLite's NOCASE), a directory kept in the key, the two kinds
    // of key taken for one, and a spelling lost on the way to the file.
    void keysWithoutRegardToCase_data()
    {
        QTest::addColumn<LibraryKey>("stored");
        QTest::addColumn<LibraryKey>("looked");
        QTest::addColumn<bool>("same");
        QTest::newRow("ascii") << file("MANIC.TAP") << file("manic.tap") << true;
        QTest::newRow("accented") << file("ÉLITE.TZX") << file("élite.tzx") << true;
        QTest::newRow("cyrillic") << file("ИГРА.TAP") << file("игра.tap") << true;
        QTest::newRow("directory") << file("C:\\GAMES\\Manic.tap") << file("/x/MANIC.TAP") << true;
        QTest::newRow("other file") << file("manic.tap") << file("manic.tzx") << false;
        QTest::newRow("name") << LibraryKey::name("Jet Pac") << LibraryKey::name("JET PAC") << true;
        QTest::newRow("name, not file") << LibraryKey::name("Jet Pac") << file("jet pac") << false;
    }
    void keysWithoutRegardToCase()
    {
        QFETCH(LibraryKey, stored);
        QFETCH(LibraryKey, looked);
        QFETCH(bool, same);
        Shelf shelf;
        {
            Library library;
            QVERIFY(!shelf.open(library));
            QVERIFY(library.setFavourite(stored, true).ok);
        }
        Library library;
        QVERIFY(!shelf.open(library));
        QCOMPARE(library.row(looked).favourite, same);
        QCOMPARE(library.rows().value(0).key, stored);
    }

    // Catches time added by a quick end, totals that differ once recounted from the file, and a
    // latest start that is not the latest.
    void sessionTimes_data()
    {
        QTest::addColumn<QList<qint64>>("ends");
        QTest::addColumn<qint64>("seconds");
        QTest::newRow("quick end") << QList<qint64>{kQuickEndSeconds - 1} << qint64(0);
        QTest::newRow("long enough") << QList<qint64>{kQuickEndSeconds} << kQuickEndSeconds;
        QTest::newRow("added up") << QList<qint64>{600, 3, 3600} << qint64(4200);
        QTest::newRow("clock went back") << QList<qint64>{-60} << qint64(0);
    }
    void sessionTimes()
    {
        QFETCH(QList<qint64>, ends);
        QFETCH(qint64, seconds);
        Shelf shelf;
        Library library;
        QVERIFY(!shelf.open(library));
        for (qsizetype i = 0; i < ends.size(); ++i) {
            const LibraryWrite start = library.recordStart(file("manic.tap"), kStart - 10 * i);
            QVERIFY(start.ok && library.row(file("manic.tap")).plays == i + 1);
            QVERIFY(library.recordEnd(start.session, ends.at(i)).ok);
            QVERIFY(!library.recordEnd(start.session, 100).ok);
        }
        const LibraryRow row = library.row(file("manic.tap"));
        QCOMPARE(row.secondsPlayed, seconds);
        QCOMPARE(row.lastPlayed, kStart);
        Library reopened;
        QVERIFY(!shelf.open(reopened));
        QCOMPARE(reopened.row(file("manic.tap")), row);
    }

    // Catches the 30 days counted from the wrong end, the latest not first, and an entry the
    // library has no row of left out of the never played.
    void playedLists()
    {
        Shelf shelf;
        Library library;
        QVERIFY(!shelf.open(library));
        RomDatabase catalogue;
        const qint64 day = 24 * 3600;
        const QList<qint64> ago = {day, 40 * day, -1, 2 * 3600, 10 * day};
        for (qsizetype i = 0; i < ago.size(); ++i) {
            RomRecord record{QStringLiteral("Game %1").arg(i), 0, {}, 0, {}, {}, {}, {}, {}};
            if (i != 4)
                record.RomFile = QStringLiteral("game%1.tap").arg(i);
            catalogue.Add(record);
            if (ago.at(i) >= 0)
                QVERIFY(library.recordStart(LibraryKey::of(record), kStart - ago.at(i)).ok);
        }
        QCOMPARE(library.recentlyPlayed(catalogue, kStart), (QList<int>{3, 0, 4}));
        QCOMPARE(library.neverPlayed(catalogue), QList<int>{2});
    }

    // Catches a view that keeps showing an entry's old row: its rom file or name given another
    // text, a row added, renamed or opened anew since the view last looked.
    void keyCacheFollowsChanges()
    {
        Shelf shelf;
        Library library;
        QVERIFY(!shelf.open(library));
        RomDatabase catalogue;
        catalogue.Add({QStringLiteral("Manic Miner"), 0, {}, 0, {}, "MANIC.TAP", {}, {}, {}});
        catalogue.Add({QStringLiteral("Jet Set Willy"), 0, {}, 0, {}, {}, {}, {}, {}});
        const LibraryKeyCache keys;
        const auto favourite = [&](int slot) {
            const LibraryRow *row = keys.rowOf(library, catalogue, slot);
            return row != nullptr && row->favourite;
        };
        QVERIFY(!favourite(0) && !favourite(1) && !keys.rowOf(library, catalogue, 5));
        QVERIFY(library.setFavourite(file("manic.tap"), true).ok);
        QVERIFY(library.setFavourite(LibraryKey::name("jet set willy"), true).ok);
        QVERIFY(favourite(0) && favourite(1));

        RomRecord edited = catalogue.Get(0);
        edited.RomFile = QStringLiteral("miner.tap");
        catalogue.Set(0, edited);
        edited = catalogue.Get(1);
        edited.RomName = QStringLiteral("Jet Set Willy II");
        catalogue.Set(1, edited);
        QVERIFY(!favourite(0) && !favourite(1));

        QVERIFY(library.renameKey(file("manic.tap"), file("Miner.tap")).ok);
        QVERIFY(favourite(0));
        library.startNew();
        QVERIFY(!favourite(0));
    }

    // Catches a rename that leaves the row behind, loses its sessions or a session still open,
    // or merges two rows by dropping one.
    void renameMovesTheRow_data()
    {
        QTest::addColumn<LibraryKey>("to");
        QTest::addColumn<LibraryRow>("expected");
        QTest::newRow("new name") << file("Atic2.tzx")
                                  << LibraryRow{file("Atic2.tzx"), true, {"a"}, 2, kStart, 70, {}};
        QTest::newRow("case only")
            << file("ATIC.TZX") << LibraryRow{file("ATIC.TZX"), true, {"a"}, 2, kStart, 70, {}};
        QTest::newRow("onto a row")
            << file("manic.tap") << LibraryRow{file("manic.tap"), true, {"B", "A"},      3,
                                               kStart + 5,        100,  {"Fuse", "", ""}};
    }
    void renameMovesTheRow()
    {
        QFETCH(LibraryKey, to);
        QFETCH(LibraryRow, expected);
        Shelf shelf;
        Library library;
        QVERIFY(!shelf.open(library));
        QVERIFY(library.setFavourite(file("atic.tzx"), true).ok);
        QVERIFY(library.addTag(file("atic.tzx"), "a").ok);
        QVERIFY(library.recordEnd(library.recordStart(file("atic.tzx"), kStart).session, 60).ok);
        QVERIFY(library.setTags(file("manic.tap"), {"B", "A"}).ok);
        QVERIFY(library.setRunChoice(file("manic.tap"), {"Fuse", "", ""}).ok);
        QVERIFY(
            library.recordEnd(library.recordStart(file("manic.tap"), kStart + 5).session, 30).ok);
        const qint64 open = library.recordStart(file("atic.tzx"), kStart - 5).session;

        QVERIFY(library.renameKey(file("atic.tzx"), to).ok);
        QVERIFY(library.recordEnd(open, 10).ok);
        QCOMPARE(library.row(to), expected);
        QCOMPARE(library.rowCount(), 2 - (expected.plays == 3));
        Library reopened;
        QVERIFY(!shelf.open(reopened));
        QCOMPARE(reopened.rows(), library.rows());
        QCOMPARE(reopened.contains(file("atic.tzx")), to.matches(file("atic.tzx")));
    }

    // Catches rows lost or doubled by a merge, and totals that do not add.
    void mergeAddsTotals()
    {
        Shelf shelf;
        Library ours;
        QVERIFY(!shelf.open(ours));
        shelf.fill(ours);
        Library theirs;
        QVERIFY(!shelf.open(theirs, "theirs"));
        QVERIFY(theirs.setTags(file("JETPAC.TAP"), {"Arcade", "maze"}).ok);
        QVERIFY(theirs.recordEnd(theirs.recordStart(file("atic.tzx"), kStart + 9).session, 30).ok);
        QVERIFY(theirs.setFavourite(file("new.tap"), true).ok);

        QVERIFY(ours.mergeFrom(theirs).ok);
        QVERIFY(!ours.mergeFrom(ours).ok);
        QCOMPARE(ours.rowCount(), 5);
        QCOMPARE(ours.row(file("jetpac.tap")).tags, (QStringList{"arcade", "shooter", "maze"}));
        const LibraryRow atic = ours.row(file("atic.tzx"));
        QCOMPARE((QList<qint64>{atic.plays, atic.lastPlayed, atic.secondsPlayed}),
                 (QList<qint64>{2, kStart + 9, 150}));
        QVERIFY(ours.row(file("new.tap")).favourite);
        QCOMPARE(ours.allTags(), (QStringList{"arcade", "maze", "shooter"}));
        Library reopened;
        QVERIFY(!shelf.open(reopened));
        QCOMPARE(reopened.rows(), ours.rows());
    }

    // Catches a library lost before the first save or left behind by Save as, a session that
    // cannot end after the save, and rows of one catalogue shown with another.
    void lifecycle()
    {
        Shelf shelf;
        Library library;
        QVERIFY(library.setFavourite(file("manic.tap"), true).ok);
        const qint64 open = library.recordStart(file("manic.tap"), kStart).session;
        QVERIFY(library.path().isEmpty() && shelf.files().isEmpty());
        QVERIFY(!library.saveAs(shelf.catalogue("first")));
        QCOMPARE(library.path(), shelf.library("first"));
        QVERIFY(library.recordEnd(open, 30).ok);

        Library replaced; // a library the Save as writes over, as its catalogue
        QVERIFY(!shelf.open(replaced, "second"));
        QVERIFY(replaced.setFavourite(file("old.tap"), true).ok);
        replaced.startNew();
        QVERIFY(!library.saveAs(shelf.catalogue("second")));
        QVERIFY(library.setFavourite(file("atic.tzx"), true).ok);
        Library first;
        QVERIFY(!shelf.open(first, "first"));
        QCOMPARE(first.rowCount(), 1);
        QCOMPARE(first.row(file("manic.tap")).secondsPlayed, 30);
        QVERIFY(!shelf.open(first, "second"));
        QCOMPARE(first.rows(), library.rows());
        QVERIFY(!first.contains(file("old.tap")));
        first.startNew();
        QVERIFY(first.path().isEmpty() && first.rowCount() == 0);
    }

    // Catches a second window, or a Kivo reading a newer Kivo's library, that writes to it or
    // claims a change it did not record.
    void readOnlyWritesNothing_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<bool>("newer");
        addWriteCalls("second window: ", 0);
        addWriteCalls("newer: ", 1);
    }
    void readOnlyWritesNothing()
    {
        QFETCH(Step, step);
        QFETCH(bool, newer);
        Shelf shelf;
        Library writer;
        QVERIFY(!shelf.open(writer));
        shelf.fill(writer);
        const qint64 open = writer.recordStart(file("atic.tzx"), kStart).session;
        if (newer) {
            writer.startNew();
            shelf.sql("games", {"PRAGMA user_version = 2"});
        }
        const QStringList files = shelf.files();
        const QByteArray bytes = contents(shelf);
        Library reader;
        QVERIFY(!shelf.open(reader, "games", Library::Access::ReadOnly));
        QCOMPARE(reader.readOnlyReason(),
                 newer ? Library::ReadOnlyReason::Newer : Library::ReadOnlyReason::Requested);
        QCOMPARE(reader.readOnlyText().contains("a newer Kivo wrote it (version 2)"), newer);
        const QList<LibraryRow> before = reader.rows();
        QCOMPARE(before.size(), 4);
        const LibraryWrite result = step(reader, open);
        QVERIFY(!result.ok && result.message.text.contains("not recorded"));
        QCOMPARE(reader.rows(), before);
        QCOMPARE(contents(shelf), bytes);
        QCOMPARE(shelf.files(), files);
    }

    // Catches a damaged file written over, a kept copy written over, and a new library not
    // started or not recorded in.
    void damagedFileIsKeptAside_data()
    {
        QTest::addColumn<QStringList>("make");
        QTest::addColumn<bool>("half");
        QTest::addColumn<QString>("reason");
        const QString ours = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                                            "i + 1 FROM n WHERE i < 3000) INSERT INTO kivo_entry "
                                            "(kind, spelling) SELECT 0, 'g' || i || '.tap' FROM n");
        const QString notOurs = QStringLiteral("(it is not a Kivo library)");
        QTest::newRow("not SQLite") << QStringList{} << false << "(file is not a database)";
        QTest::newRow("truncated") << QStringList{ours} << true << "malformed";
        QTest::newRow("another program's")
            << QStringList{"CREATE TABLE notes (text)"} << false << notOurs;
        QTest::newRow("with a trigger")
            << QStringList{"CREATE TRIGGER t AFTER INSERT ON kivo_entry BEGIN SELECT 1; END"}
            << false << notOurs;
    }
    void damagedFileIsKeptAside()
    {
        QFETCH(QStringList, make);
        QFETCH(bool, half);
        QFETCH(QString, reason);
        Shelf shelf;
        if (!make.isEmpty() && make.first().contains("kivo_entry")) {
            Library library;
            QVERIFY(!shelf.open(library));
        }
        if (make.isEmpty())
            writeFile(shelf.library(), "Not a library at all, only text.\n");
        else
            shelf.sql("games", make);
        QByteArray damaged = readFile(shelf.library());
        if (half)
            damaged.truncate(damaged.size() / 2);
        for (int time = 1; time <= 2; ++time) {
            writeFile(shelf.library(), damaged);
            Library library;
            const std::optional<Message> message = shelf.open(library);
            QVERIFY(message && message->text.contains("It was kept as games.kivolib.damaged-"));
            QVERIFY2(message->text.contains(reason), qPrintable(message->text));
            QVERIFY(!library.isReadOnly() && library.rowCount() == 0);
            QVERIFY(library.setFavourite(file("manic.tap"), true).ok);
            const QStringList kept = QDir(QFileInfo(shelf.library()).path())
                                         .entryList({"games.kivolib.damaged-*"}, QDir::Files);
            QCOMPARE(kept.size(), time);
            for (const QString &name : kept)
                QCOMPARE(readFile(QFileInfo(shelf.library()).dir().filePath(name)), damaged);
        }
    }

    // Catches a change that reaches memory though the file refused it.
    void failedWriteChangesNothing_data()
    {
        QTest::addColumn<Step>("step");
        addWriteCalls({});
    }
    void failedWriteChangesNothing()
    {
        QFETCH(Step, step);
        Shelf shelf;
        Library library;
        QVERIFY(!shelf.open(library));
        shelf.fill(library);
        const qint64 open = library.recordStart(file("atic.tzx"), kStart).session;
        QStringList triggers;
        for (const char *table : {"kivo_entry", "kivo_session"}) {
            for (const char *change : {"INSERT", "UPDATE", "DELETE"})
                triggers << QStringLiteral("CREATE TRIGGER fail_%1_%2 BEFORE %2 ON %1 BEGIN "
                                           "SELECT RAISE(ABORT, 'disk is full'); END")
                                .arg(table, change);
        }
        shelf.sql("games", triggers);
        const QList<LibraryRow> before = library.rows();
        const LibraryWrite result = step(library, open);
        QVERIFY(!result.ok);
        QVERIFY2(result.message.text.contains("disk is full"), qPrintable(result.message.text));
        QCOMPARE(library.rows(), before);
    }

    // Catches a change reported before it was committed, and a library a kill leaves unreadable.
    void killedWhileWriting()
    {
        Shelf shelf;
        touch(shelf.catalogue());
        QList<QByteArray> reported;
        for (int round = 0; round < 3; ++round) {
            QProcess writer;
            writer.start(KIVO_TOOL_library_tool,
                         {shelf.catalogue(), QString::number(round * 1000)});
            const int lines = QRandomGenerator::global()->bounded(1, 300);
            QByteArray out;
            while (out.count('\n') < lines && writer.waitForReadyRead(20000))
                out += writer.readAllStandardOutput();
            QTest::qSleep(QRandomGenerator::global()->bounded(10));
            writer.kill();
            QVERIFY(writer.waitForFinished(20000));
            QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
            out += writer.readAllStandardOutput();
            reported += out.left(out.lastIndexOf('\n')).split('\n');
        }
        Library library;
        QVERIFY(!library.open(shelf.catalogue()));
        QVERIFY(!library.isReadOnly());
        for (const QByteArray &line : std::as_const(reported)) {
            const LibraryRow row =
                library.row(file(QStringLiteral("game%1.tap").arg(QLatin1String(line.mid(2)))));
            QVERIFY2(line[0] != 'f' || row.favourite, line.constData());
            QVERIFY2(line[0] != 's' || (row.plays == 1 && row.lastPlayed == line.mid(2).toInt()),
                     line.constData());
            QVERIFY2(line[0] != 'e' || row.secondsPlayed == 60, line.constData());
        }
    }

    // Catches output that is not the rows, a print that writes beside the catalogue, and a
    // merge the command line does not make.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("json");
        const QByteArray manic =
            R"({"key": "manic.tap", "keyKind": "romFile", "favourite": true, "tags": [],)"
            R"( "plays": 1, "lastPlayed": "2023-11-14T22:13:20Z", "seconds": 120,)"
            R"( "emulator": "Fuse", "machine": "128", "arguments": "-s"})";
        const QByteArray fresh =
            R"({"key": "New Game", "keyKind": "name", "favourite": true, "tags": ["x"],)"
            R"( "plays": 0, "lastPlayed": null, "seconds": 0, "emulator": "", "machine": "",)"
            R"( "arguments": ""})";
        QTest::newRow("rows") << QStringList{"library", "games"} << 0 << "[" + manic + "]";
        QTest::newRow("import") << QStringList{"library", "games", "--import", "theirs"} << 0
                                << "[" + manic + "," + fresh + "]";
        QTest::newRow("no catalogue") << QStringList{"library", "none"} << 1 << QByteArray();
        QTest::newRow("usage") << QStringList{"library", "games", "--import"} << 2 << QByteArray();
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, json);
        Shelf shelf;
        {
            Library ours;
            QVERIFY(!shelf.open(ours));
            QVERIFY(ours.setFavourite(file("manic.tap"), true).ok);
            QVERIFY(ours.recordEnd(ours.recordStart(file("manic.tap"), kStart).session, 120).ok);
            QVERIFY(ours.setRunChoice(file("manic.tap"), {"Fuse", "128k", "-s"}).ok);
            Library theirs;
            QVERIFY(!shelf.open(theirs, "theirs"));
            QVERIFY(theirs.setFavourite(LibraryKey::name("New Game"), true).ok);
            QVERIFY(theirs.addTag(LibraryKey::name("New Game"), "x").ok);
        }
        const QStringList before = shelf.files();
        for (qsizetype i = 1; i < arguments.size(); ++i) {
            if (!arguments.at(i).startsWith("--"))
                arguments[i] = shelf.catalogue(arguments.at(i));
        }
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode == 0)
            QCOMPARE(QJsonDocument::fromJson(run.out), QJsonDocument::fromJson(json));
        if (arguments.size() == 2)
            QCOMPARE(shelf.files(), before);
    }
};

QTEST_GUILESS_MAIN(tst_Library)
#include "tst_library.moc"
