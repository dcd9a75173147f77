#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// What a disk image holds, as its own directory says: the files, the label, the free space.
// Readers take the image's bytes and check every count, length and offset against them; a file
// whose data lies past the end of an image cut short is listed, with no bytes.

enum class DiskFormat { TrDos, Scl, Plus3 };

struct DiskFile
{
    QString name;      // as the directory writes it, trailing blanks dropped
    QString kind;      // TR-DOS: the type letter ("B", "C", "D", "#"); +3DOS: "BASIC", "CODE", ...
    qint32 start = -1; // CODE: where it loads; BASIC: its autostart LINE; -1 for none
    qint64 length = 0; // in bytes, as the directory (or the file's header) gives it
    qint32 sectors = 0;
    bool deleted = false;
    qint64 offset = -1; // where the file's data starts in the image; -1 when it is not there

    friend bool operator==(const DiskFile &, const DiskFile &) = default;
};

struct DiskListing
{
    DiskFormat format = DiskFormat::TrDos;
    QString label;         // TR-DOS: the disk's 8-character label; empty for none
    qint64 freeBytes = -1; // -1 when the image does not say
    QList<DiskFile> files; // in directory order, deleted ones included
    QString warning;       // read, but something is off ("the checksum is ... , not ...")
};

// A TR-DOS image: the catalogue in the first eight sectors, the disk information in the ninth.
// Nullopt when the image is too short for them or is plainly no TR-DOS disk.
std::optional<DiskListing> readTrdImage(const QByteArray &image);
// An SCL archive: "SINCLAIR", a file count, 14-byte entries, the files' sectors, a checksum.
std::optional<DiskListing> readSclImage(const QByteArray &image);

// The image read by the format its name ends in (".trd", ".scl"); nullopt for any other name or
// an image that is not of its format.
std::optional<DiskListing> readDiskImage(const QByteArray &image, const QString &name);
// "TR-DOS", "SCL", "+3DOS": the format's name, as kivo-cli prints it.
QString diskFormatName(DiskFormat format);

// The bytes of `file` as far as the image holds them, no more than its length.
QByteArray diskFileBytes(const QByteArray &image, const DiskFile &file);
