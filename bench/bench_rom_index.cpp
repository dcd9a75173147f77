// The missing-files listing of a rom directory holding 10,000 zipped tapes beside one holding
// 10,000 plain ones: the list knows an archive by its name, so both must cost the same.
#include "../tests/support/ArchiveMaker.h"
#include "core/SearchPathList.h"
#include "state/RomFileIndex.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kFiles = 10000;

struct RomDirectory
{
    QTemporaryDir dir;
    SearchPaths paths;

    explicit RomDirectory(bool zipped)
    {
        const QByteArray tape(2048, '\x55');
        const QByteArray bytes =
            zipped ? testsupport::makeZip(QStringLiteral("game.tzx"), tape) : tape;
        for (int i = 0; i < kFiles; ++i) {
            QFile file(
                dir.filePath(QStringLiteral("game%1.%2").arg(i).arg(zipped ? "zip" : "tzx")));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write the rom directory");
        }
        QString directory = dir.path() + u'/';
        paths.AddSearchPath(PathKind::Rom, directory);
    }
};

void BM_ListRomDirectory(benchmark::State &state)
{
    const bool zipped = state.range(0) != 0;
    RomDirectory roms(zipped);
    const QString probe = QStringLiteral("GAME%1.%2").arg(kFiles - 1).arg(zipped ? "ZIP" : "TZX");
    for (auto _ : state) {
        RomFileIndex index;
        index.update(roms.paths[PathKind::Rom]);
        if (!index.holds(probe))
            state.SkipWithError("a listed file is not held");
    }
    state.SetLabel(zipped ? "zipped tapes" : "plain tapes");
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_ListRomDirectory)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
