#pragma once

#include "tape/TapeIndex.h"

#include <QList>

#include <QString>
#include <functional>

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

// The listing of a tape: one row per block from block 0, Spectrum headers decoded and paired with
// the data block that follows them, and a "missing datablock" row where a header got none.
// Building it walks the blocks once and keeps eight bytes a row; a row's texts are made when it
// is asked for, so a tape of millions of blocks lists without millions of strings.
class TapeListing
{
public:
    enum class RowKind : quint8 {
        Block,           // a block described by itself
        PairedData,      // a Spectrum data block that follows its header: "DATA"
        MissingDatablock // the row inserted before a header whose predecessor got no data
    };
    struct RowRef
    {
        qint32 block; // -1 on a missing-datablock row
        RowKind kind;
    };

    // `tape` must outlive the listing and stay unchanged.
    explicit TapeListing(const TapeIndex &tape);

    qsizetype rowCount() const { return m_rows.size(); }
    TapeRow row(qsizetype index) const;

    // Every row in order, made one at a time and not kept.
    static void forEachRow(const TapeIndex &tape,
                           const std::function<void(const TapeRow &)> &visit);

private:
    static TapeRow describe(const TapeIndex &tape, const RowRef &ref);

    const TapeIndex &m_tape;
    QList<RowRef> m_rows;
};

// Every row of the listing at once (short tapes and tests).
QList<TapeRow> ListTapeBlocks(const TapeIndex &tape);

// Text taken from a tape: Windows-1252, with control characters shown as "?" so a row stays on
// one line.
QString tapeText(const QByteArray &bytes);
