#pragma once

// The Z80 snapshot packing and snapshot headers, for the snapshots the loading-screen and machine
// tests, their benchmarks and the fuzz seeds make by hand.

#include <QByteArray>

namespace testsupport {

// ED ED count byte for runs of five or more and for any two EDs; the byte after a single ED is
// always written as it is.
inline QByteArray z80Pack(const QByteArray &in)
{
    QByteArray out;
    qsizetype i = 0;
    while (i < in.size()) {
        qsizetype run = 1;
        while (i + run < in.size() && in[i + run] == in[i] && run < 255)
            ++run;
        const bool ed = in[i] == char(0xED);
        if (run >= 5 || (ed && run >= 2)) {
            out += QByteArray("\xED\xED", 2) + char(run) + in[i];
            i += run;
        } else {
            out += in[i++];
            if (ed && i < in.size())
                out += in[i++];
        }
    }
    return out;
}

// A version 2 (`extra` 23) or 3 (54, 55) Z80 header: the hardware mode at byte 34, and bit 7 of
// byte 37 (the modify bit) set when `modified`.
inline QByteArray z80Header(int extra, int mode, bool modified = false)
{
    QByteArray header(30 + 2 + extra, '\0');
    header[30] = char(extra);
    header[34] = char(mode);
    header[37] = modified ? char(0x80) : char(0);
    return header;
}

inline QByteArray szxHeader(int machine)
{
    return QByteArray("ZXST\x01\x04", 6) + char(machine) + char(0);
}

} // namespace testsupport
