#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using testsupport::runCli;

class tst_CliSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void settingsAsJson();
    void profilesAsJson();
    void placementNotReadIsNull();
    void writeBack();
    void failedWrite();
    void usageErrors_data();
    void usageErrors();
    void language();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

// Canonical: the bytes --write produces from it are the same bytes.
const QByteArray kCanonical = "[kivo]\r\n"
                              "winstate=0\r\n"
                              "winw=800\r\n"
                              "winh=533.3333\r\n"
                              "winx=-98\r\n"
                              "winy=-99\r\n"
                              "Defaultemu=0\r\n"
                              "Defaultmplayer=-99\r\n"
                              "view=4\r\n"
                              "SSSize=1\r\n"
                              "loadscr=1\r\n"
                              "lastdb=/home/\xd0\xb8\xd0\xb2\xd0\xb0\xd0\xbd/games.dat\r\n"
                              "loadlast=1\r\n"
                              "head001=4500\r\n"
                              "head002=3300\r\n"
                              "head003=1050\r\n"
                              "[emulators]\r\n"
                              "num=2\r\n"
                              "emu00=Zxemu\r\n"
                              "file00=/usr/bin/zxemu\r\n"
                              "emu01=\r\n"
                              "file01=\r\n"
                              "[RomPaths]\r\n"
                              "num=1\r\n"
                              "path00=/roms/\r\n"
                              "[DatFiles]\r\n"
                              "num=1\r\n"
                              "path00=/dats/Sinclair - ZX Spectrum.dat\r\n";

QJsonObject json(const QByteArray &out)
{
    return QJsonDocument::fromJson(out).object();
}

} // namespace

void tst_CliSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_CliSettings::settingsAsJson()
{
    testsupport::writeFile(path("kivo.ini"), kCanonical);
    const auto run = runCli({"settings", path("kivo.ini")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject out = json(run.out);
    // Keys in reading order, under the names the file gives them.
    QStringList order;
    const QRegularExpression topKey(QStringLiteral("^  \"(\\w+)\":"),
                                    QRegularExpression::MultilineOption);
    for (auto match = topKey.globalMatch(QString::fromUtf8(run.out)); match.hasNext();)
        order.append(match.next().captured(1));
    QCOMPARE(order, (QStringList{"winstate",   "winw",         "winh",           "winx",
                                 "winy",       "Defaultemu",   "Defaultmplayer", "view",
                                 "SSSize",     "loadscr",      "lastdb",         "loadlast",
                                 "emulators",  "musicplayers", "RomPaths",       "ScreenshotPaths",
                                 "MusicPaths", "head001",      "head002",        "head003",
                                 "columns",    "colwidths",    "DatFiles"}));
    QCOMPARE(out.value("winw").toDouble(), 800.0);
    QCOMPARE(out.value("winh").toDouble(), 533.3333);
    QCOMPARE(out.value("winx").toDouble(), -98.0);
    QCOMPARE(out.value("Defaultemu").toInt(), 0);
    QCOMPARE(out.value("view").toInt(), 4);
    QCOMPARE(out.value("lastdb").toString(), QStringLiteral("/home/иван/games.dat"));
    QCOMPARE(out.value("loadlast").toInt(), 1);
    const QJsonArray emulators = out.value("emulators").toArray();
    QCOMPARE(emulators.size(), 2);
    QCOMPARE(emulators.at(0).toObject().value("path").toString(), QStringLiteral("/usr/bin/zxemu"));
    QCOMPARE(emulators.at(1).toObject().value("name").toString(), QString());
    QCOMPARE(out.value("musicplayers").toArray().size(), 0);
    QCOMPARE(out.value("RomPaths").toArray().at(0).toString(), QStringLiteral("/roms/"));
    QCOMPARE(out.value("head003").toDouble(), 1050.0);
    QCOMPARE(out.value("DatFiles").toArray().at(0).toString(),
             QStringLiteral("/dats/Sinclair - ZX Spectrum.dat"));
}

// Catches a profile or the list columns missing from the JSON or lost on the way back.
void tst_CliSettings::profilesAsJson()
{
    const QByteArray ini =
        QByteArray(kCanonical)
            .replace("head003=1050\r\n", "head003=1050\r\ncolumns=machine\r\ncolwidths=1200.5\r\n")
            .replace("file01=\r\n", "file01=\r\nargs00={machine} {file}\r\ndefaultfor00=tap tzx\r\n"
                                    "machine00.plus3=--machine plus3\r\n");
    testsupport::writeFile(path("kivo.ini"), ini);
    const auto run = runCli({"settings", path("kivo.ini"), "--write", path("out.ini")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(testsupport::readFile(path("out.ini")), ini);
    const QJsonObject out = json(run.out);
    const QJsonObject fuse = out.value("emulators").toArray().at(0).toObject();
    QCOMPARE(fuse.value("arguments").toString(), QStringLiteral("{machine} {file}"));
    QCOMPARE(fuse.value("defaultFor").toArray(), (QJsonArray{"tap", "tzx"}));
    QCOMPARE(fuse.value("machines").toObject(), (QJsonObject{{"plus3", "--machine plus3"}}));
    QCOMPARE(out.value("columns").toArray(), QJsonArray{"machine"});
    QCOMPARE(out.value("colwidths").toArray(), QJsonArray{1200.5});
}

void tst_CliSettings::placementNotReadIsNull()
{
    testsupport::writeFile(path("kivo.ini"), "[kivo]\r\nwinstate=2\r\nwinw=800\r\n");
    const auto run = runCli({"settings", path("kivo.ini"), "--write", path("out.ini")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject out = json(run.out);
    QCOMPARE(out.value("winstate").toInt(), 2);
    QVERIFY(out.value("winw").isNull());
    QVERIFY(out.value("winy").isNull());
    // Not read: written as the built-in size, centred.
    QVERIFY(
        testsupport::readFile(path("out.ini"))
            .startsWith("[kivo]\r\nwinstate=2\r\nwinw=10\r\nwinh=10\r\nwinx=-99\r\nwiny=-99\r\n"));
}

void tst_CliSettings::writeBack()
{
    testsupport::writeFile(path("kivo.ini"), kCanonical);
    QCOMPARE(runCli({"settings", path("kivo.ini"), "--write", path("out.ini")}).exitCode, 0);
    QCOMPARE(testsupport::readFile(path("out.ini")), kCanonical);

    // A hand-edited file comes out in the program's order and formats.
    testsupport::writeFile(path("hand.ini"), "[RomPaths]\nNUM = 1\npath00 = \"/roms/\"\n"
                                             "[KIVO]\nloadlast=1\nwinw=0800.0\n");
    QCOMPARE(runCli({"settings", "--write", path("out2.ini"), path("hand.ini")}).exitCode, 0);
    QCOMPARE(
        testsupport::readFile(path("out2.ini")),
        QByteArray("[kivo]\r\nwinstate=0\r\nwinw=800\r\nwinh=10\r\nwinx=-99\r\nwiny=-99\r\n"
                   "Defaultemu=-99\r\nDefaultmplayer=-99\r\nview=0\r\nSSSize=0\r\nloadscr=1\r\n"
                   "lastdb=\r\n"
                   "loadlast=1\r\nhead001=0\r\nhead002=0\r\nhead003=0\r\n"
                   "[RomPaths]\r\nnum=1\r\npath00=/roms/\r\n"));
}

void tst_CliSettings::failedWrite()
{
    QVERIFY(QDir(m_dir->path()).mkdir("taken.ini"));
    const auto run = runCli({"settings", path("missing.ini"), "--write", path("taken.ini")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(
        QString::fromUtf8(run.err),
        QStringLiteral("Kivo: Unable to save the settings file.\n%1\n").arg(path("taken.ini")));
}

void tst_CliSettings::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("settings without file") << QStringList{"settings"};
    QTest::newRow("settings two files") << QStringList{"settings", "a.ini", "b.ini"};
    QTest::newRow("--write without file") << QStringList{"settings", "a.ini", "--write"};
    QTest::newRow("unknown option") << QStringList{"settings", "a.ini", "--quiet"};
    QTest::newRow("language without file") << QStringList{"language"};
    QTest::newRow("language two files") << QStringList{"language", "a.ini", "b.ini"};
}

void tst_CliSettings::usageErrors()
{
    QFETCH(QStringList, arguments);
    const auto run = runCli(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
}

void tst_CliSettings::language()
{
    testsupport::writeFile(path("lang.ini"),
                           "[mainemu]\r\nEMU0=Emulator\r\n[rom_types]\r\ntype015=Arcade\r\n");
    const auto run = runCli({"language", path("lang.ini")});
    QCOMPARE(run.exitCode, 0);
    const QJsonObject out = json(run.out);
    const QJsonArray menus = out.value("menus").toArray();
    QCOMPARE(menus.size(), 20);
    const QJsonObject emu0 = menus.at(13).toObject();
    QCOMPARE(emu0.value("section").toString(), QStringLiteral("mainEmu"));
    QCOMPARE(emu0.value("key").toString(), QStringLiteral("emu0"));
    QCOMPARE(emu0.value("text").toString(), QStringLiteral("Emulator"));
    QCOMPARE(menus.at(14).toObject().value("text").toString(), QStringLiteral("Audio Players"));
    QCOMPARE(out.value("LanguageTable").toArray().size(), 48);
    QCOMPARE(out.value("GameTypeTable").toArray().size(), 130);
    QCOMPARE(out.value("GameTypeTable").toArray().at(15).toString(), QStringLiteral("Arcade"));

    const auto defaults = runCli({"language", path("none.ini")});
    QCOMPARE(defaults.exitCode, 0);
    QCOMPARE(json(defaults.out).value("LanguageTable").toArray().at(47).toString(),
             QStringLiteral("Paths"));
}

QTEST_GUILESS_MAIN(tst_CliSettings)
#include "tst_cli_settings.moc"
