#include "launch/EmulatorPresets.h"
#include "launch/Launcher.h"
#include "launch/ProcessStarter.h"
#include "launch/RunCache.h"

#include "ArchiveMaker.h"
#include "RecordingProcessStarter.h"
#include "SpectrumFiles.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <unistd.h>

// Fixture paths are written with "@/" for the temporary directory.
class tst_Launcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void run_data();
    void run();
    void playMusic_data();
    void playMusic();
    void startFailureReported_data();
    void startFailureReported();
    void realChildGetsOnePath_data();
    void realChildGetsOnePath();
    void realStartFailure_data();
    void realStartFailure();
    void runArchive_data();
    void runArchive();
    void profileRuns_data();
    void profileRuns();
    void stoppedAtOnce_data();
    void stoppedAtOnce();
    void previewText();
    void realEnds_data();
    void realEnds();
    void realStarterLifetime();

private:
    QString at(const QString &path) const { return QString(path).replace(u'@', m_dir.path()); }
    QStringList at(const QStringList &paths) const;
    ProgramList programs(const QStringList &paths, int defaultIndex) const;
    SearchPaths searchPaths(PathKind kind, const QStringList &dirs) const;
    // "" for nothing, "Title: text [icon, buttons]" for a message, "start PROGRAM | ARGUMENT..."
    // for a start.
    QString outcome(const Launch &launch) const;

    QTemporaryDir m_dir;
    // A rom name no shell would leave as one word.
    const QString m_shellRom = QStringLiteral("it's \"q\" $HOME & `x`;.tap");
};

QStringList tst_Launcher::at(const QStringList &paths) const
{
    QStringList out;
    for (const QString &path : paths)
        out.append(at(path));
    return out;
}

ProgramList tst_Launcher::programs(const QStringList &paths, int defaultIndex) const
{
    ProgramList list;
    for (const QString &path : paths)
        list.entries.append({QStringLiteral("name"), at(path)});
    list.defaultIndex = defaultIndex;
    return list;
}

SearchPaths tst_Launcher::searchPaths(PathKind kind, const QStringList &dirs) const
{
    SearchPaths paths;
    paths[kind].setDirs(at(dirs));
    return paths;
}

QString tst_Launcher::outcome(const Launch &launch) const
{
    QString text;
    switch (launch.action) {
    case Launch::Action::Nothing:
        break;
    case Launch::Action::Show:
        text = testsupport::describe(launch.message);
        break;
    case Launch::Action::Start:
        text = (QStringList{QStringLiteral("start ") + launch.program} + launch.arguments)
                   .join(QStringLiteral(" | "));
        break;
    }
    return text.replace(m_dir.path(), QStringLiteral("@"));
}

void tst_Launcher::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char *file :
         {"@/emus/emu0", "@/emus/emu1", "@/emus/emu2", "@/roms a/both.tap", "@/roms 2/both.tap",
          "@/roms 2/jetpac.tap", "@/music a/tune.mp3", "@/music 2/other.mp3", "@/players/play"})
        testsupport::touch(at(QLatin1String(file)));
    testsupport::touch(at(QStringLiteral("@/roms 2/") + m_shellRom));
    for (const char *kind : {"tap", "tzx", "dsk", "trd", "scl", "sna", "z80", "szx"}) {
        const QString name = QStringLiteral("kind.") + QLatin1String(kind);
        testsupport::touch(at("@/roms 2/" + name), testsupport::spectrumFileBytes(name));
    }
    testsupport::touch(at("@/roms 2/game (128K).tzx"), testsupport::spectrumFileBytes("x.tzx"));
    testsupport::touch(at("@/roms 2/zipped.zip"),
                       testsupport::makeZip("kind.tzx", testsupport::spectrumFileBytes("x.tzx")));
}

// Catches checks made in the wrong order, the wrong text for each failure, the default used
// for a Run With choice, and a rom taken from the wrong directory or changed on the way.
void tst_Launcher::run_data()
{
    QTest::addColumn<QString>("romFile");
    QTest::addColumn<int>("emulator");
    QTest::addColumn<QStringList>("emulators");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<QStringList>("romDirs");
    QTest::addColumn<QString>("expected");

    const QStringList three{"@/emus/emu0", "@/emus/emu1", "@/emus/emu2"};
    const QStringList dirs{"@/roms a/", "@/roms 2/"};
    const int byDefault = kDefaultEmulator;
    QTest::newRow("blank rom before no default") << "  " << byDefault << three << -99 << dirs << "";
    QTest::newRow("no default") << "jetpac.tap" << byDefault << three << -99 << dirs
                                << "Can't Run: No default emulator has been set [critical, ok]";
    QTest::newRow("default gone, before the rom check")
        << "missing.tap" << byDefault << QStringList{"@/emus/gone"} << 0 << dirs
        << "Can't Run: Unable to find default emulator [critical, ok]";
    QTest::newRow("default past the list")
        << "jetpac.tap" << byDefault << three << 3 << dirs
        << "Can't Run: Unable to find default emulator [critical, ok]";
    QTest::newRow("rom nowhere") << "missing.tap" << byDefault << three << 0 << dirs
                                 << "Can't Run: Unable to find selected rom [critical, ok]";
    QTest::newRow("no rom directories") << "jetpac.tap" << byDefault << three << 0 << QStringList()
                                        << "Can't Run: Unable to find selected rom [critical, ok]";
    QTest::newRow("rom in the second directory") << "jetpac.tap" << byDefault << three << 2 << dirs
                                                 << "start @/emus/emu2 | @/roms 2/jetpac.tap";
    QTest::newRow("first directory wins")
        << "both.tap" << byDefault << three << 0 << dirs << "start @/emus/emu0 | @/roms a/both.tap";
    QTest::newRow("spelt as on disk") << "JETPAC.TAP" << byDefault << QStringList{"@/emus/EMU1"}
                                      << 0 << dirs << "start @/emus/emu1 | @/roms 2/jetpac.tap";
    QTest::newRow("shell characters kept") << m_shellRom << byDefault << three << 0 << dirs
                                           << "start @/emus/emu0 | @/roms 2/" + m_shellRom;
    QTest::newRow("run with place 1 ignores the default")
        << "jetpac.tap" << 1 << three << 0 << dirs << "start @/emus/emu1 | @/roms 2/jetpac.tap";
    QTest::newRow("run with, no default set")
        << "jetpac.tap" << 2 << three << -99 << dirs << "start @/emus/emu2 | @/roms 2/jetpac.tap";
    QTest::newRow("run with a gone emulator")
        << "jetpac.tap" << 1 << QStringList{"@/emus/emu0", "@/emus/gone"} << 0 << dirs
        << "Can't Run: Unable to find emulator\r\n@/emus/gone [critical, ok]";
    QTest::newRow("run with, blank rom") << "" << 1 << three << 0 << dirs << "";
}

void tst_Launcher::run()
{
    QFETCH(QString, romFile);
    QFETCH(int, emulator);
    QFETCH(QStringList, emulators);
    QFETCH(int, defaultIndex);
    QFETCH(QStringList, romDirs);
    QFETCH(QString, expected);
    RomRecord record;
    record.RomName = QStringLiteral("Game");
    record.RomFile = romFile;
    const Launch launch = planRun(record, programs(emulators, defaultIndex), emulator,
                                  searchPaths(PathKind::Rom, romDirs));
    QCOMPARE(outcome(launch), expected);
}

// Catches a message where the player checks must stay silent, and the checks out of order.
void tst_Launcher::playMusic_data()
{
    QTest::addColumn<QString>("audioFile");
    QTest::addColumn<QStringList>("musicDirs");
    QTest::addColumn<QStringList>("players");
    QTest::addColumn<int>("defaultIndex");
    QTest::addColumn<QString>("expected");

    const QStringList dirs{"@/music a/", "@/music 2/"};
    const QStringList player{"@/players/play"};
    QTest::newRow("blank audio file") << " " << dirs << player << -99 << "";
    QTest::newRow("no music directories") << "tune.mp3" << QStringList() << player << -99 << "";
    QTest::newRow("audio nowhere") << "gone.mp3" << dirs << player << -99 << "";
    QTest::newRow("no players") << "tune.mp3" << dirs << QStringList() << -99 << "";
    QTest::newRow("no default") << "tune.mp3" << dirs << player << -99
                                << "Can't play music: No default music player [critical, ok]";
    QTest::newRow("player gone")
        << "tune.mp3" << dirs << QStringList{"@/players/gone"} << 0
        << "Can't play music: Unable to locate default music player [critical, ok]";
    QTest::newRow("first directory")
        << "tune.mp3" << dirs << player << 0 << "start @/players/play | @/music a/tune.mp3";
    QTest::newRow("second directory")
        << "other.mp3" << dirs << player << 0 << "start @/players/play | @/music 2/other.mp3";
}

void tst_Launcher::playMusic()
{
    QFETCH(QString, audioFile);
    QFETCH(QStringList, musicDirs);
    QFETCH(QStringList, players);
    QFETCH(int, defaultIndex);
    QFETCH(QString, expected);
    RomRecord record;
    record.RomName = QStringLiteral("Game");
    record.AudioFile = audioFile;
    const Launch launch = planPlayMusic(record, programs(players, defaultIndex),
                                        searchPaths(PathKind::Music, musicDirs));
    QCOMPARE(outcome(launch), expected);
}

// Catches a failed start passed over in silence or reported under the other operation's title.
void tst_Launcher::startFailureReported_data()
{
    QTest::addColumn<bool>("music");
    QTest::addColumn<QString>("expected");
    QTest::newRow("emulator") << false
                              << "Can't Run: Unable to start\r\n@/emus/emu0 [critical, ok]";
    QTest::newRow("music player")
        << true << "Can't play music: Unable to start\r\n@/players/play [critical, ok]";
}

void tst_Launcher::startFailureReported()
{
    QFETCH(bool, music);
    QFETCH(QString, expected);
    RomRecord record;
    record.RomFile = QStringLiteral("jetpac.tap");
    record.AudioFile = QStringLiteral("tune.mp3");
    const Launch launch = music ? planPlayMusic(record, programs({"@/players/play"}, 0),
                                                searchPaths(PathKind::Music, {"@/music a/"}))
                                : planRun(record, programs({"@/emus/emu0"}, 0), kDefaultEmulator,
                                          searchPaths(PathKind::Rom, {"@/roms 2/"}));
    RecordingProcessStarter starter;
    starter.succeed = false;
    const std::optional<Message> message = carryOut(launch, starter);
    QCOMPARE(starter.starts.size(), 1);
    QVERIFY(message.has_value());
    QCOMPARE(testsupport::describe(*message).replace(m_dir.path(), QStringLiteral("@")), expected);

    starter.succeed = true;
    QVERIFY(!carryOut(launch, starter).has_value());
}

// Catches a path split at blanks or read by a shell on its way to a real program.
void tst_Launcher::realChildGetsOnePath_data()
{
    QTest::addColumn<bool>("music");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QByteArray>("before"); // what the child gets before the path, NULs as "|"
    QTest::newRow("emulator") << false << "" << QByteArray();
    QTest::newRow("music player") << true << "" << QByteArray();
    QTest::newRow("profile") << false << "-a \"\" {machine} {file}"
                             << QByteArray("-a||--machine|48|");
}

void tst_Launcher::realChildGetsOnePath()
{
    QFETCH(bool, music);
    QFETCH(QString, arguments);
    QFETCH(QByteArray, before);
    const QString dir = at(QStringLiteral("@/My Games $HOME \"x\"/"));
    testsupport::touch(dir + m_shellRom);
    const QString dump = at(QStringLiteral("@/argdump.out"));
    QFile::remove(dump);
    qputenv("KIVO_ARGDUMP_OUT", QFile::encodeName(dump));

    RomRecord record;
    record.RomFile = m_shellRom;
    record.AudioFile = m_shellRom;
    ProgramList tool;
    tool.entries.append({QStringLiteral("argdump"), QStringLiteral(KIVO_TOOL_argdump)});
    tool.entries[0].profile.arguments = arguments;
    tool.entries[0].profile.machineArguments[1] = QStringLiteral("--machine 48");
    tool.defaultIndex = 0;
    SearchPaths paths;
    paths[PathKind::Rom].setDirs({dir});
    paths[PathKind::Music].setDirs({dir});
    const Launch launch =
        music ? planPlayMusic(record, tool, paths) : planRun(record, tool, kDefaultEmulator, paths);
    SystemProcessStarter starter;
    QVERIFY(!carryOut(launch, starter).has_value());

    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(dump) && !deadline.hasExpired())
        QThread::msleep(20);
    QCOMPARE(testsupport::readFile(dump),
             before.replace('|', '\0') + QFile::encodeName(dir + m_shellRom) + '\0');
}

// Catches a program that exists but cannot run being reported as started.
void tst_Launcher::realStartFailure_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("executable");
    QTest::newRow("not executable") << QByteArray("\x7f"
                                                  "ELF")
                                    << false;
    QTest::newRow("wrong format") << QByteArray("neither a program nor a script") << true;
}

void tst_Launcher::realStartFailure()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, executable);
    const QString program = at(QStringLiteral("@/broken/") + QTest::currentDataTag());
    testsupport::touch(program, content);
    if (executable)
        QVERIFY(QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner));

    RomRecord record;
    record.RomFile = QStringLiteral("jetpac.tap");
    ProgramList emulators;
    emulators.entries.append({QStringLiteral("broken"), program});
    SystemProcessStarter starter;
    const std::optional<Message> message =
        carryOut(planRun(record, emulators, 0, searchPaths(PathKind::Rom, {"@/roms 2/"})), starter);
    QVERIFY(message.has_value());
    QCOMPARE(testsupport::describe(*message),
             QStringLiteral("Can't Run: Unable to start\r\n") + program + " [critical, ok]");
}

// An archived rom runs as its Spectrum member, written to the cache: catches the archive itself
// passed to the emulator, a member written where its name says, a second run that extracts
// again, an unreadable archive that still starts something or is titled otherwise than the
// other failures to run.
void tst_Launcher::runArchive_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QString>("member"); // the base name the emulator gets; empty: refused
    QTest::addColumn<QString>("message");
    const QByteArray tape("\x13\0\0\0jetpac    ", 14);
    QTest::newRow("zip") << testsupport::makeZip({{"readme.txt", "r"}, {"Sub/JETPAC.TAP", tape}})
                         << "JETPAC.TAP"
                         << "";
    QTest::newRow("climbing name") << testsupport::makeZip("../../../../up.tap", tape) << "up.tap"
                                   << "";
    QTest::newRow("absolute name") << testsupport::makeZip("/tmp/abs.tzx", tape) << "abs.tzx"
                                   << "";
    QTest::newRow("damaged") << tape << ""
                             << "Can't Run: Unable to read game.zip: Not a zip archive "
                                "[critical, ok]";
    QTest::newRow("encrypted") << testsupport::makeZip({{"g.tap", tape, false, true}}) << ""
                               << "Can't Run: Unable to read game.zip: g.tap is encrypted "
                                  "[critical, ok]";
    QTest::newRow("no Spectrum file")
        << testsupport::makeZip("g.txt", tape) << ""
        << "Can't Run: Unable to read game.zip: it holds no tape, snapshot or disk image "
           "[critical, ok]";
}

void tst_Launcher::runArchive()
{
    QFETCH(QByteArray, archive);
    QFETCH(QString, member);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString roms = dir.filePath(QStringLiteral("roms/"));
    testsupport::touch(roms + QStringLiteral("game.zip"), archive);
    RomRecord record;
    record.RomFile = QStringLiteral("GAME.ZIP");
    SearchPaths paths;
    paths[PathKind::Rom].setDirs({roms});
    const Launch launch = planRun(record, programs({"@/emus/emu0"}, 0), 0, paths);
    RunCache cache(dir.filePath(QStringLiteral("cache")));
    RecordingProcessStarter starter;
    const std::optional<Message> shown = carryOut(launch, starter, cache);
    QCOMPARE(shown ? testsupport::describe(*shown) : QString(), message);
    if (member.isEmpty()) {
        QVERIFY(starter.starts.isEmpty());
        return;
    }
    QCOMPARE(starter.starts.size(), 1);
    QCOMPARE(starter.starts.first().program, at(QStringLiteral("@/emus/emu0")));
    const QStringList arguments = starter.starts.first().arguments;
    QCOMPARE(arguments.size(), 1);
    QCOMPARE(previewCommand(launch, cache).arguments, arguments); // the preview names it too
    const QFileInfo cached(arguments.first());
    QCOMPARE(cached.fileName(), member);
    QCOMPARE(cached.dir().absolutePath(),
             QDir(cache.directory()).absolutePath() + u'/' + cached.dir().dirName());
    const RunCache::Result again = cache.memberFile(roms + QStringLiteral("game.zip"));
    QCOMPARE(again.path, cached.filePath());
    QCOMPARE(testsupport::readFile(cached.filePath()), QByteArray("\x13\0\0\0jetpac    ", 14));
    // Nothing written anywhere else in the tree.
    QDirIterator it(dir.path(), QDir::Files, QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext())
        files.append(it.next());
    QCOMPARE(files.size(), 2);
}

// Each preset's options for every machine (Run As) and every kind (Run), as its emulator's
// documentation gives them, then how Run picks the emulator and the machine: catches a machine
// in the wrong place, a snapshot given options it did not ask for, the default emulator taking
// a kind's own, an archive judged by its own ending, and a plain emulator given more than the
// path.
void tst_Launcher::profileRuns_data()
{
    QTest::addColumn<QString>("executable"); // emu1's preset
    QTest::addColumn<QString>("romFile");
    QTest::addColumn<int>("emulator");
    QTest::addColumn<int>("machine"); // Run As; -1: the file's
    QTest::addColumn<QString>("expected");
    const QList<std::pair<const char *, QStringList>> presets = {
        {"fuse-gtk",
         {"--machine 16", "--machine 48", "--machine 128", "--machine plus2", "--machine plus2a",
          "--machine plus3", "--machine pentagon", "--machine scorpion", "--machine 2048",
          "--machine ts2068"}},
        {"ZEsarUX.exe",
         {"--machine 16k", "--machine 48k", "--machine 128k", "--machine P2", "--machine P2A41",
          "--machine P341", "--machine Pentagon", "", "--machine TC2048", "--machine TS2068"}},
        {"rustzx", {"", "--machine 48k", "--machine 128k", "", "", "", "", "", "", ""}},
    };
    // The machine each kind reads as; -1: a snapshot, which names its own.
    const QList<std::pair<const char *, int>> kinds = {{"tap", 1},  {"tzx", 1}, {"dsk", 5},
                                                       {"trd", 6},  {"scl", 6}, {"sna", -1},
                                                       {"z80", -1}, {"szx", -1}};
    const auto started = [](const QString &options, const QString &rom) {
        return (QStringList{"start @/emus/emu1"} + options.split(u' ', Qt::SkipEmptyParts) +
                QStringList{"@/roms 2/" + rom})
            .join(" | ");
    };
    for (const auto &[executable, machines] : presets) {
        for (int m = 0; m < machines.size(); ++m) {
            QTest::addRow("%s as %s", executable, qPrintable(machineName(SpectrumMachine(m))))
                << executable << "kind.tap" << 1 << m << started(machines.at(m), "kind.tap");
        }
        for (const auto &[kind, m] : kinds) {
            const QString rom = QStringLiteral("kind.") + kind;
            QTest::addRow("%s runs %s", executable, kind)
                << executable << rom << 1 << -1 << started(m < 0 ? "" : machines.at(m), rom);
        }
    }
    const int byDefault = kDefaultEmulator;
    QTest::newRow("kind beats the default")
        << "fuse"
        << "kind.tzx" << byDefault << -1 << started("--machine 48", "kind.tzx");
    QTest::newRow("zipped tape") << "fuse"
                                 << "ZIPPED.ZIP" << byDefault << -1
                                 << started("--machine 48", "zipped.zip");
    QTest::newRow("128K tape") << "fuse"
                               << "game (128K).tzx" << byDefault << -1
                               << started("--machine 128", "game (128K).tzx");
    QTest::newRow("snapshot, Run As")
        << "fuse"
        << "kind.sna" << 1 << 2 << started("--machine 128", "kind.sna");
    QTest::newRow("no profile") << "fuse"
                                << "kind.tap" << byDefault << -1
                                << "start @/emus/emu0 | @/roms 2/kind.tap";
    QTest::newRow("no profile, Run As")
        << "fuse"
        << "kind.tzx" << 0 << 5 << "start @/emus/emu0 | @/roms 2/kind.tzx";
}

void tst_Launcher::profileRuns()
{
    QFETCH(QString, executable);
    QFETCH(QString, romFile);
    QFETCH(int, emulator);
    QFETCH(int, machine);
    QFETCH(QString, expected);
    ProgramList emulators = programs({"@/emus/emu0", "@/emus/emu1"}, 0);
    emulators.entries[1].profile = presetFor("/usr/bin/" + executable)->profile;
    emulators.entries[1].profile.defaultFor = QStringList{"tzx"};
    RomRecord record;
    record.RomFile = romFile;
    RunChoice choice{emulator, std::nullopt};
    if (machine >= 0)
        choice.machine = SpectrumMachine(machine);
    MachineCache machines;
    const Launch launch =
        planRun(record, emulators, choice, searchPaths(PathKind::Rom, {"@/roms 2/"}), machines);
    QCOMPARE(outcome(launch), expected);
    if (!launch.archive.isEmpty())
        return; // runArchive follows a member to the emulator
    RecordingProcessStarter starter;
    QVERIFY(!carryOut(launch, starter).has_value());
    QCOMPARE(starter.starts.value(0).arguments, launch.arguments);
}

// Catches a program that ran for a while, or ended well, reported as failed, and a failure
// that says nothing.
void tst_Launcher::stoppedAtOnce_data()
{
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("crashed");
    QTest::addColumn<int>("milliseconds");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("expected");
    const QString said = QStringLiteral("Can't Run: Fuse stopped at once: \r\n");
    QTest::newRow("said why") << 1 << false << 300 << "no ROM\nbye"
                              << said + "no ROM\r\nbye [critical, ok]";
    QTest::newRow("said nothing") << 3 << false << 4999 << " \n"
                                  << said + "exit status 3 [critical, ok]";
    QTest::newRow("crashed") << 0 << true << 10 << "" << said + "it crashed [critical, ok]";
    QTest::newRow("ended well") << 0 << false << 10 << "bye" << QString();
    QTest::newRow("ran a while") << 1 << false << 5000 << "no ROM" << QString();
}

void tst_Launcher::stoppedAtOnce()
{
    QFETCH(int, exitCode);
    QFETCH(bool, crashed);
    QFETCH(int, milliseconds);
    QFETCH(QString, output);
    QFETCH(QString, expected);
    const std::optional<Message> message =
        ::stoppedAtOnce(QStringLiteral("Fuse"), {exitCode, crashed, milliseconds, output});
    QCOMPARE(message ? testsupport::describe(*message) : QString(), expected);
}

void tst_Launcher::previewText()
{
    const Command command{"/usr/bin/fuse-sdl", {"--machine", "128", "/roms/it's.tap"}, "/home/u"};
    QCOMPARE(commandText(command),
             QStringLiteral("/usr/bin/fuse-sdl --machine 128 '/roms/it'\\''s.tap'\r\nin /home/u"));
}

// A real child's end as the starter reports it: catches the status, the crash, the working
// directory or either output channel lost, and more than the last ten lines kept.
void tst_Launcher::realEnds_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("exitCode"); // -1: not looked at
    QTest::addColumn<bool>("crashed");
    QTest::addColumn<QString>("output");
    QTest::newRow("prints and fails") << "pwd; echo err >&2; exit 3" << 3 << false << "@\nerr";
    QTest::newRow("last ten lines")
        << "seq 1 25" << 0 << false << "16\n17\n18\n19\n20\n21\n22\n23\n24\n25";
    QTest::newRow("killed") << "echo going; kill -9 $$" << -1 << true << "going";
}

void tst_Launcher::realEnds()
{
    QFETCH(QString, script);
    QFETCH(int, exitCode);
    QFETCH(bool, crashed);
    QFETCH(QString, output);
    SystemProcessStarter starter;
    std::optional<ProcessEnd> end;
    QVERIFY(starter.start({"/bin/sh", {"-c", script}, m_dir.path()},
                          [&end](const ProcessEnd &ended) { end = ended; }));
    QTRY_VERIFY_WITH_TIMEOUT(end.has_value(), 20000);
    if (exitCode >= 0)
        QCOMPARE(end->exitCode, exitCode);
    QCOMPARE(end->crashed, crashed);
    QCOMPARE(QString(end->output).replace(m_dir.path(), QStringLiteral("@")), output);
    QVERIFY(end->milliseconds >= 0 && end->milliseconds < kQuickEndMilliseconds);
}

// A missing program is refused; a running one outlives its starter, unreported, in a session of
// its own.
void tst_Launcher::realStarterLifetime()
{
    QVERIFY(!SystemProcessStarter().start({at("@/no such program"), {}, {}}));
    const QString pidFile = at("@/child.pid");
    bool heard = false;
    {
        SystemProcessStarter starter;
        QVERIFY(starter.start({"/bin/sh", {"-c", "echo $$ > \"$0\"; exec sleep 60", pidFile}, {}},
                              [&heard](const ProcessEnd &) { heard = true; }));
        QTRY_VERIFY(testsupport::readFile(pidFile).endsWith('\n'));
    }
    const pid_t pid = pid_t(testsupport::readFile(pidFile).trimmed().toLongLong());
    QTest::qWait(100);
    const bool alive = ::kill(pid, 0) == 0;
    const pid_t session = ::getsid(pid);
    ::kill(pid, SIGKILL);
    QVERIFY(alive);
    QCOMPARE(session, pid);
    QTest::qWait(200);
    QVERIFY(!heard);
}

QTEST_GUILESS_MAIN(tst_Launcher)
#include "tst_launcher.moc"
