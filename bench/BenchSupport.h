#pragma once

// What several benchmark programs share: dialogs that answer by themselves, a process starter
// that starts nothing, and timing a whole child process with its peak memory.
#include "launch/ProcessStarter.h"
#include "ui/Dialogs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace benchsupport {

// Every question answered Yes, every message OK, every chooser cancelled.
class YesDialogs : public Dialogs
{
public:
    Answer show(QWidget *, const Message &message) override
    {
        return message.buttons == MessageButtons::Ok ? Answer::Ok : Answer::Yes;
    }
    QString inputBox(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFile(QWidget *, const FileRequest &) override { return {}; }
    QString saveFile(QWidget *, const FileRequest &) override { return {}; }
    QString chooseDirectory(QWidget *, const QString &, const QString &) override { return {}; }
};

class NoStarter : public ProcessStarter
{
public:
    bool startDetached(const QString &, const QStringList &) override { return true; }
};

struct ProcessRun
{
    bool started = false;
    int exitCode = -1;
    double seconds = 0;
    double peakMiB = 0; // the child's largest resident set
};

// Runs `program` with `arguments`, its output thrown away, and waits for it.
inline ProcessRun runMeasured(const QString &program, const QStringList &arguments)
{
    std::vector<QByteArray> storage{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        storage.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &item : storage)
        argv.push_back(item.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    run.started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!run.started)
        return run;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.peakMiB = double(usage.ru_maxrss) / 1024.0;
    return run;
}

} // namespace benchsupport
