// The library beside a catalogue of 100,000 entries, each with a row and one play session:
// loading the catalogue alone and with its library (the difference is what the library costs
// at Load), opening the library alone with the file's size, toggling a favourite, and a start
// and its end recorded.
#include "BenchCatalogue.h"

#include "core/DatFile.h"
#include "library/Library.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qint64 kStart = 1700000000;

// The catalogue and its library, made once for every benchmark of the program.
struct Collection
{
    QTemporaryDir dir;
    QString catalogue = dir.filePath(QStringLiteral("bench.dat"));
    RomDatabase entries = benchsupport::realisticCatalogue(100000);

    Collection()
    {
        SaveDatabase(entries, catalogue);
        Library library; // in memory until saved, as a new catalogue's is
        for (int slot = 0; slot < entries.EntryCount(); ++slot) {
            const LibraryKey key = LibraryKey::of(entries.Get(slot));
            library.recordEnd(library.recordStart(key, kStart + slot).session, 60 + slot % 3600);
            if (slot % 7 == 0)
                library.setFavourite(key, true);
        }
        library.saveAs(catalogue);
    }
};

Collection &collection()
{
    static Collection made;
    return made;
}

void BM_LoadCatalogue(benchmark::State &state)
{
    const QString &catalogue = collection().catalogue;
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        benchmark::DoNotOptimize(LoadDatabase(database, paths, catalogue));
        state.PauseTiming(); // freeing is not part of loading
        database.Reset();
        state.ResumeTiming();
    }
}

void BM_LoadCatalogueWithLibrary(benchmark::State &state)
{
    const QString &catalogue = collection().catalogue;
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        auto library = std::make_unique<Library>();
        benchmark::DoNotOptimize(LoadDatabase(database, paths, catalogue));
        if (library->open(catalogue) || library->rowCount() != 100000)
            state.SkipWithError("the library did not open whole");
        state.PauseTiming();
        database.Reset();
        library.reset();
        state.ResumeTiming();
    }
}

void BM_OpenLibrary(benchmark::State &state)
{
    const QString &catalogue = collection().catalogue;
    for (auto _ : state) {
        auto library = std::make_unique<Library>();
        if (library->open(catalogue) || library->rowCount() != 100000)
            state.SkipWithError("the library did not open whole");
        state.PauseTiming();
        library.reset();
        state.ResumeTiming();
    }
    state.counters["file_MB"] = double(QFileInfo(Library::pathFor(catalogue)).size()) / 1e6;
}

void BM_ToggleFavourite(benchmark::State &state)
{
    Library library;
    library.open(collection().catalogue);
    const LibraryKey key = LibraryKey::of(collection().entries.Get(50000));
    for (auto _ : state) {
        if (!library.setFavourite(key, !library.row(key).favourite).ok)
            state.SkipWithError("the favourite was not recorded");
    }
}

void BM_RecordStartAndEnd(benchmark::State &state)
{
    Library library;
    library.open(collection().catalogue);
    const LibraryKey key = LibraryKey::of(collection().entries.Get(50000));
    for (auto _ : state) {
        const LibraryWrite start = library.recordStart(key, kStart);
        if (!start.ok || !library.recordEnd(start.session, 600).ok)
            state.SkipWithError("the session was not recorded");
    }
}

} // namespace

BENCHMARK(BM_LoadCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCatalogueWithLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenLibrary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToggleFavourite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecordStartAndEnd)->Unit(benchmark::kMicrosecond);
