#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a rom file as every reader above the archive layer takes them: the file itself,
// or the Spectrum member of the archive it is.
struct RomFileBytes
{
    bool ok = false;
    QByteArray bytes;
    // The size of the whole file, or the size its archive declares for the member: more than
    // `bytes` holds when only the head was read.
    qint64 size = 0;
    // The name whose ending tells the kind: the file's own name, or the member's base name.
    QString name;
    // The archive's path when the bytes came out of one, else empty.
    QString archive;
    // When !ok, the text to show. For a plain file the system's reason, for the caller to place
    // in its own message; for an archive the whole "Unable to read [name]: [reason]".
    QString reason;
};

RomFileBytes readRomFile(const QString &path);
// The same, but only the first `count` bytes are read or inflated (all of a shorter file).
RomFileBytes readRomFileHead(const QString &path, qint64 count);

// The name whose ending tells the kind of the rom file at `path`, without inflating anything:
// the file's own name, or its archive's Spectrum member's base name. Empty for an archive that
// cannot be listed or holds no Spectrum file (readRomFile then says why).
QString romFileKindName(const QString &path);

// The name a dropped file gives its entry: `kindName` (as romFileKindName gives it) without its
// ending, in its own case: "Jetpac.tap" names "Jetpac".
QString droppedEntryName(const QString &kindName);
