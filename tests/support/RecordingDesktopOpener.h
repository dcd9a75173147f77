#pragma once

#include "ui/common/DesktopOpener.h"

#include <QStringList>

// Records the directories the program would show in the file browser.
class RecordingDesktopOpener : public DesktopOpener
{
public:
    QStringList opened;

    bool openDirectory(const QString &directory) override
    {
        opened.append(directory);
        return true;
    }
};
