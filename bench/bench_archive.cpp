// Zipped rom files: finding the Spectrum member of a one-member zip, and running a zipped
// 100 KB tape (first run: extract and start; later runs: the cached file) beside a plain one.
// The process starter records, so only our side of a launch is timed.
#include "../tests/support/ArchiveMaker.h"
#include "archive/Archive.h"
#include "launch/Launcher.h"
#include "launch/ProcessStarter.h"
#include "launch/RunCache.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class CountingStarter : public ProcessStarter
{
public:
    int starts = 0;
    bool start(const ProcessRequest &request, const EndHandler &) override
    {
        starts += int(request.arguments.size());
        return true;
    }
};

// A tape's bytes compress about 2 : 1, as real ones do.
QByteArray tapeBytes()
{
    QByteArray bytes(100 * 1024, Qt::Uninitialized);
    quint32 state = 1;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = char((state >> 24) & (i % 2 ? 0xFF : 0x0F));
    }
    return bytes;
}

struct Setup
{
    QTemporaryDir dir;
    QString roms = dir.filePath(QStringLiteral("roms/"));
    ProgramList emulators;
    SearchPaths paths;

    Setup()
    {
        QDir().mkpath(roms);
        const QByteArray tape = tapeBytes();
        write(QStringLiteral("plain.tzx"), tape);
        write(QStringLiteral("zipped.zip"), testsupport::makeZip("zipped.tzx", tape));
        const QString emulator = dir.filePath(QStringLiteral("emulator"));
        write(emulator, "#!/bin/sh\n");
        emulators.entries.append({QStringLiteral("emulator"), emulator});
        emulators.defaultIndex = 0;
        paths[PathKind::Rom].setDirs({roms});
    }
    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(name.startsWith(u'/') ? name : roms + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            std::abort();
    }
    Launch plan(const char *romFile) const
    {
        RomRecord record;
        record.RomFile = QLatin1String(romFile);
        return planRun(record, emulators, kDefaultEmulator, paths);
    }
};

void BM_SpectrumMemberOfOneMemberZip(benchmark::State &state)
{
    Setup setup;
    const QString path = setup.roms + QStringLiteral("zipped.zip");
    for (auto _ : state) {
        const ArchiveListing listing = Archive::listMembers(path);
        benchmark::DoNotOptimize(Archive::spectrumMember(listing.members));
    }
}
BENCHMARK(BM_SpectrumMemberOfOneMemberZip)->Unit(benchmark::kMicrosecond);

void BM_RunPlainTape(benchmark::State &state)
{
    Setup setup;
    RunCache cache(setup.dir.filePath(QStringLiteral("cache")));
    CountingStarter starter;
    for (auto _ : state) {
        const Launch launch = setup.plan("plain.tzx");
        benchmark::DoNotOptimize(carryOut(launch, starter, cache));
    }
}
BENCHMARK(BM_RunPlainTape)->Unit(benchmark::kMicrosecond);

// Every run in a cache of its own, so every one extracts.
void BM_RunZippedTapeFirstTime(benchmark::State &state)
{
    Setup setup;
    CountingStarter starter;
    int run = 0;
    for (auto _ : state) {
        RunCache cache(setup.dir.filePath(QStringLiteral("cache%1").arg(run++)));
        const Launch launch = setup.plan("zipped.zip");
        benchmark::DoNotOptimize(carryOut(launch, starter, cache));
    }
    if (starter.starts != run)
        state.SkipWithError("not every run started");
}
BENCHMARK(BM_RunZippedTapeFirstTime)->Unit(benchmark::kMicrosecond);

void BM_RunZippedTapeAgain(benchmark::State &state)
{
    Setup setup;
    RunCache cache(setup.dir.filePath(QStringLiteral("cache")));
    CountingStarter starter;
    carryOut(setup.plan("zipped.zip"), starter, cache);
    for (auto _ : state) {
        const Launch launch = setup.plan("zipped.zip");
        benchmark::DoNotOptimize(carryOut(launch, starter, cache));
    }
}
BENCHMARK(BM_RunZippedTapeAgain)->Unit(benchmark::kMicrosecond);

} // namespace
