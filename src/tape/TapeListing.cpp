#include "tape/TapeListing.h"

#include "core/Cp1252.h"

#include <iterator>

namespace {

constexpr int kHeaderNameLength = 10;

quint8 byteAt(const QByteArray &bytes, qsizetype i)
{
    return i < bytes.size() ? quint8(bytes.at(i)) : 0;
}

int word(const QByteArray &bytes, qsizetype i)
{
    return byteAt(bytes, i) | byteAt(bytes, i + 1) << 8;
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString trimBlanks(QString text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// A Spectrum header (flag 0): the name in quotes, the file type and the first parameter padded
// to five places, so a column of headers lines up in a fixed-width font. Bytes a short header
// lacks read as zero; a missing part of the name as blanks.
QString describeHeader(const QByteArray &body, qsizetype at, qint64 &size)
{
    const QByteArray name = body.mid(at + 2, kHeaderNameLength);
    QString text = QString(9, u' ') +
                   quoted(tapeText(name).leftJustified(kHeaderNameLength, u' ')) + QLatin1Char(' ');
    static const char *const kTypes[] = {"PROG ", "N-AR ", "C-AR ", "CODE "};
    const quint8 type = byteAt(body, at + 1);
    if (type < std::size(kTypes))
        text += QLatin1String(kTypes[type]);
    size = word(body, at + 12);
    text += QString::number(word(body, at + 14)).rightJustified(5, u' ');
    return text;
}

// Every block but standard and turbo speed data.
QString describeOther(const TapeBlock &block, qint64 &size)
{
    const QByteArray &body = block.Body;
    const qint64 afterLength = body.size() - 2;
    switch (quint8(block.BlockId)) {
    case 0x12:
        return QStringLiteral("Pure Tone");
    case 0x13:
        return QStringLiteral("Sequence of Pulses");
    case 0x14:
        return QStringLiteral("Pure Data Block");
    case 0x15:
        return QStringLiteral("Direct Recording");
    case 0x16:
        return QStringLiteral("C64 ROM Type Data Block");
    case 0x17:
        return QStringLiteral("C64 Turbo Tape Data Block");
    case 0x18:
        return QStringLiteral("CSW Recording");
    case 0x19:
        return QStringLiteral("Generalized Data Block");
    case 0x20:
        return QStringLiteral("Pause 'Stop the Tape' Command");
    case 0x21:
        return QStringLiteral("GROUP ") + quoted(tapeText(body.mid(1, byteAt(body, 0))));
    case 0x22:
        return QStringLiteral("GROUP END");
    case 0x23:
        return QStringLiteral("Jump To Block");
    case 0x24:
        return QStringLiteral("LOOP %1 TIMES").arg(word(body, 0));
    case 0x25:
        return QStringLiteral("LOOP END");
    case 0x26:
        size = afterLength;
        return QStringLiteral("[Call Sequence]");
    case 0x27:
        return QStringLiteral("Return From Sequence");
    case 0x28:
        size = afterLength;
        return QStringLiteral("[Select Block]");
    case 0x2A:
        return QStringLiteral("Stop Tape if in 48K Mode");
    case 0x2B:
        return QStringLiteral("Set Signal Level");
    case 0x30:
        return QStringLiteral("[Text ") + quoted(tapeText(body.mid(1))) + u']';
    case 0x31:
        size = afterLength;
        return QStringLiteral("[Message Block]");
    case 0x32:
        size = afterLength;
        return QStringLiteral("[Archive Info]");
    case 0x33:
        return QStringLiteral("Hardware Type");
    case 0x34:
        return QStringLiteral("Emulation Info");
    case 0x35:
        size = body.size() - 4;
        return QStringLiteral("[Custom Info Block ") + quoted(trimBlanks(tapeText(body.left(16)))) +
               u']';
    case 0x40:
        return QStringLiteral("Snapshot Block");
    case 0x5A:
        return QStringLiteral("(90 dec, ASCII Letter `Z')");
    default:
        return QStringLiteral("Unknown Block 0x") +
               QString::number(quint8(block.BlockId), 16).rightJustified(2, u'0').toUpper();
    }
}

} // namespace

QString tapeText(const QByteArray &bytes)
{
    QString text = fromCp1252(bytes);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u'?';
    }
    return text;
}

namespace {

// Where a Spectrum block's flag byte sits: after pause and length in a TZX 0x10 block, after the
// timing values in a 0x11 block; a TAP block is nothing but the Spectrum bytes.
qsizetype spectrumOffset(const TapeIndex &tape, const TapeBlock &block)
{
    return block.BlockId == 0x11 ? 18 : tape.IsTap ? 0 : 4;
}

bool isSpectrumData(const TapeBlock &block)
{
    return block.BlockId == 0x10 || block.BlockId == 0x11;
}

// Walks the rows of `tape` in order, pairing headers with the data blocks that follow them, and
// hands each row's reference to `visit`.
template <typename Visit> void walkRows(const TapeIndex &tape, Visit visit)
{
    bool HeaderPending = false; // a header row whose data block has not come yet
    for (qsizetype i = 0; i < tape.Blocks.size(); ++i) {
        const TapeBlock &block = tape.Blocks.at(i);
        TapeListing::RowKind kind = TapeListing::RowKind::Block;
        const qsizetype at = spectrumOffset(tape, block);
        // A block without a flag byte has nothing to decode and leaves the pairing alone.
        if (isSpectrumData(block) && block.Body.size() > at) {
            if (block.Body.at(at) != 0) {
                if (HeaderPending)
                    kind = TapeListing::RowKind::PairedData;
                HeaderPending = false;
            } else {
                if (HeaderPending)
                    visit(TapeListing::RowRef{-1, TapeListing::RowKind::MissingDatablock});
                HeaderPending = true;
            }
        }
        visit(TapeListing::RowRef{qint32(i), kind});
    }
}

} // namespace

TapeListing::TapeListing(const TapeIndex &tape)
    : m_tape(tape)
{
    m_rows.reserve(tape.Blocks.size());
    walkRows(tape, [this](const RowRef &ref) { m_rows.append(ref); });
}

TapeRow TapeListing::row(qsizetype index) const
{
    return describe(m_tape, m_rows.at(index));
}

void TapeListing::forEachRow(const TapeIndex &tape,
                             const std::function<void(const TapeRow &)> &visit)
{
    walkRows(tape, [&](const RowRef &ref) { visit(describe(tape, ref)); });
}

TapeRow TapeListing::describe(const TapeIndex &tape, const RowRef &ref)
{
    if (ref.kind == RowKind::MissingDatablock)
        return {QString(), kMissingDatablock, QString(), TapeRow::Colour::Default};
    const TapeBlock &block = tape.Blocks.at(ref.block);
    QString description;
    qint64 size = 0;
    if (isSpectrumData(block)) {
        const qsizetype at = spectrumOffset(tape, block);
        size = block.Body.size() - at - 2; // without flag and checksum
        // Without a flag byte there is nothing to describe.
        if (block.Body.size() > at) {
            if (block.Body.at(at) == 0)
                description = describeHeader(block.Body, at, size);
            else if (ref.kind == RowKind::PairedData)
                description = QStringLiteral("DATA");
            else
                description = QStringLiteral("HEAD") + QString(25, u' ') + QStringLiteral("255");
        }
    } else {
        description = describeOther(block, size);
    }
    return {QString::number(ref.block), description, size > 0 ? QString::number(size) : QString(),
            isSpectrumData(block) ? TapeRow::Colour::Black : TapeRow::Colour::Blue};
}

QList<TapeRow> ListTapeBlocks(const TapeIndex &tape)
{
    QList<TapeRow> rows;
    rows.reserve(tape.Blocks.size());
    TapeListing::forEachRow(tape, [&](const TapeRow &row) { rows.append(row); });
    return rows;
}
