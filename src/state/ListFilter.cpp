#include "state/ListFilter.h"

#include <cstring>

namespace {

// A character folded: ASCII directly, the rest through its canonical decomposition (the base
// letter of an accented one) and its case folding. Marks on their own fold to nothing.
void appendFolded(QString &out, QChar c)
{
    const char16_t unit = c.unicode();
    if (unit < 0x80) {
        out += unit >= u'A' && unit <= u'Z' ? QChar(unit + (u'a' - u'A')) : c;
        return;
    }
    if (c.category() == QChar::Mark_NonSpacing)
        return;
    if (unit == 0x00DF || unit == 0x1E9E) { // ß and its capital fold to ss
        out += QStringLiteral("ss");
        return;
    }
    // Accented letters decompose into their base and marks; ligatures such as ﬁ into letters.
    if (c.decompositionTag() == QChar::Canonical || c.decompositionTag() == QChar::Compat) {
        for (const QChar part : c.decomposition())
            appendFolded(out, part);
        return;
    }
    if (c.isSurrogate()) {
        out += c;
        return;
    }
    out += c.toCaseFolded();
}

void appendFolded(QString &out, QStringView text)
{
    for (const QChar c : text)
        appendFolded(out, c);
}

// The same folding written straight as UTF-8: ASCII, nearly all of a catalogue, byte by byte.
void appendFoldedUtf8(QByteArray &out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80) {
            out += char(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
            continue;
        }
        QString folded;
        appendFolded(folded, text.at(i));
        out += folded.toUtf8();
    }
}

} // namespace

QString foldForSearch(QStringView text)
{
    QString out;
    out.reserve(text.size());
    appendFolded(out, text);
    return out;
}

QStringList filterWords(const QString &typed)
{
    QStringList words;
    for (const QStringView word : QStringView(typed).split(u' ', Qt::SkipEmptyParts)) {
        const QString folded = foldForSearch(word.trimmed());
        if (!folded.isEmpty())
            words.append(folded);
    }
    return words;
}

namespace {

void appendSearchText(QByteArray &text, const RomRecord &record, const GameTypeTable &types)
{
    for (const QString *field : {&record.RomName, &record.Publisher, &record.Authors}) {
        appendFoldedUtf8(text, *field);
        text += '\n';
    }
    if (record.Year != 0)
        text += QByteArray::number(record.Year);
    text += '\n';
    appendFoldedUtf8(text, types.nameOf(record.RomType));
    text += '\n';
    appendFoldedUtf8(text, record.RomFile);
}

} // namespace

QByteArray searchText(const RomRecord &record, const GameTypeTable &types)
{
    QByteArray text;
    appendSearchText(text, record, types);
    return text;
}

bool matchesWords(const QByteArray &text, const QStringList &words)
{
    return WordFilter(words.join(u' ')).matches(text);
}

WordFilter::WordFilter(const QString &typed)
    : m_words(filterWords(typed))
{
    for (const QString &word : std::as_const(m_words))
        m_utf8.append(word.toUtf8());
}

bool WordFilter::matches(const QByteArray &text) const
{
    // UTF-8 keeps every character's bytes apart, so a word's bytes are found only where the
    // word is.
    for (const QByteArray &word : m_utf8) {
        if (memmem(text.constData(), std::size_t(text.size()), word.constData(),
                   std::size_t(word.size())) == nullptr)
            return false;
    }
    return true;
}

void SearchTexts::clear()
{
    m_text.clear();
    m_starts.clear();
}

void SearchTexts::append(const RomRecord &record, const GameTypeTable &types)
{
    m_starts.append(m_text.size());
    appendSearchText(m_text, record, types);
    m_text += '\0';
}

void SearchTexts::narrow(const WordFilter &filter, QList<bool> &keep) const
{
    const char *const begin = m_text.constData();
    const char *const end = begin + m_text.size();
    const qsizetype rows = m_starts.size();
    for (const QByteArray &word : filter.utf8()) {
        // Every hit marks its row and the search goes on at the next row; rows passed over
        // between hits lack the word. A word never holds the 0 byte, so no hit spans two rows.
        qsizetype row = 0;
        const char *from = begin;
        while (from < end) {
            const auto *hit = static_cast<const char *>(
                memmem(from, std::size_t(end - from), word.constData(), std::size_t(word.size())));
            const qint64 offset = hit != nullptr ? hit - begin : m_text.size();
            for (; row < rows && (row + 1 == rows ? m_text.size() : m_starts.at(row + 1)) <= offset;
                 ++row)
                keep[row] = false;
            if (hit == nullptr)
                break;
            ++row; // the row of the hit keeps its flag
            from = row < rows ? begin + m_starts.at(row) : end;
        }
        for (; row < rows; ++row)
            keep[row] = false;
    }
}
