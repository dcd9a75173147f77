#pragma once

#include <QString>

// Paths are texts, as the catalogue and the settings hold them. A path written on Windows splits
// at "\", one written here at "/": every split takes the last separator of either kind.

QChar nativeSeparator();
qsizetype lastSeparator(const QString &path);
bool endsWithSeparator(const QString &path);
// Everything up to and including the last separator; empty when there is none.
QString directoryPart(const QString &path);
// Everything after the last separator.
QString fileNamePart(const QString &path);
// The text after the last "." of `name`, lower-cased; empty when there is no ".".
QString lowerExtension(const QString &name);
// The one place a stored path becomes a path for the file system.
QString toFileSystemPath(const QString &path);
