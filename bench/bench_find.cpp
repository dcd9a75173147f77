// Find and sort at 100,000 entries through the real main window, offscreen: a keystroke in the
// filter box, clearing it, sorting by each column, and the missing-files state over 10 rom
// directories of 10,000 files each.
#include "BenchSupport.h"

#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/main/GameListFinder.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 100000;
constexpr int kRomDirs = 10;

struct BigWindow : benchsupport::BenchWindow
{
    BigWindow()
    {
        QStringList dirs;
        for (int d = 0; d < kRomDirs; ++d) {
            const QString romDir = dir.filePath(QStringLiteral("roms%1").arg(d));
            QDir().mkpath(romDir);
            // Nine files in ten of the catalogue are there.
            for (int i = d; i < kEntries; i += kRomDirs) {
                if (i % 10 != 9)
                    QFile(QStringLiteral("%1/game%2.tzx").arg(romDir).arg(i))
                        .open(QIODevice::WriteOnly);
            }
            dirs.append(romDir + u'/');
        }
        open();
        state.paths[PathKind::Rom].setDirs(dirs);
        for (int i = 0; i < kEntries; ++i) {
            RomRecord record;
            record.RomName = QStringLiteral("Some Spectrum Game Title %1").arg(i);
            record.RomType = i % 130;
            record.Year = i % 7 == 0 ? 0 : 1982 + i % 12;
            record.RomFile = QStringLiteral("game%1.tzx").arg(i);
            record.Publisher = QStringLiteral("Software House %1").arg(i % 300);
            record.Authors = QStringLiteral("A. Programmer, B. Artist");
            state.database.Add(std::move(record));
        }
        window->RefillGameList();
        window->resize(1000, 800);
        window->show();
        QCoreApplication::processEvents();
    }

    void type(const QString &text)
    {
        window->txtFilter->setText(text);
        QCoreApplication::processEvents();
    }
};

BigWindow &bigWindow()
{
    static BigWindow window;
    return window;
}

// The first keystroke after the catalogue changed: `range(0)` 1 lets the window sit idle for
// half a second first (it makes the folded texts then), 0 types at once (they are made on the
// spot).
void BM_FilterFirstKeystroke(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    for (auto _ : state) {
        state.PauseTiming();
        big.type({});
        big.window->RefillGameList(); // drops the folded texts, as any change of the catalogue
        QElapsedTimer idle;
        idle.start();
        do
            QCoreApplication::processEvents();
        while (state.range(0) == 1 && idle.elapsed() < 500);
        state.ResumeTiming();
        big.type(QStringLiteral("s"));
    }
}
BENCHMARK(BM_FilterFirstKeystroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_FilterKeystroke(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    big.type(QStringLiteral("title 1"));
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        big.type(longer ? QStringLiteral("title 12") : QStringLiteral("title 1"));
    }
    big.type({});
}
BENCHMARK(BM_FilterKeystroke)->Unit(benchmark::kMillisecond);

// The same keystroke on the list's model alone, without the view's relayout.
void BM_FilterKeystrokeModelOnly(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    GameListProxy *proxy = big.window->gameListModel();
    proxy->setFilterText(QStringLiteral("title 1"));
    bool longer = false;
    for (auto _ : state) {
        longer = !longer;
        proxy->setFilterText(longer ? QStringLiteral("title 12") : QStringLiteral("title 1"));
    }
    big.type({});
}
BENCHMARK(BM_FilterKeystrokeModelOnly)->Unit(benchmark::kMillisecond);

void BM_ClearFilter(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    for (auto _ : state) {
        state.PauseTiming();
        big.type(QStringLiteral("house 12"));
        state.ResumeTiming();
        big.type({});
    }
}
BENCHMARK(BM_ClearFilter)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    QHeaderView *header = big.window->lstGames->header();
    const int column = int(state.range(0));
    for (auto _ : state) {
        header->sectionClicked(column); // ascending
        QCoreApplication::processEvents();
        state.PauseTiming();
        header->sectionClicked(column); // descending
        header->sectionClicked(column); // catalogue order
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SortByColumn)
    ->Arg(GameListModel::NameColumn)
    ->Arg(GameListModel::PublisherColumn)
    ->Arg(GameListModel::YearColumn)
    ->Unit(benchmark::kMillisecond);

// F5 with "Missing files only": every rom directory listed again and every entry looked up.
void BM_MissingFilesState(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    big.window->chkMissing->setChecked(true);
    for (auto _ : state) {
        big.window->finder().refreshRomFiles();
        QCoreApplication::processEvents();
    }
    if (big.window->gameListModel()->rowCount() != kEntries / 10)
        state.SkipWithError("the missing entries were not the tenth expected");
    big.window->chkMissing->setChecked(false);
}
BENCHMARK(BM_MissingFilesState)->Unit(benchmark::kMillisecond)->Iterations(5);

// "Missing files only" switched on once the listings are known: a filter over what is known.
void BM_MissingFilesSwitch(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    big.window->finder().refreshRomFiles();
    for (auto _ : state) {
        big.window->chkMissing->setChecked(true);
        state.PauseTiming();
        if (big.window->gameListModel()->rowCount() != kEntries / 10)
            state.SkipWithError("the missing entries were not the tenth expected");
        big.window->chkMissing->setChecked(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MissingFilesSwitch)->Unit(benchmark::kMillisecond)->Iterations(10);

// One entry's rom file looked for again, as after a drop or Properties OK, with "Missing files
// only" on. Arg 0: the file is still missing; arg 1: it has just appeared, and its row leaves the
// list.
void BM_MissingFileOneEntry(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    big.window->finder().refreshRomFiles();
    big.window->chkMissing->setChecked(true);
    const bool appears = state.range(0) == 1;
    int slot = 9;
    for (auto _ : state) {
        const QString name = QStringLiteral("game%1.tzx").arg(slot);
        if (appears) {
            state.PauseTiming();
            QFile(big.dir.filePath(QStringLiteral("roms%1/").arg(slot % kRomDirs) + name))
                .open(QIODevice::WriteOnly);
            state.ResumeTiming();
        }
        big.window->finder().scheduleRomFilesUpdate({name});
        QCoreApplication::processEvents();
        slot += 10;
    }
    big.window->chkMissing->setChecked(false);
}
BENCHMARK(BM_MissingFileOneEntry)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
// The Show choice at 100,000 entries, one in ten a favourite and one in ten played in the last
// days: from All to `range(0)` (1 Favourites, 2 Recently played, latest first) and back is timed
// one way.
void BM_ShowView(benchmark::State &state)
{
    BigWindow &big = bigWindow();
    static bool remembered = false;
    if (!remembered) {
        remembered = true;
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        for (int i = 0; i < kEntries; i += 10) {
            const LibraryKey key = LibraryKey::romFile(QStringLiteral("game%1.tzx").arg(i));
            big.state.library.setFavourite(key, true);
            big.state.library.recordStart(
                LibraryKey::romFile(QStringLiteral("game%1.tzx").arg(i + 3)), now - i);
        }
        big.window->RefillGameList();
        QCoreApplication::processEvents();
    }
    QComboBox *show = big.window->finder().showChoice();
    for (auto _ : state) {
        state.PauseTiming();
        show->setCurrentIndex(0);
        big.window->finder().cboShow_Change();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        show->setCurrentIndex(int(state.range(0)));
        big.window->finder().cboShow_Change();
        QCoreApplication::processEvents();
    }
    state.counters["shown"] = big.window->gameListModel()->rowCount();
}
BENCHMARK(BM_ShowView)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char **argv)
{
    return benchsupport::runWithApplication(argc, argv);
}
