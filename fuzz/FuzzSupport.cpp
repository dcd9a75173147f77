#include "FuzzSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KIVO_FUZZ_HEAP_HOOKS 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KIVO_FUZZ_HEAP_HOOKS 1
#endif

#ifdef KIVO_FUZZ_HEAP_HOOKS
extern "C" {
std::size_t __sanitizer_get_allocated_size(const volatile void *p);
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void *,
                                                                  std::size_t),
                                              void (*free_hook)(const volatile void *));
}
#endif

namespace kivofuzz {

void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "\n%s:%d: invariant broken: %s\n", file, line, what);
    std::fflush(stderr);
    std::abort();
}

QString scratchDirectory()
{
    // Lives until the process ends; under $TMPDIR, which scripts/fuzz.sh points into build-fuzz.
    static QTemporaryDir directory(QDir::tempPath() + QStringLiteral("/kivo-fuzz-XXXXXX"));
    if (!directory.isValid()) {
        std::fprintf(stderr, "cannot create a scratch directory under %s\n",
                     qPrintable(QDir::tempPath()));
        std::abort();
    }
    return directory.path() + u'/';
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = scratchDirectory() + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

namespace {

std::atomic<bool> g_watching{false};
std::atomic<qint64> g_held{0};
std::atomic<qint64> g_peak{0};

#ifdef KIVO_FUZZ_HEAP_HOOKS
void onMalloc(const volatile void *, std::size_t size)
{
    if (!g_watching.load(std::memory_order_relaxed))
        return;
    const qint64 held = g_held.fetch_add(qint64(size), std::memory_order_relaxed) + qint64(size);
    qint64 peak = g_peak.load(std::memory_order_relaxed);
    while (held > peak && !g_peak.compare_exchange_weak(peak, held, std::memory_order_relaxed)) {
    }
}

void onFree(const volatile void *pointer)
{
    if (!g_watching.load(std::memory_order_relaxed))
        return;
    // Runs before the block is released, so its size is still known. A block allocated before
    // the watch started lowers the count below zero; that is memory given back, and fine.
    g_held.fetch_sub(qint64(__sanitizer_get_allocated_size(pointer)), std::memory_order_relaxed);
}

bool installHooks()
{
    return __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
}
#endif

} // namespace

qint64 peakHeapDuring(void (*run)(void *), void *context)
{
#ifdef KIVO_FUZZ_HEAP_HOOKS
    static const bool installed = installHooks();
#else
    constexpr bool installed = false;
#endif
    if (!installed) {
        run(context);
        return -1;
    }
    g_held = 0;
    g_peak = 0;
    g_watching = true;
    run(context);
    g_watching = false;
    return g_peak;
}

void checkHeap(qint64 peak, qsizetype inputSize, qint64 perInputByte, qint64 fixed,
               const char *what)
{
    if (peak < 0)
        return;
    const qint64 allowed = perInputByte * qint64(inputSize) + fixed;
    // KIVO_FUZZ_HEAP=1 prints every measurement, to see how close a reader comes to its budget.
    static const bool report = qEnvironmentVariableIntValue("KIVO_FUZZ_HEAP") != 0;
    if (report)
        std::fprintf(stderr, "heap %s: %lld bytes for %lld input bytes (%.1f per byte)\n", what,
                     static_cast<long long>(peak), static_cast<long long>(inputSize),
                     inputSize > 0 ? double(peak) / double(inputSize) : 0.0);
    if (peak > allowed) {
        std::fprintf(stderr, "\n%s held %lld bytes of heap for %lld input bytes (allowed %lld)\n",
                     what, static_cast<long long>(peak), static_cast<long long>(inputSize),
                     static_cast<long long>(allowed));
        std::fflush(stderr);
        std::abort();
    }
}

} // namespace kivofuzz
