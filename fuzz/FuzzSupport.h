#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: a check that stops the run on a wrong result (not only on a
// crash), a scratch directory for the readers that take a path, and the heap a reader holds.

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            kivofuzz::fail(#condition, __FILE__, __LINE__);                                        \
    } while (false)

namespace kivofuzz {

[[noreturn]] void fail(const char *what, const char *file, int line);

inline QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Writes `bytes` to `name` in a directory of this process's own, replacing what an earlier input
// left there, and returns the file's path.
QString writeScratchFile(const QString &name, const QByteArray &bytes);
// The scratch directory, ending with "/".
QString scratchDirectory();

// The largest amount of heap held at once while `run` ran, beyond what was held before it, in
// bytes. Counted through the sanitizer's allocation hooks; -1 in a build without AddressSanitizer,
// where nothing can tell.
qint64 peakHeapDuring(void (*run)(void *), void *context);
template <typename Run> qint64 peakHeap(Run &&run)
{
    return peakHeapDuring([](void *context) { (*static_cast<Run *>(context))(); }, &run);
}

// A reader may hold `perInputByte` bytes of heap for every byte it was given, plus `fixed` bytes
// (tables built once, a few small buffers). Beyond that, a damaged length or count made it
// allocate what the input cannot justify.
void checkHeap(qint64 peak, qsizetype inputSize, qint64 perInputByte, qint64 fixed,
               const char *what);

} // namespace kivofuzz
