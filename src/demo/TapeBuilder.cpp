#include "TapeBuilder.h"

#include "core/Cp1252.h"

namespace {

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

QByteArray withChecksum(QByteArray block)
{
    char sum = 0;
    for (const char byte : std::as_const(block))
        sum = char(sum ^ byte);
    block.append(sum);
    return block;
}

// A pause after each block long enough for the ROM loader to print what it found.
constexpr int kPauseMs = 1000;

} // namespace

bool TapeBuilder::appendTap(const QByteArray &tap)
{
    qsizetype at = 0;
    while (at < tap.size()) {
        if (at + 2 > tap.size())
            return false;
        const int length = quint8(tap[at]) | (quint8(tap[at + 1]) << 8);
        if (length == 0 || at + 2 + length > tap.size())
            return false;
        m_blocks.append(tap.mid(at + 2, length));
        at += 2 + length;
    }
    return true;
}

void TapeBuilder::appendCode(const QString &name, const QByteArray &data, int start)
{
    QByteArray header(1, '\0'); // flag: header
    header.append(char(3));     // CODE
    header.append(toCp1252(name.leftJustified(10, u' ', true)));
    put16(header, int(data.size()));
    put16(header, start);
    put16(header, 32768);
    m_blocks.append(withChecksum(header));
    m_blocks.append(withChecksum(QByteArray(1, char(0xFF)) + data));
}

void TapeBuilder::addInfo(InfoKind kind, const QString &text)
{
    m_info.append({kind, toCp1252(text)});
}

QByteArray TapeBuilder::tap() const
{
    QByteArray out;
    for (const QByteArray &block : m_blocks) {
        put16(out, int(block.size()));
        out.append(block);
    }
    return out;
}

std::optional<QByteArray> TapeBuilder::tzx() const
{
    QByteArray out("ZXTape!\x1A", 8);
    out.append(char(1));
    out.append(char(20));
    if (!m_info.isEmpty()) {
        QByteArray texts(1, char(m_info.size()));
        for (const auto &[kind, text] : m_info) {
            if (text.size() > 255)
                return std::nullopt;
            texts.append(char(kind));
            texts.append(char(text.size()));
            texts.append(text);
        }
        out.append(char(0x32));
        put16(out, int(texts.size()));
        out.append(texts);
    }
    for (const QByteArray &block : m_blocks) {
        out.append(char(0x10));
        put16(out, kPauseMs);
        put16(out, int(block.size()));
        out.append(block);
    }
    return out;
}
