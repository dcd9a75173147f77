#include "ui/list/GameListView.h"

#include "ui/common/DroppedFiles.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

GameListView::GameListView(QWidget *parent)
    : QTableView(parent)
{
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Every row as high as the font needs, decided once: a refill of 100,000 rows stays instant.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    header()->setStretchLastSection(false);
}

void GameListView::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    Q_EMIT mouseReleased(event->button(), event->globalPosition().toPoint());
}

void GameListView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT enterPressed();
        return;
    case Qt::Key_Delete:
        Q_EMIT deletePressed();
        return;
    case Qt::Key_Menu: {
        const QRect rect = visualRect(currentIndex());
        const QPoint at = rect.isValid() ? rect.center() : QPoint(0, 0);
        Q_EMIT mouseReleased(Qt::RightButton, viewport()->mapToGlobal(at));
        return;
    }
    default:
        QTableView::keyPressEvent(event);
    }
}

void GameListView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void GameListView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void GameListView::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    Q_EMIT filesDropped(paths);
}
