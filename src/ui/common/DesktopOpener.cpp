#include "ui/common/DesktopOpener.h"

#include "core/PathText.h"

#include <QDesktopServices>
#include <QUrl>

bool QtDesktopOpener::openDirectory(const QString &directory)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toFileSystemPath(directory)));
}
