#pragma once

#include "core/RomDatabase.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Builders for the files the interchange tests feed the readers, made the way the formats lay
// them out and independently of the writers.
namespace interchangefiles {

// One pocket line: the fields joined by the separator byte 0xDE, ended by CR LF.
inline QByteArray pocketLine(const QList<QByteArray> &fields)
{
    return fields.join('\xDE') + "\r\n";
}

inline QByteArray pocketFile(const QList<QList<QByteArray>> &lines)
{
    QByteArray bytes = "KIVOPPC1\r\n";
    for (const QList<QByteArray> &fields : lines)
        bytes += pocketLine(fields);
    return bytes;
}

// A pocket line for an entry with only a name, type and year.
inline QByteArray pocketEntry(const QByteArray &name, const QByteArray &type = "15",
                              const QByteArray &year = "1984")
{
    return pocketLine({name, type, "", year, "", "", "", "", ""});
}

// One 252-byte SGD record: the six fields the import reads, blank-padded, and the fields it
// does not read filled with digits that would show if they were read.
inline QByteArray sgdRecord(const QByteArray &name, const QByteArray &year = "1984 ",
                            const QByteArray &publisher = "", const QByteArray &file = "",
                            const QByteArray &genre = "", const QByteArray &authors = "")
{
    QByteArray record(252, '7');
    const auto put = [&](int offset, int width, const QByteArray &text) {
        record.replace(offset, width, text.leftJustified(width, ' ', true));
    };
    put(0, 37, name);
    put(37, 5, year);
    put(42, 37, publisher);
    put(93, 13, file);
    put(106, 8, genre);
    put(150, 102, authors);
    return record;
}

inline RomRecord entry(const QString &name, qint32 type = 15, qint32 year = 1984)
{
    RomRecord record;
    record.RomName = name;
    record.RomType = type;
    record.Year = year;
    return record;
}

inline QStringList names(const RomDatabase &database)
{
    QStringList out;
    for (const RomRecord &record : database.slots()) {
        if (record.isEntry())
            out.append(record.RomName);
    }
    return out;
}

} // namespace interchangefiles
