#pragma once

#include "core/Message.h"
#include "core/ProgramEntry.h"
#include "core/RomRecord.h"
#include "core/SearchPathList.h"
#include "core/SpectrumMachine.h"
#include "launch/ProcessStarter.h"
#include "tape/MachineReader.h"

#include <QString>
#include <QStringList>

#include <optional>

class RunCache;

inline const QString kCantRunTitle = QStringLiteral("Can't Run");
inline const QString kCantPlayMusicTitle = QStringLiteral("Can't play music");

// What running an entry or playing its music comes to, once every check has been made: nothing
// at all, a message, or a program to start with the file as its one argument.
struct Launch
{
    enum class Action { Nothing, Show, Start };

    Action action = Action::Nothing;
    Message message;       // Show
    QString program;       // Start: the executable as it is spelt on disk
    QStringList arguments; // Start
    QString failureTitle;  // Start: the title should the program fail to start
    // Nothing: why nothing happens, for the status bar, when the user would wonder.
    QString note;
    // Start: the archive (.zip, .gz) the rom file is. The emulator needs a real file, so
    // carryOut passes its Spectrum member, written to the run cache, as {file}.
    QString archive;
    // Start: the base name of that archive's Spectrum member; empty when it holds none.
    QString member;
    // Start, emulators only: how the arguments are made (see ArgumentTemplate.h). `file` is the
    // full rom path (the archive itself for a zipped one); `argumentTemplate` is the profile's,
    // "{file}" for a music player; `machineArguments` are the chosen machine's, split, and
    // empty for a snapshot run by Run (the emulator reads the snapshot's own machine).
    QString file;
    QString argumentTemplate;
    QStringList machineArguments;
    QStringList extraArguments;
    QString workingDirectory;
    // Start: the program's display name, for "[name] stopped at once: ".
    QString programName;
    // Run: the machine read from the file (and why), and the one started (Run As may differ).
    MachineReading machine;
    SpectrumMachine startedMachine = SpectrumMachine::Spectrum48;

    static Launch nothing() { return {}; }
    static Launch nothingBecause(const QString &note)
    {
        Launch launch;
        launch.note = note;
        return launch;
    }
    static Launch show(const Message &message)
    {
        Launch launch;
        launch.action = Action::Show;
        launch.message = message;
        return launch;
    }
};

// Runs `record` with emulator `emulator` of `emulators`, or with the default one when
// `emulator` is kDefaultEmulator.
inline constexpr int kDefaultEmulator = -1;

// What the user asked for: Run (the emulator that is default for the entry's kind, else the
// default emulator), a Run With place, and Run As a machine other than the file's.
struct RunChoice
{
    int emulator = kDefaultEmulator;
    std::optional<SpectrumMachine> machine;
    // The entry's own arguments, split as the machine arguments are and passed after the
    // profile's.
    QString extraArguments = {};
};

Launch planRun(const RomRecord &record, const ProgramList &emulators, const RunChoice &choice,
               const SearchPaths &paths, MachineCache &machines);
Launch planRun(const RomRecord &record, const ProgramList &emulators, int emulator,
               const SearchPaths &paths);

// The emulator Run uses for a rom file whose kind the ending of `kindName` tells: the first
// whose profile is default for that kind, else the list's default (kNone when neither is).
qint32 emulatorFor(const ProgramList &emulators, const QString &kindName);

// A program, its arguments and the directory it starts in: what a Start launch comes to.
struct Command
{
    QString program;
    QStringList arguments;
    QString workingDirectory;

    friend bool operator==(const Command &, const Command &) = default;
};

// The command of a Start launch with `file` as {file}: the rom path, or an archive's unpacked
// member.
Command commandOf(const Launch &launch, const QString &file);
// What carryOut would start, without unpacking anything: an archive's member is named by where
// `cache` puts it. Empty for a launch that starts nothing.
Command previewCommand(const Launch &launch, const RunCache &cache);
// The command on one line for the eye: the program and each argument quoted as a terminal
// wants them, then the working directory on a line of its own.
QString commandText(const Command &command);

// When a program ends this soon with a failing status it never ran: a missing ROM, an option
// it does not know. A quicker end adds no play time either.
inline constexpr qint64 kQuickEndMilliseconds = 5000;
// "[name] stopped at once: " and the last lines it printed, titled "Can't Run", when `end`
// came within kQuickEndMilliseconds with a failing status or a crash; nothing otherwise.
std::optional<Message> stoppedAtOnce(const QString &name, const ProcessEnd &end);

// Plays the audio file of `record` with the default music player. An audio file in no music
// directory shows no message box; the plan notes it for the status bar.
Launch planPlayMusic(const RomRecord &record, const ProgramList &players, const SearchPaths &paths);

// Starts what `launch` names. Returns the message to show, if any: the plan's own, the report
// of a program that exists but could not be started, or of an archive that could not be read
// ("Unable to read [name]: [reason]", nothing started). An archive's member goes through
// `cache`; the two-argument form uses the user's own (RunCache::standardDirectory()).
// `ended`, when given, hears when the started program ends.
std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter, RunCache &cache,
                                const ProcessStarter::EndHandler &ended = {});
std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter);
