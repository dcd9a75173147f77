#pragma once

// What several benchmark programs share: dialogs that answer by themselves, a process starter
// that starts nothing, and timing a whole child process with its peak memory.
#include "BenchCatalogue.h"
#include "launch/ProcessStarter.h"
#include "ui/common/Dialogs.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace benchsupport {

// main() of a benchmark program that needs the window classes: an offscreen application, then
// the benchmarks.
inline int runWithApplication(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

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
    bool start(const ProcessRequest &, const EndHandler &) override { return true; }
};

// The real main window over a temporary program directory, made by open() once the directory
// holds what the benchmark needs.
struct BenchWindow
{
    QTemporaryDir dir;
    AppState state{ProgramDir::inDirectory(dir.path())};
    YesDialogs dialogs;
    NoStarter starter;
    std::unique_ptr<frmMain> window;

    frmMain &open()
    {
        window = std::make_unique<frmMain>(state, dialogs, starter);
        return *window;
    }
};

struct ProcessRun
{
    bool started = false;
    int exitCode = -1;
    double seconds = 0;
    double peakMiB = 0; // the child's largest resident set
};

// A child's peak memory counts from its parent's size when it was forked (the kernel keeps the
// high-water mark across exec), so the measured programs are started by a small helper forked
// before the benchmark grows: call startProcessRunner() first thing in main().
class ProcessRunner
{
public:
    static ProcessRunner &instance()
    {
        static ProcessRunner runner;
        return runner;
    }

    void start()
    {
        int requests[2];
        int replies[2];
        if (m_started || pipe(requests) != 0 || pipe(replies) != 0)
            return;
        if (fork() == 0) {
            close(requests[1]);
            close(replies[0]);
            serve(requests[0], replies[1]);
            _exit(0);
        }
        close(requests[0]);
        close(replies[1]);
        m_requests = requests[1];
        m_replies = replies[0];
        m_started = true;
    }

    // Runs `program` with `arguments`, its output thrown away, and waits for it.
    ProcessRun run(const QString &program, const QStringList &arguments)
    {
        ProcessRun result;
        if (!m_started)
            return result;
        QByteArray request = program.toLocal8Bit() + '\0';
        for (const QString &argument : arguments)
            request += argument.toLocal8Bit() + '\0';
        const quint32 size = quint32(request.size());
        if (!writeAll(m_requests, &size, sizeof size) ||
            !writeAll(m_requests, request.constData(), size))
            return result;
        readAll(m_replies, &result, sizeof result);
        return result;
    }

private:
    static bool writeAll(int fd, const void *data, std::size_t size)
    {
        const char *bytes = static_cast<const char *>(data);
        while (size > 0) {
            const ssize_t done = write(fd, bytes, size);
            if (done <= 0)
                return false;
            bytes += done;
            size -= std::size_t(done);
        }
        return true;
    }
    static bool readAll(int fd, void *data, std::size_t size)
    {
        char *bytes = static_cast<char *>(data);
        while (size > 0) {
            const ssize_t done = read(fd, bytes, size);
            if (done <= 0)
                return false;
            bytes += done;
            size -= std::size_t(done);
        }
        return true;
    }

    [[noreturn]] static void serve(int requests, int replies)
    {
        for (;;) {
            quint32 size = 0;
            if (!readAll(requests, &size, sizeof size))
                _exit(0);
            std::vector<char> request(size);
            if (!readAll(requests, request.data(), size))
                _exit(0);
            std::vector<char *> argv;
            for (std::size_t at = 0; at < size; at += std::strlen(&request[at]) + 1)
                argv.push_back(&request[at]);
            argv.push_back(nullptr);

            ProcessRun run;
            const auto start = std::chrono::steady_clock::now();
            const pid_t pid = fork();
            if (pid == 0) {
                const int null = open("/dev/null", O_WRONLY);
                dup2(null, 1);
                dup2(null, 2);
                execv(argv[0], argv.data());
                _exit(127);
            }
            int status = 0;
            rusage usage{};
            run.started = pid > 0 && wait4(pid, &status, 0, &usage) == pid;
            run.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            run.started = run.started && run.exitCode != 127;
            run.peakMiB = double(usage.ru_maxrss) / 1024.0;
            writeAll(replies, &run, sizeof run);
        }
    }

    bool m_started = false;
    int m_requests = -1;
    int m_replies = -1;
};

inline void startProcessRunner()
{
    ProcessRunner::instance().start();
}

inline ProcessRun runMeasured(const QString &program, const QStringList &arguments)
{
    return ProcessRunner::instance().run(program, arguments);
}

// A benchmark's iterations as runs of a whole process, timed from outside; the last run, for
// its peak memory.
inline ProcessRun timeProcessRuns(benchmark::State &state, const QString &program,
                                  const QStringList &arguments)
{
    ProcessRun run;
    for (auto _ : state) {
        run = runMeasured(program, arguments);
        if (!run.started || run.exitCode != 0)
            state.SkipWithError("the program did not run to a good end");
        state.SetIterationTime(run.seconds);
    }
    state.counters["peak_MiB"] = run.peakMiB;
    return run;
}

} // namespace benchsupport
