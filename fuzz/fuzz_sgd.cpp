// An SGD data file: its records read from a file and from bytes, turned into entries and added
// to the catalogue, merging and replacing, with the count the import wizard lists.

#include "CatalogueShape.h"
#include "FuzzSupport.h"

#include "interchange/ImportFiles.h"
#include "interchange/SgdImport.h"

#include <cstring>

namespace {

constexpr qsizetype kRecord = SgdDataFile::kRecordSize;

RomDatabase startingCatalogue()
{
    RomDatabase database;
    RomRecord record;
    record.RomName = QStringLiteral("Already Here");
    database.Add(record);
    return database;
}

bool trimmed(const QString &text)
{
    return !text.startsWith(u' ') && !text.endsWith(u' ');
}

// What one record can give: its fields' widths, cleaned.
void checkEntry(const RomRecord &entry)
{
    static const QList<qint32> kTypes = {0, 15, 29, 16, 36, 43, 71, 85, 93, 94, 101};
    FUZZ_CHECK(entry.isEntry());
    FUZZ_CHECK(entry.RomName.size() <= 37 && trimmed(entry.RomName));
    FUZZ_CHECK(entry.Publisher.size() <= 37 && trimmed(entry.Publisher));
    FUZZ_CHECK(entry.RomFile.size() <= 13 && !entry.RomFile.contains(u' '));
    FUZZ_CHECK(entry.Authors.size() <= 102 && trimmed(entry.Authors));
    FUZZ_CHECK(!entry.RomName.contains(QStringLiteral("\r\n")));
    FUZZ_CHECK(kTypes.contains(entry.RomType));
    FUZZ_CHECK(entry.Screenshots.isEmpty() && entry.Notes.isEmpty() && entry.AudioFile.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("GAMES.DAT"), bytes);

    SgdLoadResult loaded;
    const qint64 peak = kivofuzz::peakHeap([&] { loaded = LoadSgdDataFile(path); });
    // Whole records: at most half a record more than the file.
    kivofuzz::checkHeap(peak, bytes.size(), 2, 1 << 16, "LoadSgdDataFile");
    FUZZ_CHECK(loaded.ok);
    const SgdDataFile &file = loaded.data;
    const qsizetype records = SgdDataFile::recordCountForLength(bytes.size());
    FUZZ_CHECK(file.recordCount() == records);
    FUZZ_CHECK(records * kRecord <= bytes.size() + kRecord / 2);
    FUZZ_CHECK(records * kRecord + kRecord / 2 >= bytes.size());

    // The file read from bytes holds the same records: the file's bytes, zeros past its end.
    const SgdDataFile fromBytes(bytes);
    FUZZ_CHECK(fromBytes.recordCount() == records);
    for (qsizetype i = 0; i < records; ++i) {
        FUZZ_CHECK(std::memcmp(file.record(i), fromBytes.record(i), size_t(kRecord)) == 0);
        const qsizetype start = i * kRecord;
        const qsizetype present = std::clamp<qsizetype>(bytes.size() - start, 0, kRecord);
        FUZZ_CHECK(std::memcmp(file.record(i), bytes.constData() + start, size_t(present)) == 0);
        for (qsizetype j = present; j < kRecord; ++j)
            FUZZ_CHECK(file.record(i)[j] == 0);
    }

    // Merging: every record but the last is added or skipped, after the entries already there.
    const qint64 listed = sgdEntryCount(bytes.size());
    RomDatabase merged = startingCatalogue();
    const int kept = merged.EntryCount();
    qint64 lastDone = -1;
    ImportResult result;
    const qint64 addPeak = kivofuzz::peakHeap([&] {
        result = addSgdRecords(merged, file, false, [&](qint64 done, qint64 total) {
            FUZZ_CHECK(done >= lastDone && done <= total && total == listed);
            lastDone = done;
        });
    });
    // A 252-byte record becomes a 176-byte one and at most 300 bytes of text.
    kivofuzz::checkHeap(addPeak, bytes.size(), 8, 1 << 16, "addSgdRecords");
    kivofuzz::checkCatalogueShape(merged);
    FUZZ_CHECK(result.ok);
    FUZZ_CHECK(result.added + result.skipped == listed);
    FUZZ_CHECK(merged.EntryCount() == kept + result.added);
    FUZZ_CHECK(merged.Get(0) == startingCatalogue().Get(0));
    for (int i = kept; i < merged.EntryCount(); ++i)
        checkEntry(merged.Get(i));

    // Replacing gives the same entries without the old ones.
    RomDatabase replaced = startingCatalogue();
    const ImportResult replacing = addSgdRecords(replaced, file, true);
    kivofuzz::checkCatalogueShape(replaced);
    FUZZ_CHECK(replacing.added == result.added && replacing.skipped == result.skipped);
    FUZZ_CHECK(replaced.slots() == merged.slots().sliced(kept));
    return 0;
}
