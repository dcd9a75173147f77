// The demo catalogue as the build makes it and scripts/first-run.sh prepares it: every entry
// loads, every file it names is found through the paths the first kivo.ini sets, the tapes read,
// and a second first run changes nothing.
#include "TestSupport.h"

#include "core/Cp1252.h"
#include "core/DatFile.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"
#include "launch/EmulatorPresets.h"
#include "launch/Launcher.h"
#include "render/DisplayZX.h"
#include "settings/SettingsFile.h"
#include "tape/LoadingScreen.h"
#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

using namespace testsupport;

namespace {

const QString kDemoDir = QStringLiteral(KIVO_DEMO_DIR);
const QString kSourceDir = QStringLiteral(KIVO_SOURCE_DIR);

struct FirstRun
{
    int exitCode = -1;
    QByteArray err;
};

// Runs scripts/first-run.sh on `dir` with stand-ins for Fuse, its ROM and the music players.
FirstRun firstRun(const QString &dir, const QString &fuse, const QString &rom,
                  const QString &players = QString(), const QString &fuseRoms = QString())
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KIVO_FUSE"), fuse);
    environment.insert(QStringLiteral("KIVO_OPENSE_ROM"), rom);
    environment.insert(QStringLiteral("KIVO_MUSIC_PLAYERS"), players);
    environment.insert(QStringLiteral("KIVO_FUSE_ROMS"),
                       fuseRoms.isEmpty() ? QStringLiteral("/nowhere") : fuseRoms);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("bash"),
                  {kSourceDir + QStringLiteral("/scripts/first-run.sh"), dir});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError()};
}

bool copyTree(const QString &from, const QString &to)
{
    return QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-R"), from, to}) == 0;
}

QList<RomRecord> entriesOf(const RomDatabase &database)
{
    QList<RomRecord> entries;
    for (int slot = 0; slot < database.slotCount(); ++slot) {
        if (database.Get(slot).isEntry())
            entries.append(database.Get(slot));
    }
    return entries;
}

QList<RomRecord> sourceEntries()
{
    const QByteArray json = readFile(kSourceDir + QStringLiteral("/data/demo/catalogue.json"));
    QList<RomRecord> entries;
    for (const QJsonValue value : QJsonDocument::fromJson(json).object()[u"entries"].toArray()) {
        const QJsonObject o = value.toObject();
        entries.append({o[u"RomName"].toString(), o[u"RomType"].toInt(),
                        o[u"Screenshots"].toString(), o[u"Year"].toInt(), o[u"Notes"].toString(),
                        o[u"RomFile"].toString(), o[u"Publisher"].toString(),
                        o[u"Authors"].toString(), o[u"AudioFile"].toString()});
    }
    return entries;
}

// The archive-info texts of a TZX block 0x32 body: 2-byte length, count, then type, length, text.
QList<QPair<int, QString>> archiveTexts(const QByteArray &body)
{
    QList<QPair<int, QString>> texts;
    if (body.size() < 3)
        return texts;
    qsizetype at = 3;
    for (int i = 0; i < quint8(body[2]) && at + 2 <= body.size(); ++i) {
        const int type = quint8(body[at]);
        const int length = quint8(body[at + 1]);
        texts.append({type, fromCp1252(body.mid(at + 2, length))});
        at += 2 + length;
    }
    return texts;
}

// A standard-speed block's bytes (flag, data, checksum) whatever the container: a TZX block 0x10
// starts with its pause and length.
QByteArray dataOf(const TapeBlock &block, bool isTap)
{
    return isTap ? block.Body : block.Body.mid(4);
}

} // namespace

class tst_demo : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_settings;
    SettingsFile m_read;
    RomDatabase m_database;
    SearchPaths m_paths;

private Q_SLOTS:
    void initTestCase()
    {
        if (kDemoDir.isEmpty() || !QFileInfo::exists(kDemoDir + QStringLiteral("/demo.dat")))
            QSKIP("the demo catalogue was not built (zmakebas missing; scripts/setup.sh deps)");
        QVERIFY(m_dir.isValid());
        // The program's directory as ./run.sh leaves it: the demo as built beside the program.
        QVERIFY(copyTree(kDemoDir, m_dir.filePath(QStringLiteral("demo-catalogue"))));
        const QString fuse = m_dir.filePath(QStringLiteral("fuse-sdl"));
        touch(fuse, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n");
        QFile::setPermissions(fuse, QFile::permissions(fuse) | QFileDevice::ExeOwner);
        touch(m_dir.filePath(QStringLiteral("opense.rom")), QByteArray(16384, '\0'));
        const FirstRun run =
            firstRun(m_dir.path(), fuse, m_dir.filePath(QStringLiteral("opense.rom")),
                     QStringLiteral("/nowhere/mpv ") + fuse);
        QVERIFY2(run.exitCode == 0, run.err.constData());

        m_settings = m_dir.filePath(QStringLiteral("kivo.ini"));
        m_read = readSettingsFile(ProfileFile::load(m_settings));
        m_paths[PathKind::Rom].setDirs(m_read.RomPaths);
        m_paths[PathKind::Screenshot].setDirs(m_read.ScreenshotPaths);
        m_paths[PathKind::Music].setDirs(m_read.MusicPaths);
        const DatResult loaded = LoadDatabase(m_database, m_paths, m_read.lastdb);
        QVERIFY(loaded.ok);
    }

    // The first kivo.ini opens the user's copy of the demo in view 4: a kivo.ini that pointed
    // into the build's own output would lose the user's edits at the next build.
    void firstSettingsOpenTheCopy()
    {
        QCOMPARE(m_read.view, 4);
        QCOMPARE(m_read.loadlast, 1);
        QCOMPARE(m_read.lastdb, m_dir.filePath(QStringLiteral("demo/demo.dat")));
        QVERIFY(QFileInfo::exists(m_read.lastdb));
        QCOMPARE(m_read.Defaultemu, 0);
        QCOMPARE(m_read.emulators.size(), 1);
        QCOMPARE(m_read.Defaultmplayer, 0);
        QCOMPARE(m_read.musicPlayers.size(), 1);
        QCOMPARE(m_read.musicPlayers.first().path, m_dir.filePath(QStringLiteral("fuse-sdl")));
    }

    // Fuse on the free ROM must be handed it at every start, 48K tapes in the 48K machine;
    // without it Fuse stops at its missing-ROM notice.
    void fuseProfileGivesTheRom()
    {
        RomRecord record;
        record.RomName = QStringLiteral("Lighthouse");
        record.RomFile = QStringLiteral("lighthouse.tzx");
        ProgramList emulators{m_read.emulators, m_read.Defaultemu};
        MachineCache machines;
        const Launch launch = planRun(record, emulators, RunChoice{}, m_paths, machines);
        QCOMPARE(launch.action, Launch::Action::Start);
        const Command command = commandOf(launch, launch.file);
        QCOMPARE(QProcess::execute(command.program, command.arguments), 0);
        const QStringList arguments =
            QString::fromUtf8(readFile(m_dir.filePath(QStringLiteral("fuse-sdl.args"))))
                .split(u'\n', Qt::SkipEmptyParts);
        const QString tape = m_dir.filePath(QStringLiteral("demo/tapes/lighthouse.tzx"));
        QCOMPARE(arguments, (QStringList{QStringLiteral("--rom-48"),
                                         m_dir.filePath(QStringLiteral("opense.rom")),
                                         QStringLiteral("--machine"), QStringLiteral("48"), tape}));
    }

    // With Fuse's own ROMs installed the first run writes the program's Fuse preset.
    void fullRomSetGetsThePreset()
    {
        QTemporaryDir dir;
        QVERIFY(copyTree(kDemoDir, dir.filePath(QStringLiteral("demo-catalogue"))));
        for (const char *rom : {"48.rom", "128-0.rom"})
            touch(dir.filePath(QLatin1String(rom)), QByteArray(16384, '\0'));
        const QString fuse = m_dir.filePath(QStringLiteral("fuse-sdl"));
        QCOMPARE(
            firstRun(dir.path(), fuse, QStringLiteral("/nowhere"), QString(), dir.path()).exitCode,
            0);
        const SettingsFile read =
            readSettingsFile(ProfileFile::load(dir.filePath(QStringLiteral("kivo.ini"))));
        QCOMPARE(read.emulators.size(), 1);
        const EmulatorPreset *preset = presetFor(fuse);
        QVERIFY(preset != nullptr);
        QCOMPARE(read.emulators.first().profile, preset->profile);
    }

    // kivo-cli write must carry every field of the description into demo.dat.
    void catalogueHoldsTheDescribedEntries()
    {
        const QList<RomRecord> expected = sourceEntries();
        QCOMPARE(expected.size(), 8);
        QCOMPARE(entriesOf(m_database), expected);
        QStringList names;
        for (const RomRecord &entry : expected) {
            names.append(entry.RomName);
            QVERIFY2(entry.RomType >= 0 && entry.RomType < 130, qPrintable(entry.RomName));
            QVERIFY(!entry.RomFile.isEmpty() && !entry.Publisher.isEmpty() && entry.Year > 0);
        }
        QVERIFY(names.contains(QStringLiteral("The Lighthouse Keeper")));
    }

    // Every file an entry names is found where the first kivo.ini's paths say, in the format
    // its name promises.
    void everyFileIsFound_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        bool music = false;
        for (const RomRecord &entry : sourceEntries()) {
            QTest::addRow("%s rom", qPrintable(entry.RomFile))
                << int(PathKind::Rom) << entry.RomFile;
            for (const QString &shot : entry.Screenshots.split(u',', Qt::SkipEmptyParts))
                QTest::addRow("%s", qPrintable(shot)) << int(PathKind::Screenshot) << shot;
            if (!entry.AudioFile.isEmpty()) {
                QTest::addRow("%s", qPrintable(entry.AudioFile))
                    << int(PathKind::Music) << entry.AudioFile;
                music = true;
            }
        }
        QVERIFY(music);
    }
    void everyFileIsFound()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        const QString path = m_paths.FindInSearchPaths(PathKind(kind), name);
        QVERIFY2(!path.isEmpty(), qPrintable(name));
        const QByteArray bytes = readFile(path);
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (suffix == u"scr")
            QCOMPARE(bytes.size(), 6912);
        else if (suffix == u"gif")
            QVERIFY(bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"));
        else if (suffix == u"png")
            QVERIFY(bytes.startsWith("\x89PNG"));
        else if (suffix == u"wav")
            QVERIFY(bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WAVE" && bytes.size() > 44100);
        else if (suffix == u"tap" || suffix == u"tzx")
            QVERIFY(!bytes.isEmpty());
        else
            QFAIL(qPrintable(QStringLiteral("unexpected kind of file: ") + name));
    }

    // Each tape reads, and its first program starts itself: a BASIC header (type 0) whose
    // auto-start line is 10, so LOAD "" runs the game. A tape without it would stop at "0 OK".
    void tapesReadAndAutoStart_data()
    {
        QTest::addColumn<QString>("file");
        for (const RomRecord &entry : sourceEntries())
            QTest::addRow("%s", qPrintable(entry.RomFile)) << entry.RomFile;
    }
    void tapesReadAndAutoStart()
    {
        QFETCH(QString, file);
        TapeIndex tape;
        const auto message = ReadTapeImage(tape, m_paths.FindInSearchPaths(PathKind::Rom, file));
        QVERIFY(!message);
        QCOMPARE(tape.IsTap, file.endsWith(u".tap"));
        QList<QByteArray> standard;
        for (const TapeBlock &block : std::as_const(tape.Blocks)) {
            if (block.BlockId == 0x10)
                standard.append(dataOf(block, tape.IsTap));
        }
        QVERIFY(standard.size() >= 2);
        const QByteArray header = standard.first();
        QCOMPARE(header.size(), 19);
        QCOMPARE(quint8(header[0]), 0x00); // a header
        QCOMPARE(quint8(header[1]), 0x00); // of a BASIC program
        QCOMPARE(quint8(header[14]) | (quint8(header[15]) << 8), 10);
        QCOMPARE(quint8(standard.at(1)[0]), 0xFF);
        // Every block's checksum holds, or the ROM loader says "R Tape loading error".
        for (const QByteArray &block : std::as_const(standard)) {
            char sum = 0;
            for (const char byte : block)
                sum = char(sum ^ byte);
            QCOMPARE(int(sum), 0);
        }
        QVERIFY(ListTapeBlocks(tape).size() >= tape.Blocks.size());
    }

    // The lighthouse tape says what it is in an archive-info block that agrees with its entry,
    // and its loading screen is the entry's first screenshot.
    void lighthouseTapeHasArchiveInfoAndItsScreen()
    {
        const RomRecord entry = entriesOf(m_database).at(2);
        QCOMPARE(entry.RomFile, QStringLiteral("lighthouse.tzx"));
        TapeIndex tape;
        QVERIFY(!ReadTapeImage(tape, m_paths.FindInSearchPaths(PathKind::Rom, entry.RomFile)));
        QCOMPARE(tape.Blocks.first().BlockId, qint16(0x32));
        const QList<TapeRow> rows = ListTapeBlocks(tape);
        QVERIFY(rows.first().description.contains(QStringLiteral("[Archive Info]")));
        const auto texts = archiveTexts(tape.Blocks.first().Body);
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts.at(0), qMakePair(0x00, entry.RomName));
        QCOMPARE(texts.at(1), qMakePair(0x01, entry.Publisher));
        QCOMPARE(texts.at(2), qMakePair(0x02, entry.Authors));
        QCOMPARE(texts.at(3), qMakePair(0x03, QString::number(entry.Year)));
        QCOMPARE(texts.at(4).first, 0xFF);

        // loader header and data, then the CODE header and the screen.
        QCOMPARE(tape.Blocks.size(), 1 + 6);
        const QByteArray codeHeader = dataOf(tape.Blocks.at(3), false);
        QCOMPARE(quint8(codeHeader[1]), 3);
        QCOMPARE(quint8(codeHeader[12]) | (quint8(codeHeader[13]) << 8), 6912);
        QCOMPARE(quint8(codeHeader[14]) | (quint8(codeHeader[15]) << 8), 16384);
        const QByteArray screen = dataOf(tape.Blocks.at(4), false).mid(1, 6912);
        const QString shot = entry.Screenshots.section(u',', 0, 0);
        QCOMPARE(screen, readFile(m_paths.FindInSearchPaths(PathKind::Screenshot, shot)));
    }

    // Every tape carries its entry's first screenshot as the screen it loads first, where the
    // loading-screen reader finds it: the block after the loader (and the archive info).
    void tapesCarryTheirScreen_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("shot");
        for (const RomRecord &entry : sourceEntries())
            QTest::addRow("%s", qPrintable(entry.RomFile))
                << entry.RomFile << entry.Screenshots.section(u',', 0, 0);
    }
    void tapesCarryTheirScreen()
    {
        QFETCH(QString, file);
        QFETCH(QString, shot);
        QVERIFY(shot.endsWith(u".scr"));
        const QString path = m_paths.FindInSearchPaths(PathKind::Rom, file);
        const LoadingScreenFile read = readLoadingScreen(path);
        QVERIFY(read.ok);
        QVERIFY(read.screen);
        QCOMPARE(read.screen->screen,
                 readFile(m_paths.FindInSearchPaths(PathKind::Screenshot, shot)));
        TapeIndex tape;
        QVERIFY(!ReadTapeImage(tape, path));
        const int info = tape.Blocks.first().BlockId == 0x32 ? 1 : 0;
        QCOMPARE(read.screen->source, QStringLiteral("tape block %1").arg(3 + info));
    }

    // The GIF encoder of our own and the PNG path give exactly the picture the renderer draws
    // from the same screen, as Qt's readers decode them: a wrong code width or palette would
    // scramble or recolour it.
    void picturesMatchTheirScreen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("lighthouse") << QStringLiteral("lighthouse");
        QTest::newRow("rainbow-title") << QStringLiteral("rainbow-title");
        QTest::newRow("doodler") << QStringLiteral("doodler");
    }
    void picturesMatchTheirScreen()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QCOMPARE(
            QProcess::execute(QStringLiteral(KIVO_DEMO_GEN),
                              {QStringLiteral("screens"), dir.path(), name + QStringLiteral(".scr"),
                               name + QStringLiteral(".png"), name + QStringLiteral(".gif")}),
            0);
        const QImage expected = DisplayZX(readFile(dir.filePath(name + QStringLiteral(".scr"))))
                                    .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(expected.size(), QSize(256, 192));
        for (const char *suffix : {".png", ".gif"}) {
            const QImage picture(dir.filePath(name + QLatin1String(suffix)));
            QVERIFY2(!picture.isNull(), suffix);
            QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), expected);
        }
    }

    // An existing kivo.ini is never touched, and a kept demo copy is not overwritten: both hold
    // what the user changed.
    void secondRunKeepsTheUsersFiles()
    {
        writeFile(m_settings, "[kivo]\r\nview=2\r\n");
        QCOMPARE(
            firstRun(m_dir.path(), QStringLiteral("/nowhere"), QStringLiteral("/nowhere")).exitCode,
            0);
        QCOMPARE(readFile(m_settings), QByteArray("[kivo]\r\nview=2\r\n"));

        const QByteArray saved = readFile(m_read.lastdb) + "edited";
        writeFile(m_read.lastdb, saved);
        QVERIFY(QFile::remove(m_settings));
        QCOMPARE(
            firstRun(m_dir.path(), QStringLiteral("/nowhere"), QStringLiteral("/nowhere")).exitCode,
            0);
        QCOMPARE(readFile(m_read.lastdb), saved);
    }

    // Without Fuse and its ROM there is no emulator to set, and no default pointing at nothing.
    void withoutFuseNoEmulator()
    {
        QTemporaryDir dir;
        QVERIFY(copyTree(kDemoDir, dir.filePath(QStringLiteral("demo-catalogue"))));
        QCOMPARE(firstRun(dir.path(), QStringLiteral("/nowhere/fuse-sdl"),
                          QStringLiteral("/nowhere/opense.rom"))
                     .exitCode,
                 0);
        const SettingsFile read =
            readSettingsFile(ProfileFile::load(dir.filePath(QStringLiteral("kivo.ini"))));
        QCOMPARE(read.view, 4);
        QCOMPARE(read.Defaultemu, -99);
        QVERIFY(read.emulators.isEmpty());
        QVERIFY(read.musicPlayers.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("fuse-opense"))));
    }
};

QTEST_GUILESS_MAIN(tst_demo)
#include "tst_demo.moc"
