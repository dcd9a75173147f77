#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// What a DAT reader hands on before the games are named: each game's own texts and its roms,
// whatever the file's format. DatCatalogue names the games once the whole file has been read,
// since how a DAT names its games is told from all of them.

struct DatGame
{
    QString name;
    QString manufacturer; // as written; empty for none
    qint32 year = 0;      // the year key or element; 0 for none or one that is no year
    bool region = false;  // the game carries a region of its own (key, attribute or element)

    friend bool operator==(const DatGame &, const DatGame &) = default;
};

struct DatRom
{
    qint64 size = 0;
    quint32 crc = 0;
    qint32 game = 0; // index into DatRead::games
};

struct DatRead
{
    QString name; // the header's
    QString version;
    QList<DatGame> games; // only games with at least one rom of a size and CRC-32
    QList<DatRom> roms;
    // Not empty when the file is no DAT: what is wrong and on which line; nothing read counts.
    QString error;
    qint64 errorLine = 0;
};

// The fields of a rom and a game as both formats write them, from the text of one value.

// A size in decimal digits, no larger than a rom can be (4 GB).
bool readRomSize(QStringView text, qint64 &size);
bool readRomSize(QByteArrayView text, qint64 &size);
// One to eight hexadecimal digits, in either case.
bool readRomCrc(QStringView text, quint32 &crc);
bool readRomCrc(QByteArrayView text, quint32 &crc);
// A year given as four digits, possibly followed by more of a date ("1987", "1987-05"); 0 for
// anything else ("198?", "19xx", "").
qint32 readDatYear(QStringView text);
qint32 readDatYear(QByteArrayView text);
