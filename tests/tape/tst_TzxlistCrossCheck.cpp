// Our reading and listing of real tapes against tzxlist (fuse-emulator-utils): block count and
// IDs, and per block the header names, types, lengths and parameters, data lengths, group
// names, comments, loop counts and custom-info names.
#include "TestSupport.h"

#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// One block as tzxlist prints it; only the lines we compare are kept.
struct PeerBlock
{
    int id = -1;
    bool header = false;
    int type = -1;
    QByteArray name;
    qint64 zxLength = 0;
    qint64 parameter1 = 0;
    qint64 blockLength = -1; // "Block length" of 0x10
    qint64 dataLength = -1;  // "Datablock length" of 0x10, "Data length" of 0x11
    QString text;            // 0x21 name, 0x30 comment, 0x35 description
    qint64 count = -1;       // 0x24
};

QList<PeerBlock> parseTzxlist(const QString &output)
{
    static const QRegularExpression blockType(QStringLiteral("^  Block type 0x([0-9a-f]{2}) "));
    static const QRegularExpression headerLine(
        QStringLiteral("^  Block header, zxlength: (\\d+), parameter1: (\\d+)"));
    static const QRegularExpression rawHeader(
        QStringLiteral("^  Raw header: ([0-9a-f]{2}) \\| ([0-9a-f ]+) \\|"));
    static const QRegularExpression number(
        QStringLiteral("^  (Block length|Datablock length|Data length|Count): (\\d+)"));
    static const QRegularExpression text(QStringLiteral("^\\s*(Name|Comment|Description): (.*)$"));

    QList<PeerBlock> blocks;
    for (const QString &line : output.split(u'\n')) {
        if (line.startsWith(QStringLiteral("--= Block #"))) {
            blocks.append(PeerBlock{});
            continue;
        }
        if (blocks.isEmpty())
            continue;
        PeerBlock &block = blocks.last();
        QRegularExpressionMatch m;
        if ((m = blockType.match(line)).hasMatch()) {
            block.id = m.captured(1).toInt(nullptr, 16);
        } else if ((m = headerLine.match(line)).hasMatch()) {
            block.header = true;
            block.zxLength = m.captured(1).toLongLong();
            block.parameter1 = m.captured(2).toLongLong();
        } else if ((m = rawHeader.match(line)).hasMatch()) {
            block.type = m.captured(1).toInt(nullptr, 16);
            block.name = QByteArray::fromHex(m.captured(2).toLatin1());
        } else if ((m = number.match(line)).hasMatch()) {
            // A block too short for its checksum prints its length as 2^64 - 1.
            bool ok = false;
            const qint64 value = m.captured(2).toLongLong(&ok);
            const QString field = m.captured(1);
            qint64 &target = field == u"Count"          ? block.count
                             : field == u"Block length" ? block.blockLength
                                                        : block.dataLength;
            target = ok ? value : -1;
        } else if ((m = text.match(line)).hasMatch()) {
            block.text = m.captured(2);
        }
    }
    return blocks;
}

QString sizeText(qint64 size)
{
    return size > 0 ? QString::number(size) : QString();
}

} // namespace

class tst_TzxlistCrossCheck : public QObject
{
    Q_OBJECT

    QString m_tzxlist;
    QTemporaryDir m_made;

    void compareWithPeer(const QString &path)
    {
        QProcess peer;
        peer.start(m_tzxlist, {path});
        QVERIFY(peer.waitForFinished(30000));
        if (peer.exitStatus() != QProcess::NormalExit || peer.exitCode() != 0)
            QSKIP(qPrintable(
                QStringLiteral("tzxlist rejects this file: %1")
                    .arg(QString::fromLocal8Bit(peer.readAllStandardError()).trimmed())));
        const QList<PeerBlock> theirs =
            parseTzxlist(QString::fromLocal8Bit(peer.readAllStandardOutput()));

        TapeIndex tape;
        QVERIFY(!ReadTapeImage(tape, path));
        QList<TapeRow> ours;
        for (const TapeRow &row : ListTapeBlocks(tape)) {
            if (!row.block.isEmpty()) // the missing-datablock note is no block
                ours.append(row);
        }
        QCOMPARE(ours.size(), tape.Blocks.size());
        QCOMPARE(tape.Blocks.size(), theirs.size());

        for (qsizetype i = 0; i < theirs.size(); ++i) {
            const PeerBlock &peerBlock = theirs.at(i);
            const TapeRow &row = ours.at(i);
            const QString where = QStringLiteral("block %1: %2").arg(i).arg(row.description);
            QVERIFY2(tape.Blocks.at(i).BlockId == peerBlock.id, qPrintable(where));
            if (peerBlock.header) {
                static const QStringList kTypes = {"PROG ", "N-AR ", "C-AR ", "CODE "};
                const QString expected =
                    QString(9, u' ') + u'"' + tapeText(peerBlock.name) + QStringLiteral("\" ") +
                    kTypes.value(peerBlock.type) +
                    QString::number(peerBlock.parameter1).rightJustified(5, u' ');
                QCOMPARE(row.description, expected);
                QCOMPARE(row.size, sizeText(peerBlock.zxLength));
                continue;
            }
            if (row.description.startsWith(QStringLiteral("         \""))) {
                // We decode every block with flag 0 as a header, as the listing always has;
                // tzxlist only one of exactly 19 bytes.
                QVERIFY2(peerBlock.blockLength != 19, qPrintable(where));
                continue;
            }
            switch (peerBlock.id) {
            case 0x10:
                QVERIFY2(row.size == sizeText(peerBlock.dataLength), qPrintable(where));
                break;
            case 0x11: // tzxlist counts the flag and checksum bytes here
                QVERIFY2(row.size == sizeText(peerBlock.dataLength - 2), qPrintable(where));
                break;
            case 0x21:
                QCOMPARE(row.description, QStringLiteral("GROUP \"%1\"").arg(peerBlock.text));
                break;
            case 0x24:
                QCOMPARE(row.description, QStringLiteral("LOOP %1 TIMES").arg(peerBlock.count));
                break;
            case 0x30:
                QCOMPARE(row.description, QStringLiteral("[Text \"%1\"]").arg(peerBlock.text));
                break;
            case 0x35:
                QCOMPARE(
                    row.description,
                    QStringLiteral("[Custom Info Block \"%1\"]").arg(peerBlock.text.trimmed()));
                break;
            default:
                break;
            }
        }
    }

    // Runs one tool in the scratch directory; skips the test when the tool is not installed.
    void make(const QString &program, const QStringList &arguments)
    {
        const QString tool = QStandardPaths::findExecutable(program);
        if (tool.isEmpty())
            QSKIP(
                qPrintable(program + QStringLiteral(" is not installed (scripts/setup.sh deps)")));
        QProcess process;
        process.setWorkingDirectory(m_made.path());
        process.start(tool, arguments);
        QVERIFY(process.waitForFinished(30000));
        QVERIFY2(process.exitCode() == 0, process.readAllStandardError().constData());
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_tzxlist = QStandardPaths::findExecutable(QStringLiteral("tzxlist"));
        if (m_tzxlist.isEmpty())
            QSKIP("tzxlist is not installed (fuse-emulator-utils; scripts/setup.sh deps)");
        QVERIFY(m_made.isValid());
        testsupport::writeFile(m_made.filePath(QStringLiteral("prog.bas")),
                               "10 REM test\n20 PRINT \"HI\"\n30 GOTO 20\n");
        testsupport::writeFile(m_made.filePath(QStringLiteral("code.asm")),
                               "org 40000\nld a,2\nout (254),a\nret\n");
        testsupport::writeFile(m_made.filePath(QStringLiteral("screen.scr")),
                               QByteArray(6144, '\x55') + QByteArray(768, '\x38'));
    }

    void corpus_data()
    {
        QTest::addColumn<QString>("path");
        const QString corpus = testsupport::corpusDir();
        if (corpus.isEmpty())
            QSKIP("no ../shared/corpus: the third-party tapes are not here");
        QDirIterator it(corpus, {QStringLiteral("*.tzx"), QStringLiteral("*.tap")}, QDir::Files,
                        QDirIterator::Subdirectories);
        QStringList paths;
        while (it.hasNext())
            paths.append(it.next());
        paths.sort();
        for (const QString &path : std::as_const(paths))
            QTest::newRow(qPrintable(path.mid(corpus.size() + 1))) << path;
    }
    void corpus()
    {
        QFETCH(QString, path);
        compareWithPeer(path);
    }

    void madeTapes_data()
    {
        QTest::addColumn<QList<QStringList>>("commands"); // program, then its arguments
        QTest::addColumn<QString>("tape");
        const auto cmd = [](std::initializer_list<QString> words) { return QStringList(words); };
        const QStringList basic = cmd({"zmakebas", "-n", QStringLiteral("café prog"), "-a", "10",
                                       "-o", "prog.tap", "prog.bas"});
        QTest::newRow("zmakebas") << QList<QStringList>{basic} << "prog.tap";
        QTest::newRow("zmakebas, no autostart")
            << QList<QStringList>{cmd({"zmakebas", "-o", "plain.tap", "prog.bas"})} << "plain.tap";
        QTest::newRow("pasmo --tap")
            << QList<QStringList>{cmd({"pasmo", "--tap", "code.asm", "code.tap"})} << "code.tap";
        QTest::newRow("pasmo --tzx")
            << QList<QStringList>{cmd({"pasmo", "--tzx", "code.asm", "code.tzx"})} << "code.tzx";
        QTest::newRow("pasmo --tapbas")
            << QList<QStringList>{cmd({"pasmo", "--tapbas", "code.asm", "loader.tap"})}
            << "loader.tap";
        QTest::newRow("pasmo --tzxbas")
            << QList<QStringList>{cmd({"pasmo", "--tzxbas", "code.asm", "loader.tzx"})}
            << "loader.tzx";
        QTest::newRow("tapeconv tap to tzx")
            << QList<QStringList>{basic, cmd({"tapeconv", "prog.tap", "prog.tzx"})} << "prog.tzx";
        QTest::newRow("tapeconv tzx to tap")
            << QList<QStringList>{cmd({"pasmo", "--tzxbas", "code.asm", "loader2.tzx"}),
                                  cmd({"tapeconv", "loader2.tzx", "loader2.tap"})}
            << "loader2.tap";
        QTest::newRow("tapeconv with a screen")
            << QList<QStringList>{basic,
                                  cmd({"tapeconv", "-s", "screen.scr", "prog.tap", "screen.tzx"})}
            << "screen.tzx";
    }
    void madeTapes()
    {
        QFETCH(QList<QStringList>, commands);
        QFETCH(QString, tape);
        for (const QStringList &command : std::as_const(commands)) {
            make(command.first(), command.mid(1));
            if (QTest::currentTestFailed())
                return;
        }
        compareWithPeer(m_made.filePath(tape));
    }
};

QTEST_GUILESS_MAIN(tst_TzxlistCrossCheck)
#include "tst_TzxlistCrossCheck.moc"
