#include "launch/ProcessStarter.h"

#include "core/PathText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

constexpr int kStartTimeoutMilliseconds = 30000;
constexpr qsizetype kLastLines = 10;
constexpr qsizetype kLastCharacters = 2000;
// Enough of the log's end for ten long lines; the rest is never read.
constexpr qint64 kTailBytes = 16 * 1024;

// The end of what the program printed: its last lines, at most kLastCharacters of them.
QString lastLines(const QString &logPath)
{
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    const qint64 from = std::max<qint64>(0, log.size() - kTailBytes);
    log.seek(from);
    QString text = QString::fromUtf8(log.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (from > 0)
        lines.removeFirst(); // begun before the part read
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    QString last = lines.mid(std::max<qsizetype>(0, lines.size() - kLastLines)).join(u'\n');
    return last.size() > kLastCharacters ? last.right(kLastCharacters) : last;
}

// The processes of starters that went away while they ran. A QProcess kills its program when
// it is destroyed, so these are never destroyed. They stay reachable for the leak checker: the
// list itself is never destroyed either, as a static one would be before the check at exit.
QList<QProcess *> &releasedProcesses()
{
    static auto *released = new QList<QProcess *>;
    return *released;
}

} // namespace

struct SystemProcessStarter::Watched
{
    QProcess *process = nullptr;
    QString logPath;
    QElapsedTimer clock;
    EndHandler ended;
};

SystemProcessStarter::SystemProcessStarter() = default;

SystemProcessStarter::~SystemProcessStarter()
{
    for (Watched *watched : std::as_const(m_running)) {
        watched->process->disconnect();
        // The program keeps its open log; the name goes now, the space when it ends.
        QFile::remove(watched->logPath);
        releasedProcesses().append(watched->process);
        delete watched;
    }
}

bool SystemProcessStarter::start(const ProcessRequest &request, const EndHandler &ended)
{
    // Standard output and error go to a file, not a pipe: a pipe whose reader has gone (this
    // program closed) would end the emulator with SIGPIPE at its next line.
    QTemporaryFile log(QDir::tempPath() + QStringLiteral("/kivo-run-XXXXXX.log"));
    log.setAutoRemove(false);
    if (!log.open())
        return false;
    const QString logPath = log.fileName();
    log.close();

    auto *process = new QProcess;
    process->setProgram(toFileSystemPath(request.program));
    process->setArguments(request.arguments);
    if (!request.workingDirectory.isEmpty())
        process->setWorkingDirectory(toFileSystemPath(request.workingDirectory));
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(logPath);
#ifdef Q_OS_UNIX
    // A session of its own, as a detached start gives: the terminal's hang-up and Ctrl+C that
    // end this program do not reach the emulator.
    process->setChildProcessModifier([] { ::setsid(); });
#endif
    auto *watched = new Watched{process, logPath, {}, ended};
    watched->clock.start();
    process->start();
    if (!process->waitForStarted(kStartTimeoutMilliseconds)) {
        delete process;
        delete watched;
        QFile::remove(logPath);
        return false;
    }
    m_running.append(watched);
    QObject::connect(process, &QProcess::finished, process,
                     [this, watched](int exitCode, QProcess::ExitStatus status) {
                         ProcessEnd end;
                         end.exitCode = exitCode;
                         end.crashed = status == QProcess::CrashExit;
                         end.milliseconds = watched->clock.elapsed();
                         end.output = lastLines(watched->logPath);
                         QFile::remove(watched->logPath);
                         m_running.removeOne(watched);
                         watched->process->deleteLater();
                         // The handler may close what owns this starter: nothing of it is used
                         // after the call.
                         const EndHandler handler = std::move(watched->ended);
                         delete watched;
                         if (handler)
                             handler(end);
                     });
    return true;
}
