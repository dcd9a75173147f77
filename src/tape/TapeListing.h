#pragma once

#include "tape/TapeIndex.h"

#include <QList>
#include <QString>

// One row of the block listing, as the tape viewer shows it and kivo-cli prints it.
struct TapeRow
{
    enum class Colour { Default, Black, Blue };

    QString block; // the block number; empty on an inserted "missing datablock" row
    QString description;
    QString size; // empty when there is no byte count to show
    Colour colour = Colour::Default;

    friend bool operator==(const TapeRow &, const TapeRow &) = default;
};

inline const QString kMissingDatablock = QStringLiteral("      >>>>> Missing Datablock <<<<<");

// The rows for every block of `tape`, from block 0: Spectrum headers decoded and paired with the
// data block that follows them.
QList<TapeRow> ListTapeBlocks(const TapeIndex &tape);

// Text taken from a tape: Windows-1252, with control characters shown as "?" so a row stays on
// one line.
QString tapeText(const QByteArray &bytes);
