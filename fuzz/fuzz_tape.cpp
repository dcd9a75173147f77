// TZX and TAP images: every input is read both ways from bytes, and the way its signature says
// through a file; then the block listing (kept and made row by row) and the tape's card.

#include "FuzzSupport.h"

#include "tape/TapeCard.h"
#include "tape/TapeListing.h"
#include "tape/TapeReader.h"

namespace {

// Every block refers to the image's bytes, in order and without overlapping, except a last
// block cut short by the end of the file: that one is a copy holding its declared size, which is
// never more than the file.
void checkBlocks(const TapeIndex &tape, bool tap)
{
    const QByteArray &image = tape.Image;
    const qsizetype size = image.size();
    FUZZ_CHECK(tape.IsTap == tap);
    FUZZ_CHECK(tape.Blocks.size() <= size);
    const char *const begin = image.constData();
    // Before each block: its ID byte, or its two TAP length bytes.
    const qsizetype lead = tap ? 2 : 1;
    qsizetype end = tap ? 0 : 10; // after the TZX header
    for (qsizetype i = 0; i < tape.Blocks.size(); ++i) {
        const TapeBlock &block = tape.Blocks.at(i);
        FUZZ_CHECK(tap ? block.BlockId == 0x10 : block.BlockId >= 0 && block.BlockId <= 0xFF);
        const char *const body = block.Body.constData();
        const qsizetype length = block.Body.size();
        const bool inImage = size > 0 && body >= begin && body <= begin + size;
        if (!inImage || body + length > begin + size) {
            FUZZ_CHECK(i == tape.Blocks.size() - 1);
            FUZZ_CHECK(length <= size);
            continue;
        }
        const qsizetype offset = body - begin;
        // A last, empty block whose ID or length ran past the end points at the end.
        const bool emptyAtEnd = i == tape.Blocks.size() - 1 && length == 0 && offset == size;
        FUZZ_CHECK(offset >= end + lead || emptyAtEnd);
        end = offset + length;
        FUZZ_CHECK(end <= size);
    }
}

void checkListing(const TapeIndex &tape)
{
    const TapeListing listing(tape);
    const qsizetype rows = listing.rowCount();
    // A row per block, and a "missing datablock" row at most before each one.
    FUZZ_CHECK(rows >= tape.Blocks.size() && rows <= 2 * tape.Blocks.size());
    qsizetype row = 0;
    qsizetype block = 0;
    TapeListing::forEachRow(tape, [&](const TapeRow &made) {
        FUZZ_CHECK(row < rows);
        // The rows made one at a time are the rows the viewer's model asks for.
        FUZZ_CHECK(made == listing.row(row));
        ++row;
        if (made.block.isEmpty()) {
            FUZZ_CHECK(made.description == kMissingDatablock);
            return;
        }
        FUZZ_CHECK(made.block == QString::number(block));
        // A row stays on one line whatever bytes the tape holds.
        for (const QChar c : made.description)
            FUZZ_CHECK(c.category() != QChar::Other_Control);
        if (!made.size.isEmpty()) {
            bool number = false;
            const qint64 bytes = made.size.toLongLong(&number);
            FUZZ_CHECK(number && bytes > 0 && bytes <= 0xFFFF + tape.Blocks.at(block).Body.size());
        }
        ++block;
    });
    FUZZ_CHECK(row == rows && block == tape.Blocks.size());
}

void checkCard(const TapeIndex &tape)
{
    const TapeCard card = readTapeCard(tape);
    FUZZ_CHECK(card.programName.size() <= 10);
    // Each text comes from the tape's bytes; joining adds ", " or CR LF between lines.
    const qsizetype text = card.title.size() + card.publisher.size() + card.authors.size() +
                           card.comment.size() + card.programName.size();
    FUZZ_CHECK(text <= 3 * tape.Image.size());
}

bool sameBlocks(const TapeIndex &a, const TapeIndex &b)
{
    if (a.Blocks.size() != b.Blocks.size() || a.IsTap != b.IsTap)
        return false;
    for (qsizetype i = 0; i < a.Blocks.size(); ++i) {
        if (a.Blocks.at(i).BlockId != b.Blocks.at(i).BlockId ||
            a.Blocks.at(i).Body != b.Blocks.at(i).Body)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    const bool isTzx = bytes.startsWith("ZXTape!");

    TapeIndex tzx;
    std::optional<Message> message;
    const qint64 tzxPeak = kivofuzz::peakHeap([&] { message = readTzxImage(tzx, bytes); });
    // A block of one byte (a group end) is a 32-byte TapeBlock; the array is allocated once.
    kivofuzz::checkHeap(tzxPeak, bytes.size(), 40, 1 << 16, "readTzxImage");
    FUZZ_CHECK(message.has_value() == !isTzx);
    if (isTzx)
        checkBlocks(tzx, false);
    else
        FUZZ_CHECK(tzx.Blocks.isEmpty());

    TapeIndex tap;
    const qint64 tapPeak = kivofuzz::peakHeap([&] { readTapImage(tap, bytes); });
    // A TAP block takes two bytes at least.
    kivofuzz::checkHeap(tapPeak, bytes.size(), 20, 1 << 16, "readTapImage");
    checkBlocks(tap, true);

    const TapeIndex &tape = isTzx ? tzx : tap;
    const qint64 listingPeak = kivofuzz::peakHeap([&] { checkListing(tape); });
    // Eight bytes a row and the texts of one row at a time.
    kivofuzz::checkHeap(listingPeak, bytes.size(), 64, 1 << 20, "TapeListing");
    checkCard(tape);

    // A tape cut short holds the blocks before the cut as they were, the last one perhaps cut.
    const QByteArray head = bytes.left(bytes.size() * 2 / 3);
    TapeIndex cut;
    if (isTzx ? !readTzxImage(cut, head) : (readTapImage(cut, head), true)) {
        FUZZ_CHECK(cut.Blocks.size() <= tape.Blocks.size());
        for (qsizetype i = 0; i + 1 < cut.Blocks.size(); ++i) {
            FUZZ_CHECK(cut.Blocks.at(i).BlockId == tape.Blocks.at(i).BlockId);
            FUZZ_CHECK(cut.Blocks.at(i).Body == tape.Blocks.at(i).Body);
        }
    }

    // The file reader picks the format by the name's ending and reads the same blocks.
    const QString path = kivofuzz::writeScratchFile(
        isTzx ? QStringLiteral("TAPE.TZX") : QStringLiteral("tape.tap"), bytes);
    TapeIndex fromFile;
    FUZZ_CHECK(!ReadTapeImage(fromFile, path).has_value());
    FUZZ_CHECK(sameBlocks(fromFile, tape));
    return 0;
}
