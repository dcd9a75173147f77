#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// The data formats (.dat, pocket files, SGD data, names on tapes) hold Windows-1252 text, so
// files move between this program and copies written on Windows. 0x80-0x9F differ from Latin-1.

// Bytes to text. The five bytes Windows-1252 leaves undefined map to the C1 controls of the same
// value, as Windows does, so they survive a round trip.
QString fromCp1252(const char *data, qsizetype size);
inline QString fromCp1252(const QByteArray &bytes)
{
    return fromCp1252(bytes.constData(), bytes.size());
}

// Decodes into `out`, which has room for `size` characters; returns the end of what was written.
char16_t *decodeCp1252Into(char16_t *out, const char *data, qsizetype size);

// Text to bytes, one byte per character; a character the code page lacks becomes "?".
QByteArray toCp1252(const QString &text);
// Encodes into `out`, which has room for text.size() bytes; returns the end of what was written.
char *encodeCp1252Into(char *out, QStringView text);

// The distinct characters of `text` the code page lacks (each would be stored as "?"), in the
// order they first appear; a character outside the Basic Multilingual Plane is one character.
QStringList unkeptCp1252Characters(QStringView text);
