#pragma once

#include "core/Message.h"
#include "core/ProgramEntry.h"
#include "core/RomRecord.h"
#include "core/SearchPathList.h"

#include <QString>
#include <QStringList>

#include <optional>

class ProcessStarter;
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
    // carryOut passes its Spectrum member, written to the run cache, as the one argument.
    QString archive;

    static Launch nothing() { return {}; }
    static Launch nothingBecause(const QString &note)
    {
        Launch launch;
        launch.note = note;
        return launch;
    }
    static Launch show(const Message &message)
    {
        return {Action::Show, message, {}, {}, {}, {}, {}};
    }
};

// Runs `record` with emulator `emulator` of `emulators`, or with the default one when
// `emulator` is kDefaultEmulator.
inline constexpr int kDefaultEmulator = -1;
Launch planRun(const RomRecord &record, const ProgramList &emulators, int emulator,
               const SearchPaths &paths);

// Plays the audio file of `record` with the default music player. An audio file in no music
// directory shows no message box; the plan notes it for the status bar.
Launch planPlayMusic(const RomRecord &record, const ProgramList &players, const SearchPaths &paths);

// Starts what `launch` names. Returns the message to show, if any: the plan's own, the report
// of a program that exists but could not be started, or of an archive that could not be read
// ("Unable to read [name]: [reason]", nothing started). An archive's member goes through
// `cache`; the two-argument form uses the user's own (RunCache::standardDirectory()).
std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter, RunCache &cache);
std::optional<Message> carryOut(const Launch &launch, ProcessStarter &starter);
