// Scan Folder over a generated collection: 10,000 files in 1,000 folders, half of them zipped,
// with a DAT of 50,000 roms; beside the time to read every file's bytes once. Also the DAT read
// alone, the merge of the result into a catalogue of 100,000 entries, and, when the shared
// corpus is there, its real ClrMamePro DAT read with its peak memory and the collection's files
// identified against it.
#include "../tests/support/ArchiveMaker.h"

#include "core/RomDatabase.h"
#include "scan/CollectionScan.h"
#include "scan/DatCatalogue.h"
#include "scan/Identify.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr int kFolders = 1000;
constexpr int kFilesPerFolder = 10;
constexpr int kDatRoms = 50000;

quint32 crcOf(const QByteArray &bytes)
{
    return quint32(
        crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
}

// A tape of a few KB whose bytes differ from every other's.
QByteArray tapeBytes(int number)
{
    QByteArray bytes(2048 + number % 2048, Qt::Uninitialized);
    quint32 state = quint32(number) * 2654435761u + 1;
    for (char &c : bytes) {
        state = state * 1103515245u + 12345u;
        c = char(state >> 24);
    }
    return bytes;
}

struct Collection
{
    QTemporaryDir dir;
    QString tree;
    QString dat;
    QStringList files;
};

// Made once per run: the benchmarks share it.
const Collection &collection()
{
    static const std::unique_ptr<Collection> made = [] {
        auto c = std::make_unique<Collection>();
        c->tree = c->dir.filePath(QStringLiteral("tree"));
        QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<datafile>\n");
        const auto game = [&xml](int number, qint64 size, quint32 crc) {
            xml += QStringLiteral("<game name=\"Game %1 (1985)(House %2)\"><description>d"
                                  "</description><rom name=\"g%1.tap\" size=\"%3\" crc=\"%4\" "
                                  "md5=\"00000000000000000000000000000000\"/></game>\n")
                       .arg(number)
                       .arg(number % 97)
                       .arg(size)
                       .arg(crc, 8, 16, QLatin1Char('0'));
        };
        int number = 0;
        for (int folder = 0; folder < kFolders; ++folder) {
            const QString path =
                QStringLiteral("%1/%2/%3/").arg(c->tree).arg(folder % 20).arg(folder);
            QDir().mkpath(path);
            for (int i = 0; i < kFilesPerFolder; ++i, ++number) {
                const QByteArray bytes = tapeBytes(number);
                const QString name =
                    QStringLiteral("Title %1 (1984)(Soft %2).tap").arg(number).arg(number % 50);
                QString file = path + name;
                QByteArray contents = bytes;
                if (number % 2 == 1) {
                    file =
                        path +
                        QStringLiteral("Title %1 (1984)(Soft %2).zip").arg(number).arg(number % 50);
                    contents = testsupport::makeZip(name, bytes);
                }
                QFile out(file);
                if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size())
                    qFatal("cannot write %s", qPrintable(file));
                c->files.append(file);
                if (number % 2 == 0)
                    game(number, bytes.size(), crcOf(bytes));
            }
        }
        for (int extra = number / 2; extra < kDatRoms; ++extra)
            game(100000 + extra, 1000 + extra, quint32(extra) * 2246822519u);
        xml += QStringLiteral("</datafile>\n");
        c->dat = c->dir.filePath(QStringLiteral("games.dat"));
        QFile out(c->dat);
        if (!out.open(QIODevice::WriteOnly))
            qFatal("cannot write the DAT");
        out.write(xml.toUtf8());
        return c;
    }();
    return *made;
}

ScanRequest requestFor(const Collection &c)
{
    ScanRequest request;
    request.directory = c.tree;
    request.datFiles = {c.dat};
    return request;
}

// What any scan must at least do: every file's bytes, read once.
void BM_ReadEveryFile(benchmark::State &state)
{
    const Collection &c = collection();
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString &path : c.files) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                total += file.readAll().size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadEveryFile)->Unit(benchmark::kMillisecond);

qint64 statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stoll(line.substr(std::strlen(field)));
    }
    return 0;
}

void BM_Scan(benchmark::State &state)
{
    const Collection &c = collection();
    const ScanRequest request = requestFor(c);
    qint64 peakAbove = 0;
    qsizetype entries = 0;
    for (auto _ : state) {
        // Freed heap goes back to the system first, so the scan's own growth shows; the peak
        // resident size then starts again from the current one.
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const qint64 before = statusKiB("VmRSS:");
        const ScanResult result = scanCollection(request);
        peakAbove = std::max(peakAbove, statusKiB("VmHWM:") - before);
        entries = result.entries.size();
    }
    state.counters["entries"] = double(entries);
    state.counters["peakMiBAbove"] = double(peakAbove) / 1024.0;
}
// CPU time counts the thread that reads the DATs beside the walk.
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_ReadDat(benchmark::State &state)
{
    const Collection &c = collection();
    for (auto _ : state) {
        DatCatalogue dat;
        if (const std::optional<Message> refused = dat.addFile(c.dat)) {
            state.SkipWithError(qPrintable(refused->text));
            break;
        }
        state.counters["roms"] = double(dat.romCount());
    }
}
BENCHMARK(BM_ReadDat)->Unit(benchmark::kMillisecond);

const QString kRealDat = QStringLiteral(
    KIVO_CORPUS "/collection/libretro__libretro-database/Sinclair - ZX Spectrum.dat");

// Goal: within 100 ms, and no more than three times the file's bytes held at the peak.
void BM_ReadRealDat(benchmark::State &state)
{
    if (!QFileInfo::exists(kRealDat)) {
        state.SkipWithError("the shared corpus is not here");
        return;
    }
    qint64 peakAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        std::ofstream("/proc/self/clear_refs") << "5";
        const qint64 before = statusKiB("VmRSS:");
        state.ResumeTiming();
        DatCatalogue dat;
        if (const std::optional<Message> refused = dat.addFile(kRealDat)) {
            state.SkipWithError(qPrintable(refused->text));
            break;
        }
        state.PauseTiming();
        peakAbove = std::max(peakAbove, statusKiB("VmHWM:") - before);
        state.counters["games"] = double(dat.files().first().games);
        state.ResumeTiming();
    }
    state.counters["peakMiBAbove"] = double(peakAbove) / 1024.0;
    state.counters["peakPerFileByte"] =
        double(peakAbove) * 1024.0 / double(QFileInfo(kRealDat).size());
}
BENCHMARK(BM_ReadRealDat)->Unit(benchmark::kMillisecond);

// The collection's 10,000 files, half of them zips, as 10,000 entries identified against the real
// DAT. Goal: no more than twice BM_ReadEveryFile.
void BM_IdentifyAgainstRealDat(benchmark::State &state)
{
    DatCatalogue dat;
    if (!QFileInfo::exists(kRealDat) || dat.addFile(kRealDat)) {
        state.SkipWithError("the shared corpus is not here");
        return;
    }
    const Collection &c = collection();
    QList<IdentifyJob> jobs;
    for (qsizetype i = 0; i < c.files.size(); ++i)
        jobs.append({int(i), c.files.at(i)});
    for (auto _ : state) {
        const IdentifyResult result = identifyFiles(jobs, dat);
        state.counters["matches"] = double(result.matches.size());
        state.counters["duplicateGroups"] = double(result.duplicates.size());
    }
    state.counters["entries"] = double(jobs.size());
}
BENCHMARK(BM_IdentifyAgainstRealDat)->Unit(benchmark::kMillisecond);

RomDatabase catalogueOf(int entries)
{
    RomDatabase database;
    for (int i = 0; i < entries; ++i) {
        RomRecord record;
        record.RomName = QStringLiteral("Some Spectrum Game Title %1").arg(i);
        record.RomType = i % 130;
        record.Year = 1982 + i % 12;
        record.RomFile = QStringLiteral("game%1.tzx").arg(i);
        record.Publisher = QStringLiteral("Software House Ltd");
        record.Authors = QStringLiteral("A. Programmer, B. Artist");
        database.Add(std::move(record));
    }
    return database;
}

// What the window does on the interface thread before the scan starts, at 100,000 entries.
void BM_CatalogueNames(benchmark::State &state)
{
    const RomDatabase database = catalogueOf(100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogueFileNames(database));
}
BENCHMARK(BM_CatalogueNames)->Unit(benchmark::kMillisecond);

// The merge and, beside it, the same entries appended with no check: what growing a catalogue
// of 100,000 entries by 10,000 costs whoever adds them.
template <bool Merge> void mergeInto100k(benchmark::State &state)
{
    const Collection &c = collection();
    const ScanResult result = scanCollection(requestFor(c));
    const RomDatabase start = catalogueOf(100000);
    std::optional<RomDatabase> database;
    for (auto _ : state) {
        // Copied and the last one freed outside the timed part.
        state.PauseTiming();
        database = start;
        database->Set(0, start.Get(0));
        SearchPaths paths;
        state.ResumeTiming();
        if constexpr (Merge) {
            benchmark::DoNotOptimize(mergeScanResult(*database, paths, result));
        } else {
            for (const RomRecord &record : result.entries)
                database->Add(record);
        }
        state.PauseTiming();
        database.reset();
        state.ResumeTiming();
    }
    state.counters["added"] = double(result.entries.size());
}

void BM_Merge(benchmark::State &state)
{
    mergeInto100k<true>(state);
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond);

void BM_AppendOnly(benchmark::State &state)
{
    mergeInto100k<false>(state);
}
BENCHMARK(BM_AppendOnly)->Unit(benchmark::kMillisecond);

} // namespace
