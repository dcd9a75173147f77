#pragma once

#include <QString>
#include <QStringList>

// Starts an external program without a shell and without waiting for it. Tests record the
// calls instead.
class ProcessStarter
{
public:
    virtual ~ProcessStarter() = default;
    // Returns false when the program could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments) = 0;
};

class SystemProcessStarter : public ProcessStarter
{
public:
    bool startDetached(const QString &program, const QStringList &arguments) override;
};
