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
    template <typename Text> QString string(Text &text)
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
        // Allocated once and no larger than the file: a small file must not cost a whole window.
        if (m_window.isEmpty())
            m_window =
                QByteArray(qsizetype(std::clamp<qint64>(m_size, 1, kWindow)), Qt::Uninitialized);
        const qsizetype room = m_window.size();
        if (n > room)
            return false;
        const qsizetype kept = m_end - m_next;
        std::memmove(m_window.data(), m_window.constData() + m_next, std::size_t(kept));
        const qint64 got = m_device.read(m_window.data() + kept, room - kept);
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

// Each field decoded on its own, for records that are handled one at a time and let go.
struct SeparateText
{
    QString add(const char *data, qsizetype size) const { return fromCp1252(data, size); }
};

// Stands in for text that is only told apart from no text: entries are counted, not kept.
struct CountedText
{
    QString add(const char *, qsizetype size) const
    {
        static const QString kSome = QStringLiteral("-");
        return size > 0 ? kSome : QString();
    }
};

template <typename Text>
void readRecord(DatReader &in, qint32 version, RomRecord &record, Text &text)
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

// Goes through `header.slots` records, `readOne` reading each; returns whether the file held
// less than its slot count promised, a record ran past its end or bytes follow the last record.
// A sound file ends exactly where its last slot, the trailing empty one, would start: that slot
// is counted but never stored.
template <typename ReadOne> bool walkRecords(DatReader &in, const Header &header, ReadOne readOne)
{
    bool damaged = header.countDamaged;
    if (header.version < 1)
        return damaged; // such a file carries no record data
    for (qsizetype i = 0; i < header.slots; ++i) {
        const bool trailingSlot = i == header.slots - 1;
        if (in.remaining() == 0) {
            // Every slot from here on reads as empty.
            damaged = damaged || !trailingSlot;
            break;
        }
        damaged = damaged || trailingSlot; // more records than the count promised
        in.clearOverrun();
        readOne();
        damaged = damaged || in.overran();
    }
    return damaged || in.remaining() > 0;
}

// What a file gave: its named entries in file order (a damaged file can leave unnamed records
// between them; they are dropped, so the catalogue keeps no empty slot before an entry), and
// whether the file was damaged.
struct Records
{
    QList<RomRecord> entries;
    bool damaged = false;
};

// Reads every record, their text decoded into one shared allocation.
Records readRecords(DatReader &in, const Header &header)
{
    Records out;
    if (header.version >= 1) {
        out.entries.reserve(header.slots);
        preferHugePages(out.entries.data(), std::size_t(header.slots) * sizeof(RomRecord));
    }
    // Each string takes at most its bytes in the file plus a terminator.
    SharedTextBuilder text(header.version >= 1 ? in.remaining() + header.slots * kStringsPerRecord
                                               : 0);
    out.damaged = walkRecords(in, header, [&] {
        RomRecord record;
        readRecord(in, header.version, record, text);
        if (record.isEntry())
            out.entries.append(std::move(record));
    });
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

// Writes the file's bytes into a buffer sized for the worst case: a string never takes more bytes
// than it has UTF-16 units.
class DatWriter
{
public:
    explicit DatWriter(qsizetype capacity)
        : m_bytes(capacity, Qt::Uninitialized)
    {
        m_next = m_bytes.data();
    }

    qsizetype room() const { return m_bytes.size() - written(); }
    qsizetype written() const { return m_next - m_bytes.constData(); }

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
    void record(const RomRecord &record, qint32 version)
    {
        string(record.RomName);
        int32(record.RomType);
        string(record.Screenshots);
        int32(record.Year);
        string(record.Notes);
        string(record.RomFile);
        string(record.Publisher);
        string(record.Authors);
        if (version >= 2)
            string(record.AudioFile);
    }
    QByteArray finish()
    {
        m_bytes.truncate(written());
        return std::move(m_bytes);
    }
    // Hands over what was written and starts again with room for at least `capacity` bytes.
    bool flushTo(QIODevice &device, qsizetype capacity)
    {
        const bool ok = device.write(m_bytes.constData(), written()) == written();
        if (m_bytes.size() < capacity)
            m_bytes.resize(capacity);
        m_next = m_bytes.data();
        return ok;
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

// Moves a version-1 record's directories to the search paths and maps its old game type.
void upgradeOldEntry(RomRecord &record, SearchPaths &paths)
{
    if (!record.RomFile.isEmpty())
        record.RomFile = moveDirectoryToPaths(record.RomFile, paths[PathKind::Rom]);
    if (!record.Screenshots.isEmpty()) {
        QStringList names;
        for (const QString &piece : record.Screenshots.split(u','))
            names.append(moveDirectoryToPaths(piece, paths[PathKind::Screenshot]));
        record.Screenshots = names.join(u',');
    }
    record.RomType = upgradedRomType(record.RomType);
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
        if (record.isEntry())
            out.record(record, version);
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

DatResult SaveDatabaseEntries(const QString &path, const EntryProducer &produce, qint32 version)
{
    // Why a save did not happen, when it was not the file system's doing.
    enum class Outcome {
        Written,
        Abandoned,
        NoEntries,
        WriteFailed
    } outcome = Outcome::WriteFailed;
    const WriteResult written = writeFileSafely(path, [&](QIODevice &device) {
        constexpr qsizetype kBlock = 256 * 1024;
        DatWriter out(kBlock);
        out.raw(kMagic);
        out.int32(version);
        out.int32(0); // the count is known at the end
        qint32 entries = 0;
        bool writeFailed = false;
        const bool produced = produce([&](const RomRecord &record) {
            if (!record.isEntry())
                return true;
            const qsizetype bound = writtenSizeBound(record);
            if (out.room() < bound)
                writeFailed = !out.flushTo(device, std::max(bound, kBlock)) || writeFailed;
            out.record(record, version);
            ++entries;
            return !writeFailed;
        });
        if (writeFailed)
            return false;
        if (!produced || entries == 0) {
            outcome = produced ? Outcome::NoEntries : Outcome::Abandoned;
            return false;
        }
        // The records written plus the trailing empty slot, as SaveDatabase counts them.
        std::array<char, 4> count{};
        qToLittleEndian(entries + 1, count.data());
        if (!out.flushTo(device, 0) || !device.seek(8) ||
            device.write(count.data(), count.size()) != qint64(count.size()))
            return false;
        outcome = Outcome::Written;
        return true;
    });
    DatResult result;
    result.ok = written.ok;
    if (outcome == Outcome::NoEntries)
        result.messages.append(Message{kNoDataText});
    else if (!written.ok && outcome != Outcome::Abandoned) // the producer says why itself
        result.messages.append(Message::critical(
            kCantSaveText + kCrLf + path + kCrLf + written.reason, kCantSaveTitle));
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

namespace {

// Opens the file, checks its header and hands both to `walk`, which goes through the records.
template <typename Walk> DatResult walkFile(const QString &path, Walk walk)
{
    return withFile(path, [&](QIODevice &device, qint64 size) {
        DatResult result;
        DatReader in(device, size);
        if (const std::optional<Header> header = readHeader(in, result))
            walk(in, *header, result);
        return result;
    });
}

} // namespace

DatResult readDatabaseEntries(const QString &path, SearchPaths &paths, DatReading reading,
                              const std::function<void(const RomRecord &)> &entry)
{
    return walkFile(path, [&](DatReader &in, const Header &header, DatResult &result) {
        SeparateText text;
        result.damaged = walkRecords(in, header, [&] {
            RomRecord record;
            readRecord(in, header.version, record, text);
            if (!record.isEntry())
                return;
            if (header.version < 2)
                upgradeOldEntry(record, paths);
            ++result.entriesRead;
            entry(record);
        });
        if (reading == DatReading::Merge && header.version < 2)
            result.messages.append(Message{kUpgradedText, kUpgradedTitle});
    });
}

DatResult countDatabaseEntries(const QString &path)
{
    return walkFile(path, [&](DatReader &in, const Header &header, DatResult &result) {
        CountedText text;
        result.damaged = walkRecords(in, header, [&] {
            RomRecord record;
            readRecord(in, header.version, record, text);
            result.entriesRead += record.isEntry() ? 1 : 0;
        });
    });
}

void UpgradeOldEntries(RomDatabase &database, SearchPaths &paths, int firstSlot, int endSlot)
{
    for (int slot = std::max(firstSlot, 0); slot < std::min(endSlot, database.slotCount());
         ++slot) {
        RomRecord record = database.Get(slot);
        if (!record.isEntry())
            continue;
        upgradeOldEntry(record, paths);
        database.Set(slot, record);
    }
}
