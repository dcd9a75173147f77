// Logiqx DAT files for Scan Folder, and each line of the input read as a TOSEC name: a DAT is
// taken whole or not at all, its index never outgrows the file, and a name's parts come from it.

#include "FuzzSupport.h"

#include "scan/DatCatalogue.h"
#include "scan/TosecName.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes = kivofuzz::bytesOf(data, size);
    DatCatalogue catalogue;
    std::optional<Message> message;
    const qint64 peak = kivofuzz::peakHeap([&] {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        message = catalogue.addDevice(buffer, QStringLiteral("fuzz.dat"));
    });
    // The reader's own buffers, then a few words per rom and each game's name once.
    kivofuzz::checkHeap(peak, bytes.size(), 64, 1 << 20, "DatCatalogue");
    // The shortest rom that counts, <rom size="0" crc="0"/>, takes 24 bytes.
    FUZZ_CHECK(catalogue.romCount() <= bytes.size() / 24);
    if (message)
        FUZZ_CHECK(catalogue.romCount() == 0 && message->text.startsWith("Not a DAT file: "));

    for (const QString &line : QString::fromUtf8(bytes).split(u'\n')) {
        const TosecName name = readTosecName(line);
        if (!name.parsed) {
            FUZZ_CHECK(name.title == line && name.year == 0 && name.publisher.isEmpty());
            continue;
        }
        FUZZ_CHECK(!name.title.isEmpty() && line.contains(name.title));
        FUZZ_CHECK(name.year >= 0 && name.year <= 9999);
        FUZZ_CHECK(name.publisher.isEmpty() || line.contains(name.publisher));
        FUZZ_CHECK(name.media.size() <= line.size());
        FUZZ_CHECK(mediaOrder(name.media).size() <= name.media.size());
    }
    return 0;
}
