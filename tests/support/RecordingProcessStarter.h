#pragma once

#include "launch/ProcessStarter.h"

#include <QList>

// Records what the program would start instead of starting it; a test ends a start itself.
class RecordingProcessStarter : public ProcessStarter
{
public:
    // The request as it came, and how to tell its caller the program ended.
    struct Start : ProcessRequest
    {
        EndHandler ended;
    };

    QList<Start> starts;
    bool succeed = true;

    bool start(const ProcessRequest &request, const EndHandler &ended) override
    {
        starts.append({request, ended});
        return succeed;
    }

    // Start `index` ends as `end` says: its handler, if it was given one, hears it.
    void end(qsizetype index, const ProcessEnd &end) const
    {
        if (const EndHandler &ended = starts.at(index).ended)
            ended(end);
    }
};
