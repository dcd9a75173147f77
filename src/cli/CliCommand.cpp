// command: what Run, Run With or Run As would start for a rom file.
#include "cli/CliSupport.h"

#include "archive/RomFile.h"
#include "launch/Launcher.h"
#include "launch/RunCache.h"
#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString kChosen = QStringLiteral("as chosen");

} // namespace

int cmdCommand(const QStringList &arguments)
{
    QString ini;
    QString file;
    RunChoice choice;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == u"--ini" && hasValue) {
            ini = arguments.at(++i);
        } else if (argument == u"--emulator" && hasValue) {
            bool ok = false;
            choice.emulator = arguments.at(++i).toInt(&ok);
            if (!ok || choice.emulator < 0)
                return usageError(QStringLiteral("--emulator needs a place from 0 on"));
        } else if (argument == u"--machine" && hasValue) {
            choice.machine = machineFromText(arguments.at(++i));
            if (!choice.machine)
                return usageError(QStringLiteral("unknown machine '%1'").arg(arguments.at(i)));
        } else if (argument.startsWith(u'-') || !file.isEmpty()) {
            return usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
        } else {
            file = argument;
        }
    }
    const QFileInfo rom(file);
    if (ini.isEmpty() || rom.fileName().isEmpty())
        return usageError(QStringLiteral("command needs --ini and a rom file"));

    // The emulators as the program would read them at start-up; the rom's folder is the one
    // rom path.
    const SettingsFile settings = readSettingsFile(ProfileFile::load(ini));
    ProgramList emulators;
    emulators.entries = settings.emulators;
    emulators.defaultIndex = settings.Defaultemu;
    SearchPaths paths;
    paths[PathKind::Rom].setDirs({QDir::toNativeSeparators(rom.absolutePath() + u'/')});
    RomRecord record;
    record.RomFile = rom.fileName();
    MachineCache machines;
    const Launch launch = planRun(record, emulators, choice, paths, machines);
    if (launch.action == Launch::Action::Show) {
        printMessage(launch.message);
        return kExitFailure;
    }
    if (launch.action == Launch::Action::Nothing) // a name of blanks
        return usageError(QStringLiteral("command needs a rom file"));
    const Command command = previewCommand(launch, RunCache(RunCache::standardDirectory()));
    Json out;
    out["program"] = utf8(command.program);
    out["arguments"] = stringList(command.arguments);
    out["workingDirectory"] = utf8(command.workingDirectory);
    out["machine"] = utf8(machineName(launch.startedMachine));
    out["why"] = utf8(choice.machine ? kChosen : launch.machine.why);
    out["emulator"] = choice.emulator != kDefaultEmulator
                          ? choice.emulator
                          : emulatorFor(emulators, romFileKindName(launch.file));
    printJson(out);
    return kExitOk;
}
