// Reading and listing a long tape: 10,000 blocks of the kinds real tapes hold. The image is
// left at QDir::tempPath()/kivo-bench-10000.tzx so other listers can be timed on the same file.
#include "BenchSupport.h"

#include "tape/TapeListing.h"
#include "tape/TapeReader.h"
#include "ui/common/Dialogs.h"
#include "ui/tape/frmTaper.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableView>

#include <benchmark/benchmark.h>

namespace {

constexpr int kBlocks = 10000;

QByteArray le(quint32 value, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

QByteArray withChecksum(QByteArray bytes)
{
    char sum = 0;
    for (char c : bytes)
        sum = char(sum ^ c);
    return bytes + sum;
}

QByteArray standard(const QByteArray &spectrum)
{
    return QByteArray(1, 0x10) + le(1000, 2) + le(spectrum.size(), 2) + spectrum;
}

// Ten blocks, repeated: a CODE file (header, 2 KB of data), a turbo data block, tones and
// pulses, a pause, a group with a text and a custom-info block.
QByteArray benchImage()
{
    QByteArray image = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
    for (int n = 0; n < kBlocks / 10; ++n) {
        const QByteArray name = QByteArray("part") + QByteArray::number(n).rightJustified(6, '0');
        const QByteArray header = withChecksum(QByteArray(1, '\0') + char(3) + name + le(2048, 2) +
                                               le(32768, 2) + le(32768, 2));
        const QByteArray data = withChecksum(QByteArray(1, char(0xFF)) + QByteArray(2048, 'x'));
        const QByteArray turbo = withChecksum(QByteArray(1, char(0xFF)) + QByteArray(512, 'y'));
        image += standard(header) + standard(data);
        image += QByteArray(1, 0x11) + QByteArray(15, '\x10') + le(turbo.size(), 3) + turbo;
        image += QByteArray(1, 0x12) + le(2168, 2) + le(3223, 2);
        image += QByteArray(1, 0x13) + char(2) + le(667, 2) + le(735, 2);
        image += QByteArray(1, 0x20) + le(1000, 2);
        image += QByteArray(1, 0x21) + char(5) + "Level";
        image += QByteArray(1, 0x30) + char(11) + "Side A done";
        image += QByteArray(1, 0x22);
        image +=
            QByteArray(1, 0x35) + QByteArray("Instructions    ") + le(64, 4) + QByteArray(64, 'i');
    }
    return image;
}

const QString &benchFile()
{
    static const QString path = [] {
        const QString file = QDir::temp().filePath(QStringLiteral("kivo-bench-10000.tzx"));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(benchImage());
        return file;
    }();
    return path;
}

void BM_ReadAndList(benchmark::State &state)
{
    const QString &path = benchFile();
    TapeIndex tape;
    for (auto _ : state) {
        ReadTapeImage(tape, path);
        const QList<TapeRow> rows = ListTapeBlocks(tape);
        benchmark::DoNotOptimize(rows.constData());
    }
    if (tape.Blocks.size() != kBlocks)
        state.SkipWithError("the image did not read as 10,000 blocks");
}
BENCHMARK(BM_ReadAndList)->Unit(benchmark::kMillisecond);

// Two million blocks of one byte each (group ends): the most blocks a 2 MB image can hold, so
// what each block costs shows. Left at QDir::tempPath()/kivo-bench-tiny.tzx.
constexpr int kTinyBlocks = 2000000;

const QString &tinyBlocksFile()
{
    static const QString path = [] {
        const QString file = QDir::temp().filePath(QStringLiteral("kivo-bench-tiny.tzx"));
        QFile out(file);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(QByteArrayLiteral("ZXTape!\x1A\x01\x14") + QByteArray(kTinyBlocks, '\x22'));
        return file;
    }();
    return path;
}

void initApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_tape";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

// The whole opening of the viewer: read, list, and fill lstTaper.
void BM_TaperWindow(benchmark::State &state)
{
    initApplication();
    AppState appState(ProgramDir::inDirectory(QDir::tempPath()));
    benchsupport::YesDialogs dialogs;
    for (auto _ : state) {
        frmTaper window(appState, dialogs, benchFile());
        benchmark::DoNotOptimize(window.lstTaper->model()->rowCount());
    }
}
BENCHMARK(BM_TaperWindow)->Unit(benchmark::kMillisecond);

void BM_ReadAndListTinyBlocks(benchmark::State &state)
{
    const QString &path = tinyBlocksFile();
    for (auto _ : state) {
        TapeIndex tape;
        ReadTapeImage(tape, path);
        const TapeListing listing(tape);
        benchmark::DoNotOptimize(listing.row(listing.rowCount() - 1));
        if (listing.rowCount() != kTinyBlocks)
            state.SkipWithError("the image did not read as 2,000,000 blocks");
    }
}
BENCHMARK(BM_ReadAndListTinyBlocks)->Unit(benchmark::kMillisecond)->Iterations(3);

// Whole processes on the same image, beside each other: time and peak memory, and what the
// peak comes to per block above the file's own size.
void reportRun(benchmark::State &state, const QString &program, const QStringList &arguments,
               const QString &image, qint64 blocks)
{
    const benchsupport::ProcessRun run = benchsupport::timeProcessRuns(state, program, arguments);
    state.counters["bytes_per_block"] =
        (run.peakMiB * 1024 * 1024 - double(QFileInfo(image).size())) / double(blocks);
}

void BM_CliTapeTinyBlocks(benchmark::State &state)
{
    reportRun(state, QStringLiteral(KIVO_CLI), {QStringLiteral("tape"), tinyBlocksFile()},
              tinyBlocksFile(), kTinyBlocks);
}
BENCHMARK(BM_CliTapeTinyBlocks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TzxlistTinyBlocks(benchmark::State &state)
{
    reportRun(state, QStringLiteral("/usr/bin/tzxlist"), {tinyBlocksFile()}, tinyBlocksFile(),
              kTinyBlocks);
}
BENCHMARK(BM_TzxlistTinyBlocks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The same two on the 10,000-block tape, the size of a long real one.
void BM_CliTape(benchmark::State &state)
{
    reportRun(state, QStringLiteral(KIVO_CLI), {QStringLiteral("tape"), benchFile()}, benchFile(),
              kBlocks);
}
BENCHMARK(BM_CliTape)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

void BM_Tzxlist(benchmark::State &state)
{
    reportRun(state, QStringLiteral("/usr/bin/tzxlist"), {benchFile()}, benchFile(), kBlocks);
}
BENCHMARK(BM_Tzxlist)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(21);

// The viewer opened on the image in a process of its own (this program, started with
// --open-taper), beside the same process opening an empty tape.
void BM_TaperWindowTinyBlocks(benchmark::State &state)
{
    const QString self = QCoreApplication::applicationFilePath();
    const QString empty = QDir::temp().filePath(QStringLiteral("kivo-bench-empty.tzx"));
    QFile out(empty);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QByteArrayLiteral("ZXTape!\x1A\x01\x14"));
    out.close();
    const double baseline =
        benchsupport::runMeasured(self, {QStringLiteral("--open-taper"), empty}).peakMiB;
    reportRun(state, self, {QStringLiteral("--open-taper"), tinyBlocksFile()}, tinyBlocksFile(),
              kTinyBlocks);
    state.counters["baseline_MiB"] = baseline;
    state.counters["bytes_per_block_above_baseline"] =
        ((state.counters["peak_MiB"] - baseline) * 1024 * 1024 -
         double(QFileInfo(tinyBlocksFile()).size())) /
        kTinyBlocks;
}
BENCHMARK(BM_TaperWindowTinyBlocks)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::startProcessRunner();
    if (argc == 3 && QByteArray(argv[1]) == "--open-taper") {
        initApplication();
        AppState appState(ProgramDir::inDirectory(QDir::tempPath()));
        benchsupport::YesDialogs dialogs;
        frmTaper window(appState, dialogs, QString::fromLocal8Bit(argv[2]));
        window.show();
        QCoreApplication::processEvents();
        return window.lstTaper->model()->rowCount() >= 0 ? 0 : 1;
    }
    initApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
