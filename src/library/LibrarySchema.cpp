#include "library/LibrarySchema.h"

#include "library/LibraryConnection.h"

#include <QSqlQuery>

namespace {

const QString kNotOurs = QStringLiteral("it is not a Kivo library");

const char *const kCreate[] = {
    "CREATE TABLE kivo_entry (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, "
    "spelling TEXT NOT NULL, favourite INTEGER NOT NULL DEFAULT 0, tags TEXT, emulator TEXT, "
    "machine TEXT, arguments TEXT)",
    "CREATE TABLE kivo_session (id INTEGER PRIMARY KEY, "
    "entry INTEGER NOT NULL REFERENCES kivo_entry (id), start INTEGER NOT NULL, "
    "seconds INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX kivo_session_entry ON kivo_session (entry)",
    "CREATE INDEX kivo_entry_more ON kivo_entry (id) "
    "WHERE coalesce(tags, emulator, machine, arguments) IS NOT NULL",
};

// SQLite's primary result codes that say the file itself is at fault.
constexpr int kSqliteError = 1; // a statement our tables should take, refused
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

LibraryInspection inspectLibrary(LibraryConnection &connection)
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
    const qint64 application =
        connection.value(QStringLiteral("PRAGMA application_id"), &ok).toLongLong();
    const int version = connection.value(QStringLiteral("PRAGMA user_version"), &ok).toInt();
    QSqlQuery objects(connection.database());
    if (!ok || !connection.run(objects, QStringLiteral("SELECT type FROM sqlite_master")))
        return failure(connection);
    bool any = false;
    bool foreign = false; // a trigger or view would run with our writes
    while (objects.next()) {
        any = true;
        foreign = foreign || objects.value(0).toString() == u"trigger" ||
                  objects.value(0).toString() == u"view";
    }
    if (application == 0 && version == 0 && !any)
        return {State::Empty, 0, {}};
    if (application != kLibraryApplicationId)
        return {State::Damaged, version, kNotOurs};
    // A later Kivo may have added what it likes; it is read, never written.
    if (version > kLibrarySchemaVersion)
        return {State::Newer, version, {}};
    if (version < 1 || foreign)
        return {State::Damaged, version, kNotOurs};
    if (!connection.run(kSelectEntries + QStringLiteral(" LIMIT 0")) ||
        !connection.run(kSelectEntryMore + QStringLiteral(" LIMIT 0")) ||
        !connection.run(kSelectSessions + QStringLiteral(" LIMIT 0")))
        return failure(connection);
    return {State::Ours, version, {}};
}

bool createLibrarySchema(LibraryConnection &connection)
{
    return connection.transaction([&] {
        for (const char *statement : kCreate) {
            if (!connection.run(QString::fromLatin1(statement)))
                return false;
        }
        return connection.run(
                   QStringLiteral("PRAGMA application_id = %1").arg(kLibraryApplicationId)) &&
               connection.run(
                   QStringLiteral("PRAGMA user_version = %1").arg(kLibrarySchemaVersion));
    });
}
