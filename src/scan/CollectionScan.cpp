#include "scan/CollectionScan.h"

#include "archive/Archive.h"
#include "archive/RomFile.h"
#include "core/FileRead.h"
#include "core/PathText.h"
#include "core/SafeFile.h"
#include "scan/DatCatalogue.h"
#include "scan/Identify.h"
#include "scan/TosecName.h"
#include "tape/KeptScreen.h"
#include "tape/LoadingScreen.h"
#include "tape/TapeCard.h"
#include "tape/TapeReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <thread>
#include <unordered_set>

namespace {

const QString kStatusText =
    QStringLiteral("%1 entries added, %2 already in the catalogue, %3 copies, %4 clashes, "
                   "%5 skipped");
const QString kAlsoText = QStringLiteral("Also: ");
const QString kScreenNotWrittenText = QStringLiteral("Unable to write the screen %1: %2");

constexpr int kDroppedRomType = 15; // the type dropped files get: "Arcade - [uncategorized]"
constexpr qint64 kProgressMs = 50;

// One tape, snapshot or disk found, or an archive whose Spectrum member is one.
struct FoundFile
{
    QString directory; // absolute, ending with the separator
    QString name;      // the bare file name: RomFile
    qint64 size = 0;   // of the bytes an emulator is given: the member's for an archive
    quint32 crc = 0;
    TapeCard card; // title, publisher, authors and year of a TZX archive-info block
};

TapeCard cardOf(const QByteArray &bytes, const QString &kindName)
{
    if (lowerExtension(kindName) != u"tzx")
        return {};
    TapeIndex tape;
    if (readTzxImage(tape, bytes))
        return {};
    TapeCard card = readTapeCard(tape);
    // Kept for every file until the walk ends: only what names an entry.
    card.comment.clear();
    card.programName.clear();
    return card;
}

// The name without its ending; an archive loses the ending of the file it holds too
// ("Game.tzx.zip" is "Game").
QString baseNameOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= 0)
        return fileName;
    const QString base = fileName.left(dot);
    const qsizetype inner = base.lastIndexOf(u'.');
    if (inner > 0 && Archive::isArchiveName(fileName) && Archive::isSpectrumName(base))
        return base.left(inner);
    return base;
}

enum class Found { Candidate, NoRom, Unreadable };

class Walk
{
public:
    Walk(const ScanRequest &request, const ScanProgressCallback &progress,
         const std::atomic<bool> *cancel, ScanResult &result)
        : m_request(request)
        , m_progress(progress)
        , m_cancel(cancel)
        , m_result(result)
    {
        m_clock.start();
    }

    // False when cancelled.
    bool run(const QString &root)
    {
        QList<QString> pending{root};
        while (!pending.isEmpty()) {
            if (cancelled())
                return false;
            const QString directory = pending.takeLast();
            QList<QString> subfolders;
            if (!readDirectory(directory, subfolders))
                return false;
            // Depth first, in name order: the first of two files of one name is the one a
            // person reading the tree top-down meets first.
            std::reverse(subfolders.begin(), subfolders.end());
            pending.append(subfolders);
        }
        report();
        return true;
    }

    QList<FoundFile> &files() { return m_files; }

private:
    bool cancelled() const { return m_cancel != nullptr && m_cancel->load(); }

    void report()
    {
        if (m_progress)
            m_progress(m_seen);
        m_clock.restart();
    }

    bool readDirectory(const QString &directory, QList<QString> &subfolders)
    {
        const QFileInfo info(directory);
        if (!info.isReadable() || !info.isExecutable()) {
            ++m_result.counts.skipped;
            return true;
        }
        // Without QDir::Hidden: names starting with "." are never found through the rom paths.
        const QFileInfoList entries = QDir(directory).entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name);
        for (const QFileInfo &entry : entries) {
            if (cancelled())
                return false;
            if (entry.isDir()) {
                if (!entry.isSymLink() && m_request.subfolders)
                    subfolders.append(entry.absoluteFilePath() + QLatin1Char('/'));
                continue;
            }
            ++m_seen.filesSeen;
            readFile(directory, entry);
            if (m_clock.elapsed() >= kProgressMs)
                report();
        }
        return true;
    }

    void readFile(const QString &directory, const QFileInfo &entry)
    {
        const QString name = entry.fileName();
        const bool archive = Archive::isArchiveName(name);
        if (!archive && !Archive::isSpectrumName(name))
            return;
        FoundFile found;
        found.directory = toNative(directory);
        found.name = name;
        const QString path = entry.absoluteFilePath();
        // A FIFO would block the read and a device never ends; a broken link is no file.
        const Found kind = !entry.isFile() || entry.size() == 0 || entry.size() > kLargestRomFile
                               ? Found::Unreadable
                           : archive ? readArchive(path, found)
                                     : readPlain(path, found);
        if (kind == Found::Unreadable)
            ++m_result.counts.skipped;
        if (kind != Found::Candidate)
            return;
        ++m_seen.entriesFound;
        const QString folded = name.toCaseFolded();
        const auto first = m_byName.constFind(folded);
        if (first == m_byName.constEnd()) {
            m_byName.insert(folded, m_files.size());
            m_files.append(std::move(found));
            return;
        }
        const FoundFile &kept = m_files.at(*first);
        if (kept.size == found.size && kept.crc == found.crc) {
            ++m_result.counts.copies;
        } else {
            ++m_result.counts.clashes;
            m_result.clashPaths.append(toNative(path));
        }
    }

    static Found readPlain(const QString &path, FoundFile &found)
    {
        const FileBytes read = readRegularFile(path, kLargestRomFile);
        if (!read.ok || read.bytes.isEmpty())
            return Found::Unreadable;
        found.size = read.bytes.size();
        found.crc = crc32Of(read.bytes);
        found.card = cardOf(read.bytes, found.name);
        return Found::Candidate;
    }

    static Found readArchive(const QString &path, FoundFile &found)
    {
        const ArchiveSource source = ArchiveSource::file(path);
        const ArchiveListing listing = Archive::listMembers(source);
        if (!listing.ok)
            return Found::Unreadable;
        // An archive of pictures or text is simply no rom file.
        const std::optional<ArchiveMember> member = Archive::spectrumMember(listing.members);
        if (!member)
            return Found::NoRom;
        if (member->size <= 0)
            return Found::Unreadable;
        // The archive's own CRC-32 is what a DAT matches; only a TZX is inflated, for its card.
        found.size = member->size;
        found.crc = member->crc32;
        const QString kindName = Archive::baseName(member->name);
        if (lowerExtension(kindName) == u"tzx" && Archive::refusal(*member).isEmpty()) {
            const MemberBytes bytes = Archive::readMember(source, *member);
            if (bytes.ok)
                found.card = cardOf(bytes.bytes, kindName);
        }
        return Found::Candidate;
    }

    static QString toNative(const QString &path) { return QDir::toNativeSeparators(path); }

    const ScanRequest &m_request;
    const ScanProgressCallback &m_progress;
    const std::atomic<bool> *m_cancel;
    ScanResult &m_result;
    QElapsedTimer m_clock;
    ScanProgress m_seen;
    QList<FoundFile> m_files;
    QHash<QString, qsizetype> m_byName; // case-folded name -> index into m_files
};

// The fields of one entry, each from the first source that has it: the DAT's game, the tape's
// archive-info block, the file name as a TOSEC name (the base name when it is none).
struct Named
{
    RomRecord record;
    TosecName tosec; // the name the entry was named after, for telling parts of one program
};

// The kept DATs' entry for the file first, then the ones chosen for this scan.
Named nameFile(const FoundFile &file, const std::shared_ptr<const DatCatalogue> &kept,
               const DatCatalogue &chosen)
{
    static const DatEntry kNoEntry;
    const DatEntry *found = kept ? kept->entryOf(file.size, file.crc) : nullptr;
    if (found == nullptr)
        found = chosen.entryOf(file.size, file.crc);
    const DatEntry &fromDat = found != nullptr ? *found : kNoEntry;
    const TosecName fromName = readTosecName(baseNameOf(file.name));
    const auto first = [](std::initializer_list<QString> texts) {
        for (const QString &text : texts) {
            if (!text.isEmpty())
                return text;
        }
        return QString();
    };
    Named named;
    RomRecord &record = named.record;
    record.RomName = first({fromDat.title, file.card.title, fromName.title});
    record.Year = fromDat.year != 0     ? fromDat.year
                  : file.card.year != 0 ? file.card.year
                                        : fromName.year;
    record.Publisher = first({fromDat.publisher, file.card.publisher, fromName.publisher});
    record.Authors = first({fromDat.authors, file.card.authors});
    record.RomFile = file.name;
    record.RomType = kDroppedRomType;
    // A DAT of another convention names no parts: its entries stand alone, as their names do.
    named.tosec = found != nullptr ? fromDat.tosec : fromName;
    return named;
}

// Files that are parts of one program agree in everything but their media group; one side as a
// TAP and as a TZX is one part twice, not two parts.
QString partKey(const FoundFile &file, const TosecName &tosec)
{
    if (!tosec.parsed || tosec.media.isEmpty())
        return {};
    return file.directory.toCaseFolded() + u'\n' + lowerExtension(file.name) + u'\n' + tosec.title +
           u'\n' + QString::number(tosec.year) + u'\n' + tosec.publisher + u'\n' +
           tosec.flags.join(u'\n');
}

// Writes the screen of each entry that has one; false when cancelled, with every screen
// written so far removed again.
bool keepScreens(ScanResult &result, const QList<QString> &sources, const std::atomic<bool> *cancel)
{
    QString directory = result.screensDirectory;
    if (!endsWithSeparator(directory))
        directory += nativeSeparator();
    QDir().mkpath(toFileSystemPath(directory));
    QStringList written;
    for (qsizetype i = 0; i < result.entries.size(); ++i) {
        if (cancel != nullptr && cancel->load()) {
            for (const QString &path : std::as_const(written))
                QFile::remove(path);
            return false;
        }
        const RomFileBytes rom = readRomFile(sources.at(i));
        if (!rom.ok)
            continue;
        const std::optional<LoadingScreen> screen = loadingScreenOf(rom.bytes, rom.name);
        if (!screen)
            continue;
        RomRecord &record = result.entries[i];
        const KeptScreen kept = keepScreen(directory, record.RomFile, screen->screen);
        const QString &name = kept.name;
        if (!kept.ok) {
            result.messages.append(Message::critical(
                kScreenNotWrittenText.arg(directory + name, kept.reason), kScanTitle));
            break; // the next would fail alike: a full disk or a folder that cannot be made
        }
        written.append(directory + name);
        record.Screenshots = name;
    }
    result.screensDirectory = written.isEmpty() ? QString() : directory;
    return true;
}

// Names compared without regard to case, as the rom paths find files.
struct FoldedHash
{
    size_t operator()(QStringView name) const noexcept
    {
        size_t hash = 14695981039346656037ULL;
        for (const QChar c : name) {
            char16_t unit = c.unicode();
            if (unit >= u'A' && unit <= u'Z')
                unit = char16_t(unit + (u'a' - u'A'));
            else if (unit >= 0x80)
                unit = c.toCaseFolded().unicode();
            hash = (hash ^ unit) * 1099511628211ULL;
        }
        return hash;
    }
};

struct FoldedEqual
{
    bool operator()(QStringView a, QStringView b) const noexcept
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
};

} // namespace

QString ScanResult::statusText() const
{
    return kStatusText.arg(counts.added)
        .arg(counts.inCatalogue)
        .arg(counts.copies)
        .arg(counts.clashes)
        .arg(counts.skipped);
}

QSet<QString> catalogueFileNames(const RomDatabase &database)
{
    QSet<QString> names;
    names.reserve(database.slotCount());
    for (const RomRecord &record : database.slots()) {
        if (record.isEntry() && !record.RomFile.isEmpty())
            names.insert(record.RomFile.toCaseFolded());
    }
    return names;
}

ScanResult scanCollection(const ScanRequest &request, const ScanProgressCallback &progress,
                          const std::atomic<bool> *cancel)
{
    ScanResult result;
    // The DATs are read beside the walk: they are needed only once it is done.
    DatCatalogue chosen;
    std::shared_ptr<const DatCatalogue> kept;
    Messages datMessages;
    std::thread datReader([&] {
        if (request.readDats)
            kept = request.readDats();
        for (const QString &path : request.datFiles) {
            if (const std::optional<Message> refused = chosen.addFile(path))
                datMessages.append(*refused);
        }
    });
    const auto cancelled = [&result] {
        ScanResult nothing;
        nothing.cancelled = true;
        nothing.messages = result.messages;
        return nothing;
    };

    QString root = QFileInfo(toFileSystemPath(request.directory)).absoluteFilePath();
    if (!root.endsWith(u'/'))
        root += u'/';
    Walk walk(request, progress, cancel, result);
    const bool walked = walk.run(root);
    datReader.join();
    result.messages.append(datMessages);
    if (!walked)
        return cancelled();

    const QList<FoundFile> &files = walk.files();
    QList<Named> named;
    named.reserve(files.size());
    QHash<QString, QList<qsizetype>> parts; // part key -> files, in the order met
    QList<QString> keys;
    keys.reserve(files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        named.append(nameFile(files.at(i), kept, chosen));
        keys.append(partKey(files.at(i), named.last().tosec));
        if (!keys.last().isEmpty())
            parts[keys.last()].append(i);
    }

    QList<QString> sources; // the file each entry's screen comes from
    QSet<QString> directories;
    for (qsizetype i = 0; i < files.size(); ++i) {
        QList<qsizetype> group{i};
        if (!keys.at(i).isEmpty()) {
            group = parts.value(keys.at(i));
            if (group.first() != i)
                continue; // the entry was made when its first part was met
            std::stable_sort(group.begin(), group.end(), [&](qsizetype a, qsizetype b) {
                return mediaOrder(named.at(a).tosec.media) < mediaOrder(named.at(b).tosec.media);
            });
        }
        // Every part counts: a later scan must not add side B as an entry of its own.
        const bool known = std::any_of(group.begin(), group.end(), [&](qsizetype part) {
            return request.catalogueFiles.contains(files.at(part).name.toCaseFolded());
        });
        if (known) {
            ++result.counts.inCatalogue;
            continue;
        }
        RomRecord record = named.at(group.first()).record;
        QStringList others;
        for (qsizetype p = 1; p < group.size(); ++p)
            others.append(files.at(group.at(p)).name);
        if (!others.isEmpty())
            record.Notes = kAlsoText + others.join(kCrLf);
        const FoundFile &first = files.at(group.first());
        result.entries.append(std::move(record));
        sources.append(first.directory + first.name);
        if (!directories.contains(first.directory.toCaseFolded())) {
            directories.insert(first.directory.toCaseFolded());
            result.directories.append(first.directory);
        }
    }
    result.counts.added = int(result.entries.size());

    if (!request.screensDirectory.isEmpty() && !result.entries.isEmpty()) {
        result.screensDirectory = request.screensDirectory;
        if (!keepScreens(result, sources, cancel))
            return cancelled();
    }
    return result;
}

int mergeScanResult(RomDatabase &database, SearchPaths &paths, const ScanResult &result)
{
    if (result.cancelled || result.entries.isEmpty())
        return 0;
    // The scan's names against the catalogue's, without folding a copy of each of its names:
    // the catalogue may hold 100,000 entries and this runs on the interface thread.
    std::unordered_set<QStringView, FoldedHash, FoldedEqual> fresh;
    fresh.reserve(size_t(result.entries.size()));
    for (const RomRecord &record : result.entries)
        fresh.insert(record.RomFile);
    for (const RomRecord &record : database.slots()) {
        if (record.isEntry())
            fresh.erase(record.RomFile);
    }
    int added = 0;
    for (const RomRecord &record : result.entries) {
        // Erased once added too, in case the result names a file twice.
        if (fresh.erase(record.RomFile) == 0)
            continue;
        database.Add(record);
        ++added;
    }
    for (const QString &directory : result.directories) {
        if (!paths.HasSearchPath(PathKind::Rom, directory)) {
            QString path = directory;
            paths.AddSearchPath(PathKind::Rom, path);
        }
    }
    if (!result.screensDirectory.isEmpty() &&
        !paths.HasSearchPath(PathKind::Screenshot, result.screensDirectory)) {
        QString directory = result.screensDirectory;
        paths.AddSearchPath(PathKind::Screenshot, directory);
    }
    return added;
}
