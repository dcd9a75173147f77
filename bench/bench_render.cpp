// Drawing a Spectrum screen, and loading the pictures of a strip: 25 .scr screens and 25 JPEG
// pictures of 256 x 192, first into a fresh loader (every file read and decoded) and then again
// from what the loader kept. The files sit in the page cache; disk time is not measured.
#include "render/DisplayZX.h"
#include "render/NoScreenshot.h"
#include "render/PictureLoader.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kScreens = 25;
constexpr int kJpegs = 25;

// A screen like a game's: mostly empty bytes between drawn ones, cells of every colour, a few
// flashing.
QByteArray gameScreen(quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray screen(kScreenBytes, '\0');
    for (int i = 0; i < kBitmapBytes; ++i)
        screen[i] = random.bounded(3) == 0 ? char(random.bounded(256)) : '\0';
    for (int i = kBitmapBytes; i < kScreenBytes; ++i)
        screen[i] = char(random.bounded(0x100) & (random.bounded(20) == 0 ? 0xFF : 0x7F));
    return screen;
}

struct StripFiles
{
    QTemporaryDir dir;
    QStringList paths;
    explicit StripFiles(int screens = kScreens, int jpegs = kJpegs)
    {
        for (int i = 0; i < screens; ++i) {
            const QString path = dir.filePath(QStringLiteral("screen%1.scr").arg(i));
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(gameScreen(quint32(i)));
            paths.append(path);
        }
        for (int i = 0; i < jpegs; ++i) {
            const QString path = dir.filePath(QStringLiteral("shot%1.jpg").arg(i));
            QImageWriter writer(path, "jpeg");
            writer.write(DisplayZX(gameScreen(quint32(1000 + i))));
            paths.append(path);
        }
    }
};

void BM_DisplayZX(benchmark::State &state)
{
    const QByteArray screen = gameScreen(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(DisplayZX(screen, int(state.range(0))));
}

// Arguments: how many screens and how many JPEG pictures.
void BM_LoadStripCold(benchmark::State &state)
{
    const StripFiles files(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        PictureLoader loader;
        for (const QString &path : files.paths)
            benchmark::DoNotOptimize(loader.load(path));
        state.PauseTiming(); // freeing the pictures is not part of loading them
        loader.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * files.paths.size());
}

void BM_LoadStripCached(benchmark::State &state)
{
    const StripFiles files;
    PictureLoader loader;
    for (const QString &path : files.paths)
        loader.load(path);
    for (auto _ : state) {
        for (const QString &path : files.paths)
            benchmark::DoNotOptimize(loader.load(path));
    }
    if (loader.decodes() != files.paths.size())
        state.SkipWithError("the cached loads decoded again");
    state.SetItemsProcessed(state.iterations() * files.paths.size());
}

void BM_DrawPicNoSS(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(drawPicNoSS());
}

} // namespace

BENCHMARK(BM_DisplayZX)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadStripCold)
    ->Args({kScreens, kJpegs})
    ->Args({kScreens, 0})
    ->Args({0, kJpegs})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStripCached)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawPicNoSS)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
