#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace testsupport {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

void touch(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFile(path, bytes);
}

QString corpusDir()
{
    const QString dir = QStringLiteral(KIVO_CORPUS);
    return QFileInfo(dir).isDir() ? QFileInfo(dir).canonicalFilePath() : QString();
}

CliRun runCli(const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(QStringLiteral(KIVO_CLI), arguments);
    process.waitForStarted();
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

QString describe(const Message &message)
{
    static const char *const kIcons[] = {"none", "critical", "exclamation", "information",
                                         "question"};
    static const char *const kButtons[] = {"ok", "yesno", "yesnocancel"};
    return QStringLiteral("%1: %2 [%3, %4]")
        .arg(message.title, message.text, QLatin1String(kIcons[int(message.icon)]),
             QLatin1String(kButtons[int(message.buttons)]));
}

} // namespace testsupport
