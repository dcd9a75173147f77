// Reading a disk's directory: a full 640 KB TR-DOS disk of 128 files, and an SCL archive of the
// same files. Goal: within 0.5 ms each.
#include "../tests/support/DiskMaker.h"
#include "tape/DiskImage.h"

#include <benchmark/benchmark.h>

namespace {

QList<testsupport::TrDosFileSpec> files128()
{
    QList<testsupport::TrDosFileSpec> files;
    for (int i = 0; i < 128; ++i) {
        const QByteArray name = "file" + QByteArray::number(i);
        if (i % 8 == 0)
            files.append(
                {name, 'B', 300, 300, testsupport::basicWithLine(QByteArray(300, 'p'), 10)});
        else
            files.append({name, 'C', 32768, 4608, QByteArray(4608, 'c')});
    }
    return files;
}

void BM_ListFullTrd(benchmark::State &state)
{
    const QByteArray image = testsupport::makeTrd(files128());
    for (auto _ : state) {
        const std::optional<DiskListing> listing = readTrdImage(image);
        benchmark::DoNotOptimize(listing->files.size());
    }
    state.counters["files"] = double(readTrdImage(image)->files.size());
}
BENCHMARK(BM_ListFullTrd)->Unit(benchmark::kMicrosecond);

// The whole archive is summed for its checksum.
void BM_ListScl(benchmark::State &state)
{
    const QByteArray image = testsupport::makeScl(files128().first(120));
    for (auto _ : state) {
        const std::optional<DiskListing> listing = readSclImage(image);
        benchmark::DoNotOptimize(listing->files.size());
    }
    state.counters["bytes"] = double(image.size());
}
BENCHMARK(BM_ListScl)->Unit(benchmark::kMicrosecond);

} // namespace
