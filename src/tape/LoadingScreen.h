#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The picture a program carries with it: the SCREEN$ a tape loads before the program, or the
// screen memory a snapshot holds.
struct LoadingScreen
{
    QByteArray screen; // 6,912 bytes: bitmap and attributes, as a .scr file holds them
    QString source;    // where it came from: "tape block 3" (numbered from 0, as the tape
                       // viewer lists blocks), "snapshot RAM page 5"
};

inline constexpr qsizetype kLoadingScreenBytes = 6912;
// Larger files are refused unread: no tape or snapshot comes near this.
inline constexpr qint64 kLoadingScreenFileLimit = 64 * 1024 * 1024;

inline const QString kLoadingScreenTooLarge = QStringLiteral("The file is larger than 64 MB.");

// The screen held by a file's bytes, its kind chosen by the ending of `fileName`, in any case:
// tap, tzx, sna, z80 or szx. Nothing for another ending, for a file without a screen, and for one
// whose screen cannot be read for certain (compressed on the tape, a damaged snapshot): never a
// screen of garbage.
std::optional<LoadingScreen> loadingScreenOf(const QByteArray &bytes, const QString &fileName);

// The same for a file on disk: only a regular file of at most 64 MB is read.
struct LoadingScreenFile
{
    bool ok = false; // the file was read
    QString reason;  // why not, when !ok
    std::optional<LoadingScreen> screen;
};
LoadingScreenFile readLoadingScreen(const QString &path);

// The parts by kind, for callers that know it.
std::optional<LoadingScreen> tapeLoadingScreen(const QByteArray &image, bool tzx);
