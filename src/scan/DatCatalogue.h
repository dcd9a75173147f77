#pragma once

#include "core/Message.h"

#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include <optional>

inline const QString kScanTitle = QStringLiteral("Scan Folder");

// The roms of Logiqx XML DAT files (<datafile>, <game name> or <machine name>, <rom size crc>),
// indexed by size and CRC-32 so a file is recognised by its contents whatever it is called.
class DatCatalogue
{
public:
    // Adds the roms of one file. A file that is not a DAT adds nothing and says why.
    std::optional<Message> addFile(const QString &path);
    std::optional<Message> addDevice(QIODevice &device, const QString &path);

    // The game holding a rom of this size and CRC-32, the first one read when several do; null
    // for none.
    const QString *gameName(qint64 size, quint32 crc) const;
    qsizetype romCount() const { return m_index.size(); }

private:
    std::optional<Message> addFrom(QXmlStreamReader &xml, const QString &path);

    // A rom beyond 4 GB is no Spectrum rom; keeping size and CRC in one 64-bit key keeps the
    // index a flat table of numbers.
    static quint64 key(qint64 size, quint32 crc) { return (quint64(size) << 32) | crc; }

    QHash<quint64, qint32> m_index; // key -> index into m_games
    QStringList m_games;
};
