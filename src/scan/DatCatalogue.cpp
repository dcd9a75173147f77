#include "scan/DatCatalogue.h"

#include "core/FileRead.h"
#include "core/PathText.h"
#include "scan/ClrMameProReader.h"
#include "scan/DatGames.h"
#include "scan/DatNaming.h"
#include "scan/LogiqxReader.h"

#include <QFile>
#include <QXmlStreamReader>

namespace {

const QString kNotADatText = QStringLiteral("Not a DAT file: %1: %2 at line %3");
const QString kUnreadableDatText = QStringLiteral("Unable to read the DAT file: %1: %2");

constexpr qint64 kLargestRom = 0xFFFFFFFFLL;
constexpr qint64 kWholeFileLimit = 256 * 1024 * 1024;
// Enough of a file's head to see a ClrMamePro file's first word and its "(".
constexpr qint64 kHeadBytes = 4096;

Message notADat(const QString &path, const QString &reason, qint64 line)
{
    return Message::critical(kNotADatText.arg(path, reason, QString::number(line)), kScanTitle);
}

// The file's name without its last ending: "Sinclair - ZX Spectrum.dat" names
// "Sinclair - ZX Spectrum".
QString baseNameOf(const QString &path)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.left(dot) : name;
}

} // namespace

QString conventionName(DatConvention convention)
{
    switch (convention) {
    case DatConvention::Tosec:
        return QStringLiteral("Tosec");
    case DatConvention::TitlePublisher:
        return QStringLiteral("TitlePublisher");
    case DatConvention::NoIntro:
        return QStringLiteral("NoIntro");
    }
    return {};
}

std::optional<Message> DatCatalogue::addFile(const QString &path)
{
    QFile file;
    const QString reason = openRegularFile(path, file);
    if (!reason.isEmpty())
        return Message::critical(kUnreadableDatText.arg(path, reason), kScanTitle);
    if (file.size() > kWholeFileLimit)
        return addDevice(file, path);
    // Parsed from memory, faster than through the device, for a few MB held briefly.
    QByteArray bytes = file.readAll();
    DatRead read;
    if (looksLikeClrMamePro(
            QByteArrayView(bytes).first(std::min<qsizetype>(bytes.size(), kHeadBytes)))) {
        read = readClrMamePro(bytes);
    } else {
        QXmlStreamReader xml(bytes);
        read = readLogiqx(xml);
    }
    bytes = QByteArray(); // gone before the games are named
    return add(std::move(read), path);
}

std::optional<Message> DatCatalogue::addDevice(QIODevice &device, const QString &path)
{
    DatRead read;
    if (looksLikeClrMamePro(device.peek(kHeadBytes))) {
        read = readClrMamePro(device);
    } else {
        QXmlStreamReader xml(&device);
        read = readLogiqx(xml);
    }
    return add(std::move(read), path);
}

std::optional<Message> DatCatalogue::add(DatRead &&read, const QString &path)
{
    if (!read.error.isEmpty())
        return notADat(path, read.error, read.errorLine);
    DatFileInfo info;
    info.path = path;
    info.name = read.name.isEmpty() ? baseNameOf(path) : read.name;
    info.version = read.version;
    info.games = read.games.size();
    info.roms = read.roms.size();
    info.convention = conventionOf(read.games);

    const qint32 file = qint32(m_files.size());
    const qsizetype first = m_entries.size();
    m_entries.reserve(first + read.games.size());
    for (qsizetype i = 0; i < read.games.size(); ++i) {
        // A DAT often lists one game once per release, its texts the same each time: the
        // entries then share their texts.
        if (i > 0 && read.games.at(i) == read.games.at(i - 1)) {
            m_entries.append(m_entries.constLast());
            continue;
        }
        DatEntry entry = namedEntry(read.games.at(i), info.convention);
        entry.file = file;
        m_entries.append(std::move(entry));
    }
    m_index.reserve(m_index.size() + read.roms.size());
    for (const DatRom &rom : std::as_const(read.roms)) {
        const quint64 romKey = key(rom.size, rom.crc);
        if (!m_index.contains(romKey)) // the first game read keeps the rom
            m_index.insert(romKey, qint32(first + rom.game));
    }
    m_files.append(std::move(info));
    return std::nullopt;
}

const DatEntry *DatCatalogue::entryOf(qint64 size, quint32 crc) const
{
    if (size < 0 || size > kLargestRom)
        return nullptr;
    const auto it = m_index.constFind(key(size, crc));
    return it == m_index.constEnd() ? nullptr : &m_entries.at(*it);
}
