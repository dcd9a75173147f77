#pragma once

#include "launch/ProgramEntry.h"
#include "settings/ProfileFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The text of a number as kivo.ini holds it.

// The number at the start of `text`: an optional sign, digits, an optional fraction and exponent,
// blanks anywhere ignored. Text that does not begin with a number gives 0.
double leadingNumber(const QString &text);
// The whole number nearest to `value`, a half going to the even neighbour, held within qint32.
qint32 nearestInteger(double value);
// Single precision, at most 7 significant digits, no trailing zeros: 800, 533.3333, 1440.
QString formatSingle(float value);
// `prefix` followed by `index` in at least two digits: emu00, path99, path100.
QString numberedKey(const QString &prefix, qsizetype index);

// Everything kivo.ini holds, under the names the file gives the keys.
struct SettingsFile
{
    qint32 winstate = 0; // 0 normal, 1 minimised, 2 maximised
    // The placement keys are read only when winstate is 0; otherwise the window keeps its size.
    bool placementRead = false;
    float winw = 10;
    float winh = 10;
    float winx = -99; // -99 or less: centred
    float winy = -99;
    qint32 Defaultemu = -99;
    qint32 Defaultmplayer = -99;
    qint32 view = 0;
    qint32 SSSize = 0;
    QString lastdb;
    qint32 loadlast = 0;
    // Empty when the file gives none (num of 0 or less): the lists in memory stay as they are.
    QList<ProgramEntry> emulators;
    QList<ProgramEntry> musicPlayers;
    QStringList RomPaths;
    QStringList ScreenshotPaths;
    QStringList MusicPaths;
    // Widths of the game list's first three columns in twips; 0 or less leaves a column alone.
    std::array<float, 3> head{0, 0, 0};
};

// The most entries one list takes from the file, so a damaged "num" cannot make millions.
constexpr qint32 kMaxListEntries = 10000;

SettingsFile readSettingsFile(const ProfileFile &file);
// The file as the shutdown writes it: section "kivo" (column widths last), then "emulators",
// "musicplayers", "RomPaths", "ScreenshotPaths", "MusicPaths", each only when its list is used.
QByteArray settingsFileBytes(const SettingsFile &settings);
