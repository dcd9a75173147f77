#pragma once

// DAT files made in the tests, and files of a chosen size and CRC-32 for a DAT to match. For the
// tests of the scan layer.

#include <zlib.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>

namespace testsupport {

struct DatGameSpec
{
    QByteArray name;
    qint64 size = 0;
    quint32 crc = 0;
    QByteArray keys = {}; // more of the game block: "year \"1987\" manufacturer \"A|B\""
};

// A ClrMamePro DAT of one rom to each game, after `header`.
inline QByteArray clrMameProDat(const QList<DatGameSpec> &games,
                                const QByteArray &header = "clrmamepro ( name \"Test\" )\n")
{
    QByteArray dat = header;
    for (const DatGameSpec &game : games) {
        dat += "game (\n\tname \"" + game.name + "\"\n\t" + game.keys +
               "\n\trom ( name \"r\" size " + QByteArray::number(game.size) + " crc " +
               QByteArray::number(game.crc, 16).rightJustified(8, '0') + " )\n)\n";
    }
    return dat;
}

// `size` bytes (at least 4) whose CRC-32 is `crc`: filler, then four bytes solved for, since the
// CRC of the last four bytes is an affine function of their 32 bits.
inline QByteArray bytesWithCrc(qint64 size, quint32 crc)
{
    QByteArray bytes(size, 'k');
    const auto crcWith = [&](quint32 tail) {
        for (int i = 0; i < 4; ++i)
            bytes[size - 4 + i] = char(tail >> (8 * i));
        return quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(size)));
    };
    const quint32 base = crcWith(0);
    // Gaussian elimination over GF(2): each row is a tail bit's effect, and which bits make it.
    std::array<std::pair<quint32, quint32>, 32> rows;
    for (int bit = 0; bit < 32; ++bit)
        rows[bit] = {crcWith(1u << bit) ^ base, 1u << bit};
    quint32 want = crc ^ base;
    quint32 tail = 0;
    for (int bit = 31, next = 0; bit >= 0; --bit) {
        int pivot = next;
        while (pivot < 32 && !(rows[pivot].first >> bit & 1))
            ++pivot;
        if (pivot == 32)
            continue;
        std::swap(rows[pivot], rows[next]);
        for (int r = 0; r < 32; ++r) {
            if (r != next && (rows[r].first >> bit & 1)) {
                rows[r].first ^= rows[next].first;
                rows[r].second ^= rows[next].second;
            }
        }
        if (want >> bit & 1) {
            want ^= rows[next].first;
            tail ^= rows[next].second;
        }
        ++next;
    }
    crcWith(tail);
    return bytes;
}

} // namespace testsupport
