// The loading screen of tapes and snapshots: every input is read as each kind. A screen found is
// 6,912 bytes taken from where its source says; the heap stays within what the input justifies.
// The machine of the same head is read too: it always gives one, the same in any letter case.

#include "FuzzSupport.h"

#include "tape/LoadingScreen.h"
#include "tape/MachineReader.h"
#include "tape/TapeReader.h"

#include <QRegularExpression>

namespace {

// The tape block a source names, as the tape viewer numbers them, holds the screen's bytes.
void checkTapeSource(const QByteArray &bytes, bool tzx, const LoadingScreen &found)
{
    static const QRegularExpression kBlock(QStringLiteral("^tape block (\\d+)$"));
    const QRegularExpressionMatch match = kBlock.match(found.source);
    FUZZ_CHECK(match.hasMatch());
    TapeIndex tape;
    if (tzx)
        FUZZ_CHECK(!readTzxImage(tape, bytes));
    else
        readTapImage(tape, bytes);
    const qsizetype block = match.captured(1).toLongLong();
    FUZZ_CHECK(block < tape.Blocks.size());
    FUZZ_CHECK(tape.Blocks.at(block).Body.contains(found.screen));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    const QByteArray head = bytes.left(kMachineHeadBytes);
    for (const char *kind : {"tap", "tzx", "sna", "z80", "szx"}) {
        const QString name = QStringLiteral("file.") + QLatin1String(kind);
        const MachineReading machine = machineOf(head, bytes.size(), name);
        FUZZ_CHECK(!machine.why.isEmpty());
        FUZZ_CHECK(machineOf(head, bytes.size(), name.toUpper()) == machine);
        std::optional<LoadingScreen> found;
        const qint64 peak = kivofuzz::peakHeap([&] { found = loadingScreenOf(bytes, name); });
        // The screen, and a 48K image or 16K page while unpacking or inflating, whatever the
        // input claims: a zlib bomb in an SZX page is stopped at 16 KB.
        kivofuzz::checkHeap(peak, 0, 0, 128 << 10, kind);
        FUZZ_CHECK(loadingScreenOf(bytes, name.toUpper()).has_value() == found.has_value());
        if (!found)
            continue;
        FUZZ_CHECK(found->screen.size() == kLoadingScreenBytes);
        if (QLatin1String(kind) == u"tap" || QLatin1String(kind) == u"tzx") {
            checkTapeSource(bytes, QLatin1String(kind) == u"tzx", *found);
        } else {
            FUZZ_CHECK(found->source == u"snapshot RAM page 5" ||
                       found->source == u"snapshot RAM page 7");
            // An SNA holds its pages as they are.
            if (QLatin1String(kind) == u"sna")
                FUZZ_CHECK(bytes.contains(found->screen));
        }
    }
    return 0;
}
