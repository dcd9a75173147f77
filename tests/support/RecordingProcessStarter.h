#pragma once

#include "launch/ProcessStarter.h"

#include <QList>

// Records what the program would start instead of starting it.
class RecordingProcessStarter : public ProcessStarter
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
    };

    QList<Start> starts;
    bool succeed = true;

    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        starts.append({program, arguments});
        return succeed;
    }
};
