#pragma once

// A small rom file of the kind `name` ends in, as the machine rules see it: a 48K SNA, Z80 and
// SZX, a TZX with no hardware block, else a TAP header (a disk is told by its ending alone).
#include "core/PathText.h"

#include <QByteArray>
#include <QString>

namespace testsupport {

inline QByteArray spectrumFileBytes(const QString &name)
{
    const QString kind = lowerExtension(name);
    if (kind == u"sna")
        return QByteArray(49179, '\0');
    if (kind == u"z80")
        return QByteArray(6, '\0') + '\x01' + QByteArray(23 + 49152, '\0'); // PC set: version 1
    if (kind == u"szx")
        return QByteArray("ZXST\x01\x04\x01\x00", 8);
    if (kind == u"tzx")
        return QByteArray("ZXTape!\x1a\x01\x14", 10);
    return QByteArray("\x13\0\0\0jetpac    ", 14);
}

} // namespace testsupport
