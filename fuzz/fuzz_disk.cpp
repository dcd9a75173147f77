// TR-DOS disks and SCL archives: every input is read as both. A listing never holds more files
// than its directory has room for, a file's bytes always lie inside the image and within its
// length, and a BASIC LINE is one a Spectrum can start at.

#include "FuzzSupport.h"

#include "tape/DiskImage.h"

namespace {

void checkListing(const QByteArray &image, const DiskListing &listing, qsizetype mostFiles)
{
    FUZZ_CHECK(listing.files.size() <= mostFiles);
    FUZZ_CHECK(listing.label.size() <= 8);
    for (const DiskFile &file : listing.files) {
        FUZZ_CHECK(file.name.size() <= 8 && file.kind.size() <= 1);
        FUZZ_CHECK(file.offset < image.size());
        FUZZ_CHECK(file.sectors >= 0 && file.sectors <= 255);
        FUZZ_CHECK(file.length >= 0 && file.length <= 0xFFFF);
        FUZZ_CHECK(file.start >= -1 && file.start <= 0xFFFF);
        if (file.kind == u"B")
            FUZZ_CHECK(file.start < 32768);
        const QByteArray bytes = diskFileBytes(image, file);
        FUZZ_CHECK(bytes.size() <= file.length && bytes.size() <= qint64(file.sectors) * 256);
        if (!bytes.isEmpty())
            FUZZ_CHECK(bytes == image.mid(file.offset, bytes.size()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray image = kivofuzz::bytesOf(data, size);
    if (const std::optional<DiskListing> trd = readTrdImage(image)) {
        FUZZ_CHECK(trd->format == DiskFormat::TrDos && trd->freeBytes >= 0);
        checkListing(image, *trd, 128);
    }
    if (const std::optional<DiskListing> scl = readSclImage(image)) {
        FUZZ_CHECK(scl->format == DiskFormat::Scl && image.startsWith("SINCLAIR"));
        checkListing(image, *scl, 255);
    }
    return 0;
}
