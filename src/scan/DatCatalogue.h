#pragma once

#include "core/Message.h"
#include "scan/TosecName.h"

#include <QHash>
#include <QIODevice>
#include <QList>
#include <QString>

#include <optional>

inline const QString kScanTitle = QStringLiteral("Scan Folder");

// How a DAT names its games, told from what the DAT holds, never from its file name.
enum class DatConvention {
    Tosec,          // "Title (Date)(Publisher)(...)[...]", read as the scan reads TOSEC names
    TitlePublisher, // "Title (Publisher)", with year and manufacturer keys (authors by "|")
    NoIntro,        // "Title (Region)...": the parentheses hold a region, not a publisher
};

// "Tosec", "TitlePublisher", "NoIntro": the convention's name, as kivo-cli prints it.
QString conventionName(DatConvention convention);

// What a DAT says of one game, as its convention has it.
struct DatEntry
{
    QString game; // the game's name as the DAT writes it: "10th Frame (US Gold Ltd)"
    QString title;
    qint32 year = 0; // 0 for none
    QString publisher;
    QString authors; // several joined by ", "
    TosecName tosec; // Tosec: the name as read (media groups, flags); otherwise not parsed
    qint32 file = 0; // index into DatCatalogue::files()

    friend bool operator==(const DatEntry &, const DatEntry &) = default;
};

// One DAT file read whole.
struct DatFileInfo
{
    QString path;
    QString name; // the header's name; the file's base name when it gives none
    QString version;
    qsizetype games = 0; // games with at least one rom of a size and CRC-32
    qsizetype roms = 0;  // the roms of those games, with a size and CRC-32
    DatConvention convention = DatConvention::Tosec;
};

// The games of DAT files, Logiqx XML (<datafile>, <game> or <machine>, <rom size crc>) or
// ClrMamePro text (clrmamepro ( ... ) game ( name ... rom ( size crc ) )), told apart by their
// first characters, and indexed by size and CRC-32 so a file is recognised by its contents
// whatever it is called. Built on one thread; read from any once built.
struct DatRead;

class DatCatalogue
{
public:
    // Adds the games of one file. A file that is not a DAT adds nothing and says why: "Not a
    // DAT file: PATH: WHAT at line N".
    std::optional<Message> addFile(const QString &path);
    std::optional<Message> addDevice(QIODevice &device, const QString &path);

    // The game holding a rom of this size and CRC-32, the first one read when several do; null
    // for none.
    const DatEntry *entryOf(qint64 size, quint32 crc) const;
    const QList<DatFileInfo> &files() const { return m_files; }
    qsizetype romCount() const { return m_index.size(); }

private:
    std::optional<Message> add(DatRead &&read, const QString &path);

    // A rom beyond 4 GB is no Spectrum rom; keeping size and CRC in one 64-bit key keeps the
    // index a flat table of numbers.
    static quint64 key(qint64 size, quint32 crc) { return (quint64(size) << 32) | crc; }

    QHash<quint64, qint32> m_index; // key -> index into m_entries
    QList<DatEntry> m_entries;
    QList<DatFileInfo> m_files;
};
