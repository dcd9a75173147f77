#include "tape/SnapshotScreen.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr qsizetype kPageBytes = 16384;
constexpr int kShadowScreenBit = 0x08; // of port 0x7FFD
constexpr int kScreenBank = 5;
constexpr int kShadowBank = 7;

QString pageSource(int bank)
{
    return QStringLiteral("snapshot RAM page %1").arg(bank);
}

LoadingScreen screenAt(const char *bytes, int bank)
{
    return {QByteArray(bytes, kLoadingScreenBytes), pageSource(bank)};
}

quint8 byteAt(const QByteArray &bytes, qsizetype at)
{
    return quint8(bytes.at(at));
}

int wordAt(const QByteArray &bytes, qsizetype at)
{
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}

// --- SNA: a 27-byte header and the 48K image from 0x4000 (banks 5, 2 and the paged one); a 128K
// file adds PC, the 0x7FFD byte, the TR-DOS byte and the other banks in ascending order.
constexpr qsizetype kSnaHeader = 27;
constexpr qsizetype kSna48 = kSnaHeader + 3 * kPageBytes;
constexpr qsizetype kSna128 = kSna48 + 4 + 5 * kPageBytes;
constexpr qsizetype kSna128Repeated = kSna128 + kPageBytes; // the paged bank is 2 or 5
constexpr qsizetype kSnaPort = kSna48 + 2;
constexpr qsizetype kSnaBanks = kSna48 + 4;

} // namespace

std::optional<LoadingScreen> snaScreen(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    if (size == kSna48)
        return screenAt(bytes.constData() + kSnaHeader, kScreenBank);
    if (size != kSna128 && size != kSna128Repeated)
        return std::nullopt;
    const quint8 port = byteAt(bytes, kSnaPort);
    if (!(port & kShadowScreenBit))
        return screenAt(bytes.constData() + kSnaHeader, kScreenBank);
    const int paged = port & 7;
    qsizetype at = kSnaHeader + 2 * kPageBytes; // the paged bank, at 0xC000
    if (paged != kShadowBank) {
        qsizetype before = 0; // of the banks stored after the 48K image, those before bank 7
        for (const int bank : {0, 1, 3, 4, 6})
            before += bank != paged;
        at = kSnaBanks + before * kPageBytes;
    }
    if (at + kLoadingScreenBytes > size)
        return std::nullopt; // a 128K file whose size does not fit its paged bank
    return screenAt(bytes.constData() + at, kShadowBank);
}

namespace {

// --- Z80: runs of ED ED count byte; the 48K image of version 1 ends with 00 ED ED 00.
constexpr qsizetype kZ80Header = 30;
constexpr qsizetype kZ80Image48 = 3 * kPageBytes;
constexpr int kZ80ScreenPage = 8;  // RAM bank 5, on 48K and 128K machines alike
constexpr int kZ80ShadowPage = 10; // RAM bank 7
constexpr int kZ80LastPage = 18;   // the largest machines number their RAM up to here
constexpr quint8 kEd = 0xED;

// Unpacks `in` into exactly `outSize` bytes. With `endMarker` the stream may stop at
// 00 ED ED 00 (version 1); anything that would write past the end, a run cut short or too few
// bytes fail.
bool unpackZ80(const uchar *in, qsizetype length, uchar *out, qsizetype outSize, bool endMarker)
{
    qsizetype i = 0;
    qsizetype o = 0;
    while (i < length) {
        // Literal bytes up to the next ED go across at once.
        const auto *ed = static_cast<const uchar *>(std::memchr(in + i, kEd, size_t(length - i)));
        const qsizetype literalEnd = ed ? ed - in : length;
        // The end marker reads as a literal 0 followed by an empty run.
        const bool marker = endMarker && literalEnd > i && literalEnd + 2 < length &&
                            in[literalEnd - 1] == 0 && in[literalEnd + 1] == kEd &&
                            in[literalEnd + 2] == 0;
        const qsizetype literals = literalEnd - i - (marker ? 1 : 0);
        if (literals > outSize - o)
            return false;
        std::memcpy(out + o, in + i, size_t(literals));
        o += literals;
        if (marker)
            return o == outSize;
        if (literalEnd > i) {
            i = literalEnd;
            continue;
        }
        if (i + 1 >= length || in[i + 1] != kEd) { // a single ED is itself
            if (o >= outSize)
                return false;
            out[o++] = in[i++];
            continue;
        }
        if (i + 3 >= length)
            return false;
        const int count = in[i + 2];
        if (count > outSize - o)
            return false;
        std::memset(out + o, in[i + 3], size_t(count));
        o += count;
        i += 4;
    }
    return o == outSize;
}

// Which hardware modes page 128K memory, by version (the numbers moved in version 3).
bool z80Pages128(int version, int mode)
{
    if (version == 2)
        return mode == 3 || mode == 4;
    return (mode >= 4 && mode <= 10) || mode == 12 || mode == 13;
}

} // namespace

std::optional<LoadingScreen> z80Screen(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    if (size < kZ80Header)
        return std::nullopt;
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    if (wordAt(bytes, 6) != 0) { // version 1: a PC in the header
        int flags = byteAt(bytes, 12);
        if (flags == 0xFF) // old writers' way of saying 1
            flags = 1;
        if (!(flags & 0x20)) {
            if (size - kZ80Header < kZ80Image48)
                return std::nullopt;
            return screenAt(bytes.constData() + kZ80Header, kScreenBank);
        }
        std::array<uchar, kZ80Image48> image;
        if (!unpackZ80(data + kZ80Header, size - kZ80Header, image.data(), kZ80Image48, true))
            return std::nullopt;
        return screenAt(reinterpret_cast<const char *>(image.data()), kScreenBank);
    }
    if (size < kZ80Header + 2)
        return std::nullopt;
    const int extra = wordAt(bytes, kZ80Header);
    const int version = extra == 23 ? 2 : extra == 54 || extra == 55 ? 3 : 0;
    if (version == 0 || size < kZ80Header + 2 + extra)
        return std::nullopt;
    const bool shadow =
        z80Pages128(version, byteAt(bytes, 34)) && (byteAt(bytes, 35) & kShadowScreenBit);
    const int wanted = shadow ? kZ80ShadowPage : kZ80ScreenPage;

    // Every block is checked before the screen is taken, so a damaged file gives nothing
    // whichever order its pages come in.
    qsizetype at = kZ80Header + 2 + extra;
    qsizetype found = -1;
    qsizetype foundLength = 0;
    while (at < size) {
        if (size - at < 3)
            return std::nullopt;
        const int length = wordAt(bytes, at);
        const int page = byteAt(bytes, at + 2);
        at += 3;
        const qsizetype stored = length == 0xFFFF ? kPageBytes : length;
        if (page > kZ80LastPage || stored > size - at)
            return std::nullopt;
        if (page == wanted && found < 0) {
            found = at;
            foundLength = length;
        }
        at += stored;
    }
    if (found < 0)
        return std::nullopt;
    if (foundLength == 0xFFFF)
        return screenAt(bytes.constData() + found, shadow ? kShadowBank : kScreenBank);
    std::array<uchar, kPageBytes> page;
    if (!unpackZ80(data + found, foundLength, page.data(), kPageBytes, false))
        return std::nullopt;
    return screenAt(reinterpret_cast<const char *>(page.data()),
                    shadow ? kShadowBank : kScreenBank);
}

namespace {

// --- SZX: "ZXST", version, machine, flags; then chunks of a 4-byte ID and a 4-byte length.
constexpr qsizetype kSzxHeader = 8;
constexpr qsizetype kChunkHeader = 8;
constexpr int kRampCompressed = 0x0001;
// A page deflated honestly is never much larger than the page (stored blocks add a few bytes);
// a larger stream can only be damage.
constexpr qsizetype kLargestDeflatedPage = kPageBytes + 256;

// Machines without 128K paging: 16K, 48K, their NTSC version and the Timex machines.
bool szxPages128(int machine)
{
    switch (machine) {
    case 0:
    case 1:
    case 8:
    case 9:
    case 12:
    case 15:
        return false;
    default:
        return true;
    }
}

// A deflated page inflated into exactly 16 KB, never more: a stream that would give more (a
// zlib bomb), less, or is damaged gives nothing. qUncompress would grow its buffer until the
// whole stream fits, so zlib's inflate is asked directly, into the page's own buffer.
std::optional<QByteArray> inflatePage(const char *data, qsizetype length)
{
    if (length > kLargestDeflatedPage)
        return std::nullopt;
    QByteArray page(kPageBytes, Qt::Uninitialized);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data));
    stream.avail_in = uInt(length);
    stream.next_out = reinterpret_cast<Bytef *>(page.data());
    stream.avail_out = uInt(kPageBytes);
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.avail_out == 0;
    inflateEnd(&stream);
    if (!whole)
        return std::nullopt;
    return page;
}

struct RamPage
{
    qsizetype at = -1; // of the page's data after flags and number
    qsizetype length = 0;
    bool compressed = false;
};

} // namespace

std::optional<LoadingScreen> szxScreen(const QByteArray &bytes)
{
    const qsizetype size = bytes.size();
    if (size < kSzxHeader || !bytes.startsWith(QByteArrayLiteral("ZXST")))
        return std::nullopt;
    const int machine = byteAt(bytes, 6);
    int port = 0;
    RamPage pages[2]; // banks 5 and 7
    qsizetype at = kSzxHeader;
    while (size - at >= kChunkHeader) {
        const QByteArray id = bytes.mid(at, 4);
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
        at += kChunkHeader;
        if (length > quint64(size - at))
            return std::nullopt; // cut short
        if (id == "SPCR" && length >= 2) {
            port = byteAt(bytes, at + 1);
        } else if (id == "RAMP" && length >= 3) {
            const int bank = byteAt(bytes, at + 2);
            RamPage &page = pages[bank == kShadowBank ? 1 : 0];
            if ((bank == kScreenBank || bank == kShadowBank) && page.at < 0)
                page = {at + 3, qsizetype(length) - 3, bool(wordAt(bytes, at) & kRampCompressed)};
        }
        at += qsizetype(length);
    }
    const bool shadow = szxPages128(machine) && (port & kShadowScreenBit);
    const int bank = shadow ? kShadowBank : kScreenBank;
    const RamPage &page = pages[shadow ? 1 : 0];
    if (page.at < 0)
        return std::nullopt;
    if (!page.compressed) {
        if (page.length != kPageBytes)
            return std::nullopt;
        return screenAt(bytes.constData() + page.at, bank);
    }
    const std::optional<QByteArray> inflated =
        inflatePage(bytes.constData() + page.at, page.length);
    if (!inflated)
        return std::nullopt;
    return screenAt(inflated->constData(), bank);
}
