#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A name as the TOSEC convention writes it: "Title (Date)(Publisher)" followed by optional
// "(...)" groups and "[...]" flags, e.g. "Great Escape, The (1986)(Ocean)(Side A)[a]".
struct TosecName
{
    bool parsed = false; // false: the name does not follow the convention; title is the name
    QString title;
    qint32 year = 0;   // 0 when the date is missing or has unknown digits ("198x")
    QString publisher; // as written, several joined by " - "; empty for "-"
    QString media;     // the media groups ("Side A", "Disk 1 of 2"), joined by " " when several
    QStringList flags; // every other group with its brackets, in order: "(demo)", "[a]", "[!]"

    friend bool operator==(const TosecName &, const TosecName &) = default;
};

// Reads a base name (no extension). A name that does not parse keeps the whole text as title.
TosecName readTosecName(const QString &baseName);

// The place of a media group among its siblings: "Side A" < "Side B", "Part 2 of 3" < "Part 3
// of 3", compared element by element; letters count as their place in the alphabet.
QList<int> mediaOrder(const QString &media);
