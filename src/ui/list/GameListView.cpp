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
    connect(header(), &QHeaderView::sectionResized, this, [this] {
        if (!m_fitting)
            m_columnsFitted = false;
    });
}

void GameListView::setColumnsFitted(bool fitted)
{
    m_columnsFitted = fitted;
    if (fitted)
        fitColumns();
}

void GameListView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    if (m_columnsFitted)
        fitColumns();
}

// Name, publisher and year in the shares a catalogue's texts usually need, after the optional
// columns took a narrow width each.
void GameListView::fitColumns()
{
    const int columns = model() != nullptr ? model()->columnCount() : 0;
    if (columns < 3)
        return;
    const int optional = std::min(90, viewport()->width() / 8);
    const int width = viewport()->width() - optional * (columns - 3);
    const int year = std::min(70, width / 6);
    const int publisher = (width - year) * 2 / 5;
    m_fitting = true;
    header()->resizeSection(0, width - year - publisher);
    header()->resizeSection(1, publisher);
    header()->resizeSection(2, year);
    for (int column = 3; column < columns; ++column)
        header()->resizeSection(column, optional);
    m_fitting = false;
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
    case Qt::Key_F10:
        if (!(event->modifiers() & Qt::ShiftModifier)) {
            QTableView::keyPressEvent(event);
            return;
        }
        [[fallthrough]];
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
    const QStringList paths = acceptDrop(event);
    if (!paths.isEmpty())
        Q_EMIT filesDropped(paths);
}
