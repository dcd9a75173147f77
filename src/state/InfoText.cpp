#include "state/InfoText.h"

#include "core/Message.h"
#include "state/EntryMachine.h"

#include <QDateTime>

QString playTimeText(qint64 seconds)
{
    const qint64 minutes = seconds / 60;
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

QString playedText(const LibraryRow &row)
{
    if (row.plays <= 0)
        return {};
    const QString times =
        row.plays == 1 ? QStringLiteral("once") : QStringLiteral("%1 times").arg(row.plays);
    return QStringLiteral("Played %1, last on %2, %3 in all")
        .arg(times, QDateTime::fromSecsSinceEpoch(row.lastPlayed).toString(u"yyyy-MM-dd"),
             playTimeText(row.secondsPlayed));
}

QString InfoText(const RomRecord &record, const GameTypeTable &gameTypes,
                 const std::optional<MachineReading> &machine, const LibraryRow &remembered)
{
    QString library;
    if (!remembered.tags.isEmpty())
        library += QStringLiteral("Tags: ") + remembered.tags.join(QStringLiteral(", ")) + kCrLf;
    if (const QString played = playedText(remembered); !played.isEmpty())
        library += played + kCrLf;
    const QString machineLine =
        machine ? QStringLiteral("Machine: ") + machineWithReason(*machine) + kCrLf : QString();
    return QStringLiteral("Rom Name: ") + record.RomName + kCrLf + QStringLiteral("Publisher: ") +
           record.Publisher + kCrLf + QStringLiteral("Year: ") + QString::number(record.Year) +
           kCrLf + QStringLiteral("Author(s): ") + kCrLf + record.Authors + kCrLf +
           QStringLiteral("Rom Type: ") + gameTypes.nameOf(record.RomType) + kCrLf + machineLine +
           QStringLiteral("Notes: ") + kCrLf + record.Notes + kCrLf + library;
}
