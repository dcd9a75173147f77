// kivo.ini: the profile file read from bytes and from a file, what the settings load takes from
// it, where it puts the window, the settings applied to the shared state, and the file written
// at shutdown read back.

#include "FuzzSupport.h"

#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "state/StateSettings.h"

#include <cmath>

namespace {

bool fitsBuffer(const QString &text)
{
    return text.size() <= ProfileFile::kMaxValueLength;
}

void checkTexts(const QList<ProgramEntry> &entries)
{
    FUZZ_CHECK(entries.size() <= kMaxListEntries);
    for (const ProgramEntry &entry : entries)
        FUZZ_CHECK(fitsBuffer(entry.name) && fitsBuffer(entry.path));
}

void checkTexts(const QStringList &paths)
{
    FUZZ_CHECK(paths.size() <= kMaxListEntries);
    for (const QString &path : paths)
        FUZZ_CHECK(fitsBuffer(path));
}

void checkRead(const SettingsFile &s)
{
    FUZZ_CHECK(s.winstate >= 0 && s.winstate <= 2);
    FUZZ_CHECK(s.placementRead == (s.winstate == 0));
    for (const float value : {s.winw, s.winh, s.winx, s.winy, s.head[0], s.head[1], s.head[2]})
        FUZZ_CHECK(std::isfinite(value));
    FUZZ_CHECK(fitsBuffer(s.lastdb));
    checkTexts(s.emulators);
    checkTexts(s.musicPlayers);
    checkTexts(s.RomPaths);
    checkTexts(s.ScreenshotPaths);
    checkTexts(s.MusicPaths);
    checkTexts(s.datFiles);
}

// Singles are written with 7 significant digits.
bool nearlyEqual(float a, float b)
{
    return std::fabs(double(a) - double(b)) <= 1e-6 * std::fabs(double(a)) + 1e-44;
}

bool sameExceptSingles(const SettingsFile &a, const SettingsFile &b)
{
    return a.winstate == b.winstate && a.placementRead == b.placementRead &&
           a.Defaultemu == b.Defaultemu && a.Defaultmplayer == b.Defaultmplayer &&
           a.view == b.view && a.SSSize == b.SSSize && a.lastdb == b.lastdb &&
           a.loadlast == b.loadlast && a.emulators == b.emulators &&
           a.musicPlayers == b.musicPlayers && a.RomPaths == b.RomPaths &&
           a.ScreenshotPaths == b.ScreenshotPaths && a.MusicPaths == b.MusicPaths &&
           a.datFiles == b.datFiles;
}

bool sameSingles(const SettingsFile &a, const SettingsFile &b, bool exactly)
{
    const float left[] = {a.winw, a.winh, a.winx, a.winy, a.head[0], a.head[1], a.head[2]};
    const float right[] = {b.winw, b.winh, b.winx, b.winy, b.head[0], b.head[1], b.head[2]};
    for (int i = 0; i < 7; ++i) {
        if (exactly ? left[i] != right[i] : !nearlyEqual(left[i], right[i]))
            return false;
    }
    return true;
}

// A list is written only when its first element is used, so an unused one reads back empty.
template <typename List> List written(const List &list, bool used)
{
    return used ? list : List();
}

void checkPlacement(const SettingsFile &s)
{
    const QRect current(100, 100, 800, 600);
    const QList<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, -200, 1280, 1024)};
    const QRect placed = placeWindow(s, current, screens.first(), screens);
    // No larger than its own screen, and enough of it on some screen to be seen and dragged.
    FUZZ_CHECK(placed.width() > 0 && placed.height() > 0);
    FUZZ_CHECK(placed.width() <= screens.first().width());
    FUZZ_CHECK(placed.height() <= screens.first().height());
    bool reachable = false;
    for (const QRect &screen : screens) {
        const QRect seen = placed.intersected(screen);
        reachable = reachable || (seen.width() >= std::min(placed.width(), 100) &&
                                  seen.height() >= std::min(placed.height(), 40));
    }
    FUZZ_CHECK(reachable);
    if (!s.placementRead)
        FUZZ_CHECK(placed == current);

    const QRect free = placeWindow(s, current, screens.first());
    for (const int value : {free.x(), free.y(), free.width(), free.height()})
        FUZZ_CHECK(value >= -kMaxWindowExtent && value <= kMaxWindowExtent);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);

    SettingsFile s;
    const qint64 peak =
        kivofuzz::peakHeap([&] { s = readSettingsFile(ProfileFile::fromBytes(bytes)); });
    // Every line is kept as text for writing back, a short line costs a few allocations; each
    // list takes at most kMaxListEntries entries whatever "num" says.
    kivofuzz::checkHeap(peak, bytes.size(), 96, 8 << 20, "readSettingsFile");
    checkRead(s);

    // The file reader reads the same.
    const QString path = kivofuzz::writeScratchFile(QStringLiteral("kivo.ini"), bytes);
    const SettingsFile fromFile = readSettingsFile(ProfileFile::load(path));
    FUZZ_CHECK(sameExceptSingles(fromFile, s) && sameSingles(fromFile, s, true));

    checkPlacement(s);

    // Applied to the state and collected again: every list the file gave replaces the state's.
    AppState state(ProgramDir::inDirectory(kivofuzz::scratchDirectory()));
    applySettings(s, state);
    const SettingsFile collected = settingsFromState(state);
    FUZZ_CHECK(collected.Defaultemu == s.Defaultemu && collected.view == s.view &&
               collected.lastdb == s.lastdb && collected.loadlast == s.loadlast);
    FUZZ_CHECK(collected.emulators == s.emulators);
    FUZZ_CHECK(collected.musicPlayers == s.musicPlayers);
    FUZZ_CHECK(collected.RomPaths == (s.RomPaths.isEmpty() ? QStringList{QString()} : s.RomPaths));

    // The shutdown's file reads back as what was read, each list only when its first element is
    // used; the singles to their seven digits. A "num" in the millions gives thousands of empty
    // entries that are written and read like the first few; writing them all would only slow
    // the fuzzer down.
    constexpr qsizetype kRoundTripEntries = 300;
    if (s.emulators.size() + s.musicPlayers.size() + s.RomPaths.size() + s.ScreenshotPaths.size() +
            s.MusicPaths.size() + s.datFiles.size() >
        kRoundTripEntries)
        return 0;
    const QByteArray savedBytes = settingsFileBytes(s);
    const SettingsFile saved = readSettingsFile(ProfileFile::fromBytes(savedBytes));
    SettingsFile expected = s;
    expected.emulators =
        written(s.emulators, !s.emulators.isEmpty() && !s.emulators.first().path.isEmpty());
    expected.musicPlayers = written(s.musicPlayers, !s.musicPlayers.isEmpty() &&
                                                        !s.musicPlayers.first().path.isEmpty());
    expected.RomPaths = written(s.RomPaths, !s.RomPaths.isEmpty() && !s.RomPaths.first().isEmpty());
    expected.ScreenshotPaths = written(s.ScreenshotPaths, !s.ScreenshotPaths.isEmpty() &&
                                                              !s.ScreenshotPaths.first().isEmpty());
    expected.MusicPaths =
        written(s.MusicPaths, !s.MusicPaths.isEmpty() && !s.MusicPaths.first().isEmpty());
    expected.datFiles = written(s.datFiles, !s.datFiles.isEmpty() && !s.datFiles.first().isEmpty());
    if (!s.placementRead) {
        // The placement keys are written as they are, but not read while the window is not normal.
        expected.winw = saved.winw;
        expected.winh = saved.winh;
        expected.winx = saved.winx;
        expected.winy = saved.winy;
    }
    FUZZ_CHECK(sameExceptSingles(saved, expected));
    FUZZ_CHECK(sameSingles(saved, expected, false));
    return 0;
}
