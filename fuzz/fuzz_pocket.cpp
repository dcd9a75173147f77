// The pocket catalogue (.kvl): the import from bytes and from a file, the count the import wizard
// lists, and an export read back.

#include "CatalogueShape.h"
#include "FuzzSupport.h"

#include "interchange/PocketDatabase.h"

namespace {

RomDatabase startingCatalogue()
{
    RomDatabase database;
    RomRecord record;
    record.RomName = QStringLiteral("Already Here");
    record.Notes = QStringLiteral("two\r\nlines");
    database.Add(record);
    return database;
}

qsizetype textSize(const RomRecord &r)
{
    return r.RomName.size() + r.Screenshots.size() + r.Notes.size() + r.RomFile.size() +
           r.Publisher.size() + r.Authors.size() + r.AudioFile.size();
}

// What the writer makes of a field that may not hold line breaks.
QString singleLine(QString text)
{
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

struct Imported
{
    RomDatabase database = startingCatalogue();
    ImportResult result;
};

Imported importBytes(const QByteArray &bytes)
{
    Imported imported;
    qint64 lastDone = -1;
    imported.result = importPocketBytes(imported.database, bytes, [&](qint64 done, qint64 total) {
        FUZZ_CHECK(done >= 0 && done <= total);
        FUZZ_CHECK(done >= lastDone);
        lastDone = done;
    });
    return imported;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    const int kept = startingCatalogue().EntryCount();

    Imported first;
    const qint64 peak = kivofuzz::peakHeap([&] { first = importBytes(bytes); });
    // The smallest line that makes an entry is 12 bytes ("aÞ0ÞÞ0ÞÞÞÞÞ" and CR LF); its record
    // takes 176 bytes and the catalogue's array grows by half again or doubles.
    kivofuzz::checkHeap(peak, bytes.size(), 64, 64 << 10, "importPocketBytes");

    kivofuzz::checkCatalogueShape(first.database);
    FUZZ_CHECK(first.result.ok);
    FUZZ_CHECK(first.result.added >= 0 && first.result.skipped >= 0);
    FUZZ_CHECK(first.database.EntryCount() == kept + first.result.added);
    FUZZ_CHECK(first.database.slots().first(kept) == startingCatalogue().slots().first(kept));
    // An entry needs eight separators on its line, a skipped line at least one.
    const qsizetype separators = bytes.count(kPocketSeparator);
    FUZZ_CHECK(qsizetype(first.result.added) * 8 + first.result.skipped <= separators);
    // The wizard's count leaves out the header line; a file without one has a line more.
    FUZZ_CHECK(first.result.added + first.result.skipped <= pocketEntryCount(bytes) + 1);
    qsizetype text = 0;
    for (const RomRecord &record : first.database.slots().sliced(kept))
        text += textSize(record);
    FUZZ_CHECK(text <= bytes.size());

    // The file reader reads the same.
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("pocket.kvl"), bytes);
    RomDatabase fromFile = startingCatalogue();
    const ImportResult fileResult = ImportPocketDatabase(fromFile, path);
    FUZZ_CHECK(fileResult.ok);
    FUZZ_CHECK(fileResult.added == first.result.added);
    FUZZ_CHECK(fileResult.skipped == first.result.skipped);
    FUZZ_CHECK(fromFile.slots() == first.database.slots());

    // The export reads back as every entry it was made from, fields that may not hold line
    // breaks with blanks for them, and exports again to the same bytes.
    const QByteArray exported = pocketExportBytes(first.database);
    FUZZ_CHECK(exported.startsWith(kPocketHeader + "\r\n"));
    FUZZ_CHECK(pocketEntryCount(exported) == first.database.EntryCount());
    RomDatabase back;
    const ImportResult backResult = importPocketBytes(back, exported);
    FUZZ_CHECK(backResult.skipped == 0);
    FUZZ_CHECK(back.EntryCount() == first.database.EntryCount());
    for (int i = 0; i < back.EntryCount(); ++i) {
        const RomRecord &was = first.database.Get(i);
        const RomRecord &now = back.Get(i);
        FUZZ_CHECK(now.RomName == singleLine(was.RomName));
        FUZZ_CHECK(now.RomType == was.RomType);
        FUZZ_CHECK(now.Screenshots == singleLine(was.Screenshots));
        FUZZ_CHECK(now.Year == was.Year);
        FUZZ_CHECK(now.Notes == was.Notes);
        FUZZ_CHECK(now.RomFile == singleLine(was.RomFile));
        FUZZ_CHECK(now.Publisher == singleLine(was.Publisher));
        FUZZ_CHECK(now.Authors == was.Authors);
        FUZZ_CHECK(now.AudioFile == singleLine(was.AudioFile));
    }
    FUZZ_CHECK(pocketExportBytes(back) == exported);
    return 0;
}
