// Zip and gzip archives from the internet: every input is listed as a .zip and as a .gz, and the
// Spectrum member of each is read out, from memory and, for the zip, through a file as the
// program reads a rom file. Whatever the directory declares, no member over 64 MB or over
// 1000 : 1 is inflated, nothing read is other than declared, and the heap stays within what the
// input can justify. A head read of the member is the start of the whole one and no longer.

#include "FuzzSupport.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"

#include <zlib.h>

namespace {

// The bytes of a Spectrum member, or none, and how the reader came to them.
struct Outcome
{
    bool listed = false;
    bool read = false;
    QByteArray bytes;
};

Outcome readSpectrumMember(const ArchiveSource &source, qsizetype inputSize)
{
    Outcome outcome;
    ArchiveListing listing;
    const qint64 listPeak = kivofuzz::peakHeap([&] { listing = Archive::listMembers(source); });
    // libzip's entry and our member with its name, for each central directory entry of 46 bytes
    // at least; its own buffers once. A directory holding more entries than its end record
    // declares makes libzip add room for 65,536 at a time (32 bytes each, 2 MB), as archives
    // with more than 65,535 members count them modulo 65,536.
    kivofuzz::checkHeap(listPeak, inputSize, 40, 3 << 20, "listMembers");
    outcome.listed = listing.ok;
    if (!listing.ok) {
        FUZZ_CHECK(listing.members.isEmpty() && !listing.reason.isEmpty());
        return outcome;
    }
    const std::optional<ArchiveMember> member = Archive::spectrumMember(listing.members);
    if (!member)
        return outcome;
    FUZZ_CHECK(Archive::isSpectrumName(member->name));
    const QString base = Archive::baseName(member->name);
    FUZZ_CHECK(!base.isEmpty() && !base.contains(u'/') && !base.contains(u'\\') && base != u"..");

    const MemberBytes head = Archive::readMemberHead(source, *member, 4096);
    FUZZ_CHECK(head.bytes.size() <= 4096 && head.ok == head.reason.isEmpty());

    MemberBytes bytes;
    const qint64 readPeak =
        kivofuzz::peakHeap([&] { bytes = Archive::readMember(source, *member); });
    // The bytes (grown by doubling) of at most 1000 times the input, and the inflater's state.
    kivofuzz::checkHeap(readPeak, inputSize, 2 * Archive::kMaxRatio + 16, 4 << 20, "readMember");
    if (!bytes.ok) {
        FUZZ_CHECK(bytes.bytes.isEmpty() && !bytes.reason.isEmpty());
        return outcome;
    }
    const bool refused = !Archive::refusal(*member).isEmpty();
    FUZZ_CHECK(!refused);
    FUZZ_CHECK(bytes.bytes.size() <= Archive::kMaxMemberSize);
    FUZZ_CHECK(bytes.bytes.size() == member->size);
    FUZZ_CHECK(bytes.bytes.size() <= Archive::kMaxRatio * member->compressedSize);
    FUZZ_CHECK(quint32(crc32_z(0, reinterpret_cast<const Bytef *>(bytes.bytes.constData()),
                               size_t(bytes.bytes.size()))) == member->crc32);
    FUZZ_CHECK(head.ok && bytes.bytes.startsWith(head.bytes));
    outcome.read = true;
    outcome.bytes = bytes.bytes;
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    const Outcome zip =
        readSpectrumMember(ArchiveSource::memory(QStringLiteral("game.zip"), bytes), bytes.size());
    readSpectrumMember(ArchiveSource::memory(QStringLiteral("game.tap.gz"), bytes), bytes.size());

    // Through a file, as every reader above takes a rom file: the same bytes, or a reason.
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("game.zip"), bytes);
    const RomFileBytes rom = readRomFile(path);
    FUZZ_CHECK(rom.ok == zip.read);
    FUZZ_CHECK(rom.bytes == zip.bytes);
    FUZZ_CHECK(rom.ok || rom.reason.startsWith(QStringLiteral("Unable to read game.zip: ")));
    return 0;
}
