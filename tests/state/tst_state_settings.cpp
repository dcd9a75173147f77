// The Settings of kivo.ini taken into the shared state and back.
#include "settings/ProfileFile.h"
#include "state/StateSettings.h"

#include <QTest>

class tst_StateSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stateRoundTrip();
    void listsNotInFileKeepState();
};

namespace {

SettingsFile parse(const QByteArray &text)
{
    return readSettingsFile(ProfileFile::fromBytes(text));
}

} // namespace

void tst_StateSettings::stateRoundTrip()
{
    // State -> file -> a second state holds the same Settings.
    AppState first(ProgramDir::inDirectory(QStringLiteral("/nowhere")));
    first.emulators.entries = {{QStringLiteral("Zxemu"), QStringLiteral("/usr/bin/zxemu")}};
    first.emulators.defaultIndex = 0;
    first.musicPlayers.defaultIndex = -99;
    first.layout.ViewMode = 6;
    first.layout.HalfSizeScreenshots = 1;
    first.database.LastDatabase = QStringLiteral("/d/games.dat");
    first.LoadLastDatabase = 1;
    first.paths[PathKind::Music].setDirs({QStringLiteral("/m/"), QStringLiteral("/n/")});

    AppState second(ProgramDir::inDirectory(QStringLiteral("/nowhere")));
    applySettings(
        readSettingsFile(ProfileFile::fromBytes(settingsFileBytes(settingsFromState(first)))),
        second);
    QCOMPARE(second.emulators.entries, first.emulators.entries);
    QCOMPARE(second.emulators.defaultIndex, 0);
    QCOMPARE(second.musicPlayers.entries, QList<ProgramEntry>());
    QCOMPARE(second.musicPlayers.defaultIndex, -99);
    QCOMPARE(second.layout.ViewMode, 6);
    QCOMPARE(second.layout.HalfSizeScreenshots, 1);
    QCOMPARE(second.database.LastDatabase, QStringLiteral("/d/games.dat"));
    QCOMPARE(second.LoadLastDatabase, 1);
    QCOMPARE(second.paths[PathKind::Music].dirs(), first.paths[PathKind::Music].dirs());
    QCOMPARE(second.paths[PathKind::Rom].dirs(), QStringList{QString()});
}

void tst_StateSettings::listsNotInFileKeepState()
{
    AppState state(ProgramDir::inDirectory(QStringLiteral("/nowhere")));
    state.emulators.entries = {{QStringLiteral("Kept"), QStringLiteral("/k")}};
    state.paths[PathKind::Rom].setDirs({QStringLiteral("/kept/")});
    applySettings(parse("[emulators]\r\nnum=0\r\n[RomPaths]\r\nnum=0\r\n"), state);
    QCOMPARE(state.emulators.entries.value(0).name, QStringLiteral("Kept"));
    QCOMPARE(state.paths[PathKind::Rom].dirs(), QStringList{QStringLiteral("/kept/")});
}

QTEST_GUILESS_MAIN(tst_StateSettings)
#include "tst_state_settings.moc"
