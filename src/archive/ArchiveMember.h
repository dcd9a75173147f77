#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One file inside an archive, as its directory declares it; nothing here has been inflated.
struct ArchiveMember
{
    QString name;              // as stored, directories included ("games/jsw.tap")
    qint64 size = 0;           // declared size once inflated
    qint64 compressedSize = 0; // bytes it takes in the archive
    quint32 crc32 = 0;         // declared CRC-32 of the inflated bytes
    bool encrypted = false;
    qint64 index = 0; // the format's own position of the member, for reading it

    friend bool operator==(const ArchiveMember &, const ArchiveMember &) = default;
};

struct ArchiveListing
{
    bool ok = false;
    QList<ArchiveMember> members; // in the archive's own order
    QString reason;               // why the archive could not be read, when !ok
};

struct MemberBytes
{
    bool ok = false;
    QByteArray bytes;
    QString reason; // why the member could not be read, when !ok
};

// Where an archive's bytes come from: a file, or bytes in memory. `name` is the archive's file
// name either way; its ending says the format, and a .gz member is named after it.
struct ArchiveSource
{
    QString name;
    QString path;     // read from here when not empty
    QByteArray bytes; // otherwise these

    static ArchiveSource file(const QString &path);
    static ArchiveSource memory(const QString &name, const QByteArray &bytes)
    {
        return {name, {}, bytes};
    }
};
