// The machine a rom file needs: from the head of a 128K Z80 (version 3), of an SZX and of a TZX
// whose hardware block follows its archive info and loader; from a file on disk, plain and
// zipped, and through the cache. The files are left in QDir::tempPath() as kivo-bench-machine.*.
#include "../tests/support/ArchiveMaker.h"
#include "../tests/support/SnapshotMaker.h"
#include "../tests/tape/TapeImages.h"

#include "tape/MachineReader.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

using namespace tapeimages;

namespace {

QByteArray code(int size, quint32 seed)
{
    QByteArray bytes(size, '\0');
    for (char &c : bytes) {
        seed = seed * 1664525u + 1013904223u;
        c = char(seed >> 24);
    }
    return bytes;
}

// Eight raw pages after the header.
QByteArray z80Snapshot()
{
    QByteArray bytes = testsupport::z80Header(54, 4);
    for (int number = 3; number <= 10; ++number)
        bytes += le(0xFFFF, 2) + char(number) + code(16384, quint32(number));
    return bytes;
}

QByteArray szxSnapshot()
{
    return testsupport::szxHeader(2) + "RAMP" + le(16387, 4) + code(16387, 5);
}

// Archive info, a loader and the hardware block, then the game: 100 KB in all.
QByteArray tzxTape()
{
    const QByteArray info = QByteArray(1, 0x32) + le(1 + 2 + 20, 2) + char(1) + char(0) + char(20) +
                            QByteArray("Some Game (128K) 87").leftJustified(20, ' ');
    QList<QByteArray> blocks = {info, standard(header(0, "loader", 200, 10)),
                                standard(data(code(200, 1))),
                                hardwareType({{0, 1, 3}, {0, 3, 1}, {3, 0, 1}})};
    for (int n = 0; n < 10; ++n)
        blocks += standard(data(code(10000, quint32(n))));
    return tzx(blocks);
}

QString benchFile(const QString &ending, const QByteArray &bytes)
{
    const QString path = QDir::temp().filePath(QStringLiteral("kivo-bench-machine.") + ending);
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(bytes);
    return path;
}

void checkMachine(benchmark::State &state, const MachineReading &reading, SpectrumMachine wanted)
{
    if (reading.machine != wanted)
        state.SkipWithError("the machine read is not the one the file names");
}

void timeHead(benchmark::State &state, const QByteArray &file, const QString &name)
{
    const QByteArray head = file.left(kMachineHeadBytes);
    MachineReading reading;
    for (auto _ : state) {
        reading = machineOf(head, file.size(), name);
        benchmark::DoNotOptimize(reading);
    }
    checkMachine(state, reading, SpectrumMachine::Spectrum128);
}

void BM_Z80V3Head(benchmark::State &state)
{
    timeHead(state, z80Snapshot(), QStringLiteral("game.z80"));
}
BENCHMARK(BM_Z80V3Head);

void BM_SzxHead(benchmark::State &state)
{
    timeHead(state, szxSnapshot(), QStringLiteral("game.szx"));
}
BENCHMARK(BM_SzxHead);

void BM_TzxHardwareBlockHead(benchmark::State &state)
{
    timeHead(state, tzxTape(), QStringLiteral("game.tzx"));
}
BENCHMARK(BM_TzxHardwareBlockHead);

// readMachine() of the tape: open, size, its first 4 KB.
void BM_ReadMachineFile(benchmark::State &state)
{
    const QString path = benchFile(QStringLiteral("tzx"), tzxTape());
    MachineReading reading;
    for (auto _ : state) {
        reading = readMachine(path);
        benchmark::DoNotOptimize(reading);
    }
    checkMachine(state, reading, SpectrumMachine::Spectrum128);
}
BENCHMARK(BM_ReadMachineFile)->Unit(benchmark::kMicrosecond);

// The same tape zipped: listing the archive and inflating 4 KB of the member.
void BM_ReadMachineZip(benchmark::State &state)
{
    const QString path =
        benchFile(QStringLiteral("zip"), testsupport::makeZip("game.tzx", tzxTape()));
    MachineReading reading;
    for (auto _ : state) {
        reading = readMachine(path);
        benchmark::DoNotOptimize(reading);
    }
    checkMachine(state, reading, SpectrumMachine::Spectrum128);
}
BENCHMARK(BM_ReadMachineZip)->Unit(benchmark::kMicrosecond);

// The cache once it holds the tape: the file's size and time, and a lookup.
void BM_CachedMachine(benchmark::State &state)
{
    const QString path = benchFile(QStringLiteral("tzx"), tzxTape());
    MachineCache cache;
    MachineReading reading = cache.machineOf(path);
    for (auto _ : state) {
        reading = cache.machineOf(path);
        benchmark::DoNotOptimize(reading);
    }
    checkMachine(state, reading, SpectrumMachine::Spectrum128);
}
BENCHMARK(BM_CachedMachine)->Unit(benchmark::kMicrosecond);

} // namespace
