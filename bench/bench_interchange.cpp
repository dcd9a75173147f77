// The interchange formats at catalogue sizes: an SGD data file of 10,000 records imported, alone
// and through the import wizard's Done over the real main window; and the pocket export and
// import of 100,000 entries, each beside saving and loading the same catalogue as a .dat file
// (the yardstick).
#include "BenchSupport.h"

#include "core/DatFile.h"
#include "interchange/ImportRun.h"
#include "interchange/PocketDatabase.h"
#include "interchange/SgdImport.h"
#include "ui/common/DirectoryChooser.h"
#include "ui/list/GameListModel.h"
#include "ui/import/frmImpWiz.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using benchsupport::realisticCatalogue;

QByteArray padded(const QByteArray &text, int width)
{
    return text.leftJustified(width, ' ', true);
}

// An SGD installation: sgd.ini and one data file of `records` records with every field filled.
struct SgdInstallation
{
    QTemporaryDir dir;
    QString directory;
    QString dataFile;

    explicit SgdInstallation(int records)
        : directory(dir.path() + QStringLiteral("/"))
        , dataFile(directory + QStringLiteral("GAMES.DAT"))
    {
        static const char *const kGenres[] = {"ARC", "ADV", "ARC/ADV", "SIM", "STR", "xyz"};
        QByteArray bytes;
        bytes.reserve(qsizetype(records) * 252);
        for (int i = 0; i < records; ++i) {
            const QByteArray n = QByteArray::number(i);
            bytes += padded("Some Spectrum Game Title " + n, 37) +
                     padded(QByteArray::number(1982 + i % 12), 5) +
                     padded("Software House Ltd", 37) + QByteArray(14, '0') +
                     padded("G" + n + ".TAP", 13) + padded(kGenres[i % 6], 8) +
                     QByteArray(36, '1') + padded("A. Programmer, B. Artist", 102);
        }
        QFile data(dataFile);
        data.open(QIODevice::WriteOnly);
        data.write(bytes);
        QFile ini(directory + QStringLiteral("sgd.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Options]\r\nGameDir=C:\\SPECTRUM\\GAMES\r\nGameDir=D:\\MORE GAMES\r\n");
    }
};

// LoadSgdDataFile and ImportSgdRecords, as the wizard calls them for one selected file.
void BM_SgdImport(benchmark::State &state)
{
    SgdInstallation sgd(int(state.range(0)));
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        const SgdLoadResult loaded = LoadSgdDataFile(sgd.dataFile);
        benchmark::DoNotOptimize(
            ImportSgdRecords(database, paths, loaded.data, sgd.directory, true));
        state.PauseTiming(); // freeing the catalogue is not part of the import
        database.Reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same through the wizard's Done, with a progress callback that does nothing.
void BM_SgdImportDone(benchmark::State &state)
{
    SgdInstallation sgd(int(state.range(0)));
    ImportRequest request;
    request.kind = ImportKind::Sgd;
    request.directory = sgd.directory;
    request.fileNames = {QStringLiteral("GAMES.DAT")};
    request.overwrite = true;
    int repaints = 0;
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        benchmark::DoNotOptimize(
            runImport(database, paths, request, [&](const ImportProgress &) { ++repaints; }));
        state.PauseTiming();
        database.Reset();
        state.ResumeTiming();
    }
    state.counters["repaints"] = benchmark::Counter(repaints, benchmark::Counter::kAvgIterations);
}

// The wizard's Done for one SGD data file, merged into an empty catalogue, over the real main
// window (offscreen): the import, the progress bar and the one refill of the game list. With
// Arg(1) the events the refill leaves pending (the list laid out and painted) are processed
// too, so the time runs until the window shows the new rows.
void BM_WizardSgdDone(benchmark::State &state)
{
    const int records = 10000;
    const bool untilShown = state.range(0) == 1;
    SgdInstallation sgd(records + 1); // the last record never becomes an entry
    QTemporaryDir programDir;
    AppState app(ProgramDir::inDirectory(programDir.path()));
    benchsupport::YesDialogs dialogs;
    benchsupport::NoStarter starter;
    frmMain window(app, dialogs, starter);
    window.show();
    frmImpWiz wizard(app, dialogs, window, &window);
    wizard.show();
    QCoreApplication::processEvents();

    wizard.optDatabaseType[0]->setChecked(true);
    wizard.cmdNext_Click();
    wizard.chooser->start(sgd.directory);
    wizard.cmdNext_Click();
    if (wizard.lstFiles->count() != 1) {
        state.SkipWithError("the data file is not listed");
        return;
    }
    wizard.lstFiles->item(0)->setSelected(true);
    wizard.cmdNext_Click();
    wizard.optFinal[0]->setChecked(true);
    if (wizard.Page() != 3) {
        state.SkipWithError("the wizard did not reach its last page");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        app.database.Reset();
        window.RefillGameList();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        wizard.cmdNext_Click();
        if (untilShown)
            QCoreApplication::processEvents();
    }
    if (window.gameListModel()->rowCount() != records)
        state.SkipWithError("the list does not show every record");
    state.SetItemsProcessed(state.iterations() * records);
}

struct CatalogueFiles
{
    QTemporaryDir dir;
    QString dat;
    QString kvl;
    explicit CatalogueFiles(int entries)
        : dat(dir.filePath(QStringLiteral("bench.dat")))
        , kvl(dir.filePath(QStringLiteral("bench.kvl")))
    {
        const RomDatabase database = realisticCatalogue(entries);
        SaveDatabase(database, dat);
        ExportPocketDatabase(database, kvl);
    }
};

void BM_SaveDatabase(benchmark::State &state)
{
    const RomDatabase database = realisticCatalogue(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("save.dat"));
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveDatabase(database, path));
}

void BM_ExportPocketDatabase(benchmark::State &state)
{
    const RomDatabase database = realisticCatalogue(int(state.range(0)));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("export.kvl"));
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportPocketDatabase(database, path));
}

void BM_LoadDatabase(benchmark::State &state)
{
    CatalogueFiles files(int(state.range(0)));
    for (auto _ : state) {
        RomDatabase database;
        SearchPaths paths;
        benchmark::DoNotOptimize(LoadDatabase(database, paths, files.dat));
        state.PauseTiming();
        database.Reset();
        state.ResumeTiming();
    }
}

void BM_ImportPocketDatabase(benchmark::State &state)
{
    CatalogueFiles files(int(state.range(0)));
    for (auto _ : state) {
        RomDatabase database;
        benchmark::DoNotOptimize(ImportPocketDatabase(database, files.kvl));
        state.PauseTiming();
        database.Reset();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_SgdImport)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SgdImportDone)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WizardSgdDone)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDatabase)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPocketDatabase)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDatabase)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportPocketDatabase)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return benchsupport::runWithApplication(argc, argv);
}
