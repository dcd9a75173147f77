#include "launch/Launcher.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/FileLookup.h"
#include "core/PathText.h"
#include "launch/ArgumentTemplate.h"
#include "launch/ProcessStarter.h"
#include "launch/RunCache.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kNoDefaultEmulator = QStringLiteral("No default emulator has been set");
const QString kDefaultEmulatorMissing = QStringLiteral("Unable to find default emulator");
const QString kEmulatorMissing = QStringLiteral("Unable to find emulator");
const QString kRomMissing = QStringLiteral("Unable to find selected rom");
const QString kNoDefaultPlayer = QStringLiteral("No default music player");
const QString kDefaultPlayerMissing = QStringLiteral("Unable to locate default music player");
const QString kUnableToStart = QStringLiteral("Unable to start");
const QString kAudioNotFound = QStringLiteral("Audio file not found: ");
const QString kStoppedAtOnce = QStringLiteral(" stopped at once: ");
const QString kExitStatus = QStringLiteral("exit status %1");
const QString kCrashed = QStringLiteral("it crashed");
const QString kIn = QStringLiteral("in ");

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

QString kindNameOf(const QString &rom, const QString &romFile)
{
    return rom.isEmpty() ? fileNamePart(romFile) : romFileKindName(rom);
}

Launch start(const QString &executable, const QString &file, const QString &failureTitle,
             const QString &name)
{
    // The configured path may differ from the disk in letter case only; start the file found.
    Launch launch;
    launch.action = Launch::Action::Start;
    launch.program = resolveExistingFile(executable);
    launch.file = file;
    launch.argumentTemplate = kDefaultArgumentTemplate;
    // Where a program started without one begins: shown, so the preview says it.
    launch.workingDirectory = QDir::toNativeSeparators(QDir::currentPath());
    launch.failureTitle = failureTitle;
    launch.programName = name;
    launch.arguments = commandOf(launch, file).arguments;
    return launch;
}

QString programName(const ProgramList &list, qsizetype index)
{
    return index >= 0 && index < list.entries.size() ? list.entries.at(index).name : QString();
}

} // namespace

Launch planRun(const RomRecord &record, const ProgramList &emulators, const RunChoice &choice,
               const SearchPaths &paths, MachineCache &machines)
{
    if (isBlank(record.RomFile))
        return Launch::nothing();
    const bool byDefault = choice.emulator == kDefaultEmulator;
    // The rom is looked for first, silently: its kind picks the emulator of a default run. The
    // checks still report in their order, the missing rom last.
    const QString rom = paths.FindInSearchPaths(PathKind::Rom, record.RomFile);
    // An archive is listed once, for its member's kind and the member's name in the cache.
    const bool archived = !rom.isEmpty() && Archive::isArchiveName(rom);
    const QString kindName = byDefault || archived ? kindNameOf(rom, record.RomFile) : QString();
    const qsizetype index = byDefault ? emulatorFor(emulators, kindName) : choice.emulator;
    if (byDefault && index <= kNone)
        return Launch::show(Message::critical(kNoDefaultEmulator, kCantRunTitle));
    const QString executable = programPath(emulators, index);
    if (!FileExists(executable)) {
        return Launch::show(
            byDefault ? Message::critical(kDefaultEmulatorMissing, kCantRunTitle)
                      : Message::critical(kEmulatorMissing + kCrLf + executable, kCantRunTitle));
    }
    if (rom.isEmpty())
        return Launch::show(Message::critical(kRomMissing, kCantRunTitle));

    const EmulatorProfile &profile = emulators.entries.at(index).profile;
    Launch launch = start(executable, rom, kCantRunTitle, programName(emulators, index));
    if (!profile.arguments.trimmed().isEmpty())
        launch.argumentTemplate = profile.arguments;
    if (archived) {
        launch.archive = rom;
        launch.member = kindName;
    }
    launch.machine = machines.machineOf(rom);
    launch.startedMachine = choice.machine.value_or(launch.machine.machine);
    // A snapshot names its machine itself, unless the user chose another.
    if (choice.machine || !launch.machine.fromSnapshot) {
        launch.machineArguments =
            splitArguments(profile.machineArguments.at(machineIndex(launch.startedMachine)));
    }
    launch.extraArguments = splitArguments(choice.extraArguments);
    launch.arguments = commandOf(launch, rom).arguments;
    return launch;
}

Launch planRun(const RomRecord &record, const ProgramList &emulators, int emulator,
               const SearchPaths &paths)
{
    MachineCache machines;
    return planRun(record, emulators, RunChoice{emulator, std::nullopt}, paths, machines);
}

qint32 emulatorFor(const ProgramList &emulators, const QString &kindName)
{
    const QString kind = lowerExtension(fileNamePart(kindName));
    if (!kind.isEmpty()) {
        for (qsizetype i = 0; i < emulators.entries.size(); ++i) {
            if (emulators.entries.at(i).profile.defaultFor.contains(kind, Qt::CaseInsensitive))
                return qint32(i);
        }
    }
    return emulators.defaultIndex;
}

Command commandOf(const Launch &launch, const QString &file)
{
    const QFileInfo info(toFileSystemPath(file));
    TemplateValues values;
    values.file = QDir::toNativeSeparators(toFileSystemPath(file));
    values.dir = QDir::toNativeSeparators(info.path());
    values.name = info.completeBaseName();
    values.machine = launch.machineArguments;
    return {launch.program,
            expandArguments(launch.argumentTemplate, values) + launch.extraArguments,
            launch.workingDirectory};
}

Command previewCommand(const Launch &launch, const RunCache &cache)
{
    if (launch.action != Launch::Action::Start)
        return {};
    QString file = launch.file;
    if (!launch.archive.isEmpty()) {
        // An archive that names no member has no file to show; carryOut reports why.
        if (!launch.member.isEmpty())
            file = cache.memberPath(launch.archive, launch.member);
    }
    return commandOf(launch, file);
}

QString commandText(const Command &command)
{
    QStringList words{quotedForDisplay(command.program)};
    for (const QString &argument : command.arguments)
        words.append(quotedForDisplay(argument));
    return words.join(u' ') + kCrLf + kIn + command.workingDirectory;
}

std::optional<Message> stoppedAtOnce(const QString &name, const ProcessEnd &end)
{
    if (end.milliseconds >= kQuickEndMilliseconds || (end.exitCode == 0 && !end.crashed))
        return std::nullopt;
    QString said = end.output;
    said.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', kCrLf);
    if (said.trimmed().isEmpty())
        said = end.crashed ? kCrashed : kExitStatus.arg(end.exitCode);
    return Message::critical(name + kStoppedAtOnce + kCrLf + said, kCantRunTitle);
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
    return start(executable, audio, kCantPlayMusicTitle,
                 programName(players, players.defaultIndex));
}

std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter)
{
    RunCache cache(RunCache::standardDirectory());
    return carryOut(launch, starter, cache);
}

std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter, RunCache &cache,
                                const ProcessStarter::EndHandler &ended)
{
    switch (launch.action) {
    case Launch::Action::Nothing:
        return std::nullopt;
    case Launch::Action::Show:
        return launch.message;
    case Launch::Action::Start:
        break;
    }
    QString file = launch.file;
    if (!launch.archive.isEmpty()) {
        const RunCache::Result member = cache.memberFile(launch.archive);
        if (!member.ok)
            return Message::critical(member.reason, launch.failureTitle);
        file = member.path;
    }
    const Command command = commandOf(launch, file);
    if (starter.start({command.program, command.arguments, command.workingDirectory}, ended))
        return std::nullopt;
    return Message::critical(kUnableToStart + kCrLf + launch.program, launch.failureTitle);
}
