#include "ArchiveMaker.h"
#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace testsupport;

class tst_CliMembers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Catches fields under the wrong name or in the wrong form (the CRC in decimal, upper case
    // or without its leading zeros), the wrong member marked, and failures on the wrong stream.
    void members_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QJsonArray>("members");
        QTest::addColumn<QString>("err");
        const auto member = [](const char *name, int size, const char *crc, bool spectrum) {
            return QJsonObject{
                {"name", name}, {"size", size}, {"crc32", crc}, {"spectrum", spectrum}};
        };
        // CRC-32 of "" is 0, of "a" e8b7be43, of "abc" 352441c2.
        QTest::newRow("zip") << "x.zip"
                             << makeZip({{"readme.txt", "a"}, {"z/b.TAP", "abc"}, {"a.tzx", ""}})
                             << 0
                             << QJsonArray{member("readme.txt", 1, "e8b7be43", false),
                                           member("z/b.TAP", 3, "352441c2", false),
                                           member("a.tzx", 0, "00000000", true)}
                             << "";
        QTest::newRow("gz") << "y.sna.gz" << makeGzip("abc") << 0
                            << QJsonArray{member("y.sna", 3, "352441c2", true)} << "";
        QTest::newRow("no Spectrum file")
            << "x.zip" << makeZip("readme.txt", "a") << 0
            << QJsonArray{member("readme.txt", 1, "e8b7be43", false)} << "";
        QTest::newRow("damaged") << "bad.zip" << QByteArray("PK") << 1 << QJsonArray()
                                 << "Kivo: Unable to read bad.zip: Not a zip archive\n";
        QTest::newRow("not an archive") << "x.tap" << QByteArray("abc") << 1 << QJsonArray()
                                        << "kivo-cli: %1 is not an archive (zip or gz).\n";
    }
    void members()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, archive);
        QFETCH(int, exitCode);
        QFETCH(QJsonArray, members);
        QFETCH(QString, err);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeFile(path, archive);
        const CliRun run = runCli({"members", path});
        QCOMPARE(QString::fromUtf8(run.err), err.contains(u"%1") ? err.arg(path) : err);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(QJsonDocument::fromJson(run.out).array(), members);
    }
};

QTEST_GUILESS_MAIN(tst_CliMembers)
#include "tst_CliMembers.moc"
