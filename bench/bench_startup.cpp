// Start-up and shutdown at scale through the real main window, offscreen: from nothing to the
// first paint of the list with the last catalogue reloaded (100,000 entries) and with none;
// the peak memory each start takes, in a process of its own; the whole shutdown with 100,000
// entries (the save question answered Yes, the save, the settings); and a catalogue of
// 1,000,000 entries opened, scrolled to its end and thinned by every tenth entry.
#include "BenchSupport.h"

#include "core/DatFile.h"
#include "ui/list/GameListView.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A program directory whose kivo.ini reopens a catalogue of `entries` (none: no catalogue).
struct ProgramFolder
{
    QTemporaryDir dir;
    explicit ProgramFolder(int entries)
    {
        const QString dat = dir.filePath(QStringLiteral("games.dat"));
        if (entries > 0)
            SaveDatabase(benchsupport::realisticCatalogue(entries), dat);
        QFile ini(dir.filePath(QStringLiteral("kivo.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[kivo]\r\nview=1\r\nlastdb=%1\r\nloadlast=%2\r\n")
                      .arg(dat)
                      .arg(entries > 0 ? 1 : 0)
                      .toUtf8());
    }
};

// Waits for the list's first paint.
class FirstPaint : public QObject
{
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// From nothing to the first paint of the list; the window is closed without the shutdown
// questions (the benchmark below measures those).
void openAndPaint(const QString &dir)
{
    AppState state(ProgramDir::inDirectory(dir));
    benchsupport::YesDialogs dialogs;
    benchsupport::NoStarter starter;
    frmMain window(state, dialogs, starter);
    FirstPaint paint;
    window.lstGames->viewport()->installEventFilter(&paint);
    window.show();
    while (!paint.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.setAttribute(Qt::WA_DontShowOnScreen);
}

void BM_StartToFirstPaint(benchmark::State &state)
{
    ProgramFolder folder(int(state.range(0)));
    for (auto _ : state)
        openAndPaint(folder.dir.path());
}
BENCHMARK(BM_StartToFirstPaint)->Arg(0)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same start in a process of its own, for its peak memory.
void BM_StartPeakMemory(benchmark::State &state)
{
    ProgramFolder empty(0);
    ProgramFolder full(int(state.range(0)));
    const QString self = QCoreApplication::applicationFilePath();
    benchsupport::ProcessRun none;
    benchsupport::ProcessRun loaded;
    for (auto _ : state) {
        none = benchsupport::runMeasured(self, {QStringLiteral("--start"), empty.dir.path()});
        loaded = benchsupport::runMeasured(self, {QStringLiteral("--start"), full.dir.path()});
        state.SetIterationTime(loaded.seconds);
        if (loaded.exitCode != 0 || none.exitCode != 0)
            state.SkipWithError("a start did not end well");
    }
    state.counters["empty_MiB"] = none.peakMiB;
    state.counters["loaded_MiB"] = loaded.peakMiB;
    state.counters["bytes_per_entry"] =
        (loaded.peakMiB - none.peakMiB) * 1024 * 1024 / double(state.range(0));
    state.counters["empty_ms"] = none.seconds * 1000;
}
BENCHMARK(BM_StartPeakMemory)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The whole shutdown with 100,000 entries: "Save Database?" answered Yes, the catalogue saved
// over its own file, the settings written, the windows closed.
void BM_Shutdown(benchmark::State &state)
{
    ProgramFolder folder(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        AppState appState(ProgramDir::inDirectory(folder.dir.path()));
        benchsupport::YesDialogs dialogs;
        benchsupport::NoStarter starter;
        auto window = std::make_unique<frmMain>(appState, dialogs, starter);
        window->show();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        window->close();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Shutdown)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

// A million entries: each step a user waits for, timed on its own; the longest is the stall.
void BM_MillionEntries(benchmark::State &state)
{
    ProgramFolder folder(1000000);
    for (auto _ : state) {
        QElapsedTimer step;
        double longest = 0;
        const auto lap = [&](const char *name) {
            const double ms = double(step.nsecsElapsed()) / 1e6;
            state.counters[name] = ms;
            longest = std::max(longest, ms);
            step.restart();
        };
        step.start();
        AppState appState(ProgramDir::inDirectory(folder.dir.path()));
        benchsupport::YesDialogs dialogs;
        benchsupport::NoStarter starter;
        frmMain window(appState, dialogs, starter);
        window.show();
        QCoreApplication::processEvents();
        lap("open_ms");
        window.lstGames->scrollToBottom();
        window.lstGames->setCurrentIndex(
            window.gameListModel()->index(window.gameListModel()->rowCount() - 1, 0));
        QCoreApplication::processEvents();
        lap("scroll_to_end_ms");
        QItemSelection selection;
        for (int row = 0; row < window.gameListModel()->rowCount(); row += 10)
            selection.select(window.gameListModel()->index(row, 0),
                             window.gameListModel()->index(row, 2));
        window.lstGames->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        step.restart(); // picking the rows is the user's part
        window.mnuRoms_Click(2);
        QCoreApplication::processEvents();
        lap("remove_every_tenth_ms");
        state.counters["longest_stall_ms"] = longest;
        if (appState.database.EntryCount() != 900000)
            state.SkipWithError("every tenth entry was not removed");
        window.setAttribute(Qt::WA_DontShowOnScreen);
        appState.database.Reset(); // nothing to save at the close
    }
}
BENCHMARK(BM_MillionEntries)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::startProcessRunner();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--start") {
        openAndPaint(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
