#include "ArchiveMaker.h"
#include "TapeImages.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace tapeimages;

namespace {
const QString kMissing = QStringLiteral("      >>>>> Missing Datablock <<<<<");
}

class tst_CliTape : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The rows the viewer shows, as JSON; the message and status for rejected input. Catches a
    // lost row, a colour or field under the wrong name, and output on the wrong stream.
    void tape_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QJsonArray>("rows");
        QTest::addColumn<QByteArray>("err");
        const auto row = [](const char *block, const QString &description, const char *size,
                            const char *colour) {
            return QJsonObject{
                {"block", block}, {"description", description}, {"size", size}, {"colour", colour}};
        };
        const QByteArray hdr = header(3, "code", 2, 32768);
        const QString code = QString(9, u' ') + QStringLiteral("\"code      \" CODE 32768");
        QTest::newRow("tzx") << "a.tzx"
                             << tzx({standard(hdr), standard(hdr), QByteArray("\x20\0\0", 3),
                                     standard(data("ab"))})
                             << 0
                             << QJsonArray{row("0", code, "2", "black"),
                                           row("", kMissing, "", "default"),
                                           row("1", code, "2", "black"),
                                           row("2", "Pause 'Stop the Tape' Command", "", "blue"),
                                           row("3", "DATA", "2", "black")}
                             << QByteArray();
        QTest::newRow("tap, Windows-1252 name")
            << "b.TAP" << tap({header(0, "caf\xE9", 0, 0)}) << 0
            << QJsonArray{row("0", QString(9, u' ') + QStringLiteral("\"café      \" PROG     0"),
                              "", "black")}
            << QByteArray();
        QTest::newRow("invalid tzx") << "c.tzx" << QByteArray("not a tape") << 1 << QJsonArray()
                                     << QByteArray("Kivo: Invalid TZX Image\n");
        QTest::newRow("other ending")
            << "d.z80" << tzx({standard(hdr)}) << 1 << QJsonArray()
            << QByteArray("kivo-cli: %1 is not a tape image (TZX or TAP).\n");
    }
    void tape()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, image);
        QFETCH(int, exitCode);
        QFETCH(QJsonArray, rows);
        QFETCH(QByteArray, err);
        QTemporaryDir dir;
        testsupport::writeFile(dir.filePath(name), image);
        const testsupport::CliRun run = testsupport::runCli({"tape", dir.filePath(name)});
        QCOMPARE(run.err, QString::fromUtf8(err).arg(dir.filePath(name)).toUtf8());
        QCOMPARE(run.exitCode, exitCode);
        QJsonParseError error;
        const QJsonDocument printed = QJsonDocument::fromJson(run.out, &error);
        QVERIFY2(error.error == QJsonParseError::NoError, run.out.constData());
        QCOMPARE(printed.array(), rows);
        // Fields in the documented order.
        if (!printed.array().isEmpty())
            QVERIFY(run.out.indexOf("\"block\"") < run.out.indexOf("\"description\""));
    }

    // An archive lists as its member does, rows, messages and status alike: catches the kind
    // taken from the archive's name, a member other than the Spectrum one, and a .z80 member
    // listed instead of refused. The first corpus tapes join the hand-built ones when present.
    void archiveListsAsItsMember_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QByteArray>("image");
        const QByteArray hdr = header(3, "code", 2, 32768);
        QTest::newRow("tzx") << "A.TZX" << tzx({standard(hdr), QByteArray("\x20\0\0", 3)});
        QTest::newRow("tap") << "b.tap" << tap({header(0, "caf\xE9", 0, 0), data("xy")});
        QTest::newRow("bad tzx") << "c.tzx" << QByteArray("not a tape");
        QTest::newRow("snapshot") << "d.z80" << tzx({standard(hdr)});
        const QString corpus = testsupport::corpusDir();
        if (corpus.isEmpty())
            return;
        QDirIterator it(corpus, {"*.tzx", "*.tap"}, QDir::Files, QDirIterator::Subdirectories);
        for (int taken = 0; taken < 3 && it.hasNext(); ++taken) {
            const QString path = it.next();
            QTest::newRow(qPrintable(path)) << it.fileName() << testsupport::readFile(path);
        }
    }
    void archiveListsAsItsMember()
    {
        QFETCH(QString, member);
        QFETCH(QByteArray, image);
        QTemporaryDir dir;
        const QString plain = dir.filePath(member);
        testsupport::writeFile(plain, image);
        const testsupport::CliRun expected = testsupport::runCli({"tape", plain});
        const QList<QPair<QString, QByteArray>> archives = {
            {"x.zip", testsupport::makeZip({{"notes.txt", "n"}, {"sub/" + member, image}})},
            {member + ".gz", testsupport::makeGzip(image)}};
        for (const auto &[name, bytes] : archives) {
            const QString path = dir.filePath(name);
            testsupport::writeFile(path, bytes);
            const testsupport::CliRun run = testsupport::runCli({"tape", path});
            QCOMPARE(run.out, expected.out);
            QCOMPARE(run.exitCode, expected.exitCode);
            QCOMPARE(QString::fromUtf8(run.err).replace(path, plain),
                     QString::fromUtf8(expected.err));
        }
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no file") << QStringList{"tape"} << 2;
        QTest::newRow("two files") << QStringList{"tape", "a.tzx", "b.tzx"} << 2;
        QTest::newRow("missing file") << QStringList{"tape", "/nonexistent/a.tzx"} << 1;
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        const testsupport::CliRun run = testsupport::runCli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty() || run.out == "[]\n");
        QVERIFY(!run.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_CliTape)
#include "tst_CliTape.moc"
