#pragma once

// The Z80 snapshot packing, for the snapshots the loading-screen tests, its benchmark and the
// fuzz seeds make by hand.

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

} // namespace testsupport
