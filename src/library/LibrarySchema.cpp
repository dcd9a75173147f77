#include "library/LibrarySchema.h"

#include "library/LibraryConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace {

const QString kNotOurs = QStringLiteral("it is not a Kivo library");

// In the order of their names, as sqlite_master is read, which is also an order they can be
// made in.
const char *const kCreate[] = {
    "CREATE TABLE kivo_entry (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, "
    "spelling TEXT NOT NULL, favourite INTEGER NOT NULL DEFAULT 0, tags TEXT, emulator TEXT, "
    "machine TEXT, arguments TEXT)",
    "CREATE INDEX kivo_entry_more ON kivo_entry (id) "
    "WHERE coalesce(tags, emulator, machine, arguments) IS NOT NULL",
    "CREATE TABLE kivo_session (id INTEGER PRIMARY KEY, "
    "entry INTEGER NOT NULL REFERENCES kivo_entry (id), start INTEGER NOT NULL, "
    "seconds INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX kivo_session_entry ON kivo_session (entry)",
};

// SQLite's primary result codes that say the file itself is at fault.
constexpr int kSqliteError = 1; // a schema it cannot even parse
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADatabase = 26;

LibraryInspection failure(const LibraryConnection &connection)
{
    const int code = connection.errorCode();
    const bool damaged =
        code == kSqliteError || code == kSqliteCorrupt || code == kSqliteNotADatabase;
    return {damaged ? LibraryInspection::State::Damaged : LibraryInspection::State::Unreadable, 0,
            connection.error()};
}

} // namespace

LibraryInspection checkLibraryPages(LibraryConnection &connection)
{
    using State = LibraryInspection::State;
    if (!connection.isOpen())
        return {State::Unreadable, 0, connection.error()};
    bool ok = false;
    // One problem is reason enough; the rest would only cost time.
    const QString check = connection.value(QStringLiteral("PRAGMA quick_check(1)"), &ok).toString();
    if (!ok)
        return failure(connection);
    if (check != u"ok")
        return {State::Damaged, 0, check};
    return {State::Ours, 0, {}};
}

LibraryInspection inspectLibrary(LibraryConnection &connection, PageCheck pages)
{
    using State = LibraryInspection::State;
    if (pages == PageCheck::Now) {
        const LibraryInspection checked = checkLibraryPages(connection);
        if (checked.state != State::Ours)
            return checked;
    } else if (!connection.isOpen()) {
        return {State::Unreadable, 0, connection.error()};
    }
    bool ok = false;
    const qint64 application =
        connection.value(QStringLiteral("PRAGMA application_id"), &ok).toLongLong();
    const int version = connection.value(QStringLiteral("PRAGMA user_version"), &ok).toInt();
    // Our tables and indexes exactly as this Kivo makes them, so every write finds what it
    // expects and no trigger or view of someone else's runs with it.
    QSqlQuery objects(connection.database());
    if (!ok || !connection.run(objects, QStringLiteral("SELECT sql FROM sqlite_master WHERE "
                                                       "substr(name, 1, 7) <> 'sqlite_' "
                                                       "ORDER BY name")))
        return failure(connection);
    QStringList schema;
    while (objects.next())
        schema.append(objects.value(0).toString());
    if (objects.lastError().isValid())
        return failure(connection);
    if (application == 0 && version == 0 && schema.isEmpty())
        return {State::Empty, 0, {}};
    if (application != kLibraryApplicationId)
        return {State::Damaged, version, kNotOurs};
    // A later Kivo may have changed what it likes; it is read, never written.
    if (version > kLibrarySchemaVersion)
        return {State::Newer, version, {}};
    const bool ours =
        std::equal(schema.cbegin(), schema.cend(), std::cbegin(kCreate), std::cend(kCreate),
                   [](const QString &a, const char *b) { return a == QLatin1String(b); });
    if (version != kLibrarySchemaVersion || !ours)
        return {State::Damaged, version, kNotOurs};
    return {State::Ours, version, {}};
}

bool createLibrarySchema(LibraryConnection &connection)
{
    // Qt reads text as UTF-16: stored so, it is not converted on every read. A file with pages
    // already keeps the encoding it has.
    return connection.run(QStringLiteral("PRAGMA encoding = 'UTF-16'")) &&
           connection.transaction([&] {
               for (const char *statement : kCreate) {
                   if (!connection.run(QString::fromLatin1(statement)))
                       return false;
               }
               return connection.run(QStringLiteral("PRAGMA application_id = %1")
                                         .arg(kLibraryApplicationId)) &&
                      connection.run(
                          QStringLiteral("PRAGMA user_version = %1").arg(kLibrarySchemaVersion));
           });
}
