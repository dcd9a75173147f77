// kivo-cli dump and write of a 100,000-entry catalogue, each as a whole process: time and peak
// memory, and the peak as a multiple of the .dat file.
#include "BenchSupport.h"

#include "core/DatFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kEntries = 100000;

QString tempFile(const char *name)
{
    return QDir::temp().filePath(QString::fromLatin1(name));
}

const QString &catalogueFile()
{
    static const QString path = [] {
        const QString file = tempFile("kivo-bench-cli.dat");
        SaveDatabase(benchsupport::realisticCatalogue(kEntries), file);
        return file;
    }();
    return path;
}

// dump's output, kept for write to read.
const QString &dumpFile()
{
    static const QString path = [] {
        const QString file = tempFile("kivo-bench-cli.json");
        benchsupport::runMeasured(QStringLiteral("/bin/sh"),
                                  {QStringLiteral("-c"),
                                   QStringLiteral("exec \"$0\" dump \"$1\" > \"$2\""),
                                   QStringLiteral(KIVO_CLI), catalogueFile(), file});
        return file;
    }();
    return path;
}

void report(benchmark::State &state, const QString &program, const QStringList &arguments)
{
    const benchsupport::ProcessRun run = benchsupport::timeProcessRuns(state, program, arguments);
    const double fileMiB = double(QFileInfo(catalogueFile()).size()) / (1024.0 * 1024.0);
    state.counters["file_MiB"] = fileMiB;
    state.counters["peak_per_file"] = run.peakMiB / fileMiB;
}

void BM_Dump(benchmark::State &state)
{
    report(state, QStringLiteral(KIVO_CLI), {QStringLiteral("dump"), catalogueFile()});
}
BENCHMARK(BM_Dump)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

// The shell execs kivo-cli, so the peak measured is kivo-cli's own.
void BM_Write(benchmark::State &state)
{
    report(state, QStringLiteral("/bin/sh"),
           {QStringLiteral("-c"), QStringLiteral("exec \"$0\" write \"$1\" < \"$2\""),
            QStringLiteral(KIVO_CLI), tempFile("kivo-bench-cli-written.dat"), dumpFile()});
}
BENCHMARK(BM_Write)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(9);

} // namespace

int main(int argc, char **argv)
{
    benchsupport::startProcessRunner();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
