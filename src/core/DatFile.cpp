#include "core/DatFile.h"

#include "core/Cp1252.h"
#include "core/FileRead.h"
#include "core/LargeAllocation.h"
#include "core/PathText.h"
#include "core/SafeFile.h"
#include "core/SharedText.h"

#include <QBuffer>
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
const QString kDamagedText =
    QStringLiteral("The database file is damaged: %1 entries could be read.");

// Smallest stored record: six strings and two integers, plus the audio file from version 2.
constexpr qsizetype kMinRecordSizeV1 = 32;
constexpr qsizetype kMinRecordSizeV2 = 36;

// Reads the file's little-endian fields in order through a window of its bytes, so a large
// catalogue never sits in memory twice; everything past the end reads as zero bytes.
class DatReader
{
public:
    DatReader(QIODevice &device, qint64 size)
        : m_device(device)
        , m_size(size)
    {
    }

    qsizetype remaining() const { return qsizetype(m_size - m_pos); }
    // True once a read asked for more than the file had left.
    bool overran() const { return m_overran; }
    void clearOverrun() { m_overran = false; }

    qint32 int32()
    {
        std::array<char, 4> raw{};
        const qsizetype take = std::min<qsizetype>(4, remaining());
        m_overran = m_overran || take < 4;
        read(raw.data(), take);
        return qFromLittleEndian<qint32>(raw.data());
    }

    QByteArray bytes(qsizetype n)
    {
        QByteArray out(std::clamp<qsizetype>(n, 0, remaining()), Qt::Uninitialized);
        read(out.data(), out.size());
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
        m_overran = m_overran || take < n;
        if (fill(take))
            return text.add(window(take), take);
        QByteArray bytes(take, Qt::Uninitialized); // longer than the window
        read(bytes.data(), take);
        return text.add(bytes.constData(), take);
    }

private:
    static constexpr qsizetype kWindow = 256 * 1024;

    // Makes `n` bytes at the read position lie in the window, when they fit in one.
    bool fill(qsizetype n)
    {
        if (m_end - m_next >= n)
            return true;
        if (n > kWindow)
            return false;
        const qsizetype kept = m_end - m_next;
        m_window.resize(kWindow);
        std::memmove(m_window.data(), m_window.constData() + m_next, std::size_t(kept));
        const qint64 got = m_device.read(m_window.data() + kept, kWindow - kept);
        m_next = 0;
        m_end = kept + std::max<qint64>(got, 0);
        if (m_end < n) // the file ended early (cut short while we read it)
            m_size = m_pos + (m_end - m_next);
        return m_end - m_next >= n;
    }
    const char *window(qsizetype n)
    {
        const char *at = m_window.constData() + m_next;
        m_next += n;
        m_pos += n;
        return at;
    }
    void read(char *out, qsizetype n)
    {
        while (n > 0 && remaining() > 0) {
            const qsizetype chunk = std::min(n, kWindow);
            if (!fill(chunk) && m_end == m_next)
                return;
            const qsizetype take = std::min(chunk, m_end - m_next);
            std::memcpy(out, window(take), std::size_t(take));
            out += take;
            n -= take;
        }
    }

    QIODevice &m_device;
    qint64 m_size;
    qint64 m_pos = 0;
    QByteArray m_window;
    qsizetype m_next = 0; // the read position in the window
    qsizetype m_end = 0;  // the end of what the window holds
    bool m_overran = false;
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
    bool countDamaged = false; // below 1, or more records than the file could hold
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
    const qsizetype fits = in.remaining() / minRecord + 1;
    header.slots = std::clamp<qsizetype>(count, 1, fits);
    // Records of a version-0 file carry no data, so any count fits it.
    header.countDamaged = count < 1 || (header.version >= 1 && count > fits);
    return header;
}

// What a file gave: its named entries in file order (a damaged file can leave unnamed records
// between them; they are dropped, so the catalogue keeps no empty slot before an entry), and
// whether the file held less than its slot count promised or a record ran past its end.
struct Records
{
    QList<RomRecord> entries;
    bool damaged = false;
};

// Reads `header.slots` records, their text decoded into one shared allocation. A sound file
// ends exactly where its last slot, the trailing empty one, would start: that slot is counted
// but never stored.
Records readRecords(DatReader &in, const Header &header)
{
    Records out;
    out.damaged = header.countDamaged;
    if (header.version < 1)
        return out; // such a file carries no record data
    out.entries.reserve(header.slots);
    preferHugePages(out.entries.data(), std::size_t(header.slots) * sizeof(RomRecord));
    // Each string takes at most its bytes in the file plus a terminator.
    SharedTextBuilder text(in.remaining() + header.slots * kStringsPerRecord);
    for (qsizetype i = 0; i < header.slots; ++i) {
        const bool trailingSlot = i == header.slots - 1;
        if (in.remaining() == 0) {
            // Every slot from here on reads as empty.
            out.damaged = out.damaged || !trailingSlot;
            break;
        }
        out.damaged = out.damaged || trailingSlot; // more records than the count promised
        in.clearOverrun();
        RomRecord record;
        readRecord(in, header.version, record, text);
        out.damaged = out.damaged || in.overran();
        if (record.isEntry())
            out.entries.append(std::move(record));
    }
    out.damaged = out.damaged || in.remaining() > 0;
    return out;
}

// Hands the open file to `parse`; a file that cannot be read is rejected with the system's
// reason.
template <typename Parse> DatResult withFile(const QString &path, Parse parse)
{
    QFile file;
    if (const QString reason = openRegularFile(path, file); !reason.isEmpty()) {
        DatResult result;
        result.ok = false;
        result.messages.append(
            Message::critical(kCantOpenText + kCrLf + path + kCrLf + reason, kInvalidTitle));
        return result;
    }
    DatResult result = parse(file, file.size());
    if (result.damaged)
        result.messages.append(Message{kDamagedText.arg(result.entriesRead) + kCrLf + path,
                                       kInvalidTitle, MessageIcon::Information});
    return result;
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
    qint32 entries = 0;
    for (const RomRecord &record : database.slots()) {
        bound += writtenSizeBound(record);
        entries += record.isEntry() ? 1 : 0;
    }
    DatWriter out(bound);
    out.raw(kMagic);
    out.int32(version);
    // The records written plus the trailing empty slot, so the count always matches the file.
    out.int32(entries + 1);
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

namespace {

// The entries of a whole file and its version, or nothing when the file is rejected; `result`
// receives the rejection's message or what the reading found.
std::optional<std::pair<qint32, Records>> readFile(QIODevice &device, qint64 size,
                                                   DatResult &result)
{
    DatReader in(device, size);
    const std::optional<Header> header = readHeader(in, result);
    if (!header)
        return std::nullopt;
    Records records = readRecords(in, *header);
    result.damaged = records.damaged;
    result.entriesRead = int(records.entries.size());
    return std::pair{header->version, std::move(records)};
}

} // namespace

namespace {

DatResult load(RomDatabase &database, SearchPaths &paths, QIODevice &device, qint64 size)
{
    DatResult result;
    auto file = readFile(device, size, result);
    if (!file)
        return result;
    database.replaceSlots(std::move(file->second.entries));
    if (file->first < 2)
        UpgradeOldEntries(database, paths, 0, database.slotCount());
    return result;
}

DatResult merge(RomDatabase &database, SearchPaths &paths, QIODevice &device, qint64 size)
{
    DatResult result;
    auto file = readFile(device, size, result);
    if (!file)
        return result;
    const int firstNew = database.EntryCount();
    for (RomRecord &record : file->second.entries)
        database.Add(std::move(record));
    if (file->first < 2) {
        UpgradeOldEntries(database, paths, firstNew, database.EntryCount());
        result.messages.append(Message{kUpgradedText, kUpgradedTitle});
    }
    return result;
}

template <typename Read> DatResult fromBytes(const QByteArray &bytes, Read read)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return read(buffer, bytes.size());
}

} // namespace

DatResult loadDatabaseBytes(RomDatabase &database, SearchPaths &paths, const QByteArray &bytes)
{
    return fromBytes(
        bytes, [&](QIODevice &device, qint64 size) { return load(database, paths, device, size); });
}

DatResult LoadDatabase(RomDatabase &database, SearchPaths &paths, const QString &path)
{
    return withFile(
        path, [&](QIODevice &device, qint64 size) { return load(database, paths, device, size); });
}

DatResult mergeDatabaseBytes(RomDatabase &database, SearchPaths &paths, const QByteArray &bytes)
{
    return fromBytes(bytes, [&](QIODevice &device, qint64 size) {
        return merge(database, paths, device, size);
    });
}

DatResult MergeDatabase(RomDatabase &database, SearchPaths &paths, const QString &path)
{
    return withFile(
        path, [&](QIODevice &device, qint64 size) { return merge(database, paths, device, size); });
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
