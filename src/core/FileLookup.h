#pragma once

#include <QString>
#include <QStringList>

// File lookup with the rules catalogues made on Windows rely on: "*" and "?" are wildcards in the
// file-name part, and a name matches without regard to case when no exact match exists
// (MANIC.TAP finds manic.tap). An ordinary file is a regular file, links followed, whose name
// does not start with "."; directories never count.

// True when `path` names at least one ordinary file.
bool FileExists(const QString &path);

// The path of the ordinary file `path` names, spelt as it is on disk; empty when there is none.
// With wildcards, the first match in directory order.
QString resolveExistingFile(const QString &path);

// Names of the ordinary files in `directory` that match `pattern` ("*.*" matches every name,
// as on Windows), in the order the directory lists them.
QStringList listOrdinaryFiles(const QString &directory, const QString &pattern);
