#include "state/InfoText.h"

#include "core/Message.h"
#include "state/EntryMachine.h"

QString InfoText(const RomRecord &record, const GameTypeTable &gameTypes,
                 const std::optional<MachineReading> &machine)
{
    const QString machineLine =
        machine ? QStringLiteral("Machine: ") + machineWithReason(*machine) + kCrLf : QString();
    return QStringLiteral("Rom Name: ") + record.RomName + kCrLf + QStringLiteral("Publisher: ") +
           record.Publisher + kCrLf + QStringLiteral("Year: ") + QString::number(record.Year) +
           kCrLf + QStringLiteral("Author(s): ") + kCrLf + record.Authors + kCrLf +
           QStringLiteral("Rom Type: ") + gameTypes.nameOf(record.RomType) + kCrLf + machineLine +
           QStringLiteral("Notes: ") + kCrLf + record.Notes + kCrLf;
}
