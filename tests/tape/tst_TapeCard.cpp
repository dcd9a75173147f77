// The catalogue card a tape carries: archive-info texts (TZX block 0x32) and the name of the first
// program header, on hand-built images and on the corpus tapes that carry archive info.
#include "TapeImages.h"
#include "TestSupport.h"

#include "tape/ArchiveInfo.h"
#include "tape/TapeCard.h"
#include "tape/TapeReader.h"

#include <QFileInfo>
#include <QTest>

using namespace tapeimages;

namespace {

using Texts = QList<std::pair<int, QByteArray>>;

// The bytes after the block ID: two length bytes of the rest, the count, then the texts.
QByteArray archiveRest(const Texts &texts)
{
    QByteArray rest(1, char(texts.size()));
    for (const auto &[type, text] : texts)
        rest += char(type) + QByteArray(1, char(text.size())) + text;
    return rest;
}

QByteArray archiveBody(const Texts &texts)
{
    const QByteArray rest = archiveRest(texts);
    return le(rest.size(), 2) + rest;
}

QByteArray archiveBlock(const Texts &texts)
{
    return QByteArray(1, 0x32) + archiveBody(texts);
}

// A TZX turbo speed block: 15 bytes of timings, a 3-byte length, the Spectrum bytes.
QByteArray turbo(const QByteArray &spectrum)
{
    return QByteArray(1, 0x11) + QByteArray(15, '\x01') + le(spectrum.size(), 3) + spectrum;
}

TapeCard cardOfTzx(const QList<QByteArray> &blocks)
{
    TapeIndex tape;
    if (readTzxImage(tape, tzx(blocks)))
        return {};
    return readTapeCard(tape);
}

TapeCard cardOfTap(const QList<QByteArray> &spectrumBlocks)
{
    TapeIndex tape;
    readTapImage(tape, tap(spectrumBlocks));
    return readTapeCard(tape);
}

} // namespace

Q_DECLARE_METATYPE(QList<ArchiveText>)

class TestTapeCard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The walk over the texts: a count that promises more than the block holds, or a text that
    // runs past it, must stop the walk without reading outside the body.
    void decodesArchiveTexts_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QList<ArchiveText>>("texts");
        const QByteArray two = archiveBody({{0x00, "Manic Miner"}, {0x03, "1983"}});
        QTest::newRow("two texts")
            << two << QList<ArchiveText>{{0x00, "Manic Miner"}, {0x03, "1983"}};
        QTest::newRow("no count") << le(0, 2) << QList<ArchiveText>{};
        QTest::newRow("empty body") << QByteArray() << QList<ArchiveText>{};
        QTest::newRow("count of none") << archiveBody({}) << QList<ArchiveText>{};
        QTest::newRow("empty text") << archiveBody({{0xFF, ""}}) << QList<ArchiveText>{{0xFF, ""}};
        QByteArray promisesMore = two;
        promisesMore[2] = char(5);
        QTest::newRow("count promises more")
            << promisesMore << QList<ArchiveText>{{0x00, "Manic Miner"}, {0x03, "1983"}};
        QTest::newRow("text runs past the block")
            << two.left(two.size() - 1) << QList<ArchiveText>{{0x00, "Manic Miner"}};
        QTest::newRow("type byte without its length")
            << two + QByteArray(1, 0x02)
            << QList<ArchiveText>{{0x00, "Manic Miner"}, {0x03, "1983"}};
        QTest::newRow("Windows-1252") << archiveBody({{0x01, "Caf\xE9 \x80"}})
                                      << QList<ArchiveText>{{0x01, QStringLiteral("Café €")}};
    }
    void decodesArchiveTexts()
    {
        QFETCH(QByteArray, body);
        QFETCH(QList<ArchiveText>, texts);
        QCOMPARE(decodeArchiveInfo(body), texts);
    }

    // Tapes separate lines with CR; other line ends and blank lines must not leave empty names.
    void splitsLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR") << "Matthew Smith\rMr Micro"
                            << QStringList{"Matthew Smith", "Mr Micro"};
        QTest::newRow("CR LF, LF, blanks") << " A \r\nB\n\n\rC " << QStringList{"A", "B", "C"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitsLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(archiveLines(text), lines);
    }

    void fullCardFromArchiveInfo()
    {
        const TapeCard card =
            cardOfTzx({archiveBlock({{0x00, "Jet Set\rWilly"},
                                     {0x01, "Software Projects"},
                                     {0x02, "Matthew Smith\rTeam Two"},
                                     {0x03, "1984 (re-release 1986)"},
                                     {0x04, "English"},
                                     {0xFF, "First line\r\rSecond paragraph "}}),
                       standard(header(0, "jsw", 300, 10)), standard(data(QByteArray(300, 'x')))});
        QCOMPARE(card.title, QStringLiteral("Jet Set Willy"));
        QCOMPARE(card.publisher, QStringLiteral("Software Projects"));
        QCOMPARE(card.authors, QStringLiteral("Matthew Smith, Team Two"));
        QCOMPARE(card.year, 1984);
        QCOMPARE(card.comment, QStringLiteral("First line\r\n\r\nSecond paragraph"));
        QCOMPARE(card.programName, QStringLiteral("jsw"));
    }

    // Several archive blocks: the first title counts, authors and comments add up; a year text
    // that is no number gives no year.
    void severalArchiveBlocks()
    {
        const TapeCard card =
            cardOfTzx({archiveBlock({{0x00, "First"}, {0x02, "One"}, {0x03, "unknown"}}),
                       archiveBlock({{0x00, "Second"}, {0x02, "Two"}, {0xFF, "Note"}})});
        QCOMPARE(card.title, QStringLiteral("First"));
        QCOMPARE(card.authors, QStringLiteral("One, Two"));
        QCOMPARE(card.year, 0);
        QCOMPARE(card.comment, QStringLiteral("Note"));
    }

    // The program name comes from the first header of type 0 only, wherever its block keeps the
    // Spectrum bytes, and a block too short for a header must not be read past its end.
    void programName_data()
    {
        QTest::addColumn<bool>("isTap");
        QTest::addColumn<QList<QByteArray>>("blocks");
        QTest::addColumn<QString>("name");
        QTest::newRow("TAP, code before program")
            << true
            << QList<QByteArray>{header(3, "screen", 6912, 16384), data(QByteArray(4, 'x')),
                                 header(0, "Manic     ", 100, 10)}
            << "Manic";
        QTest::newRow("TZX standard")
            << false << QList<QByteArray>{standard(header(0, "  Jet Pac ", 1, 0))} << "Jet Pac";
        QTest::newRow("TZX turbo")
            << false << QList<QByteArray>{turbo(header(0, "Turbo", 1, 0))} << "Turbo";
        QTest::newRow("first program wins")
            << true << QList<QByteArray>{header(0, "one", 1, 0), header(0, "two", 1, 0)} << "one";
        QTest::newRow("blank name skipped")
            << true << QList<QByteArray>{header(0, "", 1, 0), header(0, "named", 1, 0)} << "named";
        QTest::newRow("header cut short")
            << true << QList<QByteArray>{QByteArray("\x00\x00Sho", 5)} << "";
        QTest::newRow("data only") << true << QList<QByteArray>{data("abc")} << "";
    }
    void programName()
    {
        QFETCH(bool, isTap);
        QFETCH(QList<QByteArray>, blocks);
        QFETCH(QString, name);
        QCOMPARE((isTap ? cardOfTap(blocks) : cardOfTzx(blocks)).programName, name);
    }

    void corpusTapes()
    {
        const QString corpus = testsupport::corpusDir();
        const QString zasm = corpus + QStringLiteral("/zasm/Test/ZXSP/original/tzx.tzx");
        const QString complete = corpus + QStringLiteral("/libspectrum/test/complete-tzx.tzx");
        if (corpus.isEmpty() || !QFileInfo::exists(zasm) || !QFileInfo::exists(complete))
            QSKIP("corpus tapes not present");

        TapeIndex tape;
        QVERIFY(!ReadTapeImage(tape, zasm));
        TapeCard card = readTapeCard(tape);
        QCOMPARE(card.title, QStringLiteral("TZX test tape"));
        QCOMPARE(card.publisher, QString());
        QCOMPARE(card.authors, QStringLiteral("kio@little-bat.de"));
        QCOMPARE(card.year, 2018);
        QVERIFY2(card.comment.startsWith(QStringLiteral("this file doesn't do anything useful.")),
                 qPrintable(card.comment));
        QCOMPARE(card.programName, QStringLiteral("mloader"));

        // Its block declares one byte less than its texts take: the year is cut off and dropped.
        QVERIFY(!ReadTapeImage(tape, complete));
        card = readTapeCard(tape);
        QCOMPARE(card.title, QStringLiteral("Full title"));
        QCOMPARE(card.year, 0);
        QCOMPARE(card.programName, QString());
    }
};

QTEST_GUILESS_MAIN(TestTapeCard)
#include "tst_TapeCard.moc"
