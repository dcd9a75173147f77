#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

// A profile (INI) file in memory: "[section]" lines followed by "key=value" lines. It behaves as
// the settings and language files written on Windows expect:
// - section and key names match without regard to case;
// - blanks around names and values are trimmed, and one pair of matching quotes (double or
//   single) around a value is removed;
// - a value is seen through a 255-character buffer, so at most 254 characters of it;
// - lines starting with ";" are comments;
// - a value holding a line break, blanks at either end or surrounding quotes is written between
//   backquotes with "\\", "\r" and "\n" escaped, and read back as it was; no value can break out
//   of its line;
// - in a hand-edited file that repeats a section or a key, the first one wins;
// - a write replaces the key's line, or appends the key to the end of its section, or appends
//   the section to the end of the file; every other line is kept as it was.
// Bytes are read as UTF-8 when they are valid UTF-8 and as Windows-1252 otherwise (files written
// on Windows); they are written as UTF-8 with CR LF line ends.
class ProfileFile
{
public:
    static constexpr qsizetype kMaxValueLength = 254;

    static ProfileFile fromBytes(const QByteArray &bytes);
    // A missing or unreadable file reads as an empty one.
    static ProfileFile load(const QString &path);

    // The value of `key` in `section`; nullopt when the section or the key is missing. A key
    // present with nothing after "=" gives the empty text.
    std::optional<QString> value(const QString &section, const QString &key) const;
    QString read(const QString &section, const QString &key, const QString &defaultValue) const;

    void write(const QString &section, const QString &key, const QString &value);

    QByteArray toBytes() const;

private:
    struct Line
    {
        QString text;  // as it is written back
        QString value; // entries only: trimmed and unquoted
    };

    struct Section
    {
        QString header; // "[name]" as written; empty for the lines before the first section
        QList<Line> lines;
        qsizetype trailingBlankLines = 0; // kept after the lines, so new keys go before them
        QHash<QString, qsizetype> keys;   // folded key name -> its first line
    };

    static QString fold(const QString &name) { return name.toCaseFolded(); }
    // A line as read from the file.
    void addLine(Section &section, const QString &text);
    // A line after the section's last non-blank line.
    void appendLine(Section &section, const QString &text);

    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // folded section name -> its first section
};
