#include "library/Library.h"

#include "core/PathText.h"
#include "core/SpectrumMachine.h"
#include "library/LibraryConnection.h"
#include "library/LibrarySchema.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <system_error>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// A play session as the file holds it: its row's id, its start and its seconds.
struct SessionRead
{
    qint64 entry = 0;
    qint64 start = 0;
    qint64 seconds = 0;
};

namespace {

using Mode = LibraryConnection::Mode;

const QString kLibraryTitle = QStringLiteral("Library");
const QString kSuffix = QStringLiteral(".kivolib");
const QString kDamagedText = QStringLiteral(
    "The library %1 could not be read (%2). It was kept as %3 and a new library was started.");
const QString kUnusableText = QStringLiteral("The library %1 cannot be used: %2.");
const QString kNotReadText = QStringLiteral("The library %1 could not be read (%2).");
const QString kRequestedText =
    QStringLiteral("The library is read-only: its catalogue is open in another Kivo window, and "
                   "plays are not recorded here.");
const QString kNewerText =
    QStringLiteral("The library %1 is read-only: a newer Kivo wrote it (version %2).");
const QString kNotRecordedText = QStringLiteral(" This change was not recorded.");
const QString kNotChangedText = QStringLiteral("The library %1 could not be changed: %2.");
const QString kNotSavedText = QStringLiteral("The library could not be saved as %1: %2.");

QString nameOf(const QString &path)
{
    return path.isEmpty() ? QStringLiteral("in memory") : QFileInfo(path).fileName();
}

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo left(a);
    const QFileInfo right(b);
    if (left.exists() && right.exists())
        return left.canonicalFilePath() == right.canonicalFilePath();
    return left.absoluteFilePath() == right.absoluteFilePath();
}

bool existsOrLinks(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Control characters would split the tags column and show as boxes.
QString cleanTag(QString tag)
{
    for (QChar &c : tag) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return tag.trimmed();
}

// `tags` as a row keeps them; a tag `kept` has already keeps the spelling it has there.
QStringList cleanTags(const QStringList &tags, const QStringList &kept = {})
{
    QHash<QString, QString> spelling;
    for (const QString &tag : kept)
        spelling.insert(tag.toCaseFolded(), tag);
    QStringList out;
    QSet<QString> seen;
    for (const QString &tag : tags) {
        const QString clean = cleanTag(tag);
        const QString folded = clean.toCaseFolded();
        if (clean.isEmpty() || clean.size() > kMaxTagLength || seen.contains(folded))
            continue;
        seen.insert(folded);
        out.append(spelling.value(folded, clean));
    }
    return out;
}

QString machineOf(const QString &text)
{
    if (text.isEmpty())
        return {};
    const std::optional<SpectrumMachine> machine = machineFromText(text);
    return machine ? machineKey(*machine) : QString();
}

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

LibraryWrite failure(const QString &text)
{
    return {false, Message::critical(text, kLibraryTitle), 0};
}

qint64 sessionSeconds(const QVariant &value)
{
    return std::clamp<qint64>(value.toLongLong(), 0, kMaxSessionSeconds);
}

void addSession(LibraryRow &row, qint64 start, qint64 seconds)
{
    row.lastPlayed = row.plays == 0 ? start : std::max(row.lastPlayed, start);
    row.plays += 1;
    row.secondsPlayed += seconds;
}

const QStringList kCompanions = {QStringLiteral("-wal"), QStringLiteral("-journal")};

// A damaged library is kept under a name of its own, its log first: left here, that log would be
// played into the new library.
QString setAside(const QString &path, QString &error)
{
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    for (int copy = 1; copy <= 100; ++copy) {
        const QString aside = copy == 1 ? stem : QStringLiteral("%1-%2").arg(stem).arg(copy);
        if (existsOrLinks(aside))
            continue;
        for (const QString &companion : kCompanions) {
            if (existsOrLinks(path + companion) &&
                !QFile::rename(path + companion, aside + companion))
                QFile::remove(path + companion);
        }
        QFile::remove(path + QStringLiteral("-shm"));
        QFile file(path);
        if (!file.rename(aside)) {
            error = file.errorString();
            return {};
        }
        return aside;
    }
    error = QStringLiteral("too many damaged copies are kept beside it");
    return {};
}

// A committed change is in the log at once; a killed Kivo loses at most the one being written.
bool useWriteAheadLog(LibraryConnection &connection)
{
    bool ok = false;
    const QVariant mode = connection.value(QStringLiteral("PRAGMA journal_mode = WAL"), &ok);
    return ok &&
           (mode.toString() == u"wal" ||
            connection.fail(QStringLiteral("it cannot keep a write-ahead log"))) &&
           connection.run(QStringLiteral("PRAGMA synchronous = NORMAL"));
}

std::unique_ptr<LibraryConnection> memoryConnection()
{
    auto connection = std::make_unique<LibraryConnection>(QString(), Mode::Memory);
    createLibrarySchema(*connection);
    return connection;
}

// A library left with a log or a journal by a Kivo that did not close: opening it for writing
// plays that into the file.
bool holdsLog(const QString &path)
{
    for (const QString &companion : kCompanions) {
        if (QFileInfo(path + companion).size() > 0)
            return true;
    }
    return false;
}

static_assert(kMaxSessionSeconds == 316224000 && kMaxSessionSeconds < (1 << kSessionSecondsBits),
              "kSelectSessionTotals counts seconds so far");

bool readSessions(LibraryConnection &connection, std::vector<SessionRead> &sessions, QString &error)
{
    // A start and its seconds come as one number (see kSelectSessionTotals).
    QSqlQuery query(connection.database());
    if (connection.run(query, kSelectSessionTotals)) {
        while (query.next()) {
            const qint64 packed = query.value(1).toLongLong();
            sessions.push_back({query.value(0).toLongLong(), packed >> kSessionSecondsBits,
                                packed & ((qint64(1) << kSessionSecondsBits) - 1)});
        }
    }
    if (!query.lastError().isValid() && connection.error().isEmpty())
        return true;
    error = query.lastError().isValid() ? query.lastError().databaseText() : connection.error();
    return false;
}

// What a second connection finds on a thread of its own while the rows load: whether every page
// is sound and, when so, the play sessions.
struct SecondLook
{
    LibraryInspection pages;
    std::vector<SessionRead> sessions;
    QString error; // why the sessions could not be read
};

SecondLook lookAgain(const QString &path)
{
    LibraryConnection reader(path, Mode::ReadOnly);
    SecondLook look{checkLibraryPages(reader), {}, {}};
    if (look.pages.state == LibraryInspection::State::Ours)
        readSessions(reader, look.sessions, look.error);
    return look;
}

} // namespace

Library::Library()
{
    startNew();
}

Library::~Library() = default;

QString Library::pathFor(const QString &cataloguePath)
{
    const QString name = fileNamePart(cataloguePath);
    const qsizetype dot = name.lastIndexOf(u'.');
    return toFileSystemPath(directoryPart(cataloguePath) + (dot > 0 ? name.left(dot) : name) +
                            kSuffix);
}

void Library::reset(std::unique_ptr<LibraryConnection> connection, const QString &path)
{
    m_connection = std::move(connection);
    m_path = path;
    m_readOnly = ReadOnlyReason::None;
    m_readOnlyText.clear();
    m_rows.clear();
    m_removed = 0;
    m_index = {};
    m_openSessions.clear();
    rowsMoved();
}

void Library::rowsMoved()
{
    // Unique across libraries, so a place found in one is never taken for one in another.
    static std::atomic<quint64> generations{0};
    m_generation = ++generations;
}

void Library::becomeReadOnly(ReadOnlyReason reason, const QString &text)
{
    m_readOnly = reason;
    m_readOnlyText = text;
}

void Library::startNew()
{
    reset(memoryConnection(), {});
}

std::optional<Message> Library::open(const QString &cataloguePath, Access access)
{
    if (cataloguePath.isEmpty()) {
        startNew();
        return std::nullopt;
    }
    const QString path = pathFor(cataloguePath);
    // The old connection goes first, so nothing of it lingers when the same file opens again.
    reset(nullptr, path);
    if (access == Access::ReadOnly)
        return openReadOnly(path, ReadOnlyReason::Requested);
    return openFile(path);
}

std::optional<Message> Library::openFile(const QString &path)
{
    const auto unusable = [&](const QString &reason, bool tell) -> std::optional<Message> {
        reset(memoryConnection(), path);
        becomeReadOnly(ReadOnlyReason::Unusable, kUnusableText.arg(nameOf(path), reason));
        if (!tell)
            return std::nullopt;
        return Message{m_readOnlyText, kLibraryTitle, MessageIcon::Exclamation};
    };
    // The damaged file and its log go aside, and a new library starts in its place.
    const auto keepAside = [&](const QString &reason) -> std::optional<Message> {
        reset(nullptr, path);
        QString error;
        const QString aside = setAside(path, error);
        if (aside.isEmpty())
            return unusable(
                QStringLiteral("it could not be read (%1) nor set aside (%2)").arg(reason, error),
                true);
        const Message kept{kDamagedText.arg(nameOf(path), reason, nameOf(aside)), kLibraryTitle,
                           MessageIcon::Exclamation};
        const std::optional<Message> started = openFile(path);
        return started ? started : kept;
    };

    LibraryInspection seen;
    std::future<SecondLook> secondLook;
    if (existsOrLinks(path)) {
        const QFileInfo info(path);
        if (!info.isFile())
            return unusable(QStringLiteral("it is not a file"), true);
        // Looked at read-only first: a damaged file and its log stay exactly as they were.
        auto reader = std::make_unique<LibraryConnection>(path, Mode::ReadOnly);
        seen = inspectLibrary(*reader, PageCheck::Later);
        // Reading every page takes as long as loading the rows: with no log to play into the
        // file, the two go side by side, and nothing is written until both are done.
        if (seen.state == LibraryInspection::State::Ours && info.isWritable() && !holdsLog(path)) {
            secondLook = std::async(std::launch::async, [path] { return lookAgain(path); });
        } else if (seen.state != LibraryInspection::State::Damaged &&
                   seen.state != LibraryInspection::State::Unreadable) {
            const LibraryInspection pages = checkLibraryPages(*reader);
            if (pages.state != LibraryInspection::State::Ours)
                seen = pages;
        }
        switch (seen.state) {
        case LibraryInspection::State::Newer:
            return openReadOnly(path, ReadOnlyReason::Newer, std::move(reader));
        case LibraryInspection::State::Unreadable:
            return unusable(seen.reason, true);
        case LibraryInspection::State::Damaged:
            return keepAside(seen.reason);
        case LibraryInspection::State::Empty:
        case LibraryInspection::State::Ours:
            if (!info.isWritable())
                return openReadOnly(path, ReadOnlyReason::Unusable,
                                    seen.state == LibraryInspection::State::Ours ? std::move(reader)
                                                                                 : nullptr);
            break;
        }
    }

    // A log without its database cannot be read, and would be played into the new one.
    if (seen.state == LibraryInspection::State::Empty && !existsOrLinks(path)) {
        for (const QString &companion : kCompanions)
            QFile::remove(path + companion);
    }
    const bool ours = seen.state == LibraryInspection::State::Ours;
    auto writer = std::make_unique<LibraryConnection>(path, Mode::ReadWrite);
    if (!writer->isOpen() || (!ours && !createLibrarySchema(*writer)) ||
        (!secondLook.valid() && !useWriteAheadLog(*writer))) {
        // Beside a catalogue on read-only media there is no library to make, nor to mention.
        return unusable(writer->error(), ours);
    }
    reset(std::move(writer), path);
    QString error;
    if (!secondLook.valid()) {
        std::vector<SessionRead> sessions;
        if (!loadRows(error) || !readSessions(*m_connection, sessions, error))
            return unusable(error, true);
        addSessions(sessions);
        return std::nullopt;
    }
    const bool loaded = loadRows(error);
    const SecondLook look = secondLook.get();
    if (look.pages.state == LibraryInspection::State::Damaged)
        return keepAside(look.pages.reason);
    if (look.pages.state == LibraryInspection::State::Unreadable)
        return unusable(look.pages.reason, true);
    if (!loaded || !look.error.isEmpty())
        return unusable(loaded ? look.error : error, true);
    if (!useWriteAheadLog(*m_connection))
        return unusable(m_connection->error(), true);
    addSessions(look.sessions);
    return std::nullopt;
}

std::optional<Message> Library::openReadOnly(const QString &path, ReadOnlyReason reason,
                                             std::unique_ptr<LibraryConnection> connection)
{
    int version = 0;
    std::optional<Message> message;
    if (!connection && existsOrLinks(path)) {
        connection = std::make_unique<LibraryConnection>(path, Mode::ReadOnly);
        const LibraryInspection seen = inspectLibrary(*connection);
        version = seen.version;
        if (seen.state == LibraryInspection::State::Newer)
            reason = ReadOnlyReason::Newer;
        if (seen.state == LibraryInspection::State::Damaged ||
            seen.state == LibraryInspection::State::Unreadable)
            message = Message{kNotReadText.arg(nameOf(path), seen.reason), kLibraryTitle,
                              MessageIcon::Exclamation};
        if (seen.state != LibraryInspection::State::Ours &&
            seen.state != LibraryInspection::State::Newer)
            connection.reset();
    } else if (connection) {
        version = connection->value(QStringLiteral("PRAGMA user_version")).toInt();
    }
    QString error;
    if (connection) {
        reset(std::move(connection), path);
        std::vector<SessionRead> sessions;
        if (loadRows(error) && readSessions(*m_connection, sessions, error))
            addSessions(sessions);
        else if (reason != ReadOnlyReason::Newer)
            message = Message{kNotReadText.arg(nameOf(path), error), kLibraryTitle,
                              MessageIcon::Exclamation};
    }
    if (!m_connection || !error.isEmpty())
        reset(memoryConnection(), path);
    switch (reason) {
    case ReadOnlyReason::Newer:
        becomeReadOnly(reason, kNewerText.arg(nameOf(path)).arg(version));
        break;
    case ReadOnlyReason::Unusable:
        becomeReadOnly(reason,
                       kUnusableText.arg(nameOf(path), QStringLiteral("the file is read-only")));
        break;
    default:
        becomeReadOnly(reason, kRequestedText);
    }
    return message;
}

bool Library::loadRows(QString &error)
{
    const auto failed = [&](const QSqlQuery &query) {
        error =
            query.lastError().isValid() ? query.lastError().databaseText() : m_connection->error();
        return false;
    };
    const qsizetype count =
        m_connection->value(QStringLiteral("SELECT count(*) FROM kivo_entry")).toLongLong();
    m_rows.reserve(std::size_t(count));
    m_index[0].reserve(count);
    QSqlQuery entries(m_connection->database());
    if (!m_connection->run(entries, kSelectEntries))
        return failed(entries);
    while (entries.next()) {
        // id * 4 + kind * 2 + favourite, as kSelectEntries packs them.
        const qint64 packed = entries.value(0).toLongLong();
        QString text = entries.value(1).toString();
        const auto kind = LibraryKey::Kind((packed >> 1) & 1);
        if (packed <= 0 || text.isEmpty())
            continue;
        QHash<QString, qsizetype> &index = m_index[std::size_t(kind)];
        const qsizetype known = index.size();
        qsizetype &at = index[text.toCaseFolded()];
        // One row per key; a second one can only come from another writer and is not shown.
        if (index.size() == known)
            continue;
        at = qsizetype(m_rows.size());
        Row &row = m_rows.emplace_back();
        row.id = packed >> 2;
        row.key = {kind, std::move(text)};
        row.favourite = (packed & 1) != 0;
    }
    if (entries.lastError().isValid())
        return failed(entries);

    // Rows come in the order of their ids, so what belongs to a row finds it by halving.
    const auto rowOf = [&](const QVariant &id) -> Row * {
        const qint64 wanted = id.toLongLong();
        const auto row = std::lower_bound(m_rows.begin(), m_rows.end(), wanted,
                                          [](const Row &r, qint64 id) { return r.id < id; });
        return row != m_rows.end() && row->id == wanted ? &*row : nullptr;
    };
    QSqlQuery extras(m_connection->database());
    if (!m_connection->run(extras, kSelectEntryMore))
        return failed(extras);
    while (extras.next()) {
        Row *row = rowOf(extras.value(0));
        if (row == nullptr)
            continue;
        const QString tags = extras.value(1).toString();
        if (!tags.isEmpty())
            row->tags = cleanTags(tags.split(u'\n'));
        row->run = {extras.value(2).toString(), machineOf(extras.value(3).toString()),
                    extras.value(4).toString()};
    }
    if (extras.lastError().isValid())
        return failed(extras);

    rowsMoved();
    return true;
}

void Library::addSessions(const std::vector<SessionRead> &sessions)
{
    // Rows come in the order of their ids, so a session finds its row by halving.
    for (const SessionRead &session : sessions) {
        const auto row = std::lower_bound(m_rows.begin(), m_rows.end(), session.entry,
                                          [](const Row &r, qint64 id) { return r.id < id; });
        if (row != m_rows.end() && row->id == session.entry)
            addSession(*row, session.start, session.seconds);
    }
}

std::optional<Message> Library::saveAs(const QString &cataloguePath)
{
    const QString target = pathFor(cataloguePath);
    if (!m_path.isEmpty() && sameFile(m_path, target))
        return std::nullopt;
    QString error;
    if (!copyTo(target, error))
        return Message::critical(kNotSavedText.arg(target, error), kLibraryTitle);
    QHash<qint64, LibraryKey> openSessions = std::move(m_openSessions);
    std::optional<Message> message = open(cataloguePath, Access::ReadWrite);
    if (!isReadOnly())
        m_openSessions = std::move(openSessions);
    return message;
}

bool Library::copyTo(const QString &target, QString &error)
{
    const QFileInfo info(target);
    QTemporaryFile copy(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral("-XXXXXX"));
    // VACUUM INTO writes the whole database, the log's part too, into an empty file.
    if (!copy.open() ||
        !copy.setPermissions(info.exists() ? info.permissions()
                                           : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther)) {
        error = copy.errorString();
        return false;
    }
    if (!m_connection->run(QStringLiteral("VACUUM INTO ?"), {copy.fileName()})) {
        error = m_connection->error();
        return false;
    }
#ifdef Q_OS_UNIX
    // VACUUM INTO does not sync: the copy must be on disk before it takes the library's name.
    if (::fsync(copy.handle()) != 0) {
        error = QStringLiteral("the copy could not be written to disk");
        return false;
    }
#endif
    // The log of the library replaced would otherwise be played into the copy.
    for (const QString &companion :
         {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(target + companion);
    std::error_code failure;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(copy.fileName()).toStdString()),
                            std::filesystem::path(QFile::encodeName(target).toStdString()),
                            failure);
    if (failure) {
        error = QString::fromStdString(failure.message());
        return false;
    }
    copy.setAutoRemove(false);
    return true;
}

const Library::Row *Library::find(const FoldedLibraryKey &key) const
{
    const QHash<QString, qsizetype> &index = m_index[std::size_t(key.kind)];
    const auto at = index.constFind(key.text);
    return at == index.cend() ? nullptr : &m_rows[std::size_t(*at)];
}

const Library::Row *Library::find(const LibraryKey &key) const
{
    return find(key.foldedKey());
}

const LibraryRow *Library::rowOf(const FoldedLibraryKey &key, LibraryRowPlace &place) const
{
    if (place.generation != m_generation) {
        const QHash<QString, qsizetype> &index = m_index[std::size_t(key.kind)];
        place = {m_generation, index.value(key.text, -1)};
    }
    return place.at < 0 ? nullptr : &m_rows[std::size_t(place.at)];
}

LibraryRow Library::row(const LibraryKey &key) const
{
    const Row *found = find(key);
    if (found == nullptr) {
        LibraryRow empty;
        empty.key = key;
        return empty;
    }
    return *found;
}

QList<LibraryRow> Library::rows() const
{
    QList<LibraryRow> out;
    out.reserve(rowCount());
    for (const Row &row : m_rows) {
        if (!row.removed)
            out.append(row);
    }
    return out;
}

QStringList Library::allTags() const
{
    QStringList out;
    QSet<QString> seen;
    for (const Row &row : m_rows) {
        for (const QString &tag : row.tags) {
            const QString folded = tag.toCaseFolded();
            if (!row.removed && !seen.contains(folded)) {
                seen.insert(folded);
                out.append(tag);
            }
        }
    }
    std::sort(out.begin(), out.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return out;
}

QList<int> Library::recentlyPlayed(const RomDatabase &catalogue, qint64 now) const
{
    QList<std::pair<qint64, int>> played;
    for (int slot = 0; slot < catalogue.EntryCount(); ++slot) {
        const Row *found =
            catalogue.isEntrySlot(slot) ? find(LibraryKey::of(catalogue.Get(slot))) : nullptr;
        if (found != nullptr && found->plays > 0 && found->lastPlayed >= now - kRecentSeconds)
            played.append({found->lastPlayed, slot});
    }
    std::stable_sort(played.begin(), played.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<int> slots;
    for (const auto &[when, slot] : played)
        slots.append(slot);
    return slots;
}

QList<int> Library::neverPlayed(const RomDatabase &catalogue) const
{
    QList<int> slots;
    for (int slot = 0; slot < catalogue.EntryCount(); ++slot) {
        if (!catalogue.isEntrySlot(slot))
            continue;
        const Row *found = find(LibraryKey::of(catalogue.Get(slot)));
        if (found == nullptr || found->plays == 0)
            slots.append(slot);
    }
    return slots;
}

std::optional<QList<PlaySession>> Library::sessions() const
{
    QHash<qint64, qsizetype> rowOf;
    rowOf.reserve(rowCount());
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!m_rows[i].removed)
            rowOf.insert(m_rows[i].id, qsizetype(i));
    }
    QSqlQuery query(m_connection->database());
    if (!m_connection->run(query, kSelectSessions))
        return std::nullopt;
    QList<PlaySession> out;
    while (query.next()) {
        const auto row = rowOf.constFind(query.value(1).toLongLong());
        if (row != rowOf.cend())
            out.append({query.value(0).toLongLong(), m_rows[std::size_t(*row)].key,
                        query.value(2).toLongLong(), sessionSeconds(query.value(3))});
    }
    if (query.lastError().isValid())
        return std::nullopt;
    return out;
}

std::optional<LibraryWrite> Library::notRecorded() const
{
    if (!isReadOnly())
        return std::nullopt;
    return LibraryWrite{
        false, Message{m_readOnlyText + kNotRecordedText, kLibraryTitle, MessageIcon::Information},
        0};
}

std::optional<LibraryWrite> Library::refused(const LibraryKey &key) const
{
    if (const auto refusal = notRecorded())
        return refusal;
    if (!key.isValid())
        return failure(QStringLiteral("An entry without a rom file or a name has no row."));
    return std::nullopt;
}

LibraryWrite Library::commit(const std::function<bool()> &work)
{
    if (m_connection->transaction(work))
        return {};
    return failure(kNotChangedText.arg(nameOf(m_path), m_connection->error()));
}

Library::Row Library::staged(const LibraryKey &key) const
{
    const Row *found = find(key);
    if (found != nullptr)
        return *found;
    Row row;
    row.key = key;
    return row;
}

bool Library::write(Row &row)
{
    QVariantList values = {int(row.key.kind),
                           row.key.text,
                           row.favourite ? 1 : 0,
                           textOrNull(row.tags.join(u'\n')),
                           textOrNull(row.run.emulator),
                           textOrNull(row.run.machine),
                           textOrNull(row.run.arguments)};
    QSqlQuery query(m_connection->database());
    if (row.id != 0) {
        values.append(row.id);
        return m_connection->run(query,
                                 QStringLiteral("UPDATE kivo_entry SET kind = ?, spelling = ?, "
                                                "favourite = ?, tags = ?, emulator = ?, "
                                                "machine = ?, arguments = ? WHERE id = ?"),
                                 values) &&
               (query.numRowsAffected() == 1 ||
                m_connection->fail(QStringLiteral("its row is gone from the file")));
    }
    if (!m_connection->run(query,
                           QStringLiteral("INSERT INTO kivo_entry (kind, spelling, favourite, "
                                          "tags, emulator, machine, arguments) VALUES "
                                          "(?, ?, ?, ?, ?, ?, ?)"),
                           values))
        return false;
    row.id = query.lastInsertId().toLongLong();
    return true;
}

LibraryWrite Library::store(Row row)
{
    LibraryWrite result = commit([&] { return write(row); });
    if (result.ok)
        install(row);
    return result;
}

void Library::install(const Row &row)
{
    QHash<QString, qsizetype> &index = m_index[std::size_t(row.key.kind)];
    const QString folded = row.key.folded();
    const auto at = index.constFind(folded);
    if (at != index.cend()) {
        m_rows[std::size_t(*at)] = row;
        return;
    }
    index.insert(folded, qsizetype(m_rows.size()));
    m_rows.push_back(row);
    rowsMoved();
}

LibraryWrite Library::setFavourite(const LibraryKey &key, bool favourite)
{
    if (const auto refusal = refused(key))
        return *refusal;
    Row row = staged(key);
    if (row.favourite == favourite)
        return {};
    row.favourite = favourite;
    return store(std::move(row));
}

LibraryWrite Library::setTags(const LibraryKey &key, const QStringList &tags)
{
    if (const auto refusal = refused(key))
        return *refusal;
    Row row = staged(key);
    const QStringList clean = cleanTags(tags, row.tags);
    if (row.tags == clean)
        return {};
    row.tags = clean;
    return store(std::move(row));
}

LibraryWrite Library::addTag(const LibraryKey &key, const QString &tag)
{
    if (const auto refusal = refused(key))
        return *refusal;
    const QString clean = cleanTag(tag);
    if (clean.isEmpty() || clean.size() > kMaxTagLength)
        return failure(QStringLiteral("A tag is from 1 to %1 characters long.").arg(kMaxTagLength));
    Row row = staged(key);
    if (row.tags.contains(clean, Qt::CaseInsensitive))
        return {};
    row.tags.append(clean);
    return store(std::move(row));
}

LibraryWrite Library::removeTag(const LibraryKey &key, const QString &tag)
{
    if (const auto refusal = refused(key))
        return *refusal;
    Row row = staged(key);
    const QString clean = cleanTag(tag);
    const qsizetype removed = row.tags.removeIf(
        [&](const QString &old) { return old.compare(clean, Qt::CaseInsensitive) == 0; });
    if (removed == 0)
        return {};
    return store(std::move(row));
}

LibraryWrite Library::setRunChoice(const LibraryKey &key, const EntryRunChoice &choice)
{
    if (const auto refusal = refused(key))
        return *refusal;
    EntryRunChoice clean{choice.emulator.trimmed(), machineOf(choice.machine),
                         choice.arguments.trimmed()};
    if (clean.machine.isEmpty() && !choice.machine.trimmed().isEmpty())
        return failure(
            QStringLiteral("Kivo knows no machine \"%1\".").arg(choice.machine.trimmed()));
    Row row = staged(key);
    if (row.run == clean)
        return {};
    row.run = clean;
    return store(std::move(row));
}

LibraryWrite Library::recordStart(const LibraryKey &key, qint64 when)
{
    if (const auto refusal = refused(key))
        return *refusal;
    Row row = staged(key);
    qint64 session = 0;
    LibraryWrite result = commit([&] {
        QSqlQuery query(m_connection->database());
        if ((row.id == 0 && !write(row)) ||
            !m_connection->run(
                query,
                QStringLiteral("INSERT INTO kivo_session (entry, start, seconds) VALUES (?, ?, 0)"),
                {row.id, when}))
            return false;
        session = query.lastInsertId().toLongLong();
        return true;
    });
    if (!result.ok)
        return result;
    addSession(row, when, 0);
    install(row);
    m_openSessions.insert(session, row.key);
    result.session = session;
    return result;
}

LibraryWrite Library::recordEnd(qint64 session, qint64 seconds)
{
    if (const auto refusal = notRecorded())
        return *refusal;
    const auto open = m_openSessions.constFind(session);
    if (open == m_openSessions.cend())
        return failure(QStringLiteral("Play session %1 is not open.").arg(session));
    const qint64 added = seconds < kQuickEndSeconds ? 0 : std::min(seconds, kMaxSessionSeconds);
    if (added > 0) {
        const LibraryWrite result = commit([&] {
            QSqlQuery query(m_connection->database());
            return m_connection->run(
                       query, QStringLiteral("UPDATE kivo_session SET seconds = ? WHERE id = ?"),
                       {added, session}) &&
                   (query.numRowsAffected() == 1 ||
                    m_connection->fail(QStringLiteral("the session is gone from the file")));
        });
        if (!result.ok)
            return result;
        if (const Row *found = find(*open)) {
            Row row = *found;
            row.secondsPlayed += added;
            install(row);
        }
    }
    m_openSessions.erase(open);
    return {};
}

LibraryWrite Library::renameKey(const LibraryKey &from, const LibraryKey &to)
{
    if (const auto refusal = refused(from))
        return *refusal;
    if (const auto refusal = refused(to))
        return *refusal;
    const Row *source = find(from);
    if (source == nullptr)
        return {};
    const Row *target = find(to);
    if (target == source) {
        if (source->key.text == to.text)
            return {};
        Row row = *source;
        row.key = to;
        return store(std::move(row));
    }

    const std::size_t sourceAt = std::size_t(source - m_rows.data());
    Row moved = target != nullptr ? *target : *source;
    const Row gone = *source;
    if (target == nullptr) {
        moved.key = to;
    } else {
        moved.favourite = moved.favourite || gone.favourite;
        for (const QString &tag : gone.tags) {
            if (!moved.tags.contains(tag, Qt::CaseInsensitive))
                moved.tags.append(tag);
        }
        if (moved.run.isDefault())
            moved.run = gone.run;
        if (gone.plays > 0)
            moved.lastPlayed =
                moved.plays > 0 ? std::max(moved.lastPlayed, gone.lastPlayed) : gone.lastPlayed;
        moved.plays += gone.plays;
        moved.secondsPlayed += gone.secondsPlayed;
    }
    const LibraryWrite result = commit([&] {
        if (target == nullptr)
            return write(moved);
        return m_connection->run(
                   QStringLiteral("UPDATE kivo_session SET entry = ? WHERE entry = ?"),
                   {moved.id, gone.id}) &&
               m_connection->run(QStringLiteral("DELETE FROM kivo_entry WHERE id = ?"),
                                 {gone.id}) &&
               write(moved);
    });
    if (!result.ok)
        return result;
    m_index[std::size_t(from.kind)].remove(gone.key.folded());
    rowsMoved();
    if (target == nullptr) {
        m_index[std::size_t(to.kind)].insert(to.folded(), qsizetype(sourceAt));
        m_rows[sourceAt] = moved;
    } else {
        m_rows[sourceAt].removed = true;
        ++m_removed;
        install(moved);
    }
    for (LibraryKey &key : m_openSessions) {
        if (key.matches(gone.key))
            key = moved.key;
    }
    return result;
}

LibraryWrite Library::mergeFrom(const Library &other)
{
    if (const auto refusal = notRecorded())
        return *refusal;
    if (&other == this ||
        (!m_path.isEmpty() && !other.m_path.isEmpty() && sameFile(other.m_path, m_path)))
        return failure(QStringLiteral("A library cannot be merged into itself."));
    const std::optional<QList<PlaySession>> theirSessions = other.sessions();
    if (!theirSessions)
        return failure(kNotReadText.arg(nameOf(other.m_path), other.m_connection->error()));

    // Staged copies, one per key of theirs, written in one transaction.
    std::vector<Row> merged;
    std::array<QHash<QString, qsizetype>, 2> stagedAt;
    for (const Row &theirs : other.m_rows) {
        if (theirs.removed)
            continue;
        Row row = staged(theirs.key);
        row.favourite = row.favourite || theirs.favourite;
        for (const QString &tag : theirs.tags) {
            if (!row.tags.contains(tag, Qt::CaseInsensitive))
                row.tags.append(tag);
        }
        if (row.run.isDefault())
            row.run = theirs.run;
        stagedAt[std::size_t(theirs.key.kind)].insert(theirs.key.folded(),
                                                      qsizetype(merged.size()));
        merged.push_back(std::move(row));
    }
    const auto stagedRow = [&](const LibraryKey &key) -> Row & {
        return merged[std::size_t(stagedAt[std::size_t(key.kind)].value(key.folded()))];
    };
    const LibraryWrite result = commit([&] {
        for (Row &row : merged) {
            if (!write(row))
                return false;
        }
        QSqlQuery insert(m_connection->database());
        if (!insert.prepare(QStringLiteral(
                "INSERT INTO kivo_session (entry, start, seconds) VALUES (?, ?, ?)")))
            return m_connection->fail(insert.lastError().databaseText());
        for (const PlaySession &session : *theirSessions) {
            insert.addBindValue(stagedRow(session.key).id);
            insert.addBindValue(session.start);
            insert.addBindValue(session.seconds);
            if (!m_connection->exec(insert))
                return false;
        }
        return true;
    });
    if (!result.ok)
        return result;
    for (const PlaySession &session : *theirSessions)
        addSession(stagedRow(session.key), session.start, session.seconds);
    for (const Row &row : merged)
        install(row);
    return result;
}
