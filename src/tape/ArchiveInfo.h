#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The text fields of a TZX archive-info block (ID 0x32), the catalogue card some tapes carry.
namespace ArchiveField {
constexpr quint8 kFullTitle = 0x00;
constexpr quint8 kPublisher = 0x01;
constexpr quint8 kAuthors = 0x02;
constexpr quint8 kYear = 0x03;
constexpr quint8 kComment = 0xFF;
} // namespace ArchiveField

struct ArchiveText
{
    quint8 type = 0;
    QString text; // Windows-1252 decoded; lines as the tape separates them (CR)

    friend bool operator==(const ArchiveText &, const ArchiveText &) = default;
};

// The texts of an archive-info block from the Body the tape reader keeps: its two length bytes,
// a count, then per text a type byte, a length byte and the text. A text that runs past the end
// of the block is damaged and ends the list; the texts before it are kept.
QList<ArchiveText> decodeArchiveInfo(const QByteArray &body);

// The non-empty lines of an archive text, each trimmed; CR, LF and CR LF all end a line.
QStringList archiveLines(const QString &text);
