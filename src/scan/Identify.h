#pragma once

#include "core/RomRecord.h"
#include "scan/DatCatalogue.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <atomic>
#include <functional>

// What a DAT matches a file by: a plain file's size and CRC-32 of its bytes, an archive's
// Spectrum member's size and CRC-32 as the archive's directory stores them (nothing inflated).
struct Fingerprint
{
    bool ok = false; // false: unreadable, empty, or an archive holding no Spectrum file
    qint64 size = 0;
    quint32 crc = 0;

    friend bool operator==(const Fingerprint &, const Fingerprint &) = default;
};

// No tape, snapshot or disk comes near it: a larger file is no rom file.
constexpr qint64 kLargestRomFile = 64 * 1024 * 1024;

Fingerprint fingerprintOf(const QString &path);
quint32 crc32Of(QByteArrayView bytes);

// Fills the empty fields of `record` (name, year, publisher, authors) from `entry`, nothing
// else; a name that is the rom file's base name (an archive's: its Spectrum member's) counts as
// empty, as a dropped file is named so. `kindName` is the name that base name comes from
// (IdentifyMatch::kindName, romFileKindName); empty: the record's RomFile, which is right for a
// file that is no archive. Returns whether any field was filled.
bool fillEmptyFields(RomRecord &record, const DatEntry &entry, const QString &kindName = {});

// One entry to identify: its slot, and its rom file as the rom paths find it.
struct IdentifyJob
{
    int slot = -1;
    QString path;
};

struct IdentifyMatch
{
    int slot = -1;
    DatEntry entry;
    QString kindName; // the file's name, or its archive's Spectrum member's base name
};

struct IdentifyResult
{
    bool cancelled = false;
    QList<IdentifyMatch> matches; // in the order of the jobs
    QList<QList<int>> duplicates; // see duplicateGroups
};

// Calls back with the jobs done and their number, about every 50 ms and once at the end.
using IdentifyProgress = std::function<void(int done, int total)>;

// Fingerprints each job's file and looks it up in `dat` (which may be empty, for duplicates
// only). Safe on any thread; reads files only; the cancel flag is checked before every file.
IdentifyResult identifyFiles(const QList<IdentifyJob> &jobs, const DatCatalogue &dat,
                             const IdentifyProgress &progress = {},
                             const std::atomic<bool> *cancel = nullptr);

// Slots whose files have the same size and CRC-32, two or more to a group: each group in slot
// order, the groups in the order of their first slots.
QList<QList<int>> duplicateGroups(const QList<std::pair<int, Fingerprint>> &prints);
