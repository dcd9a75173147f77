// The loading screen read from a packed 48K Z80 and from a TZX of 10,000 blocks whose screen is
// block 3; kivo-cli screen beside kivo-cli render on the same screen, as whole processes. The
// files are left in QDir::tempPath() as kivo-bench-screen.*.
#include "../tests/support/SnapshotMaker.h"
#include "../tests/tape/TapeImages.h"
#include "BenchSupport.h"

#include "tape/LoadingScreen.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

using namespace tapeimages;
using testsupport::z80Pack;

namespace {

constexpr int kBlocks = 10000;

// A picture as games have them: runs of paper, detail in between, a few colours.
QByteArray picture()
{
    QByteArray screen(6912, '\0');
    quint32 state = 1;
    for (int i = 0; i < 6144; ++i) {
        state = state * 1664525u + 1013904223u;
        screen[i] = (i / 256) % 3 == 0 ? char(state >> 24) : char(0);
    }
    for (int i = 6144; i < 6912; ++i)
        screen[i] = char(0x38 + (i / 32) % 8);
    return screen;
}

// A version-1 48K snapshot: the picture, then 40 KB of code-like bytes and empty memory.
QByteArray z80Snapshot()
{
    QByteArray ram = picture();
    quint32 state = 7;
    while (ram.size() < 3 * 16384) {
        state = state * 1664525u + 1013904223u;
        ram += ram.size() < 32768 ? char(state >> 24) : char(0);
    }
    QByteArray header(30, '\0');
    header[6] = char(0x34);
    header[12] = char(0x20);
    return header + z80Pack(ram) + QByteArray("\0\xED\xED\0", 4);
}

// A loader, the screen, then 9,996 blocks of a long game tape.
QByteArray tzxImage()
{
    QByteArray image = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
    image += standard(header(0, "loader", 20, 10));
    image += standard(data(QByteArray(20, 'p')));
    image += standard(header(3, "screen", 6912, 16384));
    image += standard(data(picture()));
    for (int n = 4; n < kBlocks; n += 2) {
        image += standard(header(3, "part" + QByteArray::number(n), 256, 32768));
        image += standard(data(QByteArray(256, 'x')));
    }
    return image;
}

QString benchFile(const QString &ending, const QByteArray &bytes)
{
    const QString path = QDir::temp().filePath(QStringLiteral("kivo-bench-screen.") + ending);
    QFile out(path);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(bytes);
    return path;
}

void checkFound(benchmark::State &state, const std::optional<LoadingScreen> &found,
                const QString &source)
{
    if (!found || found->screen != picture() || found->source != source)
        state.SkipWithError("the screen was not found where it is");
}

void BM_Z80Packed48K(benchmark::State &state)
{
    const QByteArray bytes = z80Snapshot();
    std::optional<LoadingScreen> found;
    for (auto _ : state) {
        found = loadingScreenOf(bytes, QStringLiteral("game.z80"));
        benchmark::DoNotOptimize(found);
    }
    checkFound(state, found, QStringLiteral("snapshot RAM page 5"));
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_Z80Packed48K)->Unit(benchmark::kMicrosecond);

void BM_Tzx10000BlocksScreenAt3(benchmark::State &state)
{
    const QByteArray bytes = tzxImage();
    std::optional<LoadingScreen> found;
    for (auto _ : state) {
        found = loadingScreenOf(bytes, QStringLiteral("game.tzx"));
        benchmark::DoNotOptimize(found);
    }
    checkFound(state, found, QStringLiteral("tape block 3"));
    state.counters["file_bytes"] = double(bytes.size());
}
BENCHMARK(BM_Tzx10000BlocksScreenAt3)->Unit(benchmark::kMicrosecond);

// The same from the file, read whole first.
void BM_Tzx10000BlocksFile(benchmark::State &state)
{
    const QString path = benchFile(QStringLiteral("tzx"), tzxImage());
    LoadingScreenFile read;
    for (auto _ : state) {
        read = readLoadingScreen(path);
        benchmark::DoNotOptimize(read);
    }
    checkFound(state, read.screen, QStringLiteral("tape block 3"));
}
BENCHMARK(BM_Tzx10000BlocksFile)->Unit(benchmark::kMicrosecond);

// kivo-cli screen of the TZX to PNG beside kivo-cli render of the same screen as .scr. Each
// run ends by syncing the PNG to disc, which dominates the time on a busy machine; the TZX's
// 1.4 MB cost some 350 page faults more.
void BM_CliScreen(benchmark::State &state)
{
    const QString tape = benchFile(QStringLiteral("tzx"), tzxImage());
    benchsupport::timeProcessRuns(
        state, QStringLiteral(KIVO_CLI),
        {QStringLiteral("screen"), tape,
         QDir::temp().filePath(QStringLiteral("kivo-bench-screen-out.png"))});
}
BENCHMARK(BM_CliScreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// The same screen from a TAP that holds nothing else, a file the size of the .scr.
void BM_CliScreenSmallTap(benchmark::State &state)
{
    const QByteArray tap =
        le(19, 2) + header(3, "screen", 6912, 16384) + le(6914, 2) + data(picture());
    const QString path = benchFile(QStringLiteral("tap"), tap);
    benchsupport::timeProcessRuns(
        state, QStringLiteral(KIVO_CLI),
        {QStringLiteral("screen"), path,
         QDir::temp().filePath(QStringLiteral("kivo-bench-screen-out.png"))});
}
BENCHMARK(BM_CliScreenSmallTap)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

void BM_CliRender(benchmark::State &state)
{
    const QString scr = benchFile(QStringLiteral("scr"), picture());
    benchsupport::timeProcessRuns(
        state, QStringLiteral(KIVO_CLI),
        {QStringLiteral("render"), scr,
         QDir::temp().filePath(QStringLiteral("kivo-bench-render-out.png"))});
}
BENCHMARK(BM_CliRender)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::startProcessRunner();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
