// Loading, saving, listing and removing at catalogue sizes from 1,000 to 100,000 entries, and
// beside each load the time to merely read the same file's bytes (the floor).
#include "BenchSupport.h"

#include "core/DatFile.h"
#include "launch/ProcessStarter.h"
#include "ui/common/Dialogs.h"
#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using benchsupport::realisticCatalogue;

struct CatalogueFile
{
    QTemporaryDir dir;
    QString path;
    explicit CatalogueFile(int entries)
        : path(dir.filePath(QStringLiteral("bench.dat")))
    {
        SaveDatabase(realisticCatalogue(entries), path);
    }
};

void BM_ReadFileBytes(benchmark::State &state)
{
    CatalogueFile file(int(state.range(0)));
    for (auto _ : state) {
        QFile in(file.path);
        in.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(in.readAll());
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(file.path).size());
}

void BM_LoadDatabase(benchmark::State &state)
{
    CatalogueFile file(int(state.range(0)));
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        benchmark::DoNotOptimize(LoadDatabase(database, paths, file.path));
        state.PauseTiming(); // freeing the catalogue is not part of loading it
        database.Reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(file.path).size());
}

void BM_SaveDatabase(benchmark::State &state)
{
    const RomDatabase database = realisticCatalogue(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("save.dat"));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveDatabase(database, path));
}

// The refill the window runs after every change, with the model attached to the real view.
void BM_RefillGameList(benchmark::State &state)
{
    const RomDatabase database = realisticCatalogue(int(state.range(0)));
    const RomFileIndex romFiles;
    GameListModel model(database, romFiles);
    GameListView view;
    view.setModel(&model);
    view.resize(800, 600);
    for (auto _ : state) {
        model.refill();
        benchmark::DoNotOptimize(model.rowCount());
    }
}

// Removing every tenth entry: one pass, not one shift of the array per index.
void BM_RemoveEntries(benchmark::State &state)
{
    const RomDatabase original = realisticCatalogue(int(state.range(0)));
    QList<int> everyTenth;
    for (int slot = 0; slot < original.EntryCount(); slot += 10)
        everyTenth.append(slot);
    for (auto _ : state) {
        state.PauseTiming();
        RomDatabase database = original;
        state.ResumeTiming();
        database.RemoveEntries(everyTenth);
        benchmark::DoNotOptimize(database.EntryCount());
    }
}

// Answers Yes to every question, so the window's own commands run without a person.
using benchsupport::NoStarter;
using benchsupport::YesDialogs;

// Remove Selected with 10,000 of 100,000 rows selected, through the real window.
void BM_WindowRemoveSelected(benchmark::State &state)
{
    QTemporaryDir dir;
    AppState app(ProgramDir::inDirectory(dir.path()));
    YesDialogs dialogs;
    NoStarter starter;
    frmMain window(app, dialogs, starter);
    const RomDatabase original = realisticCatalogue(100000);
    for (auto _ : state) {
        state.PauseTiming();
        app.database = original;
        window.RefillGameList();
        QItemSelection selection;
        for (int row = 0; row < 100000; row += 10)
            selection.select(window.gameListModel()->index(row, 0),
                             window.gameListModel()->index(row, 2));
        window.lstGames->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        state.ResumeTiming();
        window.mnuRoms_Click(2);
    }
}

// A directory of 5,000 tapes dropped on the list.
void BM_WindowDropDirectory(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString tapes = dir.filePath(QStringLiteral("tapes"));
    QDir().mkpath(tapes);
    for (int i = 0; i < 5000; ++i) {
        QFile file(QStringLiteral("%1/Tape %2.tzx").arg(tapes).arg(i));
        file.open(QIODevice::WriteOnly);
    }
    AppState app(ProgramDir::inDirectory(dir.path()));
    YesDialogs dialogs;
    NoStarter starter;
    frmMain window(app, dialogs, starter);
    for (auto _ : state) {
        state.PauseTiming();
        app.database.Reset();
        state.ResumeTiming();
        window.lstGames_OLEDragDrop({tapes});
    }
}

} // namespace

// A version-1 catalogue whose entries each sit in a folder of their own: the upgrade moves every
// folder to the search paths, checking each against those already there.
void BM_LoadVersionOneManyFolders(benchmark::State &state)
{
    const int entries = int(state.range(0));
    QByteArray bytes = QByteArrayLiteral("KIVO");
    const auto int32 = [&bytes](qint32 value) {
        for (int i = 0; i < 4; ++i)
            bytes.append(char((value >> (8 * i)) & 0xFF));
    };
    const auto text = [&](const QByteArray &value) {
        int32(qint32(value.size()));
        bytes += value;
    };
    int32(1);
    int32(entries + 1);
    for (int i = 0; i < entries; ++i) {
        const QByteArray n = QByteArray::number(i);
        text("Game " + n);
        int32(i % 10);
        text("C:\\SHOTS\\F" + n + "\\a.gif");
        int32(1984);
        text({});
        text("C:\\GAMES\\FOLDER" + n + "\\game.tap");
        text("Pub");
        text("Author");
    }
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        benchmark::DoNotOptimize(loadDatabaseBytes(database, paths, bytes));
        if (paths[PathKind::Rom].dirs().size() != entries)
            state.SkipWithError("the folders did not all reach the rom paths");
    }
}

BENCHMARK(BM_LoadVersionOneManyFolders)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFileBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDatabase)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDatabase)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefillGameList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveEntries)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowRemoveSelected)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_WindowDropDirectory)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char **argv)
{
    return benchsupport::runWithApplication(argc, argv);
}
