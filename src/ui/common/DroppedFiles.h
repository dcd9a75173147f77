#pragma once

#include <QStringList>

class QDropEvent;
class QMimeData;

// Local file paths of a drop's URLs, from any file manager; other URLs are ignored.
QStringList droppedPaths(const QMimeData *mime);

// A drag entering or moving over a widget: accepted when the widget would take any of the
// dragged files, so the pointer says so; refused otherwise.
void answerDrag(QDropEvent *event, bool wouldTake);
// The local files of a drop, the drop accepted; none, and nothing accepted, when it holds none.
QStringList acceptDrop(QDropEvent *event);
