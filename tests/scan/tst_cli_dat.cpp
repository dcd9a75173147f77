// kivo-cli dat, identify and duplicates: fields under their names and in their forms, DATs from
// the command line and from kivo.ini, refusals on stderr with exit status 1, usage errors 2.
#include "ArchiveMaker.h"
#include "DatMaker.h"
#include "TestSupport.h"

#include "core/DatFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace testsupport;

class tst_CliDat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        writeFile(path("games.dat"), clrMameProDat({{"Jetpac (1983)(Ultimate)", 3, 0x352441c2},
                                                    {"Atic Atac (1983)(Ultimate)", 5, 0x8587d865}},
                                                   "clrmamepro ( name \"Mine\" version 7 )\n"));
        writeFile(path("bad.dat"), "game ( name \"open");
    }

    void dat_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("header and counts")
            << QStringList{"games.dat"} << 0
            << QByteArray("{\n  \"name\": \"Mine\",\n  \"version\": \"7\",\n  \"convention\": "
                          "\"Tosec\",\n  \"games\": 2,\n  \"roms\": 2\n}\n")
            << "";
        QTest::newRow("not a DAT")
            << QStringList{"bad.dat"} << 1 << QByteArray()
            << "Scan Folder: Not a DAT file: %1/bad.dat: Unterminated string. at line 1\n";
        QTest::newRow("usage") << QStringList{} << 2 << QByteArray()
                               << "kivo-cli: dat needs one DAT file\nTry 'kivo-cli --help'.\n";
    }
    void dat()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, err);
        for (QString &argument : arguments)
            argument = path(argument);
        const CliRun run = runCli(QStringList{"dat"} + arguments);
        QCOMPARE(QString::fromUtf8(run.err), err.contains(u"%1") ? err.arg(m_dir->path()) : err);
        QTEST(run.exitCode, "exitCode");
        QTEST(run.out, "out");
    }

    // DATs given and kept in kivo.ini; a zip by its member; a file no DAT knows; a DAT refused.
    void identify()
    {
        touch(path("jet.tap"), "abc");
        touch(path("atic.zip"), makeZip("atic.tzx", "abcde"));
        touch(path("other.tap"), "zz");
        writeFile(path("kivo.ini"), "[DatFiles]\r\nnum=1\r\npath00=" + path("games.dat").toUtf8());
        CliRun run = runCli({"identify", path("jet.tap"), path("atic.zip"), path("other.tap"),
                             "--ini", path("kivo.ini")});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray out = QJsonDocument::fromJson(run.out).array();
        QCOMPARE(out.size(), 3);
        QCOMPARE(out.at(0).toObject(), (QJsonObject{{"file", path("jet.tap")},
                                                    {"size", 3},
                                                    {"crc32", "352441c2"},
                                                    {"title", "Jetpac"},
                                                    {"year", 1983},
                                                    {"publisher", "Ultimate"},
                                                    {"authors", QJsonValue::Null},
                                                    {"game", "Jetpac (1983)(Ultimate)"},
                                                    {"dat", path("games.dat")}}));
        QCOMPARE(out.at(1).toObject().value("title"), "Atic Atac");
        QCOMPARE(out.at(2).toObject().value("game"), QJsonValue::Null);

        run = runCli({"identify", path("jet.tap"), "--dat", path("bad.dat")});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.err.startsWith("Scan Folder: Not a DAT file: "));
        QCOMPARE(QJsonDocument::fromJson(run.out).array().at(0).toObject().value("game"),
                 QJsonValue::Null);
        QCOMPARE(runCli({"identify", path("jet.tap")}).exitCode, 2);
    }

    // Entries found through the rom paths in their order; the same contents in two folders, a
    // zip among them; an entry whose file is nowhere.
    void duplicates()
    {
        touch(path("a/jet.tap"), "abc");
        touch(path("b/copy.zip"), makeZip("copy.tap", "abc"));
        touch(path("b/jet.tap"), "shadowed by a/jet.tap");
        touch(path("b/other.tap"), "zz");
        RomDatabase database;
        for (const char *file : {"jet.tap", "other.tap", "copy.zip", "gone.tap"}) {
            RomRecord record;
            record.RomName = record.RomFile = QString::fromLatin1(file);
            database.Add(record);
        }
        QVERIFY(SaveDatabase(database, path("cat.dat")).ok);
        writeFile(path("kivo.ini"), "[RomPaths]\r\nnum=2\r\npath00=" + path("a/").toUtf8() +
                                        "\r\npath01=" + path("b/").toUtf8() + "\r\n");
        const CliRun run = runCli({"duplicates", path("cat.dat"), "--ini", path("kivo.ini")});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject out = QJsonDocument::fromJson(run.out).object();
        const auto item = [](int slot, const char *file, const QString &where) {
            return QJsonObject{
                {"slot", slot}, {"RomName", file}, {"RomFile", file}, {"path", where}};
        };
        QCOMPARE(out.value("groups").toArray(),
                 (QJsonArray{QJsonObject{
                     {"size", 3},
                     {"crc32", "352441c2"},
                     {"entries", QJsonArray{item(0, "jet.tap", path("a/jet.tap")),
                                            item(2, "copy.zip", path("b/copy.zip"))}}}}));
        QCOMPARE(out.value("notFound").toArray(),
                 (QJsonArray{QJsonObject{{"slot", 3}, {"RomFile", "gone.tap"}}}));
        QCOMPARE(runCli({"duplicates", path("cat.dat")}).exitCode, 2);
    }

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(tst_CliDat)
#include "tst_cli_dat.moc"
