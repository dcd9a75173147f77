#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// A program to start: never through a shell.
struct ProcessRequest
{
    QString program;
    QStringList arguments;
    QString workingDirectory; // empty: this program's own

    friend bool operator==(const ProcessRequest &, const ProcessRequest &) = default;
};

// How a started program ended.
struct ProcessEnd
{
    int exitCode = 0;
    bool crashed = false;    // killed by a signal, or crashed
    qint64 milliseconds = 0; // from the start to the end
    QString output;          // the last lines it printed, standard output and error together
};

// Starts external programs as processes of their own: never waited for, never ended when this
// program closes, but watched, so the caller hears when one ends. Tests record the calls and
// end the programs themselves.
class ProcessStarter
{
public:
    using EndHandler = std::function<void(const ProcessEnd &)>;

    virtual ~ProcessStarter() = default;
    // Returns false when the program could not be started. `ended`, when given, runs on this
    // thread once the program ends; a program still running when the starter goes away keeps
    // running and is not reported.
    virtual bool start(const ProcessRequest &request, const EndHandler &ended = {}) = 0;
};

class SystemProcessStarter : public ProcessStarter
{
public:
    SystemProcessStarter();
    ~SystemProcessStarter() override;
    bool start(const ProcessRequest &request, const EndHandler &ended = {}) override;

private:
    struct Watched;
    QList<Watched *> m_running;
};
