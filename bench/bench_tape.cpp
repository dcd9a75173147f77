// Reading and listing a long tape: 10,000 blocks of the kinds real tapes hold. The image is
// left at QDir::tempPath()/kivo-bench-10000.tzx so other listers can be timed on the same file.
#include "tape/TapeListing.h"
#include "tape/TapeReader.h"
#include "ui/Dialogs.h"
#include "ui/frmTaper.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTreeWidget>

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

class SilentDialogs : public Dialogs
{
public:
    Answer show(QWidget *, const Message &) override { return Answer::Ok; }
    QString inputBox(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFile(QWidget *, const FileRequest &) override { return {}; }
    QString saveFile(QWidget *, const FileRequest &) override { return {}; }
    QString chooseDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

// The whole opening of the viewer: read, list, and fill lstTaper.
void BM_TaperWindow(benchmark::State &state)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench_tape";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    AppState appState(ProgramDir::inDirectory(QDir::tempPath()));
    SilentDialogs dialogs;
    for (auto _ : state) {
        frmTaper window(appState, dialogs, benchFile());
        benchmark::DoNotOptimize(window.lstTaper->topLevelItemCount());
    }
}
BENCHMARK(BM_TaperWindow)->Unit(benchmark::kMillisecond);

} // namespace
