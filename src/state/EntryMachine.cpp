#include "state/EntryMachine.h"

std::optional<MachineReading> machineOfEntry(const RomRecord &record, const SearchPaths &paths,
                                             MachineCache &machines)
{
    if (record.RomFile.trimmed().isEmpty())
        return std::nullopt;
    const QString rom = paths.FindInSearchPaths(PathKind::Rom, record.RomFile);
    if (rom.isEmpty())
        return std::nullopt;
    return machines.machineOf(rom);
}

QString machineWithReason(const MachineReading &reading)
{
    return machineName(reading.machine) + QStringLiteral(" (") + reading.why + u')';
}
