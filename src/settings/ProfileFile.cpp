#include "settings/ProfileFile.h"

#include "core/Cp1252.h"
#include "core/PathText.h"

#include <QFile>
#include <QStringDecoder>

namespace {

const QString kCrLfText = QStringLiteral("\r\n");

struct Entry
{
    QString key;
    QString value;
};

QString unquoted(const QString &value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

// A value the plain form cannot carry (a line break would end its line; blanks around it and a
// pair of surrounding quotes would be taken off when read) is written between backquotes, with
// "\\", "\r" and "\n" standing for a backslash, CR and LF. Every other value is written as it is,
// so files stay as the Windows profile functions write them.
bool needsEscaping(const QString &value)
{
    if (value.isEmpty())
        return false;
    const QChar first = value.front();
    const QChar last = value.back();
    // Reading trims whatever QString::trimmed() takes for white space.
    return value.contains(u'\r') || value.contains(u'\n') || first.isSpace() || last.isSpace() ||
           (value.size() >= 2 && first == last &&
            (first == u'"' || first == u'\'' || first == u'`'));
}

QString escaped(const QString &value)
{
    QString out = QStringLiteral("`");
    for (const QChar c : value) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else
            out += c;
    }
    return out + u'`';
}

QString unescaped(QStringView value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const QChar next = i + 1 < value.size() ? value.at(i + 1) : QChar();
        if (c == u'\\' && (next == u'\\' || next == u'r' || next == u'n')) {
            out += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : QChar(u'\\');
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

// A value as read: trimmed, then either unescaped from backquotes or stripped of one pair of
// matching quotes.
QString valueOf(const QString &text)
{
    const QString value = text.trimmed();
    if (value.size() >= 2 && value.front() == u'`' && value.back() == u'`')
        return unescaped(QStringView(value).mid(1, value.size() - 2));
    return unquoted(value);
}

// A "key=value" line; comments, section headers and lines without a key are not entries.
std::optional<Entry> parseEntry(const QString &text)
{
    const QString line = text.trimmed();
    if (line.startsWith(u';') || line.startsWith(u'['))
        return std::nullopt;
    const qsizetype equals = line.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    const QString key = line.left(equals).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return Entry{key, valueOf(line.mid(equals + 1))};
}

QString decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return fromCp1252(bytes);
    return text;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// What a 255-character buffer lets through, without splitting a surrogate pair.
QString cutToBuffer(const QString &value)
{
    if (value.size() <= ProfileFile::kMaxValueLength)
        return value;
    qsizetype length = ProfileFile::kMaxValueLength;
    if (value.at(length - 1).isHighSurrogate())
        --length;
    return value.left(length);
}

} // namespace

ProfileFile ProfileFile::fromBytes(const QByteArray &bytes)
{
    ProfileFile file;
    for (const QString &line : splitLines(decode(bytes))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            qsizetype close = trimmed.indexOf(u']');
            if (close < 0)
                close = trimmed.size();
            const QString name = fold(trimmed.mid(1, close - 1).trimmed());
            file.m_sections.append(Section{line, {}, 0, {}});
            if (!file.m_sectionIndex.contains(name))
                file.m_sectionIndex.insert(name, file.m_sections.size() - 1);
            continue;
        }
        if (file.m_sections.isEmpty())
            file.m_sections.append(Section{}); // lines before the first section: kept, never read
        file.addLine(file.m_sections.last(), line);
    }
    return file;
}

ProfileFile ProfileFile::load(const QString &path)
{
    QFile file(toFileSystemPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.readAll());
}

void ProfileFile::addLine(Section &section, const QString &text)
{
    if (text.trimmed().isEmpty()) {
        ++section.trailingBlankLines;
        return;
    }
    for (; section.trailingBlankLines > 0; --section.trailingBlankLines)
        section.lines.append(Line{});
    appendLine(section, text);
}

void ProfileFile::appendLine(Section &section, const QString &text)
{
    const std::optional<Entry> entry = parseEntry(text);
    section.lines.append(Line{text, entry ? entry->value : QString()});
    if (entry) {
        const QString key = fold(entry->key);
        if (!section.keys.contains(key))
            section.keys.insert(key, section.lines.size() - 1);
    }
}

std::optional<QString> ProfileFile::value(const QString &section, const QString &key) const
{
    const auto found = m_sectionIndex.constFind(fold(section.trimmed()));
    if (found == m_sectionIndex.cend())
        return std::nullopt;
    const Section &s = m_sections.at(*found);
    const auto line = s.keys.constFind(fold(key.trimmed()));
    if (line == s.keys.cend())
        return std::nullopt;
    return cutToBuffer(s.lines.at(*line).value);
}

QString ProfileFile::read(const QString &section, const QString &key,
                          const QString &defaultValue) const
{
    return value(section, key).value_or(defaultValue);
}

void ProfileFile::write(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = fold(section.trimmed());
    auto found = m_sectionIndex.find(sectionName);
    if (found == m_sectionIndex.end()) {
        m_sections.append(Section{QLatin1Char('[') + section + QLatin1Char(']'), {}, 0, {}});
        found = m_sectionIndex.insert(sectionName, m_sections.size() - 1);
    }
    Section &s = m_sections[*found];
    const QString text = key + QLatin1Char('=') + (needsEscaping(value) ? escaped(value) : value);
    const auto line = s.keys.constFind(fold(key.trimmed()));
    if (line == s.keys.cend()) {
        appendLine(s, text); // blank lines that close the section stay after it
        return;
    }
    const std::optional<Entry> entry = parseEntry(text);
    s.lines[*line] = Line{text, entry ? entry->value : QString()};
}

QByteArray ProfileFile::toBytes() const
{
    QString text;
    auto appendLine = [&](const QString &line) {
        text += line;
        text += kCrLfText;
    };
    for (const Section &section : m_sections) {
        if (!section.header.isEmpty())
            appendLine(section.header);
        for (const Line &line : section.lines)
            appendLine(line.text);
        for (qsizetype i = 0; i < section.trailingBlankLines; ++i)
            appendLine(QString());
    }
    return text.toUtf8();
}
