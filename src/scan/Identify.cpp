#include "scan/Identify.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/FileRead.h"
#include "core/PathText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <zlib.h>

namespace {

constexpr qint64 kProgressMs = 50;
constexpr qint64 kReadBlock = 256 * 1024;

struct Probe
{
    Fingerprint print;
    QString kindName;
};

Probe probePlain(const QString &path)
{
    // Read in blocks: a CRC needs no file whole in memory.
    QFile file;
    if (!openRegularFile(path, file).isEmpty() || file.size() > kLargestRomFile)
        return {};
    // No larger than the file: a buffer of the block's size for a tape of 3 KB would cost more
    // than reading it.
    QByteArray block(std::clamp<qint64>(file.size(), 1, kReadBlock), Qt::Uninitialized);
    uLong crc = crc32_z(0, nullptr, 0);
    qint64 size = 0;
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return {};
        if (got == 0)
            break;
        size += got;
        if (size > kLargestRomFile) // grown since we asked its size
            return {};
        crc = crc32_z(crc, reinterpret_cast<const Bytef *>(block.constData()), size_t(got));
    }
    if (size == 0)
        return {};
    return {{true, size, quint32(crc)}, fileNamePart(path)};
}

Probe probeArchive(const QString &path)
{
    // Listing opens regular files only, so a FIFO cannot hold it up.
    if (QFileInfo(toFileSystemPath(path)).size() > kLargestRomFile)
        return {};
    const ArchiveListing listing = Archive::listMembers(ArchiveSource::file(path));
    const std::optional<ArchiveMember> member =
        listing.ok ? Archive::spectrumMember(listing.members) : std::nullopt;
    if (!member || member->size <= 0)
        return {};
    return {{true, member->size, member->crc32}, Archive::baseName(member->name)};
}

Probe probe(const QString &path)
{
    return Archive::isArchiveName(path) ? probeArchive(path) : probePlain(path);
}

// Fills `field` from `value` when it holds nothing, or only `placeholder`.
bool fill(QString &field, const QString &value, const QString &placeholder = {})
{
    const QString held = field.trimmed();
    if (value.isEmpty() || value == field ||
        !(held.isEmpty() || (!placeholder.isEmpty() && held == placeholder)))
        return false;
    field = value;
    return true;
}

} // namespace

Fingerprint fingerprintOf(const QString &path)
{
    return probe(path).print;
}

quint32 crc32Of(QByteArrayView bytes)
{
    return quint32(crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef *>(bytes.data()),
                           size_t(bytes.size())));
}

bool fillEmptyFields(RomRecord &record, const DatEntry &entry, const QString &kindName)
{
    const QString placeholder =
        droppedEntryName(kindName.isEmpty() ? fileNamePart(record.RomFile.trimmed()) : kindName);
    bool filled = fill(record.RomName, entry.title, placeholder);
    if (record.Year == 0 && entry.year != 0) {
        record.Year = entry.year;
        filled = true;
    }
    filled = fill(record.Publisher, entry.publisher) || filled;
    filled = fill(record.Authors, entry.authors) || filled;
    return filled;
}

IdentifyResult identifyFiles(const QList<IdentifyJob> &jobs, const DatCatalogue &dat,
                             const IdentifyProgress &progress, const std::atomic<bool> *cancel)
{
    IdentifyResult result;
    QList<std::pair<int, Fingerprint>> prints;
    prints.reserve(jobs.size());
    QElapsedTimer clock;
    clock.start();
    const int total = int(jobs.size());
    for (int done = 0; done < total; ++done) {
        if (cancel != nullptr && cancel->load()) {
            IdentifyResult cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
        const IdentifyJob &job = jobs.at(done);
        const Probe found = probe(job.path);
        if (found.print.ok) {
            prints.append({job.slot, found.print});
            if (const DatEntry *entry = dat.entryOf(found.print.size, found.print.crc))
                result.matches.append({job.slot, *entry, found.kindName});
        }
        if (progress && clock.elapsed() >= kProgressMs) {
            progress(done + 1, total);
            clock.restart();
        }
    }
    result.duplicates = duplicateGroups(prints);
    if (progress)
        progress(total, total);
    return result;
}

QList<QList<int>> duplicateGroups(const QList<std::pair<int, Fingerprint>> &prints)
{
    QHash<std::pair<qint64, quint32>, QList<int>> bySize;
    for (const auto &[slot, print] : prints) {
        if (print.ok)
            bySize[{print.size, print.crc}].append(slot);
    }
    QList<QList<int>> groups;
    for (QList<int> &slots : bySize) {
        std::sort(slots.begin(), slots.end());
        slots.erase(std::unique(slots.begin(), slots.end()), slots.end());
        if (slots.size() >= 2)
            groups.append(std::move(slots));
    }
    std::sort(groups.begin(), groups.end(),
              [](const QList<int> &a, const QList<int> &b) { return a.first() < b.first(); });
    return groups;
}
