// Building the command of a run: planning it with a Fuse profile (the checks, the file's machine,
// the template) and previewing it, for a plain tape and a zipped one, beside filling in the
// template alone. A command should take no more than 0.1 ms.
#include "../tests/support/ArchiveMaker.h"
#include "launch/ArgumentTemplate.h"
#include "launch/EmulatorPresets.h"
#include "launch/Launcher.h"
#include "launch/RunCache.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QByteArray kTape("\x13\0\0\0jetpac    ", 14);

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void BM_PlanAndPreview(benchmark::State &state)
{
    QTemporaryDir dir;
    writeFile(dir.filePath("fuse"), "x");
    writeFile(dir.filePath("Jet Pac (128K).tap"), kTape);
    writeFile(dir.filePath("Jet Pac.zip"), testsupport::makeZip("JETPAC.TAP", kTape));
    ProgramList emulators;
    emulators.entries.append({QStringLiteral("Plain"), dir.filePath("fuse")});
    emulators.entries.append({QStringLiteral("Fuse"), dir.filePath("fuse")});
    emulators.entries[1].profile = presetFor(QStringLiteral("fuse-sdl"))->profile;
    emulators.entries[1].profile.defaultFor = QStringList{"tap"};
    emulators.defaultIndex = 0;
    SearchPaths paths;
    paths[PathKind::Rom].setDirs({dir.path() + u'/'});
    RomRecord record;
    record.RomFile =
        state.range(0) == 0 ? QStringLiteral("Jet Pac (128K).tap") : QStringLiteral("Jet Pac.zip");
    MachineCache machines;
    const RunCache cache(dir.filePath("cache"));
    for (auto _ : state) {
        const Launch launch = planRun(record, emulators, RunChoice{}, paths, machines);
        benchmark::DoNotOptimize(previewCommand(launch, cache));
    }
}
BENCHMARK(BM_PlanAndPreview)->ArgName("zipped")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ExpandArguments(benchmark::State &state)
{
    const QString argumentTemplate = QStringLiteral("{machine} [--rom \"{dir}/48.rom\"] {file}");
    const TemplateValues values{QStringLiteral("/home/user/Spectrum/Jet Pac (128K).tap"),
                                QStringLiteral("/home/user/Spectrum"),
                                QStringLiteral("Jet Pac (128K)"),
                                {QStringLiteral("--machine"), QStringLiteral("128")}};
    for (auto _ : state)
        benchmark::DoNotOptimize(expandArguments(argumentTemplate, values));
}
BENCHMARK(BM_ExpandArguments)->Unit(benchmark::kMicrosecond);

} // namespace
