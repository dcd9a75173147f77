#pragma once

#include "core/SpectrumMachine.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

// The machine a rom file needs, read from the file itself, each rule only when the one before
// gives nothing:
// 1. a snapshot records its machine (Z80 v2/v3 hardware byte with the modify bit of byte 37,
//    SZX machine id, SNA by size);
// 2. a .dsk is a +3 disk, a .trd or .scl a TR-DOS disk (Pentagon 128);
// 3. a TZX hardware-type block (0x33) that says the tape does not run on the 48K, or runs only
//    on 128K models, gives that model;
// 4. "(128K)" or "[128K]" in the file name (TOSEC style) gives 128K;
// 5. anything else is a 48K.
struct MachineReading
{
    SpectrumMachine machine = SpectrumMachine::Spectrum48;
    // Why, as the details pane says it after the machine: "the tape's hardware block",
    // "the snapshot's hardware byte" ...
    QString why;
    // The snapshot names its own machine: the emulator reads it from the file, so no machine
    // arguments are passed.
    bool fromSnapshot = false;

    friend bool operator==(const MachineReading &, const MachineReading &) = default;
};

// How much of a file the rules look at: the snapshot headers and a tape's first blocks.
inline constexpr qsizetype kMachineHeadBytes = 4096;

// The machine of a file whose first bytes are `head` (at most kMachineHeadBytes of them, fewer
// for a shorter file), whose whole size is `fileSize` and whose kind is told by the ending of
// `fileName`. `otherName`, when given, is also looked at for "(128K)": an archive's own name
// beside its member's.
MachineReading machineOf(const QByteArray &head, qint64 fileSize, const QString &fileName,
                         const QString &otherName = QString());

// The same for a file on disk, reading its head only; an archive (.zip, .gz) is read through
// its Spectrum member. A file that cannot be read is a 48K, as the last rule says.
MachineReading readMachine(const QString &path);

// readMachine() for a caller that reports a file it cannot read (kivo-cli machine).
struct MachineFile
{
    bool ok = false;
    // When !ok: the system's reason for a plain file, the whole "Unable to read [name]: [reason]"
    // for an archive, as RomFileBytes gives them.
    QString reason;
    MachineReading reading; // a 48K when !ok
};
MachineFile readMachineFile(const QString &path);

// readMachine() remembered by path, size and modification time, so the list and the launches
// read a file once until it changes.
class MachineCache
{
public:
    MachineReading machineOf(const QString &path);
    void clear() { m_readings.clear(); }

private:
    struct Cached
    {
        qint64 size = -1;
        QDateTime modified;
        MachineReading reading;
    };
    QHash<QString, Cached> m_readings;
};
