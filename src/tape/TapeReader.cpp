#include "tape/TapeReader.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/FileRead.h"

#include <algorithm>
#include <cstring>

namespace {

const QByteArray kTzxSignature = QByteArrayLiteral("ZXTape!");
constexpr qsizetype kTzxHeaderSize = 10; // signature, 0x1A, major and minor version
constexpr int kLargestFixedPart = 20;    // 0x35: 16 identification bytes and a 4-byte length

// Where a block's variable part gets its length from, and which bytes its Body keeps.
struct BlockLayout
{
    int fixed = 0;       // bytes read after the ID before the variable part
    int lengthAt = 0;    // offset of the length field inside the fixed part
    int lengthBytes = 0; // 0: no variable part
    int unit = 1;        // bytes per counted item (pulses, calls, hardware entries)
    bool keepFixed = true;
};

BlockLayout layoutOf(quint8 id)
{
    switch (id) {
    case 0x10:
        return {4, 2, 2};
    case 0x11:
        return {18, 15, 3};
    case 0x12:
        return {4};
    case 0x13:
        return {1, 0, 1, 2, false};
    case 0x14:
        return {10, 7, 3};
    case 0x15:
        return {8, 5, 3};
    case 0x16:
    case 0x17:
        return {4, 0, 4};
    case 0x20:
        return {2};
    case 0x21:
        return {1, 0, 1};
    case 0x22:
        return {};
    case 0x23:
    case 0x24:
        return {2};
    case 0x25:
        return {};
    case 0x26:
        return {2, 0, 2, 2};
    case 0x27:
        return {};
    case 0x28:
        return {2, 0, 2};
    case 0x2A:
        return {4};
    case 0x30:
        return {1, 0, 1};
    case 0x31:
        return {2, 1, 1};
    case 0x32:
        return {2, 0, 2};
    case 0x33:
        return {1, 0, 1, 3, false};
    case 0x34:
        return {8};
    case 0x35:
        return {20, 16, 4};
    case 0x40:
        return {4, 1, 3};
    case 0x5A:
        return {9};
    default:
        // 0x18, 0x19, 0x2B and every ID added since TZX 1.10 start with a 4-byte length of the
        // rest, so a block we don't know is stepped over whole instead of being read byte by
        // byte as a run of made-up blocks.
        return {4, 0, 4};
    }
}

// The `declared` bytes of a block starting at `from`, referring to the image's bytes. A block
// that runs past the end keeps its declared size with the missing bytes as zero (a copy, for the
// last block only), unless that size is more than the whole file holds: such a length comes only
// from damage, and we keep just the bytes that are there.
QByteArray takeBody(const QByteArray &image, qsizetype from, quint64 declared, bool &truncated)
{
    const qsizetype size = image.size();
    const qsizetype present =
        from >= size ? 0 : qsizetype(std::min<quint64>(declared, quint64(size - from)));
    truncated = quint64(present) < declared;
    if (!truncated) // an empty block after the end of the image points at its end
        return QByteArray::fromRawData(image.constData() + std::min(from, size), present);
    QByteArray body(declared <= quint64(size) ? qsizetype(declared) : present, '\0');
    if (present > 0)
        std::memcpy(body.data(), image.constData() + from, size_t(present));
    return body;
}

} // namespace

qint32 LittleEndianValue(const char *bytes, int count)
{
    quint32 value = 0;
    for (int i = std::min(count, 4) - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes[i]);
    return qint32(value);
}

qint32 LittleEndianValue(const QByteArray &bytes)
{
    return LittleEndianValue(bytes.constData(), int(std::min<qsizetype>(bytes.size(), 4)));
}

TapeFormat tapeFormatOf(const QString &path)
{
    const QString ending = path.right(3).toLower();
    if (ending == u"tzx")
        return TapeFormat::Tzx;
    if (ending == u"tap")
        return TapeFormat::Tap;
    return TapeFormat::Unsupported;
}

namespace {

using BlockSpan = TapeBlockSpan;

bool isKnownTzxId(quint8 id)
{
    return (id >= 0x10 && id <= 0x15) || id == 0x18 || id == 0x19 || (id >= 0x20 && id <= 0x28) ||
           id == 0x2A || id == 0x2B || (id >= 0x30 && id <= 0x35) || id == 0x40 || id == 0x5A;
}

// An archive-info block (0x32) from some writers carries a length word that disagrees with the
// strings it holds. Where the word cannot hold the strings it announces, or leads to no known
// block while the strings do, the strings decide where the block ends, so the blocks after it
// stay in step. `pos` is where the length word starts.
quint64 archiveInfoEnd(const QByteArray &image, qsizetype pos, quint64 declaredEnd)
{
    const qsizetype size = image.size();
    qsizetype at = pos + 2;
    if (at >= size)
        return declaredEnd;
    const int strings = quint8(image.at(at++));
    for (int k = 0; k < strings; ++k) {
        if (at + 2 > size)
            return declaredEnd;
        at += 2 + quint8(image.at(at + 1));
    }
    if (at > size)
        return declaredEnd;
    const auto fieldsEnd = quint64(at);
    const auto startsBlock = [&](quint64 end) {
        return end == quint64(size) || (end < quint64(size) && isKnownTzxId(quint8(image.at(end))));
    };
    if (fieldsEnd > declaredEnd || (!startsBlock(declaredEnd) && startsBlock(fieldsEnd)))
        return fieldsEnd;
    return declaredEnd;
}

// Hands every block of a TZX image to `visit`, in order, up to one that runs past the end or
// until `visit` returns false.
template <typename Visit> void walkTzx(const QByteArray &image, Visit visit)
{
    const qsizetype size = image.size();
    qsizetype pos = kTzxHeaderSize;
    while (pos < size) {
        const auto id = quint8(image.at(pos++));
        const BlockLayout layout = layoutOf(id);

        char fixed[kLargestFixedPart] = {};
        const qsizetype fixedPresent = std::min<qsizetype>(layout.fixed, size - pos);
        std::memcpy(fixed, image.constData() + pos, size_t(fixedPresent));
        quint64 variable = 0;
        if (layout.lengthBytes > 0) {
            // A 4-byte length of 2^31 or more is negative as a signed value; as unsigned it is
            // simply more than the file holds.
            variable =
                quint64(quint32(LittleEndianValue(fixed + layout.lengthAt, layout.lengthBytes))) *
                quint64(layout.unit);
        }
        const qsizetype from = layout.keepFixed ? pos : pos + layout.fixed;
        quint64 end = quint64(pos) + quint64(layout.fixed) + variable;
        if (id == 0x32)
            end = archiveInfoEnd(image, pos, end);
        if (!visit(BlockSpan{id, from, end}) || end > quint64(size))
            break;
        pos = qsizetype(end);
    }
}

// The same over a TAP image: a two-byte length before each block.
template <typename Visit> void walkTap(const QByteArray &image, Visit visit)
{
    const qsizetype size = image.size();
    qsizetype pos = 0;
    while (pos < size) {
        const int lengthBytes = int(std::min<qsizetype>(2, size - pos));
        const auto length = quint64(LittleEndianValue(image.constData() + pos, lengthBytes));
        pos += 2;
        const quint64 end = quint64(pos) + length;
        if (!visit(BlockSpan{0x10, pos, end}) || end > quint64(size))
            break;
        pos = qsizetype(end);
    }
}

// The blocks a walk finds. They are counted first, so the array is allocated once at its size:
// grown block by block, a tape of millions of one-byte blocks held its array three times over
// while it was copied into a larger one.
template <typename Walk> void takeBlocks(TapeIndex &tape, Walk walk)
{
    qsizetype count = 0;
    walk(tape.Image, [&](const BlockSpan &) {
        ++count;
        return true;
    });
    tape.Blocks.reserve(count);
    walk(tape.Image, [&](const BlockSpan &span) {
        bool truncated = false;
        tape.Blocks.append(
            {takeBody(tape.Image, span.from, span.end - quint64(span.from), truncated),
             qint16(span.id)});
        return true;
    });
}

} // namespace

void walkTapeBlocks(const QByteArray &image, TapeFormat format,
                    const std::function<bool(const TapeBlockSpan &)> &visit)
{
    if (format == TapeFormat::Tzx)
        walkTzx(image, visit);
    else if (format == TapeFormat::Tap)
        walkTap(image, visit);
}

std::optional<Message> readTzxImage(TapeIndex &tape, const QByteArray &bytes)
{
    tape.Blocks.clear();
    tape.Image = bytes;
    if (!tape.Image.startsWith(kTzxSignature))
        return Message{kInvalidTzxImage};
    // The version bytes are not checked: every version is walked the same way.
    tape.IsTap = false;
    takeBlocks(tape, [](const QByteArray &image, auto visit) { walkTzx(image, visit); });
    return std::nullopt;
}

void readTapImage(TapeIndex &tape, const QByteArray &bytes)
{
    tape.Blocks.clear();
    tape.Image = bytes;
    tape.IsTap = true;
    takeBlocks(tape, [](const QByteArray &image, auto visit) { walkTap(image, visit); });
}

namespace {

// The archive's Spectrum member, read as that file would be; an archive that cannot be read says
// so in the archive layer's words.
std::optional<Message> readArchivedTape(TapeIndex &tape, const QString &path)
{
    const RomFileBytes rom = readRomFile(path);
    if (!rom.ok)
        return Message::critical(rom.reason, kApplicationTitle);
    switch (tapeFormatOf(rom.name)) {
    case TapeFormat::Tap:
        readTapImage(tape, rom.bytes);
        return std::nullopt;
    case TapeFormat::Tzx:
        return readTzxImage(tape, rom.bytes);
    case TapeFormat::Unsupported:
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<Message> ReadTapeImage(TapeIndex &tape, const QString &path)
{
    tape.Blocks.clear();
    tape.Image.clear();
    if (Archive::isArchiveName(path))
        return readArchivedTape(tape, path);
    const TapeFormat format = tapeFormatOf(path);
    if (format == TapeFormat::Unsupported)
        return std::nullopt;
    const FileBytes file = readRegularFile(path);
    if (!file.ok)
        return Message::critical(kUnreadableTape + kCrLf + path + kCrLf + file.reason,
                                 kApplicationTitle);
    if (format == TapeFormat::Tap) {
        readTapImage(tape, file.bytes);
        return std::nullopt;
    }
    return readTzxImage(tape, file.bytes);
}
