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

QList<TapeRow> ListTapeBlocks(const TapeIndex &tape)
{
    QList<TapeRow> rows;
    rows.reserve(tape.Blocks.size());
    bool HeaderPending = false; // a header row whose data block has not come yet

    for (qsizetype i = 0; i < tape.Blocks.size(); ++i) {
        const TapeBlock &block = tape.Blocks.at(i);
        const bool spectrumData = block.BlockId == 0x10 || block.BlockId == 0x11;
        QString description;
        qint64 size = 0;

        if (spectrumData) {
            // Where the flag byte sits: after pause and length in a TZX 0x10 block, after the
            // timing values in a 0x11 block; a TAP block is nothing but the Spectrum bytes.
            const qsizetype at = block.BlockId == 0x11 ? 18 : tape.IsTap ? 0 : 4;
            size = block.Body.size() - at - 2; // without flag and checksum
            if (block.Body.size() <= at) {
                // No flag byte at all: nothing to decode, and no effect on the pairing.
            } else if (block.Body.at(at) != 0) {
                description = HeaderPending ? QStringLiteral("DATA")
                                            : QStringLiteral("HEAD") + QString(25, u' ') +
                                                  QStringLiteral("255");
                HeaderPending = false;
            } else {
                if (HeaderPending)
                    rows.append(
                        {QString(), kMissingDatablock, QString(), TapeRow::Colour::Default});
                HeaderPending = true;
                description = describeHeader(block.Body, at, size);
            }
        } else {
            description = describeOther(block, size);
        }

        rows.append({QString::number(i), description, size > 0 ? QString::number(size) : QString(),
                     spectrumData ? TapeRow::Colour::Black : TapeRow::Colour::Blue});
    }
    return rows;
}
