// The library file: whatever bytes lie beside a catalogue as its NAME.kivolib, opened as Load
// opens it. A file that is not a library is kept aside byte for byte and a new one started; a
// newer one, or one that cannot be used, is only read; what is read holds counts and totals its
// sessions add up to; a change is recorded, in memory and in the file, or changes nothing.

#include "FuzzSupport.h"

#include "library/Library.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

namespace {

const QString kCatalogue = QStringLiteral("fuzz.dat");
const QString kLibrary = QStringLiteral("fuzz.kivolib");

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void checkRows(const Library &library)
{
    struct Totals
    {
        qint64 plays = 0;
        qint64 last = 0;
        qint64 seconds = 0;
    };
    QHash<QString, Totals> summed;
    const std::optional<QList<PlaySession>> sessions = library.sessions();
    // A newer Kivo's sessions may be kept otherwise; its totals are what could be read.
    FUZZ_CHECK(sessions || library.readOnlyReason() == Library::ReadOnlyReason::Newer);
    if (!sessions)
        return;
    for (const PlaySession &session : *sessions) {
        FUZZ_CHECK(session.seconds >= 0 && session.seconds <= kMaxSessionSeconds);
        Totals &totals = summed[QString::number(int(session.key.kind)) + session.key.folded()];
        totals.last = totals.plays == 0 ? session.start : std::max(totals.last, session.start);
        totals.plays += 1;
        totals.seconds += session.seconds;
    }
    qsizetype played = 0;
    for (const LibraryRow &row : library.rows()) {
        FUZZ_CHECK(row.key.isValid() && library.contains(row.key));
        FUZZ_CHECK(row.plays >= 0 && row.secondsPlayed >= 0);
        const Totals totals = summed.value(QString::number(int(row.key.kind)) + row.key.folded());
        FUZZ_CHECK(row.plays == totals.plays && row.secondsPlayed == totals.seconds);
        FUZZ_CHECK(row.plays == 0 || row.lastPlayed == totals.last);
        played += row.plays > 0;
        QSet<QString> tags;
        for (const QString &tag : row.tags) {
            FUZZ_CHECK(!tag.isEmpty() && tag == tag.trimmed() && tag.size() <= kMaxTagLength);
            tags.insert(tag.toCaseFolded());
        }
        FUZZ_CHECK(tags.size() == row.tags.size());
    }
    FUZZ_CHECK(played == summed.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = kivofuzz::bytesOf(data, size);
    QDir scratch(kivofuzz::scratchDirectory());
    for (const QString &left : scratch.entryList({kLibrary + u'*'}, QDir::Files | QDir::Hidden))
        scratch.remove(left);
    const QString path = kivofuzz::writeScratchFile(kLibrary, bytes);
    const QString catalogue = scratch.filePath(kCatalogue);

    Library library;
    std::optional<Message> message;
    const qint64 peak = kivofuzz::peakHeap([&] { message = library.open(catalogue); });
    // SQLite's page cache and its parser take a few megabytes whatever the file; a row in memory
    // costs a few hundred bytes, and the smallest row in the file a few.
    kivofuzz::checkHeap(peak, bytes.size(), 64, 4 << 20, "Library::open");
    if (message && !library.isReadOnly()) {
        QStringList kept = scratch.entryList({kLibrary + QStringLiteral(".damaged-*")});
        kept.removeIf([](const QString &name) { return name.endsWith(u"-wal"); });
        FUZZ_CHECK(kept.size() == 1);
        FUZZ_CHECK(readBytes(scratch.filePath(kept.first())) == bytes);
        FUZZ_CHECK(library.rowCount() == 0);
    }
    checkRows(library);

    const LibraryKey key = LibraryKey::romFile(QStringLiteral("FUZZ.TAP"));
    const LibraryRow before = library.row(key);
    const LibraryWrite favourite = library.setFavourite(key, !before.favourite);
    if (library.isReadOnly()) {
        FUZZ_CHECK(!favourite.ok && !favourite.message.text.isEmpty());
        FUZZ_CHECK(library.row(key) == before);
        if (library.readOnlyReason() == Library::ReadOnlyReason::Newer)
            FUZZ_CHECK(readBytes(path) == bytes);
        return 0;
    }
    FUZZ_CHECK(favourite.ok ? library.row(key).favourite != before.favourite
                            : library.row(key) == before && !favourite.message.text.isEmpty());
    const LibraryWrite start = library.recordStart(key, 1);
    if (start.ok)
        library.recordEnd(start.session, 60);
    checkRows(library);

    // What is in memory is what the file holds.
    Library reopened;
    FUZZ_CHECK(!reopened.open(catalogue));
    FUZZ_CHECK(reopened.rows() == library.rows());
    return 0;
}
