#include "state/EntryRun.h"

RunChoice entryRunChoice(const EntryRunChoice &own, const ProgramList &emulators,
                         const RunChoice &asked)
{
    RunChoice choice = asked;
    if (choice.emulator == kDefaultEmulator && !own.emulator.isEmpty()) {
        for (qsizetype i = 0; i < emulators.entries.size(); ++i) {
            const ProgramEntry &entry = emulators.entries.at(i);
            if (!entry.path.isEmpty() && entry.name == own.emulator) {
                choice.emulator = int(i);
                break;
            }
        }
    }
    if (!choice.machine && !own.machine.isEmpty())
        choice.machine = machineFromText(own.machine);
    choice.extraArguments = own.arguments;
    return choice;
}
