#include "core/DatFile.h"

#include "core/Cp1252.h"
#include "core/PathText.h"
#include "core/SafeFile.h"
#include "core/SharedText.h"

#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

const QByteArray kMagic = QByteArrayLiteral("KIVO");

const QString kInvalidTitle = QStringLiteral("Invalid Database");
const QString kBadMagicText = QStringLiteral("There is a problem with the database file.") + kCrLf +
                              QStringLiteral("File not loaded");
const QString kBadVersionText =
    QStringLiteral("Unsupported file version") + kCrLf + QStringLiteral("File not loaded");
const QString kUpgradedText = QStringLiteral("Old database format has been updated to new version");
const QString kUpgradedTitle = QStringLiteral("Information only");
const QString kNoDataText = QStringLiteral("No data to save");
const QString kCantSaveText = QStringLiteral("Unable to save the database file.");
const QString kCantSaveTitle = QStringLiteral("Can't Save");
const QString kCantOpenText = QStringLiteral("Unable to open the database file.");

// Smallest stored record: six strings and two integers, plus the audio file from version 2.
constexpr qsizetype kMinRecordSizeV1 = 32;
constexpr qsizetype kMinRecordSizeV2 = 36;

// Reads the file's little-endian fields; everything past the end reads as zero bytes.
class DatReader
{
public:
    explicit DatReader(const QByteArray &bytes)
        : m_data(bytes.constData())
        , m_size(bytes.size())
    {
    }

    qsizetype remaining() const { return m_size - m_pos; }

    qint32 int32()
    {
        std::array<uchar, 4> raw{};
        const qsizetype take = std::min<qsizetype>(4, remaining());
        std::copy_n(m_data + m_pos, take, raw.begin());
        m_pos += take;
        return qFromLittleEndian<qint32>(raw.data());
    }

    QByteArray bytes(qsizetype n)
    {
        const qsizetype take = std::clamp<qsizetype>(n, 0, remaining());
        QByteArray out(m_data + m_pos, take);
        m_pos += take;
        return out;
    }

    // Collects the string's bytes into `text`; a negative length (only damage gives one) reads
    // as an empty string.
    QString string(SharedTextBuilder &text)
    {
        const qint32 n = int32();
        if (n <= 0)
            return {};
        const qsizetype take = std::min<qsizetype>(n, remaining());
        QString decoded = text.add(m_data + m_pos, take);
        m_pos += take;
        return decoded;
    }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

constexpr qsizetype kStringsPerRecord = 7;

void readRecord(DatReader &in, qint32 version, RomRecord &record, SharedTextBuilder &text)
{
    if (version < 1)
        return;
    record.RomName = in.string(text);
    record.RomType = in.int32();
    record.Screenshots = in.string(text);
    record.Year = in.int32();
    record.Notes = in.string(text);
    record.RomFile = in.string(text);
    record.Publisher = in.string(text);
    record.Authors = in.string(text);
    if (version >= 2)
        record.AudioFile = in.string(text);
}

struct Header
{
    qint32 version = 0;
    qsizetype slots = 1;
};

// Checks magic and version. The slot count is bounded by what the rest of the file could hold
// (plus the trailing empty slot, which is counted but not stored), so a damaged count cannot
// make us allocate more than the file's size allows.
std::optional<Header> readHeader(DatReader &in, DatResult &result)
{
    if (in.bytes(4) != kMagic) {
        result.ok = false;
        result.messages.append(Message::critical(kBadMagicText, kInvalidTitle));
        return std::nullopt;
    }
    Header header;
    header.version = in.int32();
    if (header.version > kCurrentDatabaseVersion) {
        result.ok = false;
        result.messages.append(Message::critical(kBadVersionText, kInvalidTitle));
        return std::nullopt;
    }
    const qint32 count = in.int32();
    const qsizetype minRecord = header.version >= 2 ? kMinRecordSizeV2 : kMinRecordSizeV1;
    header.slots = std::clamp<qsizetype>(count, 1, in.remaining() / minRecord + 1);
    return header;
}

// Reads `header.slots` records, their text decoded into one shared allocation.
QList<RomRecord> readRecords(DatReader &in, const Header &header)
{
    QList<RomRecord> records;
    records.reserve(header.slots);
    // Each string takes at most its bytes in the file plus a terminator.
    SharedTextBuilder text(in.remaining() + header.slots * kStringsPerRecord);
    for (qsizetype i = 0; i < header.slots; ++i)
        readRecord(in, header.version, records.emplace_back(), text);
    return records;
}

// Hands the whole file to `parse` in one piece: mapped when the system allows it (no copy of a
// large catalogue), read otherwise.
template <typename Parse> DatResult withFileBytes(const QString &path, Parse parse)
{
    QFile file(toFileSystemPath(path));
    if (!file.open(QIODevice::ReadOnly)) {
        DatResult result;
        result.ok = false;
        result.messages.append(Message::critical(
            kCantOpenText + kCrLf + path + kCrLf + file.errorString(), kInvalidTitle));
        return result;
    }
    const qint64 size = file.size();
    if (uchar *mapped = size > 0 ? file.map(0, size) : nullptr) {
        const DatResult result =
            parse(QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size));
        file.unmap(mapped);
        return result;
    }
    return parse(file.readAll());
}

// Writes the file into one buffer sized for the worst case: a string never takes more bytes
// than it has UTF-16 units.
class DatWriter
{
public:
    explicit DatWriter(qsizetype capacity)
        : m_bytes(capacity, Qt::Uninitialized)
    {
        m_next = m_bytes.data();
    }

    void raw(const QByteArray &bytes)
    {
        std::memcpy(m_next, bytes.constData(), std::size_t(bytes.size()));
        m_next += bytes.size();
    }
    void int32(qint32 value)
    {
        qToLittleEndian(value, m_next);
        m_next += 4;
    }
    void string(const QString &text)
    {
        char *const length = m_next;
        m_next = encodeCp1252Into(m_next + 4, text);
        qToLittleEndian(qint32(m_next - length - 4), length);
    }
    QByteArray finish()
    {
        m_bytes.truncate(m_next - m_bytes.constData());
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    char *m_next;
};

constexpr qsizetype kFieldsPerRecord = 9;

qsizetype writtenSizeBound(const RomRecord &record)
{
    return kFieldsPerRecord * 4 + record.RomName.size() + record.Screenshots.size() +
           record.Notes.size() + record.RomFile.size() + record.Publisher.size() +
           record.Authors.size() + record.AudioFile.size();
}

// Everything up to and including the last separator goes to the search paths unchanged; an
// empty directory part counts too.
QString moveDirectoryToPaths(const QString &path, SearchPathList &list)
{
    const QString directory = directoryPart(path);
    if (!(list.IsListUsed() && list.contains(directory)))
        list.append(directory);
    return fileNamePart(path);
}

qint32 upgradedRomType(qint32 oldType)
{
    static constexpr std::array<qint32, 10> kNewIndex = {15, 29, 16, 36, 43, 71, 85, 93, 94, 101};
    return oldType >= 0 && oldType < qint32(kNewIndex.size()) ? kNewIndex[oldType] : oldType;
}

} // namespace

QByteArray serializeDatabase(const RomDatabase &database, qint32 version)
{
    qsizetype bound = kMagic.size() + 8;
    for (const RomRecord &record : database.slots())
        bound += writtenSizeBound(record);
    DatWriter out(bound);
    out.raw(kMagic);
    out.int32(version);
    out.int32(database.slotCount());
    for (const RomRecord &record : database.slots()) {
        if (!record.isEntry())
            continue;
        out.string(record.RomName);
        out.int32(record.RomType);
        out.string(record.Screenshots);
        out.int32(record.Year);
        out.string(record.Notes);
        out.string(record.RomFile);
        out.string(record.Publisher);
        out.string(record.Authors);
        if (version >= 2)
            out.string(record.AudioFile);
    }
    return out.finish();
}

bool writeDatabase(QIODevice &device, const RomDatabase &database, qint32 version)
{
    return writeAll(device, serializeDatabase(database, version));
}

DatResult SaveDatabase(const RomDatabase &database, const QString &path, qint32 version)
{
    DatResult result;
    if (!database.HasEntries()) {
        result.ok = false;
        result.messages.append(Message{kNoDataText});
        return result;
    }
    const WriteResult written = writeFileSafely(
        path, [&](QIODevice &device) { return writeDatabase(device, database, version); });
    if (!written.ok) {
        result.ok = false;
        result.messages.append(Message::critical(
            kCantSaveText + kCrLf + path + kCrLf + written.reason, kCantSaveTitle));
    }
    return result;
}

DatResult loadDatabaseBytes(RomDatabase &database, SearchPaths &paths, const QByteArray &bytes)
{
    DatResult result;
    DatReader in(bytes);
    const std::optional<Header> header = readHeader(in, result);
    if (!header)
        return result;
    database.replaceSlots(readRecords(in, *header));
    if (header->version < 2)
        UpgradeOldEntries(database, paths, 0, database.slotCount());
    return result;
}

DatResult LoadDatabase(RomDatabase &database, SearchPaths &paths, const QString &path)
{
    return withFileBytes(
        path, [&](const QByteArray &bytes) { return loadDatabaseBytes(database, paths, bytes); });
}

DatResult mergeDatabaseBytes(RomDatabase &database, SearchPaths &paths, const QByteArray &bytes)
{
    DatResult result;
    DatReader in(bytes);
    const std::optional<Header> header = readHeader(in, result);
    if (!header)
        return result;
    const int firstNew = database.EntryCount();
    for (RomRecord &record : readRecords(in, *header)) {
        if (record.isEntry())
            database.Add(std::move(record));
    }
    if (header->version < 2) {
        UpgradeOldEntries(database, paths, firstNew, database.EntryCount());
        result.messages.append(Message{kUpgradedText, kUpgradedTitle});
    }
    return result;
}

DatResult MergeDatabase(RomDatabase &database, SearchPaths &paths, const QString &path)
{
    return withFileBytes(
        path, [&](const QByteArray &bytes) { return mergeDatabaseBytes(database, paths, bytes); });
}

void UpgradeOldEntries(RomDatabase &database, SearchPaths &paths, int firstSlot, int endSlot)
{
    for (int slot = std::max(firstSlot, 0); slot < std::min(endSlot, database.slotCount());
         ++slot) {
        RomRecord record = database.Get(slot);
        if (!record.isEntry())
            continue;
        if (!record.RomFile.isEmpty())
            record.RomFile = moveDirectoryToPaths(record.RomFile, paths[PathKind::Rom]);
        if (!record.Screenshots.isEmpty()) {
            QStringList names;
            for (const QString &piece : record.Screenshots.split(u','))
                names.append(moveDirectoryToPaths(piece, paths[PathKind::Screenshot]));
            record.Screenshots = names.join(u',');
        }
        record.RomType = upgradedRomType(record.RomType);
        database.Set(slot, record);
    }
}
