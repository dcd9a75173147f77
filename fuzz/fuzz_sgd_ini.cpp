// sgd.ini: the game directories its "GameDir=" items name, and the rom paths the import adds
// from the file beside the data files.

#include "FuzzSupport.h"

#include "core/PathText.h"
#include "interchange/SgdImport.h"

#include <QSet>

namespace {

const QString kKey = QStringLiteral("GameDir=");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);

    QStringList directories;
    const qint64 peak = kivofuzz::peakHeap([&] { directories = sgdGameDirectories(bytes); });
    kivofuzz::checkHeap(peak, bytes.size(), 64, 1 << 16, "sgdGameDirectories");
    // Each directory comes from an item of its own holding the key and at least one character
    // more, so there are no more of them than the text has room for.
    FUZZ_CHECK(directories.size() * (kKey.size() + 1) <= bytes.size());
    for (const QString &directory : directories) {
        FUZZ_CHECK(!directory.isEmpty());
        FUZZ_CHECK(!directory.contains(u' '));
        FUZZ_CHECK(!directory.contains(u'\n'));
        FUZZ_CHECK(endsWithSeparator(directory));
    }

    // The import reads sgd.ini beside the data files and adds each directory to the rom paths
    // once, whatever the case of its letters.
    kivofuzz::writeScratchFile(QStringLiteral("sgd.ini"), bytes);
    RomDatabase database;
    SearchPaths paths;
    QString existing = QStringLiteral("/already/there/");
    paths.AddSearchPath(PathKind::Rom, existing);
    const ImportResult result =
        ImportSgdRecords(database, paths, SgdDataFile(), kivofuzz::scratchDirectory(), false);
    FUZZ_CHECK(result.ok && result.added == 0 && result.skipped == 0);
    FUZZ_CHECK(!database.HasEntries());
    const QStringList dirs = paths[PathKind::Rom].dirs();
    FUZZ_CHECK(dirs.first() == existing);
    QSet<QString> folded;
    for (const QString &dir : dirs) {
        FUZZ_CHECK(!folded.contains(dir.toCaseFolded()));
        folded.insert(dir.toCaseFolded());
    }
    for (const QString &directory : directories)
        FUZZ_CHECK(folded.contains(directory.toCaseFolded()));
    FUZZ_CHECK(dirs.size() <= directories.size() + 1);
    FUZZ_CHECK(paths[PathKind::Screenshot].dirs() == QStringList{QString()});
    return 0;
}
