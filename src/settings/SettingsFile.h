#pragma once

#include "core/Numbers.h"
#include "core/ProgramEntry.h"
#include "settings/ProfileFile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// The text of a number as kivo.ini holds it.

// Single precision, at most 7 significant digits, no trailing zeros: 800, 533.3333, 1440.
QString formatSingle(float value);
// `prefix` followed by `index` in at least two digits: emu00, path99, path100.
QString numberedKey(const QString &prefix, qsizetype index);

// A window position at or below this centres the window on the screen.
inline constexpr float kCentred = -99;

// Everything kivo.ini holds, under the names the file gives the keys.
struct SettingsFile
{
    qint32 winstate = 0; // 0 normal, 1 minimised, 2 maximised
    // The placement keys are read only when winstate is 0; otherwise the window keeps its size.
    bool placementRead = false;
    float winw = 10;
    float winh = 10;
    float winx = kCentred;
    float winy = kCentred;
    qint32 Defaultemu = kNone;
    qint32 Defaultmplayer = kNone;
    qint32 view = 0;
    qint32 SSSize = 0;
    qint32 loadscr = 1; // 1: a tape's or snapshot's own screen stands in for missing screenshots
    QString lastdb;
    qint32 loadlast = 0;
    // "firstrun=1", written by the first-run script: the first entry is shown at once. Never
    // written back, so only the very first start does it.
    bool firstrun = false;
    // Empty when the file gives none (num of 0 or less): the lists in memory stay as they are.
    QList<ProgramEntry> emulators;
    QList<ProgramEntry> musicPlayers;
    QStringList RomPaths;
    QStringList ScreenshotPaths;
    QStringList MusicPaths;
    // The DAT files entries are identified with, in the order they are searched.
    QStringList datFiles;
    // Widths of the game list's first three columns in twips; 0 or less leaves a column alone.
    std::array<float, 3> head{0, 0, 0};
    // The optional list columns shown ("machine" ...), and their widths in twips, in that order.
    QStringList columns;
    QList<float> columnWidths;
};

// The most entries one list takes from the file, so a damaged "num" cannot make millions.
constexpr qint32 kMaxListEntries = 10000;

SettingsFile readSettingsFile(const ProfileFile &file);
// The file as the shutdown writes it: section "kivo" (column widths last), then "emulators",
// "musicplayers", "RomPaths", "ScreenshotPaths", "MusicPaths" and last "DatFiles", each only when
// its list is used.
// An emulator's profile follows every key an older reader knows (argsNN, defaultforNN,
// machineNN.KEY, each only when not empty), so such a reader still finds every emulator; a
// template, like any value, reads back as its first ProfileFile::kMaxValueLength characters.
QByteArray settingsFileBytes(const SettingsFile &settings);
