#include "TapeImages.h"

#include "tape/TapeListing.h"

#include <QTest>

using namespace tapeimages;

namespace {

// A row as "block|description|size|colour" (k black, b blue, d default), easy to read in a
// failure.
QStringList flatten(const QList<TapeRow> &rows)
{
    static const char kColours[] = {'d', 'k', 'b'};
    QStringList out;
    for (const TapeRow &row : rows)
        out.append(QStringLiteral("%1|%2|%3|%4")
                       .arg(row.block, row.description, row.size)
                       .arg(QLatin1Char(kColours[int(row.colour)])));
    return out;
}

QString blanks(int n)
{
    return QString(n, u' ');
}

const QString kHead = QStringLiteral("HEAD") + QString(25, u' ') + QStringLiteral("255");

} // namespace

class tst_TapeListing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Descriptions and size rules of every block but standard and turbo data: catches a wrong
    // text, a size taken from the wrong bytes and the colour of the row.
    void otherBlocks_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("size");
        const QByteArray four(4, '\1');
        QTest::newRow("0x12") << 0x12 << four << "Pure Tone"
                              << "";
        QTest::newRow("0x13") << 0x13 << four << "Sequence of Pulses"
                              << "";
        QTest::newRow("0x14") << 0x14 << four << "Pure Data Block"
                              << "";
        QTest::newRow("0x15") << 0x15 << four << "Direct Recording"
                              << "";
        QTest::newRow("0x16") << 0x16 << four << "C64 ROM Type Data Block"
                              << "";
        QTest::newRow("0x17") << 0x17 << four << "C64 Turbo Tape Data Block"
                              << "";
        QTest::newRow("0x18") << 0x18 << four << "CSW Recording"
                              << "";
        QTest::newRow("0x19") << 0x19 << four << "Generalized Data Block"
                              << "";
        QTest::newRow("0x20") << 0x20 << four << "Pause 'Stop the Tape' Command"
                              << "";
        QTest::newRow("0x21") << 0x21 << QByteArray("\x05GroupXX") << "GROUP \"Group\""
                              << "";
        QTest::newRow("0x21 name past the body") << 0x21 << QByteArray("\x09Gr") << "GROUP \"Gr\""
                                                 << "";
        QTest::newRow("0x22") << 0x22 << QByteArray() << "GROUP END"
                              << "";
        QTest::newRow("0x23") << 0x23 << four << "Jump To Block"
                              << "";
        QTest::newRow("0x24") << 0x24 << le(3, 2) << "LOOP 3 TIMES"
                              << "";
        QTest::newRow("0x24 largest") << 0x24 << le(65535, 2) << "LOOP 65535 TIMES"
                                      << "";
        QTest::newRow("0x25") << 0x25 << QByteArray() << "LOOP END"
                              << "";
        QTest::newRow("0x26") << 0x26 << le(2, 2) + four << "[Call Sequence]"
                              << "4";
        QTest::newRow("0x27") << 0x27 << QByteArray() << "Return From Sequence"
                              << "";
        QTest::newRow("0x28") << 0x28 << le(3, 2) + "abc"
                              << "[Select Block]"
                              << "3";
        QTest::newRow("0x28 size 0 shows none") << 0x28 << le(0, 2) << "[Select Block]"
                                                << "";
        QTest::newRow("0x2A") << 0x2A << four << "Stop Tape if in 48K Mode"
                              << "";
        QTest::newRow("0x2B") << 0x2B << four << "Set Signal Level"
                              << "";
        QTest::newRow("0x30") << 0x30 << QByteArray("\x02Hi") << "[Text \"Hi\"]"
                              << "";
        QTest::newRow("0x30 line break") << 0x30 << QByteArray("\x03\x41\r\x42") << "[Text \"A?B\"]"
                                         << "";
        QTest::newRow("0x31") << 0x31 << QByteArray("\x05\x02Hi") << "[Message Block]"
                              << "2";
        QTest::newRow("0x32") << 0x32 << le(5, 2) + "12345"
                              << "[Archive Info]"
                              << "5";
        QTest::newRow("0x33") << 0x33 << QByteArray(6, '\0') << "Hardware Type"
                              << "";
        QTest::newRow("0x34") << 0x34 << QByteArray(8, '\0') << "Emulation Info"
                              << "";
        QTest::newRow("0x35 blanks trimmed")
            << 0x35 << QByteArray("Hello           ") + le(3, 4) + "abc"
            << "[Custom Info Block \"Hello\"]"
            << "19";
        QTest::newRow("0x35 short body")
            << 0x35 << QByteArray(" Hi") << "[Custom Info Block \"Hi\"]"
            << "";
        QTest::newRow("0x40") << 0x40 << four << "Snapshot Block"
                              << "";
        QTest::newRow("0x5A") << 0x5A << QByteArray(9, 'Z') << "(90 dec, ASCII Letter `Z')"
                              << "";
        QTest::newRow("0x4B unknown") << 0x4B << four << "Unknown Block 0x4B"
                                      << "";
        QTest::newRow("0x0A unknown") << 0x0A << four << "Unknown Block 0x0A"
                                      << "";
    }
    void otherBlocks()
    {
        QFETCH(int, id);
        QFETCH(QByteArray, body);
        QFETCH(QString, description);
        QFETCH(QString, size);
        TapeIndex tape;
        tape.Blocks = {TapeBlock{body, qint16(id)}};
        QCOMPARE(flatten(ListTapeBlocks(tape)),
                 QStringList({QStringLiteral("0|%1|%2|b").arg(description, size)}));
    }

    // Header decoding and the pairing of headers with data. Every row of 0x10 blocks is listed
    // from a TAP image and from a TZX image, which must agree.
    void spectrumBlocks_data()
    {
        QTest::addColumn<QList<QByteArray>>("blocks"); // Spectrum bytes; "pause" for a 0x20
        QTest::addColumn<QStringList>("rows");
        const QByteArray hdr = header(0, "ABCDEFGHIJ", 300, 10);
        const QByteArray dat = data(QByteArray(300, 'x'));
        const QString basic = blanks(9) + QStringLiteral("\"ABCDEFGHIJ\" PROG    10");
        QTest::newRow("header and data")
            << QList<QByteArray>{hdr, dat} << QStringList{"0|" + basic + "|300|k", "1|DATA|300|k"};
        QTest::newRow("twice") << QList<QByteArray>{hdr, dat, hdr, dat}
                               << QStringList{"0|" + basic + "|300|k", "1|DATA|300|k",
                                              "2|" + basic + "|300|k", "3|DATA|300|k"};
        QTest::newRow("header without data")
            << QList<QByteArray>{hdr, hdr, dat}
            << QStringList{"0|" + basic + "|300|k", "|" + kMissingDatablock + "||d",
                           "1|" + basic + "|300|k", "2|DATA|300|k"};
        QTest::newRow("last header alone")
            << QList<QByteArray>{dat, hdr}
            << QStringList{"0|" + kHead + "|300|k", "1|" + basic + "|300|k"};
        QTest::newRow("pause between")
            << QList<QByteArray>{hdr, "pause", dat}
            << QStringList{"0|" + basic + "|300|k", "1|Pause 'Stop the Tape' Command||b",
                           "2|DATA|300|k"};
        QTest::newRow("data of any flag without header")
            << QList<QByteArray>{data("abc", 0x42), data("abcd")}
            << QStringList{"0|" + kHead + "|3|k", "1|" + kHead + "|4|k"};
        QTest::newRow("types and padding")
            << QList<QByteArray>{header(1, "n", 5, 0), header(2, "c", 6, 123),
                                 header(3, "code", 6912, 32768), header(4, "odd", 1, 65535)}
            << QStringList{"0|" + blanks(9) + "\"n         \" N-AR     0|5|k",
                           "|" + kMissingDatablock + "||d",
                           "1|" + blanks(9) + "\"c         \" C-AR   123|6|k",
                           "|" + kMissingDatablock + "||d",
                           "2|" + blanks(9) + "\"code      \" CODE 32768|6912|k",
                           "|" + kMissingDatablock + "||d",
                           "3|" + blanks(9) + "\"odd       \" 65535|1|k"};
        // Names are Windows-1252; a control character would break the row.
        QTest::newRow("name bytes")
            << QList<QByteArray>{header(0, "\x80\xE9\x7F\x01", 0, 0)}
            << QStringList{"0|" + blanks(9) + QStringLiteral("\"€é??      \" PROG     0||k")};
        // What damaged blocks show is ours to choose; they must list, not fail.
        QTest::newRow("short header")
            << QList<QByteArray>{QByteArray("\0\3AB\x10", 5), data("x")}
            << QStringList{"0|" + blanks(9) + "\"AB?       \" CODE     0||k", "1|DATA|1|k"};
        QTest::newRow("flag only and empty") << QList<QByteArray>{QByteArray("\xFF"), QByteArray()}
                                             << QStringList{"0|" + kHead + "||k", "1|||k"};
    }
    void spectrumBlocks()
    {
        QFETCH(QList<QByteArray>, blocks);
        QFETCH(QStringList, rows);
        TapeIndex tzx;
        TapeIndex tap;
        tap.IsTap = true;
        bool tapOnly = true;
        for (const QByteArray &spectrum : blocks) {
            if (spectrum == "pause") {
                tzx.Blocks.append({le(1000, 2), 0x20});
                tapOnly = false;
                continue;
            }
            tzx.Blocks.append({le(1000, 2) + le(spectrum.size(), 2) + spectrum, 0x10});
            tap.Blocks.append({spectrum, 0x10});
        }
        QCOMPARE(flatten(ListTapeBlocks(tzx)), rows);
        if (tapOnly)
            QCOMPARE(flatten(ListTapeBlocks(tap)), rows);
    }

    // Turbo blocks carry the Spectrum bytes after 18 bytes of timing and length.
    void turboBlocks()
    {
        TapeIndex tape;
        const QByteArray timing(15, '\1');
        for (const QByteArray &spectrum : {header(3, "t", 2, 40000), data("ab")})
            tape.Blocks.append({timing + le(spectrum.size(), 3) + spectrum, 0x11});
        QCOMPARE(flatten(ListTapeBlocks(tape)),
                 QStringList({"0|" + blanks(9) + "\"t         \" CODE 40000|2|k", "1|DATA|2|k"}));
    }
};

QTEST_GUILESS_MAIN(tst_TapeListing)
#include "tst_TapeListing.moc"
