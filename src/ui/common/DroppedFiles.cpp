#include "ui/common/DroppedFiles.h"

#include <QDropEvent>
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

void answerDrag(QDropEvent *event, bool wouldTake)
{
    if (wouldTake)
        event->acceptProposedAction();
    else
        event->ignore();
}

QStringList acceptDrop(QDropEvent *event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (!paths.isEmpty())
        event->acceptProposedAction();
    return paths;
}
