#pragma once

#include "core/Message.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTest>

// Small helpers shared by the tests.
namespace testsupport {

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);
// Creates the file and every directory above it.
void touch(const QString &path, const QByteArray &bytes = QByteArrayLiteral("x"));

// ../shared/corpus, or empty when it is not there (the test then skips).
QString corpusDir();

// Runs kivo-cli with `arguments` and `input` on stdin.
struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
CliRun runCli(const QStringList &arguments, const QByteArray &input = {});

// A message as "Title: text [icon, buttons]" for readable comparisons.
QString describe(const Message &message);

} // namespace testsupport
