// DAT files, Logiqx XML and ClrMamePro text: roms found by size and CRC-32, damaged or foreign
// files refused whole with the reason and line, incomplete rom lines passed over; how each
// naming convention is told from the games and what it makes of them; the real DAT.
#include "DatMaker.h"
#include "TestSupport.h"

#include "scan/DatCatalogue.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

using testsupport::clrMameProDat;

struct Rom
{
    qint64 size;
    quint32 crc;
    QString game; // empty: not found
};

DatCatalogue catalogueOf(const QByteArray &xml, std::optional<Message> &message)
{
    QByteArray bytes = xml;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    DatCatalogue catalogue;
    message = catalogue.addDevice(buffer, QStringLiteral("x.dat"));
    return catalogue;
}

// The same bytes read from memory, as addFile reads a DAT of a few MB.
DatCatalogue fileCatalogueOf(const QByteArray &bytes, std::optional<Message> &message)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.dat"));
    testsupport::writeFile(path, bytes);
    DatCatalogue catalogue;
    message = catalogue.addFile(path);
    if (message)
        message->text.replace(path, QStringLiteral("x.dat"));
    return catalogue;
}

void compareRoms(const DatCatalogue &catalogue, const QList<Rom> &roms)
{
    for (const Rom &rom : roms) {
        const DatEntry *entry = catalogue.entryOf(rom.size, rom.crc);
        QCOMPARE(entry ? entry->game : QString(), rom.game);
    }
}

} // namespace

Q_DECLARE_METATYPE(QList<Rom>)
Q_DECLARE_METATYPE(DatConvention)

class TestDatCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsRoms_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QList<Rom>>("roms");
        const QByteArray head =
            "<?xml version=\"1.0\"?>\n<datafile>\n<header><name>n</name></header>\n";
        QTest::newRow("valid")
            << head +
                   "<game name=\"Jetpac (1983)(Ultimate)\"><description>d</description>"
                   "<rom name=\"Jetpac.tzx\" size=\"1234\" crc=\"0a1b2c3d\" md5=\"x\" sha1=\"y\"/>"
                   "<rom name=\"Jetpac.tap\" size=\"99\" crc=\"1\"/></game>"
                   "<machine name=\"Atic Atac (1983)(Ultimate)\"><rom name=\"a.z80\" "
                   "size=\"48000\" crc=\"ffffffff\"/></machine></datafile>"
            << QString()
            << QList<Rom>{{1234, 0x0a1b2c3d, "Jetpac (1983)(Ultimate)"},
                          {99, 1, "Jetpac (1983)(Ultimate)"},
                          {48000, 0xffffffff, "Atic Atac (1983)(Ultimate)"},
                          {1234, 0x0a1b2c3e, ""},
                          {1235, 0x0a1b2c3d, ""}};
        QTest::newRow("crc in upper case") << head + "<game name=\"G\"><rom name=\"g\" size=\"5\" "
                                                     "crc=\"ABCDEF01\"/></game></datafile>"
                                           << QString() << QList<Rom>{{5, 0xabcdef01, "G"}};
        QTest::newRow("first game keeps a shared rom")
            << head + "<game name=\"A\"><rom size=\"5\" crc=\"1\"/></game>"
                      "<game name=\"B\"><rom size=\"5\" crc=\"1\"/></game></datafile>"
            << QString() << QList<Rom>{{5, 1, "A"}};
        // Rom lines short of what matching needs are passed over, the rest of the file is read.
        QTest::newRow("missing attributes")
            << head + "<game name=\"A\"><rom name=\"a\" crc=\"1\"/><rom size=\"2\"/>"
                      "<rom size=\"x\" crc=\"3\"/><rom size=\"4\" crc=\"zz\"/>"
                      "<rom size=\"6\" crc=\"123456789\"/></game>"
                      "<game><rom size=\"7\" crc=\"7\"/></game>"
                      "<game name=\"B\"><rom size=\"8\" crc=\"8\"/></game></datafile>"
            << QString() << QList<Rom>{{0, 1, ""},          {2, 0, ""}, {4, 0, ""},
                                       {6, 0x23456789, ""}, {7, 7, ""}, {8, 8, "B"}};
        QTest::newRow("empty datafile") << QByteArray("<datafile/>") << QString() << QList<Rom>{};
        // Broken or foreign files are refused whole, even after good roms.
        QTest::newRow("empty file")
            << QByteArray() << "Not a DAT file: x.dat: Premature end of document. at line 1"
            << QList<Rom>{};
        QTest::newRow("invalid xml after a rom")
            << head + "<game name=\"A\"><rom size=\"5\" crc=\"1\"/></game>\n<game name=\"B\"></gme>"
            << "Not a DAT file: x.dat: Opening and ending tag mismatch. at line 5"
            << QList<Rom>{{5, 1, ""}};
        QTest::newRow("other document")
            << QByteArray("<html><game name=\"A\"><rom size=\"5\" crc=\"1\"/></game></html>")
            << "Not a DAT file: x.dat: The document is not a <datafile>. at line 1"
            << QList<Rom>{{5, 1, ""}};
    }
    void readsRoms()
    {
        QFETCH(QByteArray, xml);
        QFETCH(QString, message);
        QFETCH(QList<Rom>, roms);
        std::optional<Message> said;
        const DatCatalogue catalogue = catalogueOf(xml, said);
        QCOMPARE(said ? said->text : QString(), message);
        compareRoms(catalogue, roms);
        if (!message.isEmpty())
            QCOMPARE(catalogue.romCount(), 0);
    }

    // The text format, from memory and through the device alike.
    void readsClrMamePro_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message"); // empty: accepted
        QTest::addColumn<QList<Rom>>("roms");
        const QByteArray head = "clrmamepro (\n\tname \"Test\"\n)\n";
        // Catches a quote ending at a blank or a parenthesis, an escaped quote ending the text.
        QTest::newRow("quoted texts")
            << head + "game ( name \"Knight (Lore) \\\"Remix\\\" \" rom ( name \"a (b).tap\" "
                      "size 5 crc 1 ) )"
            << QString() << QList<Rom>{{5, 1, "Knight (Lore) \"Remix\" "}};
        // Catches md5 and sha1 taken as required, an unknown key or block ending the game, the
        // first rom alone kept, rom lines short of size or crc kept, a CRC of one case only.
        QTest::newRow("roms, keys and blocks")
            << head + "emulator ( name \"e\" ( deeper ) )\n"
                      "game ( name g serial \"x (1)\" sample ( name s ( n ) ) year 1984\n"
                      "rom ( name a size 2 crc ABCDEF02 md5 00FF sha1 11EE flags ( baddump ) )\n"
                      "rom ( name b size 3 crc abcdef03 )\n"
                      "rom ( name c crc 4 ) rom ( name d size 5 ) rom ( size 6 crc 123456789 ) )\n"
                      "machine ( name m rom ( size 7 crc 7 ) ) resource ( name r rom ( size 8 "
                      "crc 8 ) )"
            << QString()
            << QList<Rom>{{2, 0xabcdef02, "g"}, {3, 0xabcdef03, "g"}, {0, 4, ""}, {5, 0, ""},
                          {6, 0x23456789, ""},  {7, 7, "m"},          {8, 8, "r"}};
        // Refused whole, with the line where the fault is seen, even after good games.
        const QByteArray good = head + "game ( name a rom ( size 1 crc 1 ) )\n";
        QTest::newRow("truncated")
            << good + "game ( name b\nrom ( size 2 crc 2"
            << "Not a DAT file: x.dat: Unexpected end of file. at line 6" << QList<Rom>{{1, 1, ""}};
        QTest::newRow("unterminated string")
            << good + "\ngame ( name \"b rom ( size 2 crc 2 ) )\n"
            << "Not a DAT file: x.dat: Unterminated string. at line 6" << QList<Rom>{{1, 1, ""}};
        QTest::newRow("unbalanced")
            << good + "game ( name b ) )\n"
            << "Not a DAT file: x.dat: Unbalanced parentheses. at line 5" << QList<Rom>{{1, 1, ""}};
        QTest::newRow("game without name")
            << good + "\ngame (\n year 1984 rom ( size 2 crc 2 ) )\n"
            << "Not a DAT file: x.dat: A game without a name. at line 6" << QList<Rom>{{1, 1, ""}};
        QTest::newRow("not a block") << QByteArray("game ( name a ) \"b\" ( )")
                                     << "Not a DAT file: x.dat: A block such as game ( ... ) was "
                                        "expected. at line 1"
                                     << QList<Rom>{};
    }
    void readsClrMamePro()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        QFETCH(QList<Rom>, roms);
        for (const bool streamed : {true, false}) {
            std::optional<Message> said;
            const DatCatalogue catalogue =
                streamed ? catalogueOf(text, said) : fileCatalogueOf(text, said);
            QCOMPARE(said ? said->text : QString(), message);
            compareRoms(catalogue, roms);
        }
    }

    // A device is read a block at a time: texts, escapes and line counts cross block boundaries.
    void readsAcrossDeviceBlocks()
    {
        QList<testsupport::DatGameSpec> games;
        for (int i = 0; i < 4000; ++i)
            games.append({"Game \\\"" + QByteArray::number(i) + "\\\" (Soft)", i, quint32(i),
                          "manufacturer \"" + QByteArray(i % 50, 'm') + "\""});
        QByteArray text = clrMameProDat(games);
        std::optional<Message> fromFile;
        std::optional<Message> fromDevice;
        const DatCatalogue whole = fileCatalogueOf(text, fromFile);
        const DatCatalogue streamed = catalogueOf(text, fromDevice);
        QVERIFY(!fromFile && !fromDevice);
        QCOMPARE(streamed.romCount(), 4000);
        for (int i = 0; i < 4000; ++i)
            QCOMPARE(*streamed.entryOf(i, quint32(i)), *whole.entryOf(i, quint32(i)));
        QCOMPARE(streamed.entryOf(3999, 3999)->title, "Game \"3999\"");
        text.append("\n)");
        catalogueOf(text, fromDevice);
        QCOMPARE(fromDevice->text, "Not a DAT file: x.dat: Unbalanced parentheses. at line " +
                                       QString::number(4000 * 5 + 3));
    }

    // The convention is told from the games, and decides what a name gives.
    void namesByConvention_data()
    {
        QTest::addColumn<QByteArray>("dat");
        QTest::addColumn<DatConvention>("convention");
        QTest::addColumn<QStringList>("first"); // title, year, publisher, authors
        QTest::addColumn<bool>("tosec");        // the TOSEC name kept, for parts
        const QByteArray realKeys = "year \"1987\" manufacturer \" Paragon Programming Ltd|John "
                                    "Price |Donnald J. Capbbel)\"";
        QTest::newRow("title and publisher, as the real DAT writes them")
            << clrMameProDat({{"10th Frame (US Gold Ltd)", 1, 1, realKeys},
                              {"Bingo", 2, 2},
                              {"Vengador (La Senda del Tigre I) (Jesus Pedrosa Vidal)", 3, 3}})
            << DatConvention::TitlePublisher
            << QStringList{"10th Frame", "1987", "US Gold Ltd",
                           "Paragon Programming Ltd, John Price, Donnald J. Capbbel)"}
            << false;
        QTest::newRow("a title's own parentheses")
            << clrMameProDat({{"Vengador (La Senda del Tigre I) (Jesus Pedrosa Vidal)", 1, 1},
                              {"Bingo", 2, 2}})
            << DatConvention::TitlePublisher
            << QStringList{"Vengador (La Senda del Tigre I)", "0", "Jesus Pedrosa Vidal", ""}
            << false;
        QTest::newRow("mostly tosec")
            << clrMameProDat({{"Stray Name", 1, 1, "year 1990"},
                              {"Jetpac (1983)(Ultimate)", 2, 2},
                              {"Elite (1985)(Firebird)(Side A)", 3, 3}})
            << DatConvention::Tosec << QStringList{"Stray Name", "0", "", ""} << false;
        QTest::newRow("tosec") << clrMameProDat({{"Elite (1985)(Firebird)(Side A)[a]", 1, 1}})
                               << DatConvention::Tosec
                               << QStringList{"Elite", "1985", "Firebird", ""} << true;
        QTest::newRow("no-intro by region words")
            << clrMameProDat({{"Game (Europe) (Rev 1)", 1, 1, "manufacturer \"A|B\" year 1999"},
                              {"Other (USA, Japan)", 2, 2},
                              {"Third (Proto)", 3, 3}})
            << DatConvention::NoIntro << QStringList{"Game", "1999", "", "A, B"} << false;
        QTest::newRow("no-intro by region keys")
            << clrMameProDat({{"Game (Rev 1)", 1, 1, "region \"Europe\""},
                              {"Other (Demo)", 2, 2, "release ( name x region EUR )"}})
            << DatConvention::NoIntro << QStringList{"Game", "0", "", ""} << false;
        QTest::newRow("Logiqx XML with year and manufacturer")
            << QByteArray("<datafile><game name=\"Saboteur (Durell)\"><year>1985</year>"
                          "<manufacturer>Clive Townsend</manufacturer><rom size=\"1\" crc=\"1\"/>"
                          "</game></datafile>")
            << DatConvention::TitlePublisher
            << QStringList{"Saboteur", "1985", "Durell", "Clive Townsend"} << false;
        QTest::newRow("Logiqx XML with releases")
            << QByteArray("<datafile><game name=\"Game (Rev 2)\"><release name=\"x\" "
                          "region=\"EUR\"/><rom size=\"1\" crc=\"1\"/></game></datafile>")
            << DatConvention::NoIntro << QStringList{"Game", "0", "", ""} << false;
    }
    void namesByConvention()
    {
        QFETCH(QByteArray, dat);
        QFETCH(QStringList, first);
        std::optional<Message> said;
        const DatCatalogue catalogue = catalogueOf(dat, said);
        QVERIFY(!said);
        QTEST(catalogue.files().first().convention, "convention");
        const DatEntry *entry = catalogue.entryOf(1, 1);
        QVERIFY(entry);
        QCOMPARE((QStringList{entry->title, QString::number(entry->year), entry->publisher,
                              entry->authors}),
                 first);
        QTEST(entry->tosec.parsed, "tosec");
    }

    // The header's name and version, the file's base name without one; games counted only when
    // a rom of theirs can be matched.
    void describesFiles()
    {
        QTemporaryDir dir;
        const QString named = dir.filePath(QStringLiteral("named.dat"));
        testsupport::writeFile(named,
                               clrMameProDat({{"A", 1, 1}, {"A", 2, 2}},
                                             "clrmamepro ( name \"Header\" version 2.1 )\n") +
                                   "game ( name none rom ( name x ) )");
        const QString bare = dir.filePath(QStringLiteral("Bare Name.xml.dat"));
        testsupport::writeFile(bare, "<datafile><game name=\"B\"><rom size=\"3\" crc=\"3\"/>"
                                     "</game></datafile>");
        DatCatalogue catalogue;
        QVERIFY(!catalogue.addFile(named) && !catalogue.addFile(bare));
        QCOMPARE(catalogue.files().size(), 2);
        const DatFileInfo &first = catalogue.files().at(0);
        QCOMPARE((QStringList{first.name, first.version, QString::number(first.games),
                              QString::number(first.roms)}),
                 (QStringList{"Header", "2.1", "2", "2"}));
        QCOMPARE(catalogue.files().at(1).name, "Bare Name.xml");
        QCOMPARE(catalogue.entryOf(3, 3)->file, 1);
    }

    void readsTheRealDat()
    {
        const QString path = testsupport::corpusDir() +
                             "/collection/libretro__libretro-database/Sinclair - ZX Spectrum.dat";
        if (!QFileInfo::exists(path))
            QSKIP("the shared corpus is not here");
        DatCatalogue catalogue;
        QVERIFY(!catalogue.addFile(path));
        const DatFileInfo &info = catalogue.files().first();
        QCOMPARE(info.games, 3855);
        QCOMPARE(info.name, "Sinclair - ZX Spectrum");
        QCOMPARE(info.version, "2016.5.1");
        QCOMPARE(info.convention, DatConvention::TitlePublisher);
    }

    // A second file adds to the first; one that is not there says so and leaves the rest.
    void readsSeveralFiles()
    {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("a.dat"));
        testsupport::writeFile(first, "<datafile><game name=\"A\"><rom size=\"1\" crc=\"1\"/>"
                                      "</game></datafile>");
        const QString second = dir.filePath(QStringLiteral("b.dat"));
        testsupport::writeFile(second, "<datafile><game name=\"B\"><rom size=\"2\" crc=\"2\"/>"
                                       "</game></datafile>");
        DatCatalogue catalogue;
        QVERIFY(!catalogue.addFile(first));
        QVERIFY(!catalogue.addFile(second));
        const std::optional<Message> missing = catalogue.addFile(dir.filePath("none.dat"));
        QVERIFY(missing);
        QVERIFY2(missing->text.startsWith("Unable to read the DAT file: "),
                 qPrintable(missing->text));
        QCOMPARE(catalogue.entryOf(1, 1)->game, QStringLiteral("A"));
        QCOMPARE(catalogue.entryOf(2, 2)->game, QStringLiteral("B"));
        QCOMPARE(catalogue.romCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestDatCatalogue)
#include "tst_dat_catalogue.moc"
