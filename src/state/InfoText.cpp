#include "state/InfoText.h"

#include "core/Message.h"

QString InfoText(const RomRecord &record, const GameTypeTable &gameTypes)
{
    return QStringLiteral("Rom Name: ") + record.RomName + kCrLf + QStringLiteral("Publisher: ") +
           record.Publisher + kCrLf + QStringLiteral("Year: ") + QString::number(record.Year) +
           kCrLf + QStringLiteral("Author(s): ") + kCrLf + record.Authors + kCrLf +
           QStringLiteral("Rom Type: ") + gameTypes.nameOf(record.RomType) + kCrLf +
           QStringLiteral("Notes: ") + kCrLf + record.Notes + kCrLf;
}
