#pragma once

#include <QString>

// Shows a directory in the system's file browser. Tests record the calls instead.
class DesktopOpener
{
public:
    virtual ~DesktopOpener() = default;
    // False when the browser could not be asked; callers do not report it.
    virtual bool openDirectory(const QString &directory) = 0;
};

class QtDesktopOpener : public DesktopOpener
{
public:
    bool openDirectory(const QString &directory) override;
};
