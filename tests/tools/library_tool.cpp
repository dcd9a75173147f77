// Writes to the library of a catalogue in a loop until it is killed, so a test can kill it at any
// moment and see that every change it reported is there.
//   library_tool CATALOGUE FIRST
// From FIRST on, for game<i>.tap: favourite, a start at i, the end of that start after 60
// seconds; each printed as "f i", "s i", "e i" once committed. Exit status 1 when a change
// fails, 2: usage.
#include "library/Library.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    Library library;
    if (const auto message = library.open(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(message->text));
        return 1;
    }
    for (long i = std::atol(argv[2]);; ++i) {
        const LibraryKey key = LibraryKey::romFile(QStringLiteral("game%1.tap").arg(i));
        if (!library.setFavourite(key, true).ok)
            return 1;
        std::printf("f %ld\n", i);
        std::fflush(stdout);
        const LibraryWrite start = library.recordStart(key, i);
        if (!start.ok)
            return 1;
        std::printf("s %ld\n", i);
        std::fflush(stdout);
        if (!library.recordEnd(start.session, 60).ok)
            return 1;
        std::printf("e %ld\n", i);
        std::fflush(stdout);
    }
}
