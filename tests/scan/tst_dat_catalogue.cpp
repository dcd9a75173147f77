// Logiqx DAT files: roms found by size and CRC-32, damaged or foreign files refused whole with
// the reason and line, incomplete rom lines passed over.
#include "TestSupport.h"

#include "scan/DatCatalogue.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

namespace {

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

} // namespace

Q_DECLARE_METATYPE(QList<Rom>)

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
        for (const Rom &rom : roms) {
            const DatEntry *entry = catalogue.entryOf(rom.size, rom.crc);
            QCOMPARE(entry ? entry->game : QString(), rom.game);
        }
        if (!message.isEmpty())
            QCOMPARE(catalogue.romCount(), 0);
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
