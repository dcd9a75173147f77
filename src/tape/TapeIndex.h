#pragma once

#include <QByteArray>
#include <QList>

// One block of a tape image: the bytes after its ID byte, and the TZX block ID (every TAP block
// is 0x10).
struct TapeBlock
{
    QByteArray Body;
    qint16 BlockId = 0;
};

// The blocks of the image read last. A block read from a file does not copy its bytes: its Body
// refers to Image, so a tape of millions of tiny blocks costs little more than the file. Keep
// Blocks with the Image they came from.
struct TapeIndex
{
    QList<TapeBlock> Blocks;
    bool IsTap = false;
    QByteArray Image;
};
