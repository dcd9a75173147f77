#include "ui/common/DroppedFiles.h"

#include <QMimeData>
#include <QUrl>

QStringList droppedPaths(const QMimeData *mime)
{
    QStringList paths;
    if (mime == nullptr)
        return paths;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}
