#include "launch/ProcessStarter.h"

#include "core/PathText.h"

#include <QProcess>

bool SystemProcessStarter::startDetached(const QString &program, const QStringList &arguments)
{
    return QProcess::startDetached(toFileSystemPath(program), arguments);
}
