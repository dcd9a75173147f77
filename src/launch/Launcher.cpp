#include "launch/Launcher.h"

#include "archive/Archive.h"
#include "core/FileLookup.h"
#include "core/PathText.h"
#include "launch/ProcessStarter.h"
#include "launch/RunCache.h"

#include <QDir>

namespace {

const QString kNoDefaultEmulator = QStringLiteral("No default emulator has been set");
const QString kDefaultEmulatorMissing = QStringLiteral("Unable to find default emulator");
const QString kEmulatorMissing = QStringLiteral("Unable to find emulator");
const QString kRomMissing = QStringLiteral("Unable to find selected rom");
const QString kNoDefaultPlayer = QStringLiteral("No default music player");
const QString kDefaultPlayerMissing = QStringLiteral("Unable to locate default music player");
const QString kUnableToStart = QStringLiteral("Unable to start");
const QString kAudioNotFound = QStringLiteral("Audio file not found: ");

// Only blanks count, as in the catalogues this program reads.
bool isBlank(const QString &text)
{
    for (const QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

// A default read from a hand-edited settings file may point past the list; it then names no
// executable, which the existence check reports.
QString programPath(const ProgramList &list, qsizetype index)
{
    return index >= 0 && index < list.entries.size() ? list.entries.at(index).path : QString();
}

Launch start(const QString &executable, const QString &file, const QString &failureTitle)
{
    // The configured path may differ from the disk in letter case only; start the file found.
    Launch launch;
    launch.action = Launch::Action::Start;
    launch.program = resolveExistingFile(executable);
    launch.arguments = QStringList{QDir::toNativeSeparators(toFileSystemPath(file))};
    launch.failureTitle = failureTitle;
    return launch;
}

} // namespace

Launch planRun(const RomRecord &record, const ProgramList &emulators, int emulator,
               const SearchPaths &paths)
{
    if (isBlank(record.RomFile))
        return Launch::nothing();
    const bool byDefault = emulator == kDefaultEmulator;
    const qsizetype index = byDefault ? emulators.defaultIndex : emulator;
    if (byDefault && index <= kNone)
        return Launch::show(Message::critical(kNoDefaultEmulator, kCantRunTitle));
    const QString executable = programPath(emulators, index);
    if (!FileExists(executable)) {
        return Launch::show(
            byDefault ? Message::critical(kDefaultEmulatorMissing, kCantRunTitle)
                      : Message::critical(kEmulatorMissing + kCrLf + executable, kCantRunTitle));
    }
    const QString rom = paths.FindInSearchPaths(PathKind::Rom, record.RomFile);
    if (rom.isEmpty())
        return Launch::show(Message::critical(kRomMissing, kCantRunTitle));
    Launch launch = start(executable, rom, kCantRunTitle);
    if (Archive::isArchiveName(rom))
        launch.archive = rom;
    return launch;
}

Launch planPlayMusic(const RomRecord &record, const ProgramList &players, const SearchPaths &paths)
{
    if (isBlank(record.AudioFile))
        return Launch::nothing();
    const QString audio = paths.FindInSearchPaths(PathKind::Music, record.AudioFile);
    if (audio.isEmpty())
        return Launch::nothingBecause(kAudioNotFound + record.AudioFile);
    if (!players.isUsed())
        return Launch::nothing();
    if (players.defaultIndex <= kNone)
        return Launch::show(Message::critical(kNoDefaultPlayer, kCantPlayMusicTitle));
    const QString executable = programPath(players, players.defaultIndex);
    if (!FileExists(executable))
        return Launch::show(Message::critical(kDefaultPlayerMissing, kCantPlayMusicTitle));
    return start(executable, audio, kCantPlayMusicTitle);
}

std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter)
{
    RunCache cache(RunCache::standardDirectory());
    return carryOut(launch, starter, cache);
}

std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter, RunCache &cache)
{
    switch (launch.action) {
    case Launch::Action::Nothing:
        return std::nullopt;
    case Launch::Action::Show:
        return launch.message;
    case Launch::Action::Start:
        break;
    }
    QStringList arguments = launch.arguments;
    if (!launch.archive.isEmpty()) {
        const RunCache::Result member = cache.memberFile(launch.archive);
        if (!member.ok)
            return Message::critical(member.reason, launch.failureTitle);
        arguments = QStringList{QDir::toNativeSeparators(member.path)};
    }
    if (starter.startDetached(launch.program, arguments))
        return std::nullopt;
    return Message::critical(kUnableToStart + kCrLf + launch.program, launch.failureTitle);
}
