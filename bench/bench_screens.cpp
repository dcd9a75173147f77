// The screenshot strip through the real main window, offscreen: selecting an entry with 50
// screenshots (25 Spectrum screens, 25 JPEG pictures of 256 x 192) with the picture cache cold
// and warm, resizing the window in view 4 with those 50 pictures in the strip, and selecting an
// entry without screenshots whose tape (of 200 blocks, its screen the second) shows its own.
#include "BenchSupport.h"

#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"
#include "ui/main/frmMain.h"
#include "ui/screens/ScreenshotStrip.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kShots = 50;

struct StripWindow : benchsupport::BenchWindow
{
    StripWindow()
    {
        QDir().mkpath(dir.filePath(QStringLiteral("shots")));
        QStringList names;
        for (int i = 0; i < kShots; ++i) {
            const bool screen = i % 2 == 0;
            const QString name = QStringLiteral("shot%1.%2").arg(i).arg(screen ? "scr" : "jpg");
            QFile file(dir.filePath(QStringLiteral("shots/") + name));
            file.open(QIODevice::WriteOnly);
            if (screen) {
                QByteArray bytes(6912, '\0');
                for (int b = 0; b < bytes.size(); ++b)
                    bytes[b] = char((b * 7 + i) & 0xFF);
                file.write(bytes);
            } else {
                QImage image(256, 192, QImage::Format_RGB32);
                image.fill(QColor::fromHsv(i * 7 % 360, 200, 200));
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                image.save(&buffer, "JPG");
                file.write(buffer.data());
            }
            names.append(name);
        }
        QFile ini(dir.filePath(QStringLiteral("kivo.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write(QStringLiteral("[kivo]\r\nview=4\r\n[ScreenshotPaths]\r\nnum=1\r\npath00=%1/\r\n")
                      .arg(dir.filePath(QStringLiteral("shots")))
                      .toUtf8());
        ini.close();
        open();
        RomRecord shots;
        shots.RomName = QStringLiteral("Fifty");
        shots.Screenshots = names.join(u',');
        state.database.Add(shots);
        RomRecord none;
        none.RomName = QStringLiteral("None");
        state.database.Add(none);
        // A tape: a loader, the screen announced by its header, and many blocks of code.
        QByteArray tape;
        const auto block = [&tape](const QByteArray &bytes) {
            tape += char(bytes.size() & 0xFF);
            tape += char(bytes.size() >> 8);
            tape += bytes;
        };
        const auto header = [](int type, int length, int start) {
            QByteArray bytes = QByteArray(1, '\0') + char(type) + QByteArray("screen    ") +
                               char(length & 0xFF) + char(length >> 8) + char(start & 0xFF) +
                               char(start >> 8) + QByteArray(2, '\0');
            return bytes + '\0';
        };
        block(header(0, 100, 10));
        block(QByteArray(102, '\xFF'));
        block(header(3, 6912, 16384));
        block(QByteArray(1, '\xFF') + QByteArray(6912, '\x5A') + '\0');
        for (int i = 0; i < 200; ++i)
            block(QByteArray(1, '\xFF') + QByteArray(1024, char(i)) + '\0');
        QDir().mkpath(dir.filePath(QStringLiteral("roms")));
        QFile tapeFile(dir.filePath(QStringLiteral("roms/loading.tap")));
        tapeFile.open(QIODevice::WriteOnly);
        tapeFile.write(tape);
        tapeFile.close();
        state.paths[PathKind::Rom].setDirs({dir.filePath(QStringLiteral("roms")) + u'/'});
        RomRecord loading;
        loading.RomName = QStringLiteral("Loading screen");
        loading.RomFile = QStringLiteral("loading.tap");
        state.database.Add(loading);
        window->RefillGameList();
        window->resize(1000, 900);
        window->show();
        QCoreApplication::processEvents();
    }

    void select(int row)
    {
        window->lstGames->setCurrentIndex(window->gameListModel()->index(row, 0));
    }
};

// Selects `row` again and again, coming from the entry without anything to show; arg 1 keeps the
// picture cache, arg 0 empties it each time.
void selectRepeatedly(benchmark::State &state, StripWindow &strip, int row)
{
    const bool cached = state.range(0) == 1;
    strip.select(row);
    for (auto _ : state) {
        state.PauseTiming();
        strip.select(1);
        if (!cached)
            strip.window->pictures().clear();
        state.ResumeTiming();
        strip.select(row);
    }
}

void BM_SelectEntryWith50Shots(benchmark::State &state)
{
    StripWindow strip;
    selectRepeatedly(state, strip, 0);
    if (strip.state.layout.VisibleShotCount < 1)
        state.SkipWithError("no picture fits");
}
BENCHMARK(BM_SelectEntryWith50Shots)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ResizeView4With50Shots(benchmark::State &state)
{
    StripWindow strip;
    strip.select(0);
    int height = 900;
    for (auto _ : state) {
        height = height == 900 ? 700 : 900;
        strip.window->resize(1000, height);
        QCoreApplication::processEvents(); // the resize reaches the window through its events
    }
    const QWidget *central = strip.window->centralWidget();
    if (central->height() >= height || central->height() < height - 100 ||
        strip.window->picScrPane->height() != central->height())
        state.SkipWithError("the strip did not follow the window");
}
BENCHMARK(BM_ResizeView4With50Shots)->Unit(benchmark::kMillisecond);

void BM_SelectEntryWithLoadingScreen(benchmark::State &state)
{
    StripWindow strip;
    selectRepeatedly(state, strip, 2);
    if (!strip.window->picScrPane->showsLoadingScreen())
        state.SkipWithError("the tape's screen was not shown");
}
BENCHMARK(BM_SelectEntryWithLoadingScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::runWithApplication(argc, argv);
}
