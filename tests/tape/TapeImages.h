#pragma once

#include <QByteArray>
#include <QList>

#include <array>

// Builders for the small tape images the tape tests feed the reader and the listing.
namespace tapeimages {

inline QByteArray le(quint32 value, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
    return bytes;
}

inline char checksum(const QByteArray &bytes)
{
    char sum = 0;
    for (char c : bytes)
        sum = char(sum ^ c);
    return sum;
}

// A Spectrum header as saved by the ROM: flag 0, type, 10-character name, length, two
// parameters, checksum.
inline QByteArray header(int type, const QByteArray &name, int length, int param1,
                         int param2 = 32768)
{
    QByteArray bytes = QByteArray(1, '\0') + char(type) + name.leftJustified(10, ' ', true) +
                       le(length, 2) + le(param1, 2) + le(param2, 2);
    return bytes + checksum(bytes);
}

inline QByteArray data(const QByteArray &payload, char flag = char(0xFF))
{
    const QByteArray bytes = flag + payload;
    return bytes + checksum(bytes);
}

// A TZX standard speed block (ID, pause, length, Spectrum bytes).
inline QByteArray standard(const QByteArray &spectrum)
{
    return QByteArray(1, 0x10) + le(1000, 2) + le(spectrum.size(), 2) + spectrum;
}

// A TZX hardware type block (0x33) of {type, id, information} entries; type 0 is a computer,
// information 0-2 that the tape runs on it, 3 that it does not.
inline QByteArray hardwareType(const QList<std::array<int, 3>> &entries)
{
    QByteArray block = QByteArray(1, 0x33) + char(entries.size());
    for (const auto &[type, id, info] : entries)
        block += QByteArray(1, char(type)) + char(id) + char(info);
    return block;
}

inline QByteArray tzx(const QList<QByteArray> &blocks)
{
    QByteArray image = QByteArrayLiteral("ZXTape!\x1A\x01\x14");
    for (const QByteArray &block : blocks)
        image += block;
    return image;
}

inline QByteArray tap(const QList<QByteArray> &spectrumBlocks)
{
    QByteArray image;
    for (const QByteArray &block : spectrumBlocks)
        image += le(block.size(), 2) + block;
    return image;
}

} // namespace tapeimages
