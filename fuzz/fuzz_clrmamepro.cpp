// ClrMamePro text DATs: read from memory and a block at a time from a device, with the same
// result either way; a DAT is taken whole or not at all, every rom the reader gives is found,
// the names come from the input, and the heap held stays a small multiple of the input.

#include "FuzzSupport.h"

#include "scan/ClrMameProReader.h"
#include "scan/DatCatalogue.h"

#include <QBuffer>

namespace {

bool sameFiles(const DatCatalogue &a, const DatCatalogue &b)
{
    if (a.files().size() != b.files().size())
        return false;
    for (qsizetype i = 0; i < a.files().size(); ++i) {
        const DatFileInfo &x = a.files().at(i);
        const DatFileInfo &y = b.files().at(i);
        if (x.name != y.name || x.version != y.version || x.games != y.games || x.roms != y.roms ||
            x.convention != y.convention)
            return false;
    }
    return true;
}

void checkEntry(const DatEntry &entry)
{
    FUZZ_CHECK(!entry.game.isEmpty() && entry.file == 0);
    FUZZ_CHECK(entry.game.contains(entry.title) && entry.game.contains(entry.publisher));
    FUZZ_CHECK(entry.year >= 0 && entry.year <= 9999);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes = kivofuzz::bytesOf(data, size);
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("fuzz.dat"), bytes);

    DatCatalogue whole;
    std::optional<Message> wholeMessage;
    const qint64 peak = kivofuzz::peakHeap([&] { wholeMessage = whole.addFile(path); });
    // The file's bytes, the games as read, then their entries: a real DAT takes about 2.5 times
    // its size, the shortest games possible (30 bytes each) about 13 times, lists growing on top.
    kivofuzz::checkHeap(peak, bytes.size(), 32, 1 << 20, "DatCatalogue::addFile");

    DatCatalogue streamed;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<Message> streamedMessage = streamed.addDevice(buffer, path);
    FUZZ_CHECK(wholeMessage.has_value() == streamedMessage.has_value());
    FUZZ_CHECK(!wholeMessage || wholeMessage->text == streamedMessage->text);
    FUZZ_CHECK(whole.romCount() == streamed.romCount() && sameFiles(whole, streamed));
    if (wholeMessage) {
        FUZZ_CHECK(whole.romCount() == 0 && whole.files().isEmpty());
        FUZZ_CHECK(wholeMessage->text.startsWith(QStringLiteral("Not a DAT file: ")));
        return 0;
    }

    if (!looksLikeClrMamePro(bytes))
        return 0; // an XML DAT: fuzz_logiqx's
    const DatRead read = readClrMamePro(bytes);
    FUZZ_CHECK(read.error.isEmpty());
    // The shortest rom that counts, rom(size 0 crc 0), takes 18 bytes.
    FUZZ_CHECK(read.roms.size() <= bytes.size() / 18);
    FUZZ_CHECK(whole.files().first().games == read.games.size());
    for (const DatRom &rom : read.roms) {
        FUZZ_CHECK(rom.game >= 0 && rom.game < read.games.size());
        const DatEntry *entry = whole.entryOf(rom.size, rom.crc);
        FUZZ_CHECK(entry != nullptr);
        checkEntry(*entry);
        FUZZ_CHECK(streamed.entryOf(rom.size, rom.crc) != nullptr &&
                   *streamed.entryOf(rom.size, rom.crc) == *entry);
    }
    return 0;
}
