#pragma once

#include "tape/TapeIndex.h"

#include <QString>

// What a tape says about itself: the texts of its archive-info blocks and the name in its first
// program header. Empty texts and a year of 0 where the tape says nothing.
struct TapeCard
{
    QString title;       // full title
    QString publisher;   // software house / publisher
    QString authors;     // every author line, joined with ", "
    qint32 year = 0;     // the leading number of the year text
    QString comment;     // every comment, lines ending CR LF
    QString programName; // the 10-character name of the first program header, trimmed

    friend bool operator==(const TapeCard &, const TapeCard &) = default;
};

// Reads the card from the blocks of `tape` (TZX or TAP, as its IsTap says). Where several
// archive-info blocks give the title, publisher or year, the first one that is not empty counts;
// authors and comments are collected from all of them.
TapeCard readTapeCard(const TapeIndex &tape);
