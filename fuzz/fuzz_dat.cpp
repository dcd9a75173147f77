// The .dat catalogue: loading and merging from bytes and through a file (which reads through a
// window of the file's bytes), the count the import wizard lists, and a save read back.

#include "CatalogueShape.h"
#include "FuzzSupport.h"

#include "core/DatFile.h"
#include "interchange/ImportFiles.h"

namespace {

constexpr qsizetype kHeaderSize = 12;
constexpr qsizetype kSmallestRecord = 32; // version 1: six empty strings and two integers

RomRecord entry(const QString &name, const QString &romFile)
{
    RomRecord record;
    record.RomName = name;
    record.RomFile = romFile;
    record.Year = 1984;
    return record;
}

// A catalogue that already holds entries, so a merge has something to append to and a rejected
// file has something to leave alone.
RomDatabase startingCatalogue()
{
    RomDatabase database;
    database.Add(entry(QStringLiteral("Before One"), QStringLiteral("one.tap")));
    database.Add(entry(QStringLiteral("Before Two"), QStringLiteral("two.tzx")));
    return database;
}

qsizetype textSize(const RomRecord &r)
{
    return r.RomName.size() + r.Screenshots.size() + r.Notes.size() + r.RomFile.size() +
           r.Publisher.size() + r.Authors.size() + r.AudioFile.size();
}

bool samePaths(const SearchPaths &a, const SearchPaths &b)
{
    for (const PathKind kind : {PathKind::Rom, PathKind::Screenshot, PathKind::Music}) {
        if (a[kind].dirs() != b[kind].dirs())
            return false;
    }
    return true;
}

qsizetype pathsSize(const SearchPaths &paths)
{
    qsizetype size = 0;
    for (const PathKind kind : {PathKind::Rom, PathKind::Screenshot, PathKind::Music}) {
        for (const QString &dir : paths[kind].dirs())
            size += dir.size();
    }
    return size;
}

bool sameResult(const DatResult &a, const DatResult &b)
{
    return a.ok == b.ok && a.damaged == b.damaged && a.entriesRead == b.entriesRead;
}

struct Loaded
{
    RomDatabase database = startingCatalogue();
    SearchPaths paths;
    DatResult result;
};

void checkLoad(const QByteArray &bytes, const Loaded &load)
{
    const RomDatabase before = startingCatalogue();
    kivofuzz::checkCatalogueShape(load.database);
    if (!load.result.ok) {
        // A rejected file leaves the catalogue as it was and says why.
        FUZZ_CHECK(load.database.slots() == before.slots());
        FUZZ_CHECK(!load.result.messages.isEmpty());
        return;
    }
    FUZZ_CHECK(load.result.entriesRead == load.database.EntryCount());
    // No record is smaller than 32 bytes, and the count is never believed beyond that, so the
    // file cannot give more entries than it could hold (plus one that ran past its end).
    FUZZ_CHECK(load.database.EntryCount() <=
               std::max<qsizetype>(bytes.size() - kHeaderSize, 0) / kSmallestRecord + 1);
    // Every character comes from one byte of the file.
    qsizetype text = pathsSize(load.paths);
    for (const RomRecord &record : load.database.slots())
        text += textSize(record);
    FUZZ_CHECK(text <= bytes.size());
    // The import wizard lists what the reader reads: its count leaves out the trailing slot,
    // which only a damaged file fills.
    const qint64 listed = ownDatabaseEntryCount(bytes.left(kHeaderSize), bytes.size());
    FUZZ_CHECK(listed >= 0);
    FUZZ_CHECK(load.result.entriesRead <= listed + (load.result.damaged ? 1 : 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);

    // Loading from bytes replaces the catalogue.
    Loaded fromBytes;
    const qint64 peak = kivofuzz::peakHeap(
        [&] { fromBytes.result = loadDatabaseBytes(fromBytes.database, fromBytes.paths, bytes); });
    // A 32-byte record becomes a 176-byte one; its text at most doubles in UTF-16.
    kivofuzz::checkHeap(peak, bytes.size(), 16, 64 << 10, "loadDatabaseBytes");
    checkLoad(bytes, fromBytes);

    // The file reader goes through a window of the file and must read exactly the same.
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("catalogue.dat"), bytes);
    Loaded fromFile;
    fromFile.result = LoadDatabase(fromFile.database, fromFile.paths, path);
    FUZZ_CHECK(sameResult(fromFile.result, fromBytes.result));
    FUZZ_CHECK(fromFile.database.slots() == fromBytes.database.slots());
    FUZZ_CHECK(samePaths(fromFile.paths, fromBytes.paths));

    // Merging appends the same entries after the ones already there, from bytes and from a file.
    Loaded merged;
    const qint64 mergePeak = kivofuzz::peakHeap(
        [&] { merged.result = mergeDatabaseBytes(merged.database, merged.paths, bytes); });
    kivofuzz::checkHeap(mergePeak, bytes.size(), 32, 64 << 10, "mergeDatabaseBytes");
    kivofuzz::checkCatalogueShape(merged.database);
    FUZZ_CHECK(merged.result.ok == fromBytes.result.ok);
    FUZZ_CHECK(merged.result.entriesRead == fromBytes.result.entriesRead);
    FUZZ_CHECK(merged.result.damaged == fromBytes.result.damaged);
    const RomDatabase before = startingCatalogue();
    const int kept = before.EntryCount();
    if (merged.result.ok) {
        FUZZ_CHECK(merged.database.EntryCount() == kept + fromBytes.result.entriesRead);
        FUZZ_CHECK(merged.database.slots().first(kept) == before.slots().first(kept));
        FUZZ_CHECK(merged.database.slots().sliced(kept) == fromBytes.database.slots());
        FUZZ_CHECK(samePaths(merged.paths, fromBytes.paths));
    } else {
        FUZZ_CHECK(merged.database.slots() == before.slots());
    }
    Loaded mergedFromFile;
    mergedFromFile.result = MergeDatabase(mergedFromFile.database, mergedFromFile.paths, path);
    FUZZ_CHECK(sameResult(mergedFromFile.result, merged.result));
    FUZZ_CHECK(mergedFromFile.database.slots() == merged.database.slots());

    // A file cut short reads as the entries before the cut, the last of them perhaps cut too.
    if (fromBytes.result.ok) {
        Loaded cut;
        cut.result = loadDatabaseBytes(cut.database, cut.paths, bytes.left(bytes.size() * 3 / 4));
        kivofuzz::checkCatalogueShape(cut.database);
        if (cut.result.ok) {
            const int n = cut.database.EntryCount();
            FUZZ_CHECK(n <= fromBytes.database.EntryCount());
            for (int i = 0; i + 1 < n; ++i)
                FUZZ_CHECK(cut.database.Get(i) == fromBytes.database.Get(i));
        }
    }

    // What was loaded saves and loads back unchanged, with nothing reported damaged.
    if (fromBytes.result.ok) {
        const QByteArray saved = serializeDatabase(fromBytes.database, kCurrentDatabaseVersion);
        Loaded again;
        again.result = loadDatabaseBytes(again.database, again.paths, saved);
        FUZZ_CHECK(again.result.ok);
        FUZZ_CHECK(!again.result.damaged);
        FUZZ_CHECK(again.result.messages.isEmpty());
        FUZZ_CHECK(again.database.slots() == fromBytes.database.slots());
        FUZZ_CHECK(ownDatabaseEntryCount(saved.left(kHeaderSize), saved.size()) ==
                   fromBytes.database.EntryCount());
    }
    return 0;
}
