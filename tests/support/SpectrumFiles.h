#pragma once

// Small rom files of each kind, as the machine rules see them: a 48K SNA and Z80, an SZX of a
// 48K, a TZX with no hardware block, a TAP header; a disk is told by its ending alone.

#include "core/PathText.h"

#include <QByteArray>
#include <QString>

namespace testsupport {

inline QByteArray spectrumFileBytes(const QString &name)
{
    const QString kind = lowerExtension(name);
    if (kind == u"sna")
        return QByteArray(49179, '\0');
    if (kind == u"z80") {
        QByteArray v1(30 + 49152, '\0');
        v1[6] = 1; // a program counter: version 1, a 48K
        return v1;
    }
    if (kind == u"szx")
        return QByteArray("ZXST\x01\x04\x01\x00", 8);
    if (kind == u"tzx")
        return QByteArray("ZXTape!\x1a\x01\x14", 10);
    return QByteArray("\x13\0\0\0jetpac    ", 14);
}

} // namespace testsupport
