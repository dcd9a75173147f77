#include "archive/GzipFormat.h"

#include "archive/Archive.h"
#include "core/FileRead.h"

#include <zlib.h>

#include <QBuffer>
#include <QFile>

#include <memory>

namespace {

constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kFirstReserve = 1024 * 1024;
constexpr qint64 kHeaderSize = 10;
constexpr qint64 kTrailerSize = 8;
// The stored name is looked for only this far into the file.
constexpr qint64 kHeaderLimit = 4096;

const QString kNotGzip = QStringLiteral("it is not a gzip file");
const QString kTruncated = QStringLiteral("it is cut short");

enum Flag : quint8 { kHeaderCrc = 0x02, kExtra = 0x04, kName = 0x08, kComment = 0x10 };

// The device the source's bytes are read from, open; null with the reason when it cannot be.
std::unique_ptr<QIODevice> openSource(const ArchiveSource &source, QString &reason)
{
    if (source.path.isEmpty()) {
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(source.bytes);
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }
    auto file = std::make_unique<QFile>();
    reason = openRegularFile(source.path, *file);
    if (!reason.isEmpty())
        return nullptr;
    return file;
}

quint32 littleEndian32(const QByteArray &bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

// The name stored in the header (FNAME), or empty when there is none or it is not all there.
QString storedName(const QByteArray &head)
{
    const quint8 flags = quint8(head.at(3));
    if (!(flags & kName))
        return {};
    qsizetype at = kHeaderSize;
    if (flags & kExtra) {
        if (head.size() < at + 2)
            return {};
        at += 2 + (quint8(head.at(at)) | quint8(head.at(at + 1)) << 8);
    }
    if (at >= head.size())
        return {};
    const qsizetype end = head.indexOf('\0', at);
    if (end < 0)
        return {};
    // ISO 8859-1, as the format says.
    return QString::fromLatin1(head.constData() + at, end - at);
}

QString memberName(const QString &archiveName, const QString &stored)
{
    QString name = archiveName;
    name.chop(3); // ".gz"
    const QString storedBase = Archive::baseName(stored);
    if (!Archive::isSpectrumName(name) && Archive::isSpectrumName(storedBase))
        return storedBase;
    return name;
}

} // namespace

ArchiveListing GzipFormat::list(const ArchiveSource &source) const
{
    ArchiveListing listing;
    const std::unique_ptr<QIODevice> device = openSource(source, listing.reason);
    if (!device)
        return listing;
    const qint64 size = device->size();
    const QByteArray head = device->read(std::min(size, kHeaderLimit));
    if (head.size() < 3 || quint8(head.at(0)) != 0x1F || quint8(head.at(1)) != 0x8B ||
        head.at(2) != 8) {
        listing.reason = kNotGzip;
        return listing;
    }
    if (size < kHeaderSize + kTrailerSize || head.size() < kHeaderSize) {
        listing.reason = kTruncated;
        return listing;
    }
    if (!device->seek(size - kTrailerSize)) {
        listing.reason = device->errorString();
        return listing;
    }
    const QByteArray trailer = device->read(kTrailerSize);
    if (trailer.size() != kTrailerSize) {
        listing.reason = kTruncated;
        return listing;
    }
    ArchiveMember member;
    member.name = memberName(source.name, storedName(head));
    member.crc32 = littleEndian32(trailer, 0);
    member.size = littleEndian32(trailer, 4);
    member.compressedSize = size - kHeaderSize - kTrailerSize;
    listing.members.append(member);
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
    MemberBytes out;
    const std::unique_ptr<QIODevice> device = openSource(source, out.reason);
    if (!device)
        return out;
    z_stream stream{};
    // 16: a gzip header and trailer, whose CRC and size zlib checks.
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        out.reason = QString::fromLatin1(stream.msg ? stream.msg : "zlib");
        return out;
    }
    const std::unique_ptr<z_stream, int (*)(z_stream *)> end(&stream, inflateEnd);
    QByteArray bytes;
    bytes.reserve(qsizetype(std::min(whole ? member.size : head, kFirstReserve)));
    char input[kChunk];
    char output[kChunk];
    int status = Z_OK;
    const auto wantsMore = [&] { return status != Z_STREAM_END && (whole || bytes.size() < head); };
    while (wantsMore()) {
        const qint64 got = device->read(input, kChunk);
        if (got < 0) {
            out.reason = device->errorString();
            return out;
        }
        if (got == 0) {
            out.reason = kTruncated;
            return out;
        }
        stream.next_in = reinterpret_cast<Bytef *>(input);
        stream.avail_in = uInt(got);
        while (stream.avail_in > 0 && wantsMore()) {
            // A head is inflated no further than asked.
            const qint64 room = whole ? kChunk : std::min(kChunk, head - bytes.size());
            stream.next_out = reinterpret_cast<Bytef *>(output);
            stream.avail_out = uInt(room);
            status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_DATA_ERROR && stream.msg) {
                if (qstrcmp(stream.msg, "incorrect data check") == 0) {
                    out.reason = Archive::kCrcMismatch.arg(name);
                    return out;
                }
                if (qstrcmp(stream.msg, "incorrect length check") == 0) {
                    out.reason = Archive::kWrongSize.arg(name);
                    return out;
                }
            }
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
                out.reason = QString::fromLatin1(stream.msg ? stream.msg : "zlib");
                return out;
            }
            const qint64 made = room - stream.avail_out;
            if (bytes.size() + made > member.size) {
                out.reason = Archive::kWrongSize.arg(name);
                return out;
            }
            bytes.append(output, qsizetype(made));
            if (status == Z_BUF_ERROR)
                break; // needs more input
        }
    }
    if (bytes.size() != (whole ? member.size : head)) {
        out.reason = Archive::kWrongSize.arg(name);
        return out;
    }
    // zlib checked the trailer after the compressed data; the one listed is the file's last
    // eight bytes, which differ when something follows the data.
    if (whole && quint32(stream.adler) != member.crc32) {
        out.reason = Archive::kCrcMismatch.arg(name);
        return out;
    }
    out.ok = true;
    out.bytes = std::move(bytes);
    return out;
}

} // namespace

MemberBytes GzipFormat::read(const ArchiveSource &source, const ArchiveMember &member) const
{
    return inflateMember(source, member, -1);
}

MemberBytes GzipFormat::readHead(const ArchiveSource &source, const ArchiveMember &member,
                                 qint64 count) const
{
    return inflateMember(source, member, std::max<qint64>(count, 0));
}
