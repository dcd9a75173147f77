// The pocket catalogue byte for byte: the writer, its protection against shifted lines, the
// reader with damaged lines, and a round trip through every kind of Windows-1252 character.
#include "InterchangeFiles.h"
#include "TestSupport.h"

#include "core/Cp1252.h"
#include "interchange/PocketDatabase.h"

#include <QTemporaryDir>

using namespace testsupport;
using namespace interchangefiles;

namespace {

const QList<int> kTextFields = {0, 2, 4, 5, 6, 7, 8};

QString &textField(RomRecord &record, int field)
{
    switch (field) {
    case 0:
        return record.RomName;
    case 2:
        return record.Screenshots;
    case 4:
        return record.Notes;
    case 5:
        return record.RomFile;
    case 6:
        return record.Publisher;
    case 7:
        return record.Authors;
    default:
        return record.AudioFile;
    }
}

// The data lines of an export (split at CR LF, as the reader splits them), each split into
// its fields.
QList<QList<QByteArray>> dataLines(const QByteArray &bytes)
{
    QList<QList<QByteArray>> lines;
    qsizetype start = bytes.indexOf("\r\n") + 2; // past the header
    for (qsizetype stop; (stop = bytes.indexOf("\r\n", start)) >= 0; start = stop + 2)
        lines.append(bytes.mid(start, stop - start).split('\xDE'));
    return lines;
}

} // namespace

class TestPocket : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The layout itself: a writer that drifts breaks every file the handheld program reads.
    void exportsTheDocumentedBytes()
    {
        RomDatabase database;
        RomRecord alpha = entry("Alpha", 15, 1984);
        alpha.Notes = "first line\r\nsecond line";
        alpha.Screenshots = "a.scr,b.gif";
        alpha.RomFile = "alpha.tzx";
        alpha.Publisher = "Café Soft";
        alpha.Authors = "A. One\r\nB. Two";
        alpha.AudioFile = "alpha.mp3";
        database.Add(alpha);
        database.Add(entry("Beta", 3, 0));
        const QByteArray expected =
            "KIVOPPC1\r\n" +
            pocketLine({"Alpha", "15", "a.scr,b.gif", "1984", "first line%%NL%%second line",
                        "alpha.tzx", "Caf\xE9 Soft", "A. One%%NL%%B. Two", "alpha.mp3"}) +
            pocketLine({"Beta", "3", "", "0", "", "", "", "", ""});
        QCOMPARE(pocketExportBytes(database), expected);
    }

    // Empty slots (a damaged catalogue's, and the trailing one) never become lines.
    void emptySlotsWriteNothing()
    {
        RomDatabase database;
        database.replaceSlots({entry("A"), RomRecord{}, entry("B", -5, -1)});
        QCOMPARE(pocketExportBytes(database),
                 pocketFile({{"A", "15", "", "1984", "", "", "", "", ""},
                             {"B", "-5", "", "-1", "", "", "", "", ""}}));
    }

    void fieldBytes_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("written");
        // A separator byte inside a field would shift every later field of its line.
        QTest::newRow("Þ in the name") << 0 << "AÞB" << QByteArray("A B");
        QTest::newRow("Þ in the notes") << 4 << "ÞÞ" << QByteArray("  ");
        QTest::newRow("þ is kept") << 7 << "þ" << QByteArray("\xFE");
        // A line break outside Notes and Authors would cut the line in two.
        QTest::newRow("CR in the rom file") << 5 << "a\rb" << QByteArray("a b");
        QTest::newRow("LF in the publisher") << 6 << "a\nb" << QByteArray("a b");
        QTest::newRow("CR LF in the screenshots") << 2 << "a\r\nb" << QByteArray("a  b");
        QTest::newRow("CR LF in the audio file") << 8 << "x\r\n" << QByteArray("x  ");
        // Notes and Authors keep their lines: the pair is marked, a lone CR or LF stays.
        QTest::newRow("CR LF in the notes") << 4 << "a\r\nb\r\n" << QByteArray("a%%NL%%b%%NL%%");
        QTest::newRow("lone CR in the notes") << 4 << "a\rb" << QByteArray("a\rb");
        QTest::newRow("lone LF in the authors") << 7 << "a\nb" << QByteArray("a\nb");
        QTest::newRow("CR before a pair") << 4 << "a\r\r\nb" << QByteArray("a\r%%NL%%b");
        QTest::newRow("LF after a pair") << 7 << "a\r\n\nb" << QByteArray("a%%NL%%\nb");
        // The code page: specials of 0x80-0x9F, Latin-1 letters, and "?" for the rest.
        QTest::newRow("euro and quotes") << 6 << "€ “x”" << QByteArray("\x80 \x93x\x94");
        QTest::newRow("outside the code page") << 0 << "aあb" << QByteArray("a?b");
        QTest::newRow("one ? per character") << 0 << "a😀b" << QByteArray("a?b");
    }
    void fieldBytes()
    {
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QByteArray, written);
        RomRecord record = entry("Name");
        textField(record, field) = text;
        RomDatabase database;
        database.Add(record);
        const QByteArray bytes = pocketExportBytes(database);
        QCOMPARE(bytes.count("\r\n"), 2); // the header and one data line
        const QList<QList<QByteArray>> lines = dataLines(bytes);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines.first().size(), 9);
        QCOMPARE(lines.first().at(field), written);
    }

    // Exporting over a longer file must not leave its tail behind.
    void exportReplacesALongerFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("games.kvl");
        writeFile(path, QByteArray(10000, 'x'));
        RomDatabase database;
        database.Add(entry("Alpha"));
        const ExportResult result = ExportPocketDatabase(database, path);
        QVERIFY(result.ok);
        QVERIFY(result.messages.isEmpty());
        QCOMPARE(readFile(path), pocketFile({{"Alpha", "15", "", "1984", "", "", "", "", ""}}));
    }

    // A failed write must be reported with the path and the system's reason, never as done.
    void failedExportSaysWhy()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing/games.kvl");
        RomDatabase database;
        database.Add(entry("Alpha"));
        const ExportResult result = ExportPocketDatabase(database, path);
        QVERIFY(!result.ok);
        QCOMPARE(result.messages.size(), 1);
        const Message &message = result.messages.first();
        QCOMPARE(message.title, QStringLiteral("Can't Export"));
        QCOMPARE(message.icon, MessageIcon::Critical);
        const QString prefix = "Unable to write the file.\r\n" + path + "\r\n";
        QVERIFY2(message.text.startsWith(prefix), qPrintable(message.text));
        QVERIFY(message.text.size() > prefix.size()); // the reason follows
        QVERIFY(!QFile::exists(path));
    }

    // An empty catalogue writes nothing, not even a header, and leaves an old file alone.
    void emptyCatalogueWritesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("old.kvl");
        writeFile(path, "old");
        const ExportResult result = ExportPocketDatabase(RomDatabase{}, path);
        QVERIFY(!result.ok);
        QCOMPARE(describe(result.messages.value(0)), describe(Message{"No data to save"}));
        QCOMPARE(readFile(path), QByteArray("old"));
    }

    void importLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("skipped");
        // Lines that are no data lines are passed over silently.
        QTest::newRow("blank and plain text lines")
            << "KIVOPPC1\r\n" + pocketEntry("Alpha") + "\r\n   \r\nsome text\r\n" +
                   pocketEntry("Beta")
            << QStringList{"Alpha", "Beta"} << 0;
        QTest::newRow("no header, no final CR LF")
            << pocketEntry("Alpha").chopped(2) << QStringList{"Alpha"} << 0;
        QTest::newRow("header only") << QByteArray("KIVOPPC1\r\n") << QStringList{} << 0;
        QTest::newRow("empty file") << QByteArray() << QStringList{} << 0;
        // A damaged data line is left out and counted, and the lines after it still load.
        QTest::newRow("eight fields")
            << pocketFile({{"Short", "15", "", "1984", "", "", "", ""}}) + pocketEntry("Next")
            << QStringList{"Next"} << 1;
        QTest::newRow("type not a number")
            << pocketFile({{"A", "x15", "", "1984", "", "", "", "", ""}}) << QStringList{} << 1;
        QTest::newRow("year not a number") << pocketEntry("A", "15", "19a4") << QStringList{} << 1;
        QTest::newRow("year empty") << pocketEntry("A", "15", "") << QStringList{} << 1;
        QTest::newRow("type beyond 32 bits")
            << pocketEntry("A", "2147483648") << QStringList{} << 1;
        QTest::newRow("fraction") << pocketEntry("A", "15", "1984.5") << QStringList{} << 1;
        QTest::newRow("two signs") << pocketEntry("A", "+-1") << QStringList{} << 1;
        // An entry without a name would be an empty slot in the middle of the catalogue.
        QTest::newRow("empty name") << pocketEntry("") + pocketEntry("B") << QStringList{"B"} << 1;
        // What a decimal integer may look like.
        QTest::newRow("signs and blanks")
            << pocketEntry("A", " +15 ", "-1") + pocketEntry("B", "2147483647")
            << QStringList{"A", "B"} << 0;
        // A file written with LF line ends: each line is an entry, the header is no name.
        QTest::newRow("LF line ends")
            << QByteArray("KIVOPPC1\r\n" + pocketEntry("Alpha") + pocketEntry("Beta"))
                   .replace("\r\n", "\n")
            << QStringList{"Alpha", "Beta"} << 0;
        // Fields past the ninth are ignored, not appended to the audio file.
        QTest::newRow("ten fields")
            << pocketFile({{"A", "1", "", "2", "", "", "", "", "song.mp3", "extra"}})
            << QStringList{"A"} << 0;
    }
    void importLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, names);
        QFETCH(int, skipped);
        RomDatabase database;
        database.Add(entry("Kept"));
        const ImportResult result = importPocketBytes(database, bytes);
        QVERIFY(result.ok);
        QCOMPARE(result.added, names.size());
        QCOMPARE(result.skipped, skipped);
        QCOMPARE(interchangefiles::names(database), QStringList{"Kept"} + names);
        QVERIFY(!database.Get(database.EntryCount()).isEntry());
    }

    // Fields land in record order; "%%NL%%" turns back into CR LF in Notes and Authors only.
    void importFillsEveryField()
    {
        RomDatabase database;
        importPocketBytes(database, pocketFile({{"Name", "42", "a.scr", "1987", "n1%%NL%%n2",
                                                 "f.tap", "Caf\xE9", "x%%NL%%y", "m%%NL%%.mp3"}}));
        RomRecord expected;
        expected.RomName = "Name";
        expected.RomType = 42;
        expected.Screenshots = "a.scr";
        expected.Year = 1987;
        expected.Notes = "n1\r\nn2";
        expected.RomFile = "f.tap";
        expected.Publisher = "Café";
        expected.Authors = "x\r\ny";
        expected.AudioFile = "m%%NL%%.mp3";
        QCOMPARE(database.Get(0), expected);
    }

    // Add looks for no duplicates: a second import of the same file doubles the entries.
    void importingTwiceDoubles()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("two.kvl");
        writeFile(path, "KIVOPPC1\r\n" + pocketEntry("A") + pocketEntry("B"));
        RomDatabase database;
        QCOMPARE(ImportPocketDatabase(database, path).added, 2);
        QCOMPARE(ImportPocketDatabase(database, path).added, 2);
        QCOMPARE(names(database), (QStringList{"A", "B", "A", "B"}));
    }

    // A path that is no readable file changes nothing and says so.
    void unreadableFile()
    {
        QTemporaryDir dir;
        RomDatabase database;
        database.Add(entry("Kept"));
        for (const QString &path : {dir.path(), dir.filePath("gone.kvl")}) {
            const ImportResult result = ImportPocketDatabase(database, path);
            QVERIFY(!result.ok);
            QCOMPARE(result.messages.size(), 1);
            QCOMPARE(result.messages.first().title, QStringLiteral("Can't Import"));
            QVERIFY(result.messages.first().text.startsWith("Unable to read the file.\r\n" + path +
                                                            "\r\n"));
            QCOMPARE(names(database), QStringList{"Kept"});
        }
    }

    // Every kind of character the code page holds comes back as it was; Þ and line breaks
    // outside Notes and Authors come back as blanks, characters outside the code page as "?".
    void roundTrip()
    {
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b) {
            if (b != 0xDE)
                high += char(b);
        }
        QString ascii;
        for (char16_t c = 0x20; c < 0x7F; ++c)
            ascii += QChar(c);
        const QString cp1252High = fromCp1252(high); // € ‚ ƒ … and the Latin-1 letters
        QCOMPARE(cp1252High.size(), 127);

        RomRecord original;
        original.RomName = ascii;
        original.RomType = 129;
        original.Screenshots = cp1252High;
        original.Year = -2147483647 - 1;
        original.Notes = "line 1\r\nline 2\rstill 2\nstill 2\r\n" + cp1252High;
        original.RomFile = "Þorn\r\nあ.tap";
        original.Publisher = "Œuvre – “Š” ™ Ÿ";
        original.Authors = "Ä. Ñ\r\nØ. ß\n";
        original.AudioFile = "€😀.mp3";
        RomDatabase database;
        database.Add(original);
        database.Add(entry("Second", 0, 0));

        RomRecord expected = original;
        expected.RomFile = " orn  ?.tap";
        expected.AudioFile = "€?.mp3";

        QTemporaryDir dir;
        const QString path = dir.filePath("round.kvl");
        QVERIFY(ExportPocketDatabase(database, path).ok);
        RomDatabase back;
        const ImportResult result = ImportPocketDatabase(back, path);
        QCOMPARE(result.added, 2);
        QCOMPARE(result.skipped, 0);
        QCOMPARE(back.Get(0), expected);
        QCOMPARE(back.Get(1), entry("Second", 0, 0));
        QCOMPARE(back.slotCount(), 3);
    }

    void entryCount_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("count");
        // The files page counts lines that are not blank, less the header, split as the reader
        // splits them: a lone LF inside a note is no line of its own.
        QTest::newRow("two entries") << pocketFile({{"A"}, {"B"}}) << qint64(2);
        QTest::newRow("blank lines") << "KIVOPPC1\r\n\r\n \t \r\n" + pocketEntry("A") + "\r\n"
                                     << qint64(1);
        QTest::newRow("lone LF in a note")
            << QByteArray("KIVOPPC1\r\nA\xDEnote\nmore\r\n") << qint64(1);
        QTest::newRow("header only") << QByteArray("KIVOPPC1") << qint64(0);
        QTest::newRow("empty") << QByteArray() << qint64(0);
        QTest::newRow("LF line ends")
            << pocketFile({{"A"}, {"B"}, {"C"}}).replace("\r\n", "\n") << qint64(3);
    }
    void entryCount()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, count);
        QCOMPARE(pocketEntryCount(bytes), count);
    }
};

QTEST_GUILESS_MAIN(TestPocket)
#include "tst_pocket.moc"
