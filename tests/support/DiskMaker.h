#pragma once

// TR-DOS disks and SCL archives built in a test: each file's entry as the formats write it and
// its data sector by sector, so a reader's view of both can be checked against what was meant.

#include <QByteArray>
#include <QList>

namespace testsupport {

struct TrDosFileSpec
{
    QByteArray name; // up to 8 characters, padded with blanks; a first byte of 0x01 is deleted
    char kind = 'C';
    quint16 first = 0;  // CODE: the start; BASIC: the length with variables
    quint16 second = 0; // CODE: the length; BASIC: the program's own length
    QByteArray data;    // written over its sectors, as many as it fills (at least one)
    int sectors = -1;   // -1: as many as the data fills
};

inline void putWord(QByteArray &bytes, qsizetype at, quint16 value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char(value >> 8);
}

inline int sectorsOf(const TrDosFileSpec &file)
{
    return file.sectors >= 0 ? file.sectors : std::max<int>(1, (file.data.size() + 255) / 256);
}

inline QByteArray trDosEntry(const TrDosFileSpec &file, qsizetype size)
{
    QByteArray entry(size, '\0');
    entry.replace(0, 8, file.name.leftJustified(8, ' ', true));
    entry[8] = file.kind;
    putWord(entry, 9, file.first);
    putWord(entry, 11, file.second);
    entry[13] = char(sectorsOf(file));
    return entry;
}

// A 640 KB TR-DOS disk (or its first `keep` bytes) with the files from track 1 on.
inline QByteArray makeTrd(const QList<TrDosFileSpec> &files, const QByteArray &label = "MYDISK",
                          qsizetype keep = -1)
{
    QByteArray image(160 * 16 * 256, '\0');
    int sector = 16; // the first of track 1
    for (qsizetype i = 0; i < files.size(); ++i) {
        QByteArray entry = trDosEntry(files.at(i), 16);
        entry[14] = char(sector % 16);
        entry[15] = char(sector / 16);
        image.replace(i * 16, 16, entry);
        image.replace(qsizetype(sector) * 256, files.at(i).data.size(), files.at(i).data);
        sector += sectorsOf(files.at(i));
    }
    const qsizetype info = 8 * 256;
    image[info + 0xE1] = char(sector % 16);
    image[info + 0xE2] = char(sector / 16);
    image[info + 0xE3] = 0x16;
    image[info + 0xE4] = char(files.size());
    putWord(image, info + 0xE5, quint16(160 * 16 - sector));
    image[info + 0xE7] = 0x10;
    image.replace(info + 0xF5, 8, label.leftJustified(8, ' ', true));
    return keep < 0 ? image : image.left(keep);
}

// An SCL archive of the files, its checksum right unless `checksumDelta` says otherwise.
inline QByteArray makeScl(const QList<TrDosFileSpec> &files, quint32 checksumDelta = 0)
{
    QByteArray image = "SINCLAIR";
    image.append(char(files.size()));
    for (const TrDosFileSpec &file : files)
        image.append(trDosEntry(file, 14));
    for (const TrDosFileSpec &file : files)
        image.append(file.data.leftJustified(qsizetype(sectorsOf(file)) * 256, '\0', true));
    quint32 sum = checksumDelta;
    for (const char c : std::as_const(image))
        sum += quint8(c);
    for (int shift = 0; shift < 32; shift += 8)
        image.append(char((sum >> shift) & 0xFF));
    return image;
}

// A BASIC program's bytes followed by the autostart mark and LINE, as TR-DOS saves them.
inline QByteArray basicWithLine(const QByteArray &program, quint16 line)
{
    QByteArray data = program;
    data.append(char(0x80));
    data.append(char(0xAA));
    data.append(char(line & 0xFF));
    data.append(char(line >> 8));
    return data;
}

} // namespace testsupport
