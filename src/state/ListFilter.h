#pragma once

#include "core/RomRecord.h"
#include "settings/LanguageTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// Finding entries by what was typed: every word must occur in the entry's name, publisher,
// authors, year, game type or rom file, without regard to case or accents.

// `text` folded for finding: lower case with accents and other marks taken off (É and é find e).
QString foldForSearch(QStringView text);

// The folded words of what was typed; blanks separate them.
QStringList filterWords(const QString &typed);

// What the filter looks at in one entry, folded, one field a line so no word spans two fields;
// as UTF-8, where a word is found as fast as the bytes can be scanned.
QByteArray searchText(const RomRecord &record, const GameTypeTable &types);

// True when every word occurs in `text` (no words: always).
bool matchesWords(const QByteArray &text, const QStringList &words);

class WordFilter;

// The search texts of many entries in one buffer, a row after another, so finding a word in all
// of them is one scan over memory rather than a search per entry.
class SearchTexts
{
public:
    void clear();
    void append(const RomRecord &record, const GameTypeTable &types);
    int size() const { return int(m_starts.size()); }

    // Sets keep[row] to false for every row that lacks a word; `keep` holds one flag a row.
    void narrow(const WordFilter &filter, QList<bool> &keep) const;

private:
    QByteArray m_text;      // each row's text followed by a 0 byte
    QList<qint64> m_starts; // where each row's text starts
};

// What was typed, ready to test many entries quickly.
class WordFilter
{
public:
    WordFilter() = default;
    explicit WordFilter(const QString &typed);

    const QStringList &words() const { return m_words; }
    bool isEmpty() const { return m_words.isEmpty(); }
    // As matchesWords.
    bool matches(const QByteArray &text) const;

    const QList<QByteArray> &utf8() const { return m_utf8; }

private:
    QStringList m_words;
    QList<QByteArray> m_utf8; // the words as the texts hold them
};
