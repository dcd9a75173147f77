#pragma once

#include "interchange/ImportKind.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The directory and files pages of the import wizard, without the window: which directories
// hold something to import and which of their files are listed, with how many entries each.
// File names match without regard to case (DATA.DAT is a .dat file), as on Windows.

// The directory as the import uses it: ending with a separator. A root (C:\ or /) already ends
// with one and is left alone; an empty text (the current directory) stays empty.
QString importSourceDirectory(const QString &directory);

// Whether Next is enabled on the directory page: SGD needs "sgd.ini" and at least one .dat
// file, our own catalogues a .dat file, pocket catalogues a .kvl file.
bool importDirectoryFits(ImportKind kind, const QString &directory);

struct ImportFileRow
{
    QString fileName; // the name as the directory holds it
    qint64 count = 0; // the entries the file holds (never below 0)

    // The row of the files list: "name [count]".
    QString text() const { return fileName + QStringLiteral(" [%1]").arg(count); }
};

// The files page: the regular files of `directory` matching the kind's pattern, in directory
// order, keeping for SGD those whose first four bytes, lower-cased, are not "kivo" and for the
// other kinds those whose first four bytes are. Files that cannot be opened are not listed.
// Only what a count needs is read: the first bytes of a .dat file, the lines of a .kvl file.
QList<ImportFileRow> listImportFiles(ImportKind kind, const QString &directory);

// The file name of a row: everything before its last " [".
QString importFileNameOfRow(const QString &rowText);

// The counts, for a file of `length` bytes:
// SGD: its records less the last, which never becomes an entry.
qint64 sgdEntryCount(qint64 length);
// Our own catalogue: the stored slot count less the trailing empty slot, held within what the
// rest of the file could store, as the reader does (a damaged count is never believed).
// `head` holds the file's first twelve bytes (fewer for a shorter file).
qint64 ownDatabaseEntryCount(const QByteArray &head, qint64 length);
// Pocket: see pocketEntryCount (PocketDatabase.h).
