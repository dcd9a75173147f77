// The main() of a fuzz target outside a libFuzzer build: every file named on the command line,
// and every file in a named directory (its subdirectories too), goes through the target once, so
// ctest replays the seed corpus and the saved crashes with the ordinary compiler.
//
//   fuzz_NAME [--ext=tzx,tap] [--optional] PATH...
//
// --ext keeps only the files of a directory with one of those endings (any letter case); files
// named directly are always run. --optional lets the next PATH be missing (a folder that exists
// on some machines only). Names starting with "." are passed over in directories.

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {

bool runFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::fprintf(stderr, "%s (%lld bytes)\n", qPrintable(path),
                 static_cast<long long>(bytes.size()));
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                           std::size_t(bytes.size()));
    return true;
}

QStringList filesIn(const QString &directory, const QStringList &endings)
{
    QStringList files;
    QDirIterator it(directory, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        if (info.fileName().startsWith(u'.'))
            continue;
        if (!endings.isEmpty() && !endings.contains(info.suffix().toLower()))
            continue;
        files.append(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList endings;
    bool optional = false;
    int ran = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg.startsWith(QStringLiteral("--ext="))) {
            endings = arg.mid(6).toLower().split(u',', Qt::SkipEmptyParts);
            continue;
        }
        if (arg == QStringLiteral("--optional")) {
            optional = true;
            continue;
        }
        const QFileInfo info(arg);
        if (!info.exists()) {
            if (!optional) {
                std::fprintf(stderr, "%s does not exist\n", qPrintable(arg));
                return 1;
            }
            std::printf("skipped %s: not present\n", qPrintable(arg));
        } else if (info.isDir()) {
            for (const QString &path : filesIn(arg, endings)) {
                if (!runFile(path))
                    return 1;
                ++ran;
            }
        } else {
            if (!runFile(arg))
                return 1;
            ++ran;
        }
        optional = false;
    }
    std::printf("%d inputs replayed in %lld ms\n", ran, static_cast<long long>(timer.elapsed()));
    if (ran == 0) {
        std::fprintf(stderr, "no input was replayed\n");
        return 1;
    }
    return 0;
}
