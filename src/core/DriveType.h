#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The kind of drive (mounted file system) that holds a directory, with the codes the paths
// dialog's icons are keyed by.
enum class DriveType {
    Unknown = 0,
    NoRootDir = 1, // the path's root is not there, e.g. C:\ from a catalogue made on Windows
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// One line of a mount table (/proc/self/mounts), octal escapes such as \040 decoded.
struct MountEntry
{
    QString device;
    QString mountPoint;
    QString type;

    friend bool operator==(const MountEntry &, const MountEntry &) = default;
};

// Whether a block device (as the mount table names it, e.g. /dev/sdb1) is removable.
using RemovableQuery = std::function<bool(const QString &device)>;

QList<MountEntry> parseMountTable(const QByteArray &text);

// The type of the drive that holds `directory`, decided by the longest mount point that holds
// it; a later line of the table wins over an earlier one at the same mount point, as mounting
// over a directory hides what was there. Pure: the table and the device query are given.
DriveType classifyDrive(const QString &directory, const QList<MountEntry> &mounts,
                        const RemovableQuery &isRemovable);

// The mount table of this process; empty when it cannot be read.
QList<MountEntry> currentMountTable();
// /sys/block's removable flag of `device` (a partition takes its disk's flag).
bool isRemovableDevice(const QString &device);
// classifyDrive over the real mount table, after following links in the existing part of
// `directory`.
DriveType driveTypeOf(const QString &directory);

// The icon key of a directory on a drive of `type` that does (not) hold ordinary files:
// "unknown", "notmapped", "removable", "fixed", "cd", "network", "ram", and the "x" forms.
QString driveIconKey(DriveType type, bool holdsFiles);
// The eleven keys, in a fixed order.
const QStringList &driveIconKeys();

// True when `directory` (a stored directory text, with or without a final separator) holds
// at least one ordinary file; any error counts as holding none.
bool directoryHoldsFiles(const QString &directory);

// Why `directory` cannot be listed, in the system's words ("No such file or directory",
// "Permission denied"); empty when it can.
QString directoryReadError(const QString &directory);

// The mount points a user picks a directory from: the root first, then `home`, then the other
// mounts in path order, leaving out the system's own and pseudo file systems.
QStringList userDrives(const QList<MountEntry> &mounts, const QString &home);
// userDrives over the real mount table and home directory.
QStringList mountedUserDrives();
// The index in `drives` of the longest one that holds `directory`; -1 when none does.
qsizetype indexOfDriveHolding(const QStringList &drives, const QString &directory);
