#include "tape/LoadingScreen.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/FileRead.h"
#include "tape/SnapshotScreen.h"
#include "tape/TapeReader.h"

#include <QFileInfo>

namespace {

constexpr int kHeaderBytes = 19; // flag, type, name, three words, checksum
constexpr int kBytesType = 3;
constexpr int kScreenAddress = 16384;

QString blockSource(qsizetype block)
{
    return QStringLiteral("tape block %1").arg(block);
}

// Where the Spectrum's own bytes (flag, data, checksum) of a data-carrying block start, counted
// from the block's `from`; -1 for a block that carries none.
int spectrumOffset(quint8 id, bool tzx)
{
    if (!tzx)
        return 0;
    switch (id) {
    case 0x10:
        return 4; // pause, length
    case 0x11:
        return 18; // timings, length
    case 0x14:
        return 10; // bit lengths, pause, length
    default:
        return -1;
    }
}

int word(const char *bytes)
{
    return quint8(bytes[0]) | quint8(bytes[1]) << 8;
}

} // namespace

std::optional<LoadingScreen> tapeLoadingScreen(const QByteArray &image, bool tzx)
{
    // The signature as the tape reader checks it, so the viewer and this agree on what a TZX is.
    if (tzx && !image.startsWith(QByteArrayLiteral("ZXTape!")))
        return std::nullopt;
    std::optional<LoadingScreen> announced;
    std::optional<LoadingScreen> headerless;
    // The header read last, until a data block pairs with it: whether it announces a screen.
    std::optional<bool> pendingHeader;
    qsizetype index = 0;
    walkTapeBlocks(image, tzx ? TapeFormat::Tzx : TapeFormat::Tap, [&](const TapeBlockSpan &span) {
        const qsizetype block = index++;
        if (span.end > quint64(image.size()))
            return false; // cut short: nothing in it is certain
        const int offset = spectrumOffset(span.id, tzx);
        if (offset < 0)
            return true; // pauses, texts and the like leave a header waiting for its data
        const qsizetype start = span.from + offset;
        const qsizetype length = qsizetype(span.end) - start;
        if (length <= 0)
            return true;
        const char *bytes = image.constData() + start;
        // A pure data block is whatever a custom loader reads: the bare screen, or one framed
        // by flag and checksum.
        if (span.id == 0x14 && length == kLoadingScreenBytes) {
            if (!pendingHeader && !headerless)
                headerless = LoadingScreen{QByteArray(bytes, length), blockSource(block)};
            pendingHeader.reset();
            return true;
        }
        if (bytes[0] == 0) {
            pendingHeader = length >= kHeaderBytes - 1 && bytes[1] == kBytesType &&
                            word(bytes + 12) >= kLoadingScreenBytes &&
                            word(bytes + 14) == kScreenAddress;
            return true;
        }
        const qsizetype payload = length - 2; // without flag and checksum
        if (pendingHeader) {
            const bool screen = *pendingHeader;
            pendingHeader.reset();
            if (screen && payload >= kLoadingScreenBytes) {
                announced =
                    LoadingScreen{QByteArray(bytes + 1, kLoadingScreenBytes), blockSource(block)};
                return false;
            }
            return true;
        }
        if (payload == kLoadingScreenBytes && !headerless)
            headerless =
                LoadingScreen{QByteArray(bytes + 1, kLoadingScreenBytes), blockSource(block)};
        return true;
    });
    return announced ? announced : headerless;
}

std::optional<LoadingScreen> loadingScreenOf(const QByteArray &bytes, const QString &fileName)
{
    const QString kind = QFileInfo(fileName).suffix().toLower();
    if (kind == u"tap")
        return tapeLoadingScreen(bytes, false);
    if (kind == u"tzx")
        return tapeLoadingScreen(bytes, true);
    if (kind == u"sna")
        return snaScreen(bytes);
    if (kind == u"z80")
        return z80Screen(bytes);
    if (kind == u"szx")
        return szxScreen(bytes);
    return std::nullopt;
}

LoadingScreenFile readLoadingScreen(const QString &path)
{
    // An archive's screen is its Spectrum member's; the archive layer keeps to its own limits.
    if (Archive::isArchiveName(path)) {
        const RomFileBytes file = readRomFile(path);
        if (!file.ok)
            return {false, file.reason, std::nullopt};
        return {true, QString(), loadingScreenOf(file.bytes, file.name)};
    }
    // A larger file is refused unread; one that grows meanwhile is read up to one byte past the
    // limit, which tells a file of exactly 64 MB from a larger one.
    {
        QFile opened;
        const QString reason = openRegularFile(path, opened);
        if (!reason.isEmpty())
            return {false, reason, std::nullopt};
        if (opened.size() > kLoadingScreenFileLimit)
            return {false, kLoadingScreenTooLarge, std::nullopt};
    }
    const FileBytes file = readRegularFile(path, kLoadingScreenFileLimit + 1);
    if (!file.ok)
        return {false, file.reason, std::nullopt};
    if (file.bytes.size() > kLoadingScreenFileLimit)
        return {false, kLoadingScreenTooLarge, std::nullopt};
    return {true, QString(), loadingScreenOf(file.bytes, path)};
}
