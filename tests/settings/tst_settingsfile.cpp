#include "settings/Settings.h"

#include <QTest>

class tst_SettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatSingle_data();
    void formatSingle();
    void numberedKey_data();
    void numberedKey();

    void integerKeys_data();
    void integerKeys();
    void noFileGivesDefaults();
    void placementReadOnlyInNormalState_data();
    void placementReadOnlyInNormalState();
    void lists_data();
    void lists();
    void longPathReadAs254();
    void windows1252File();

    void placeWindow_data();
    void placeWindow();

    void writtenFileLineByLine();
    void emptyListsLeaveNoSection();
    void lineBreaksStayInTheirValue();
    void hundredAndFirstEntry();
    void profilesAfterTheOldKeys();
    void longTemplateReadAs254();
};

namespace {

SettingsFile parse(const QByteArray &text)
{
    return readSettingsFile(ProfileFile::fromBytes(text));
}

QStringList lines(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
}

} // namespace

void tst_SettingsFile::formatSingle_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("expected");

    // Seven significant digits, no trailing zeros, no exponent for pixel and twip sizes.
    QTest::newRow("800") << 800.0f << "800";
    QTest::newRow("533.3333") << 1600.0f / 3.0f << "533.3333";
    QTest::newRow("1440") << 1440.0f << "1440";
    QTest::newRow("-99") << -99.0f << "-99";
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("half") << 0.5f << "0.5";
    QTest::newRow("seven digits") << 1234567.0f << "1234567";
    QTest::newRow("eight digits") << 12345678.0f << "1.234568e+07";
}

void tst_SettingsFile::formatSingle()
{
    QFETCH(float, value);
    QFETCH(QString, expected);
    QCOMPARE(::formatSingle(value), expected);
}

void tst_SettingsFile::numberedKey_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0") << 0 << "path00";
    QTest::newRow("9") << 9 << "path09";
    QTest::newRow("10") << 10 << "path10";
    QTest::newRow("99") << 99 << "path99";
    QTest::newRow("100") << 100 << "path100";
}

void tst_SettingsFile::numberedKey()
{
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(::numberedKey(QStringLiteral("path"), index), expected);
}

void tst_SettingsFile::integerKeys_data()
{
    QTest::addColumn<QByteArray>("kivo");
    QTest::addColumn<qint32>("Defaultemu");
    QTest::addColumn<qint32>("view");

    // Missing gives the default, present-but-empty gives 0, halves go to even.
    QTest::newRow("missing") << QByteArray() << -99 << 0;
    QTest::newRow("empty") << QByteArray("Defaultemu=\r\nview=\r\n") << 0 << 0;
    QTest::newRow("text") << QByteArray("Defaultemu=none\r\nview=x\r\n") << 0 << 0;
    QTest::newRow("halves") << QByteArray("Defaultemu=2.5\r\nview=3.5\r\n") << 2 << 4;
    QTest::newRow("blanks") << QByteArray("Defaultemu= - 1 \r\nview=' 4 '\r\n") << -1 << 4;
}

void tst_SettingsFile::integerKeys()
{
    QFETCH(QByteArray, kivo);
    QFETCH(qint32, Defaultemu);
    QFETCH(qint32, view);
    const SettingsFile s = parse("[kivo]\r\n" + kivo);
    QCOMPARE(s.Defaultemu, Defaultemu);
    QCOMPARE(s.view, view);
}

void tst_SettingsFile::noFileGivesDefaults()
{
    const SettingsFile s =
        readSettingsFile(ProfileFile::load(QStringLiteral("/nonexistent/k.ini")));
    QCOMPARE(s.winstate, 0);
    QVERIFY(s.placementRead);
    QCOMPARE(s.winw, 10.0f);
    QCOMPARE(s.winh, 10.0f);
    QCOMPARE(s.winx, -99.0f);
    QCOMPARE(s.winy, -99.0f);
    QCOMPARE(s.Defaultemu, -99);
    QCOMPARE(s.Defaultmplayer, -99);
    QCOMPARE(s.view, 0);
    QCOMPARE(s.SSSize, 0);
    QCOMPARE(s.lastdb, QString());
    QCOMPARE(s.loadlast, 0);
    QVERIFY(s.emulators.isEmpty() && s.musicPlayers.isEmpty());
    QVERIFY(s.RomPaths.isEmpty() && s.ScreenshotPaths.isEmpty() && s.MusicPaths.isEmpty());
    QCOMPARE(s.head, (std::array<float, 3>{0, 0, 0}));
}

void tst_SettingsFile::placementReadOnlyInNormalState_data()
{
    QTest::addColumn<QByteArray>("winstate");
    QTest::addColumn<qint32>("expectedState");
    QTest::addColumn<bool>("read");

    QTest::newRow("normal") << QByteArray("0") << 0 << true;
    QTest::newRow("minimised") << QByteArray("1") << 1 << false;
    QTest::newRow("maximised") << QByteArray("2") << 2 << false;
    QTest::newRow("unknown state taken as normal") << QByteArray("7") << 0 << true;
}

void tst_SettingsFile::placementReadOnlyInNormalState()
{
    QFETCH(QByteArray, winstate);
    QFETCH(qint32, expectedState);
    QFETCH(bool, read);
    const SettingsFile s = parse("[kivo]\r\nwinstate=" + winstate +
                                 "\r\nwinw=800\r\nwinh=600\r\nwinx=5\r\nwiny=6\r\n");
    QCOMPARE(s.winstate, expectedState);
    QCOMPARE(s.placementRead, read);
    QCOMPARE(s.winw, read ? 800.0f : 10.0f);
    QCOMPARE(s.winh, read ? 600.0f : 10.0f);
    QCOMPARE(s.winx, read ? 5.0f : -99.0f);
    QCOMPARE(s.winy, read ? 6.0f : -99.0f);
}

void tst_SettingsFile::lists_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("emulators");
    QTest::addColumn<QStringList>("romPaths");
    QTest::addColumn<QStringList>("datFiles");

    // "num" decides the length, missing keys give empty entries, 0 or less gives nothing.
    QTest::newRow("num=3, one present")
        << QByteArray("[emulators]\r\nnum=3\r\nemu00=Zxemu\r\nfile00=/usr/bin/zxemu\r\n"
                      "[RomPaths]\r\nnum=3\r\npath00=/a/\r\n"
                      "[DatFiles]\r\nnum=2\r\npath01=/d/b.dat\r\n")
        << 3 << QStringList{"/a/", "", ""} << QStringList{"", "/d/b.dat"};
    QTest::newRow("num=0") << QByteArray("[emulators]\r\nnum=0\r\nemu00=Zxemu\r\n"
                                         "[RomPaths]\r\nnum=0\r\npath00=/a/\r\n"
                                         "[DatFiles]\r\nnum=0\r\npath00=/d/a.dat\r\n")
                           << 0 << QStringList() << QStringList();
    QTest::newRow("num negative")
        << QByteArray("[emulators]\r\nnum=-2\r\n[RomPaths]\r\nnum=-1\r\n[DatFiles]\r\nnum=-1\r\n")
        << 0 << QStringList() << QStringList();
    QTest::newRow("no sections") << QByteArray("[kivo]\r\n") << 0 << QStringList() << QStringList();
    QTest::newRow("num past the limit")
        << QByteArray("[emulators]\r\nnum=2000000000\r\n[DatFiles]\r\nnum=10001\r\n")
        << int(kMaxListEntries) << QStringList() << QStringList(kMaxListEntries, QString());
}

void tst_SettingsFile::lists()
{
    QFETCH(QByteArray, text);
    QFETCH(int, emulators);
    QFETCH(QStringList, romPaths);
    QFETCH(QStringList, datFiles);
    const SettingsFile s = parse(text);
    QCOMPARE(s.emulators.size(), emulators);
    if (emulators == 3) {
        QCOMPARE(s.emulators.at(0),
                 (ProgramEntry{QStringLiteral("Zxemu"), QStringLiteral("/usr/bin/zxemu")}));
        QCOMPARE(s.emulators.at(2), ProgramEntry{});
    }
    QCOMPARE(s.RomPaths, romPaths);
    QCOMPARE(s.datFiles, datFiles);
}

void tst_SettingsFile::longPathReadAs254()
{
    const QString path = QLatin1Char('/') + QString(298, u'd') + QLatin1Char('/');
    SettingsFile s;
    s.ScreenshotPaths = QStringList{path};
    const QByteArray bytes = settingsFileBytes(s);
    QVERIFY(bytes.contains(path.toUtf8())); // written whole
    QCOMPARE(readSettingsFile(ProfileFile::fromBytes(bytes)).ScreenshotPaths,
             QStringList{path.left(254)});
}

void tst_SettingsFile::windows1252File()
{
    const SettingsFile s = parse("[kivo]\r\nlastdb=C:\\Spiele\\M\xfcll.dat\r\n[musicplayers]\r\n"
                                 "num=1\r\nplayername00=Lecteur \x80\r\nfile00=C:\\x.exe\r\n");
    QCOMPARE(s.lastdb, QStringLiteral("C:\\Spiele\\Müll.dat"));
    QCOMPARE(s.musicPlayers.value(0).name, QStringLiteral("Lecteur €"));
}

void tst_SettingsFile::placeWindow_data()
{
    QTest::addColumn<QByteArray>("kivo");
    QTest::addColumn<QRect>("expected");

    // Built as 780 x 540 at (3, 4) on a 1000 x 800 screen; centred is (110, 130).
    // Would catch >= for > at 100 and -99, and an empty value taken for the default.
    QTest::newRow("no keys: built-in size, centred") << QByteArray() << QRect(110, 130, 780, 540);
    QTest::newRow("winw=100 ignored") << QByteArray("winw=100\r\n") << QRect(110, 130, 780, 540);
    QTest::newRow("winw=101 applied") << QByteArray("winw=101\r\n") << QRect(450, 130, 101, 540);
    QTest::newRow("winh=101 applied") << QByteArray("winh=101\r\n") << QRect(110, 350, 780, 101);
    QTest::newRow("winw rounds") << QByteArray("winw=533.5\r\n") << QRect(233, 130, 534, 540);
    QTest::newRow("winx=-99 centres") << QByteArray("winx=-99\r\n") << QRect(110, 130, 780, 540);
    QTest::newRow("winx=-98 placed") << QByteArray("winx=-98\r\n") << QRect(-98, 130, 780, 540);
    QTest::newRow("winx empty is 0") << QByteArray("winx=\r\n") << QRect(0, 130, 780, 540);
    QTest::newRow("winy=-100 centres") << QByteArray("winy=-100\r\n") << QRect(110, 130, 780, 540);
    QTest::newRow("all four") << QByteArray("winw=640\r\nwinh=480\r\nwinx=20\r\nwiny=30\r\n")
                              << QRect(20, 30, 640, 480);
    QTest::newRow("maximised: untouched")
        << QByteArray("winstate=2\r\nwinw=640\r\nwinx=20\r\n") << QRect(3, 4, 780, 540);

    // Damaged values: the window stays no larger than its screen and reachable on some screen;
    // nothing overflows on the way (the sanitizer build aborts on that).
    QTest::newRow("huge size") << QByteArray("winw=1e30\r\nwinh=99999999999\r\n")
                               << QRect(0, 0, 1000, 800);
    QTest::newRow("huge position: centred")
        << QByteArray("winx=3e9\r\nwiny=2147483647\r\n") << QRect(110, 130, 780, 540);
    QTest::newRow("far left: centred") << QByteArray("winx=-5000\r\n") << QRect(110, 130, 780, 540);
    QTest::newRow("below the screen: centred")
        << QByteArray("winy=790\r\n") << QRect(110, 130, 780, 540);
    // Its top on a screen and at least half of it shown, or moved the least that brings it in:
    // a placement made at another scale or on a larger screen stays usable.
    QTest::newRow("mostly off: moved in")
        << QByteArray("winx=-98\r\nwiny=760\r\n") << QRect(0, 260, 780, 540);
    QTest::newRow("top above the screen: moved down")
        << QByteArray("winx=20\r\nwiny=-30\r\n") << QRect(20, 0, 780, 540);
    QTest::newRow("three quarters off the right: moved in")
        << QByteArray("winx=1800\r\nwiny=100\r\n") << QRect(1220, 100, 780, 540);
    QTest::newRow("on the second screen")
        << QByteArray("winx=1200\r\nwiny=100\r\n") << QRect(1200, 100, 780, 540);
    QTest::newRow("between the screens, too little on either: centred")
        << QByteArray("winx=1500\r\nwiny=790\r\n") << QRect(110, 130, 780, 540);
}

void tst_SettingsFile::placeWindow()
{
    QFETCH(QByteArray, kivo);
    QFETCH(QRect, expected);
    const SettingsFile s = parse("[kivo]\r\n" + kivo);
    // The window's own 1000 x 800 screen, and a second one to its right.
    const QList<QRect> available = {QRect(0, 0, 1000, 800), QRect(1000, 0, 1000, 800)};
    QCOMPARE(::placeWindow(s, QRect(3, 4, 780, 540), QRect(0, 0, 1000, 800), available), expected);
}

void tst_SettingsFile::writtenFileLineByLine()
{
    SettingsFile s;
    s.winstate = 2;
    s.winw = 800;
    s.winh = 1600.0f / 3.0f;
    s.winx = -4;
    s.winy = 12;
    s.Defaultemu = 1;
    s.Defaultmplayer = 0;
    s.view = 4;
    s.SSSize = 1;
    s.lastdb = QStringLiteral("/home/иван/games.dat");
    s.loadlast = 1;
    s.emulators = {{QStringLiteral("Zxemu"), QStringLiteral("/usr/bin/zxemu")},
                   {QString(), QString()}};
    s.musicPlayers = {{QStringLiteral("Player"), QStringLiteral("/usr/bin/play")}};
    s.RomPaths = QStringList{"/roms/", "/more roms/"};
    s.ScreenshotPaths = QStringList{"/shots/"};
    s.MusicPaths = QStringList{"/music/"};
    s.head = {4500, 1440, 1050.5f};
    s.datFiles = QStringList{"/dats/Sinclair - ZX Spectrum.dat", "/dats/tosec.dat"};

    // Written by hand from the order of the shutdown's writes.
    const QStringList expected = {
        "[kivo]",
        "winstate=2",
        "winw=800",
        "winh=533.3333",
        "winx=-4",
        "winy=12",
        "Defaultemu=1",
        "Defaultmplayer=0",
        "view=4",
        "SSSize=1",
        "loadscr=1",
        QStringLiteral("lastdb=/home/иван/games.dat"),
        "loadlast=1",
        "head001=4500",
        "head002=1440",
        "head003=1050.5",
        "[emulators]",
        "num=2",
        "emu00=Zxemu",
        "file00=/usr/bin/zxemu",
        "emu01=",
        "file01=",
        "[musicplayers]",
        "num=1",
        "playername00=Player",
        "file00=/usr/bin/play",
        "[RomPaths]",
        "num=2",
        "path00=/roms/",
        "path01=/more roms/",
        "[ScreenshotPaths]",
        "num=1",
        "path00=/shots/",
        "[MusicPaths]",
        "num=1",
        "path00=/music/",
        "[DatFiles]",
        "num=2",
        "path00=/dats/Sinclair - ZX Spectrum.dat",
        "path01=/dats/tosec.dat",
        "", // the last line ends with CR LF too
    };
    const QStringList written = lines(settingsFileBytes(s));
    for (qsizetype i = 0; i < std::min(written.size(), expected.size()); ++i)
        QVERIFY2(written.at(i) == expected.at(i),
                 qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(written.at(i))));
    QCOMPARE(written.size(), expected.size());
}

void tst_SettingsFile::emptyListsLeaveNoSection()
{
    // A list is empty when its first element is blank, whatever follows it.
    SettingsFile s;
    s.emulators = {{QStringLiteral("Named"), QString()},
                   {QStringLiteral("x"), QStringLiteral("/x")}};
    s.RomPaths = QStringList{QString()};
    s.ScreenshotPaths = QStringList{QString(), QStringLiteral("/s/")};
    const QByteArray bytes = settingsFileBytes(s);
    QVERIFY(!bytes.contains("[emulators]"));
    QVERIFY(!bytes.contains("[musicplayers]"));
    QVERIFY(!bytes.contains("Paths]"));
    QVERIFY(bytes.endsWith("head003=0\r\n"));
}

void tst_SettingsFile::lineBreaksStayInTheirValue()
{
    // A Linux directory named with a line break must not split into keys nobody wrote.
    SettingsFile s;
    s.RomPaths = {QStringLiteral("/roms/a\nnum=0\n[MusicPaths]\npath00=/evil/")};
    s.lastdb = QStringLiteral("/dbs/x\r\nloadlast=1");
    const SettingsFile back = readSettingsFile(ProfileFile::fromBytes(settingsFileBytes(s)));
    QCOMPARE(back.RomPaths, s.RomPaths);
    QCOMPARE(back.lastdb, s.lastdb);
    QCOMPARE(back.loadlast, 0);
    QVERIFY(back.MusicPaths.isEmpty());
}

void tst_SettingsFile::hundredAndFirstEntry()
{
    SettingsFile s;
    for (int i = 0; i < 101; ++i) {
        s.RomPaths.append(QStringLiteral("/r%1/").arg(i));
        s.musicPlayers.append({QStringLiteral("p%1").arg(i), QStringLiteral("/p%1").arg(i)});
    }
    const QByteArray bytes = settingsFileBytes(s);
    QVERIFY(bytes.contains("\r\npath99=/r99/\r\npath100=/r100/\r\n"));
    QVERIFY(bytes.contains("\r\nplayername100=p100\r\nfile100=/p100\r\n"));
    const SettingsFile back = readSettingsFile(ProfileFile::fromBytes(bytes));
    QCOMPARE(back.RomPaths, s.RomPaths);
    QCOMPARE(back.musicPlayers, s.musicPlayers);
}

// Catches a profile key written before an older reader's keys, an empty one written, a key read
// back into the wrong machine, and the list columns lost.
void tst_SettingsFile::profilesAfterTheOldKeys()
{
    SettingsFile s;
    s.emulators = {{QStringLiteral("Fuse"), QStringLiteral("/usr/bin/fuse-sdl")},
                   {QStringLiteral("Plain"), QStringLiteral("/usr/bin/x")}};
    EmulatorProfile &fuse = s.emulators[0].profile;
    fuse.arguments = QStringLiteral("{machine} [--rom \"{dir}\"] {file}");
    fuse.defaultFor = QStringList{"tap", "tzx"};
    fuse.machineArguments[machineIndex(SpectrumMachine::Spectrum128)] = "--machine 128";
    fuse.machineArguments[machineIndex(SpectrumMachine::TS2068)] = "--machine ts2068";
    s.columns = QStringList{"machine", "kind"};
    s.columnWidths = {1440, 900.5f};
    const QByteArray bytes = settingsFileBytes(s);
    QVERIFY(bytes.contains("\r\nhead003=0\r\ncolumns=machine kind\r\ncolwidths=1440 900.5\r\n"));
    QVERIFY(bytes.endsWith("[emulators]\r\nnum=2\r\nemu00=Fuse\r\nfile00=/usr/bin/fuse-sdl\r\n"
                           "emu01=Plain\r\nfile01=/usr/bin/x\r\n"
                           "args00={machine} [--rom \"{dir}\"] {file}\r\ndefaultfor00=tap tzx\r\n"
                           "machine00.128=--machine 128\r\nmachine00.ts2068=--machine ts2068\r\n"));

    const ProfileFile file =
        ProfileFile::fromBytes(QByteArray(bytes).replace("defaultfor00=tap", "DefaultFor00=TAP"));
    const SettingsFile back = readSettingsFile(file);
    QCOMPARE(back.emulators, s.emulators);
    QCOMPARE(back.columns, s.columns);
    QCOMPARE(back.columnWidths, s.columnWidths);
    // What a reader of num, emuNN and fileNN alone finds.
    QCOMPARE(file.read("emulators", "num", {}), QStringLiteral("2"));
    for (qsizetype i = 0; i < s.emulators.size(); ++i) {
        QCOMPARE(file.read("emulators", ::numberedKey("emu", i), {}), s.emulators.at(i).name);
        QCOMPARE(file.read("emulators", ::numberedKey("file", i), {}), s.emulators.at(i).path);
    }
}

// A template is a value like any other: written whole, read back as its first 254 characters.
void tst_SettingsFile::longTemplateReadAs254()
{
    SettingsFile s;
    s.emulators = {{QStringLiteral("Fuse"), QStringLiteral("/usr/bin/fuse")}};
    s.emulators[0].profile.arguments = QString(300, u'a');
    const SettingsFile back = readSettingsFile(ProfileFile::fromBytes(settingsFileBytes(s)));
    QCOMPARE(back.emulators.at(0).profile.arguments, QString(254, u'a'));
}

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_settingsfile.moc"
