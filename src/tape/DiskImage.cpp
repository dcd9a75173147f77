#include "tape/DiskImage.h"

#include "core/Cp1252.h"
#include "core/PathText.h"

namespace {

constexpr qsizetype kSector = 256;
constexpr qsizetype kSectorsPerTrack = 16;
constexpr qsizetype kCatalogueEntries = 128;
constexpr qsizetype kTrdEntry = 16;
constexpr qsizetype kInfoSector = 8 * kSector;
constexpr quint8 kTrDosId = 0x10;
constexpr quint8 kDeletedMark = 0x01;
// After a BASIC program's bytes: 0x80 0xAA and the LINE it starts at.
constexpr quint8 kAutostartMark[] = {0x80, 0xAA};
constexpr qint32 kNoAutostart = 32768;

const QByteArray kSclSignature = QByteArrayLiteral("SINCLAIR");
constexpr qsizetype kSclEntry = 14;

quint8 byteAt(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes.at(at));
}

quint16 wordAt(const QByteArray &bytes, qsizetype at)
{
    return quint16(byteAt(bytes, at) | byteAt(bytes, at + 1) << 8);
}

quint32 longAt(const QByteArray &bytes, qsizetype at)
{
    return quint32(wordAt(bytes, at)) | quint32(wordAt(bytes, at + 2)) << 16;
}

QString textOf(const QByteArray &bytes, qsizetype at, qsizetype size)
{
    QString text = fromCp1252(bytes.constData() + at, size);
    while (text.endsWith(u' ') || text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

// A TR-DOS entry's fields, from the 14 bytes a TRD catalogue and an SCL directory share: the
// name (8), the type letter, two parameters and the length in sectors.
DiskFile trDosFile(const QByteArray &bytes, qsizetype at)
{
    DiskFile file;
    file.deleted = byteAt(bytes, at) == kDeletedMark;
    file.name = textOf(bytes, at + (file.deleted ? 1 : 0), file.deleted ? 7 : 8);
    file.kind = textOf(bytes, at + 8, 1);
    const quint16 first = wordAt(bytes, at + 9);
    const quint16 second = wordAt(bytes, at + 11);
    file.sectors = byteAt(bytes, at + 13);
    if (file.kind == u"B") {
        file.length = first; // the program with its variables; the LINE follows it
    } else {
        file.length = second;
        if (file.kind == u"C")
            file.start = first;
    }
    return file;
}

// A BASIC file's autostart LINE, when its data holds one right after the program.
void readAutostart(const QByteArray &image, DiskFile &file)
{
    if (file.kind != u"B" || file.offset < 0)
        return;
    const qsizetype at = file.offset + file.length;
    if (at + 4 > image.size() || file.length + 4 > qint64(file.sectors) * kSector)
        return;
    if (byteAt(image, at) != kAutostartMark[0] || byteAt(image, at + 1) != kAutostartMark[1])
        return;
    const qint32 line = wordAt(image, at + 2);
    if (line < kNoAutostart)
        file.start = line;
}

} // namespace

std::optional<DiskListing> readTrdImage(const QByteArray &image)
{
    if (image.size() < kInfoSector + kSector || byteAt(image, kInfoSector + 0xE7) != kTrDosId)
        return std::nullopt;
    DiskListing listing;
    listing.format = DiskFormat::TrDos;
    listing.label = textOf(image, kInfoSector + 0xF5, 8);
    listing.freeBytes = qint64(wordAt(image, kInfoSector + 0xE5)) * kSector;
    for (qsizetype i = 0; i < kCatalogueEntries; ++i) {
        const qsizetype at = i * kTrdEntry;
        if (byteAt(image, at) == 0)
            break; // the end of the catalogue
        DiskFile file = trDosFile(image, at);
        const qint64 offset =
            (qint64(byteAt(image, at + 15)) * kSectorsPerTrack + byteAt(image, at + 14)) * kSector;
        file.offset = offset < image.size() ? offset : -1;
        readAutostart(image, file);
        listing.files.append(std::move(file));
    }
    return listing;
}

std::optional<DiskListing> readSclImage(const QByteArray &image)
{
    const qsizetype directory = kSclSignature.size() + 1;
    if (!image.startsWith(kSclSignature) || image.size() < directory)
        return std::nullopt;
    const int count = byteAt(image, kSclSignature.size());
    if (image.size() < directory + count * kSclEntry)
        return std::nullopt;
    DiskListing listing;
    listing.format = DiskFormat::Scl;
    qint64 data = directory + count * kSclEntry;
    for (int i = 0; i < count; ++i) {
        DiskFile file = trDosFile(image, directory + i * kSclEntry);
        file.offset = data < image.size() ? data : -1;
        data += qint64(file.sectors) * kSector;
        readAutostart(image, file);
        listing.files.append(std::move(file));
    }
    // The sum of every byte before it, as a little-endian 32-bit number.
    if (data + 4 > image.size()) {
        listing.warning = QStringLiteral("The archive is cut short: its files need %1 bytes, it "
                                         "holds %2.")
                              .arg(data + 4)
                              .arg(image.size());
        return listing;
    }
    quint32 sum = 0;
    for (qsizetype i = 0; i < data; ++i)
        sum += byteAt(image, i);
    const quint32 stored = longAt(image, data);
    if (sum != stored) {
        listing.warning = QStringLiteral("The checksum is %1, not %2 as the archive says.")
                              .arg(sum, 8, 16, QLatin1Char('0'))
                              .arg(stored, 8, 16, QLatin1Char('0'));
    }
    return listing;
}

QByteArray diskFileBytes(const QByteArray &image, const DiskFile &file)
{
    if (file.offset < 0 || file.offset >= image.size())
        return {};
    const qint64 length = std::min<qint64>(file.length, qint64(file.sectors) * kSector);
    return image.mid(file.offset, std::min<qint64>(length, image.size() - file.offset));
}

std::optional<DiskListing> readDiskImage(const QByteArray &image, const QString &name)
{
    const QString extension = lowerExtension(name);
    if (extension == u"trd")
        return readTrdImage(image);
    if (extension == u"scl")
        return readSclImage(image);
    return std::nullopt;
}

QString diskFormatName(DiskFormat format)
{
    switch (format) {
    case DiskFormat::TrDos:
        return QStringLiteral("TR-DOS");
    case DiskFormat::Scl:
        return QStringLiteral("SCL");
    case DiskFormat::Plus3:
        return QStringLiteral("+3DOS");
    }
    return {};
}
