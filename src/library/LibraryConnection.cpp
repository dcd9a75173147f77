#include "library/LibraryConnection.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {

// Another Kivo writing the same library holds it only for one small transaction.
const QString kBusyTimeout = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000");

} // namespace

LibraryConnection::LibraryConnection(const QString &path, Mode mode)
    : m_name(QStringLiteral("kivo-library-%1").arg(quintptr(this), 0, 16))
    , m_mode(mode)
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    QStringList options{kBusyTimeout};
    if (mode == Mode::Memory) {
        m_db.setDatabaseName(QStringLiteral(":memory:"));
    } else if (mode == Mode::ReadOnly && !QFileInfo::exists(path + QStringLiteral("-wal"))) {
        QUrl url = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
        url.setQuery(QStringLiteral("immutable=1"));
        m_db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        options << QStringLiteral("QSQLITE_OPEN_READONLY") << QStringLiteral("QSQLITE_OPEN_URI");
    } else {
        m_db.setDatabaseName(path);
        if (mode == Mode::ReadOnly)
            options << QStringLiteral("QSQLITE_OPEN_READONLY");
    }
    m_db.setConnectOptions(options.join(u';'));
    // A file's own schema must not call functions with side effects.
    if (!m_db.open())
        failed(m_db.lastError());
    else
        run(QStringLiteral("PRAGMA trusted_schema = OFF"));
}

LibraryConnection::~LibraryConnection()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

bool LibraryConnection::failed(const QSqlError &error)
{
    m_error = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (m_error.isEmpty())
        m_error = QStringLiteral("unknown error");
    m_errorCode = error.nativeErrorCode().toInt() & 0xFF;
    return false;
}

bool LibraryConnection::run(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    query.setForwardOnly(true);
    if (values.isEmpty())
        return query.exec(sql) || failed(query.lastError());
    if (!query.prepare(sql))
        return failed(query.lastError());
    for (const QVariant &value : values)
        query.addBindValue(value);
    return exec(query);
}

bool LibraryConnection::exec(QSqlQuery &query)
{
    return query.exec() || failed(query.lastError());
}

bool LibraryConnection::fail(const QString &reason)
{
    m_error = reason;
    m_errorCode = 0;
    return false;
}

bool LibraryConnection::run(const QString &sql, const QVariantList &values)
{
    QSqlQuery query(m_db);
    return run(query, sql, values);
}

QVariant LibraryConnection::value(const QString &sql, bool *ok)
{
    QSqlQuery query(m_db);
    const bool ran = run(query, sql) &&
                     (query.next() || !query.lastError().isValid() || failed(query.lastError()));
    if (ok != nullptr)
        *ok = ran;
    return ran && query.isValid() ? query.value(0) : QVariant();
}

bool LibraryConnection::transaction(const std::function<bool()> &work)
{
    if (!run(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    if (work() && run(QStringLiteral("COMMIT")))
        return true;
    const QString error = m_error;
    const int code = m_errorCode;
    run(QStringLiteral("ROLLBACK"));
    m_error = error;
    m_errorCode = code;
    return false;
}
