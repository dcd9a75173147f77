#include "scan/DatCatalogue.h"

#include "core/FileRead.h"

#include <QFile>
#include <QList>
#include <QXmlStreamReader>

#include <utility>

namespace {

const QString kNotADatText = QStringLiteral("Not a DAT file: %1: %2 at line %3");
const QString kUnreadableDatText = QStringLiteral("Unable to read the DAT file: %1: %2");
const QString kNoDatafileText = QStringLiteral("The document is not a <datafile>.");

constexpr qint64 kLargestRom = 0xFFFFFFFFLL;
constexpr qint64 kWholeFileLimit = 256 * 1024 * 1024;

Message notADat(const QString &path, const QString &reason, qint64 line)
{
    return Message::critical(kNotADatText.arg(path, reason, QString::number(line)), kScanTitle);
}

} // namespace

std::optional<Message> DatCatalogue::addFile(const QString &path)
{
    QFile file;
    const QString reason = openRegularFile(path, file);
    if (!reason.isEmpty())
        return Message::critical(kUnreadableDatText.arg(path, reason), kScanTitle);
    if (file.size() > kWholeFileLimit)
        return addDevice(file, path);
    // Parsed from memory, faster than through the device, for a few MB held briefly.
    QXmlStreamReader xml(file.readAll());
    return addFrom(xml, path);
}

std::optional<Message> DatCatalogue::addDevice(QIODevice &device, const QString &path)
{
    QXmlStreamReader xml(&device);
    return addFrom(xml, path);
}

std::optional<Message> DatCatalogue::addFrom(QXmlStreamReader &xml, const QString &path)
{
    xml.setNamespaceProcessing(false); // DATs use none; it saves a lookup per element
    // Collected first and taken only when the whole file reads, so a broken DAT adds nothing.
    QList<std::pair<quint64, qint32>> roms;
    QStringList games;
    bool seenRoot = false;
    QString game;
    bool gameTaken = false;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = xml.name();
        if (!seenRoot) {
            if (element != u"datafile") {
                xml.raiseError(kNoDatafileText);
                break;
            }
            seenRoot = true;
        } else if (element == u"game" || element == u"machine") {
            game = xml.attributes().value(QLatin1String("name")).toString();
            gameTaken = false;
        } else if (element == u"rom" && !game.isEmpty()) {
            const QXmlStreamAttributes attributes = xml.attributes();
            bool sizeOk = false;
            bool crcOk = false;
            const qint64 size = attributes.value(QLatin1String("size")).toLongLong(&sizeOk);
            const QStringView crcText = attributes.value(QLatin1String("crc"));
            const quint32 crc = crcText.toUInt(&crcOk, 16);
            if (!sizeOk || !crcOk || crcText.size() > 8 || size < 0 || size > kLargestRom)
                continue;
            if (!gameTaken) {
                games.append(game);
                gameTaken = true;
            }
            roms.append({key(size, crc), qint32(m_games.size() + games.size() - 1)});
        }
    }
    if (!xml.hasError() && !seenRoot)
        xml.raiseError(kNoDatafileText);
    if (xml.hasError())
        return notADat(path, xml.errorString(), xml.lineNumber());
    m_games.append(games);
    m_index.reserve(m_index.size() + roms.size());
    for (const auto &[romKey, index] : std::as_const(roms)) {
        if (!m_index.contains(romKey)) // the first game read keeps the rom
            m_index.insert(romKey, index);
    }
    return std::nullopt;
}

const QString *DatCatalogue::gameName(qint64 size, quint32 crc) const
{
    if (size < 0 || size > kLargestRom)
        return nullptr;
    const auto it = m_index.constFind(key(size, crc));
    return it == m_index.constEnd() ? nullptr : &m_games.at(*it);
}
