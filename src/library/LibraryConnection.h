#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

class QSqlError;
class QSqlQuery;

// One connection to a library's SQLite database under a name of its own, so libraries open side
// by side; closed and removed with the object. A read-only connection changes nothing on disk:
// it reads through the write-ahead log while another connection has one, and otherwise takes
// the file as immutable, which leaves no -wal or -shm file behind.
class LibraryConnection
{
public:
    enum class Mode { ReadWrite, ReadOnly, Memory };

    LibraryConnection(const QString &path, Mode mode);
    ~LibraryConnection();
    LibraryConnection(const LibraryConnection &) = delete;
    LibraryConnection &operator=(const LibraryConnection &) = delete;

    bool isOpen() const { return m_db.isOpen(); }
    Mode mode() const { return m_mode; }
    QSqlDatabase &database() { return m_db; }

    // The driver's reason for the last failure, and SQLite's primary result code for it
    // (SQLITE_CORRUPT, SQLITE_NOTADB ...; 0 when not known).
    const QString &error() const { return m_error; }
    int errorCode() const { return m_errorCode; }

    // Prepares `sql`, binds `values` in order and runs it; `query` then holds what it gives.
    bool run(QSqlQuery &query, const QString &sql, const QVariantList &values = {});
    // Runs a query prepared once with the values bound since.
    bool exec(QSqlQuery &query);
    bool run(const QString &sql, const QVariantList &values = {});
    // The first value of the first row `sql` gives; invalid when it fails or gives none.
    QVariant value(const QString &sql, bool *ok = nullptr);
    // Runs `work` in a transaction of its own, committed when it returns true and rolled back
    // otherwise or when the commit fails.
    bool transaction(const std::function<bool()> &work);
    // Fails the work at hand for `reason`, which error() then gives.
    bool fail(const QString &reason);

private:
    bool failed(const QSqlError &error);

    QString m_name;
    Mode m_mode;
    QSqlDatabase m_db;
    QString m_error;
    int m_errorCode = 0;
};
