#include "scan/LogiqxReader.h"

namespace {

const QString kNoDatafileText = QStringLiteral("The document is not a <datafile>.");

class LogiqxGames
{
public:
    explicit LogiqxGames(DatRead &read)
        : m_read(read)
    {
    }

    void start(const QXmlStreamAttributes &attributes)
    {
        finish();
        m_game = DatGame{};
        m_game.name = attributes.value(QLatin1String("name")).toString();
        m_open = true;
        m_roms = 0;
    }

    void addRom(const QXmlStreamAttributes &attributes)
    {
        DatRom rom;
        if (!m_open || m_game.name.isEmpty() ||
            !readRomSize(attributes.value(QLatin1String("size")), rom.size) ||
            !readRomCrc(attributes.value(QLatin1String("crc")), rom.crc))
            return;
        rom.game = qint32(m_read.games.size());
        m_read.roms.append(rom);
        ++m_roms;
    }

    DatGame *current() { return m_open ? &m_game : nullptr; }

    // A game is kept once it is complete, and only when some rom of it can be matched.
    void finish()
    {
        if (m_open && m_roms > 0)
            m_read.games.append(std::move(m_game));
        m_open = false;
    }

private:
    DatRead &m_read;
    DatGame m_game;
    bool m_open = false;
    qsizetype m_roms = 0;
};

} // namespace

DatRead readLogiqx(QXmlStreamReader &xml)
{
    xml.setNamespaceProcessing(false); // DATs use none; it saves a lookup per element
    DatRead read;
    LogiqxGames games(read);
    bool seenRoot = false;
    bool inHeader = false;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) {
            const QStringView element = xml.name();
            if (element == u"game" || element == u"machine")
                games.finish();
            else if (element == u"header")
                inHeader = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = xml.name();
        DatGame *game = games.current();
        if (!seenRoot) {
            if (element != u"datafile") {
                xml.raiseError(kNoDatafileText);
                break;
            }
            seenRoot = true;
        } else if (element == u"game" || element == u"machine") {
            games.start(xml.attributes());
        } else if (element == u"rom") {
            games.addRom(xml.attributes());
        } else if (game != nullptr && element == u"year") {
            game->year = readDatYear(xml.readElementText(QXmlStreamReader::SkipChildElements));
        } else if (game != nullptr && element == u"manufacturer") {
            game->manufacturer = xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (game != nullptr && (element == u"region" || element == u"release")) {
            game->region = game->region || element == u"region" ||
                           xml.attributes().hasAttribute(QLatin1String("region"));
        } else if (element == u"header") {
            inHeader = true;
        } else if (inHeader && element == u"name") {
            read.name = xml.readElementText(QXmlStreamReader::SkipChildElements);
        } else if (inHeader && element == u"version") {
            read.version = xml.readElementText(QXmlStreamReader::SkipChildElements);
        }
    }
    games.finish();
    if (!xml.hasError() && !seenRoot)
        xml.raiseError(kNoDatafileText);
    if (xml.hasError()) {
        read = DatRead{};
        read.error = xml.errorString();
        read.errorLine = xml.lineNumber();
    }
    return read;
}
