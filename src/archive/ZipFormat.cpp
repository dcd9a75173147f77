#include "archive/ZipFormat.h"

#include "archive/Archive.h"
#include "core/FileRead.h"

#include <zip.h>
#include <zlib.h>

#include <QBuffer>
#include <QFile>

#include <cstdio>
#include <limits>
#include <memory>
#include <string_view>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr qint64 kChunk = 64 * 1024;
// Grown as the bytes come, so a size the directory lies about is never allocated up front.
constexpr qint64 kFirstReserve = 1024 * 1024;

struct ZipDiscard
{
    void operator()(zip_t *zip) const { zip_discard(zip); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipDiscard>;

struct ZipFileClose
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using ZipFileHandle = std::unique_ptr<zip_file_t, ZipFileClose>;

const QString kTooManyMembers = QStringLiteral("it declares more members than it can hold");

constexpr qint64 kEndRecordSize = 22;
constexpr qint64 kLongestComment = 0xFFFF;
constexpr qint64 kLocatorSize = 20;
constexpr qint64 kZip64EndRecordSize = 56;
constexpr qint64 kSmallestDirectoryEntry = 46;

quint64 littleEndian(const QByteArray &bytes, qsizetype at, int count)
{
    quint64 value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// The members an end record at `at` of `tail` declares, its zip64 record's when it defers to one.
quint64 declaredMembers(QIODevice &device, const QByteArray &tail, qsizetype at, qint64 tailStart)
{
    quint64 count = std::max(littleEndian(tail, at + 8, 2), littleEndian(tail, at + 10, 2));
    if (count != 0xFFFF || at < kLocatorSize ||
        tail.mid(at - kLocatorSize, 4) != QByteArrayLiteral("PK\x06\x07"))
        return count;
    const quint64 record = littleEndian(tail, at - kLocatorSize + 8, 8);
    const qint64 inTail = qint64(record) - tailStart;
    QByteArray bytes;
    if (record < quint64(device.size()) && inTail >= 0)
        bytes = tail.mid(inTail, kZip64EndRecordSize);
    else if (record < quint64(device.size()) && device.seek(qint64(record)))
        bytes = device.read(kZip64EndRecordSize);
    if (bytes.size() < kZip64EndRecordSize || !bytes.startsWith(QByteArrayLiteral("PK\x06\x06")))
        return count;
    return std::max(littleEndian(bytes, 24, 8), littleEndian(bytes, 32, 8));
}

// libzip makes room for every member an end record declares before it reads a single one, so a
// few hundred bytes declaring 65,535 members (or, in a zip64 record, billions) would cost
// megabytes or more. Every member takes 46 bytes of the file at least; an end record declaring
// more than the file can hold is refused before libzip sees it. Each candidate in the tail is
// checked, as libzip may settle on any of them.
QString checkMemberCount(QIODevice &device)
{
    const qint64 size = device.size();
    const qint64 tailStart = std::max<qint64>(0, size - kEndRecordSize - kLongestComment);
    if (!device.seek(tailStart))
        return device.errorString();
    const QByteArray tail = device.read(size - tailStart);
    const quint64 most = quint64(size / kSmallestDirectoryEntry);
    // string_view's search skips to each "P" with memchr; QByteArray's backward one goes byte
    // by byte, and this runs on every opening.
    const std::string_view bytes(tail.constData(), std::size_t(tail.size()));
    constexpr std::string_view kSignature("PK\x05\x06", 4);
    for (std::size_t at = bytes.find(kSignature); at != std::string_view::npos;
         at = bytes.find(kSignature, at + 1)) {
        if (qint64(at) + kEndRecordSize > tail.size())
            break;
        if (declaredMembers(device, tail, qsizetype(at), tailStart) > most)
            return kTooManyMembers;
    }
    device.seek(0);
    return {};
}

QString errorText(zip_error_t &error)
{
    const QString text = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

qint64 clamped(zip_uint64_t value)
{
    return value > zip_uint64_t(std::numeric_limits<qint64>::max())
               ? std::numeric_limits<qint64>::max()
               : qint64(value);
}

// A file is opened as every file we read is (regular files only, no waiting on a FIFO) and
// handed to libzip as its descriptor, so what libzip reads is what was checked.
zip_source_t *fileSource(const QString &path, zip_error_t &error, QString &reason)
{
    QFile file;
    reason = openRegularFile(path, file);
    if (reason.isEmpty())
        reason = checkMemberCount(file);
    if (!reason.isEmpty())
        return nullptr;
#ifdef Q_OS_UNIX
    const int descriptor = ::dup(file.handle());
    FILE *stream = descriptor < 0 ? nullptr : ::fdopen(descriptor, "rb");
    if (!stream) {
        if (descriptor >= 0)
            ::close(descriptor);
        reason = qt_error_string(errno);
        return nullptr;
    }
    zip_source_t *source = zip_source_filep_create(stream, 0, -1, &error);
    if (!source) {
        std::fclose(stream);
        reason = errorText(error);
    }
    return source;
#else
    file.close();
    zip_source_t *source =
        zip_source_file_create(QFile::encodeName(path).constData(), 0, -1, &error);
    if (!source)
        reason = errorText(error);
    return source;
#endif
}

ZipHandle openZip(const ArchiveSource &from, QString &reason)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = nullptr;
    if (from.path.isEmpty()) {
        QByteArray bytes = from.bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        reason = checkMemberCount(buffer);
        if (!reason.isEmpty())
            return {};
        source = zip_source_buffer_create(from.bytes.constData(), zip_uint64_t(from.bytes.size()),
                                          0, &error);
        if (!source) {
            reason = errorText(error);
            return {};
        }
    } else {
        source = fileSource(from.path, error, reason);
        if (!source) {
            zip_error_fini(&error);
            return {};
        }
    }
    zip_t *zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!zip) {
        zip_source_free(source);
        reason = errorText(error);
        return {};
    }
    zip_error_fini(&error);
    return ZipHandle(zip);
}

} // namespace

ArchiveListing ZipFormat::list(const ArchiveSource &source) const
{
    ArchiveListing listing;
    const ZipHandle zip = openZip(source, listing.reason);
    if (!zip)
        return listing;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    // Each entry was read from the central directory, so the count is what the file holds.
    listing.members.reserve(qsizetype(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(zip.get(), zip_uint64_t(i), 0, &stat) != 0) {
            listing.members.clear();
            listing.reason = QString::fromUtf8(zip_strerror(zip.get()));
            return listing;
        }
        ArchiveMember member;
        member.name = (stat.valid & ZIP_STAT_NAME) ? QString::fromUtf8(stat.name) : QString();
        member.size = (stat.valid & ZIP_STAT_SIZE) ? clamped(stat.size) : 0;
        member.compressedSize = (stat.valid & ZIP_STAT_COMP_SIZE) ? clamped(stat.comp_size) : 0;
        member.crc32 = (stat.valid & ZIP_STAT_CRC) ? stat.crc : 0;
        member.encrypted =
            (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE;
        member.index = i;
        listing.members.append(member);
    }
    listing.ok = true;
    return listing;
}

namespace {

// `member` inflated whole, or only its first `head` bytes when `head` is not negative (fewer than
// it declares).
MemberBytes inflateMember(const ArchiveSource &source, const ArchiveMember &member, qint64 head)
{
    const QString name = Archive::baseName(member.name);
    const bool whole = head < 0;
    const qint64 wanted = whole ? member.size : head;
    MemberBytes out;
    const ZipHandle zip = openZip(source, out.reason);
    if (!zip)
        return out;
    const ZipFileHandle file(zip_fopen_index(zip.get(), zip_uint64_t(member.index), 0));
    if (!file) {
        out.reason = QString::fromUtf8(zip_strerror(zip.get()));
        return out;
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min(wanted, kFirstReserve)));
    char chunk[kChunk];
    for (;;) {
        // Read whole, one byte past the declared size is asked for, to see a member longer than
        // declared; reading on to the end is also what makes libzip check the CRC.
        const qint64 want = std::min(kChunk, wanted - bytes.size() + (whole ? 1 : 0));
        if (want == 0)
            break;
        const zip_int64_t got = zip_fread(file.get(), chunk, zip_uint64_t(want));
        if (got < 0) {
            const zip_error_t *error = zip_file_get_error(file.get());
            out.reason = zip_error_code_zip(error) == ZIP_ER_CRC
                             ? Archive::kCrcMismatch.arg(name)
                             : QString::fromUtf8(zip_file_strerror(file.get()));
            return out;
        }
        if (got == 0)
            break;
        bytes.append(chunk, qsizetype(got));
        if (bytes.size() > member.size) {
            out.reason = Archive::kWrongSize.arg(name);
            return out;
        }
    }
    if (bytes.size() != wanted) {
        out.reason = Archive::kWrongSize.arg(name);
        return out;
    }
    // libzip checks the CRC too; this keeps the promise whatever its version does.
    if (whole &&
        quint32(crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef *>(bytes.constData()),
                        bytes.size())) != member.crc32) {
        out.reason = Archive::kCrcMismatch.arg(name);
        return out;
    }
    out.ok = true;
    out.bytes = std::move(bytes);
    return out;
}

} // namespace

MemberBytes ZipFormat::read(const ArchiveSource &source, const ArchiveMember &member) const
{
    return inflateMember(source, member, -1);
}

MemberBytes ZipFormat::readHead(const ArchiveSource &source, const ArchiveMember &member,
                                qint64 count) const
{
    return inflateMember(source, member, std::max<qint64>(count, 0));
}
