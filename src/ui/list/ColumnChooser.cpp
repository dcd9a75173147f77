#include "ui/list/ColumnChooser.h"

#include "ui/list/GameListModel.h"
#include "ui/list/GameListView.h"

#include <QMenu>

ColumnChooser::ColumnChooser(GameListModel &model, GameListView &list)
    : QObject(&list)
    , m_model(model)
    , m_list(list)
    , m_menu(new QMenu(&list))
{
    m_menu->setObjectName(QStringLiteral("mnuColumns"));
    for (const ListColumn column : allListColumns()) {
        QAction *action = m_menu->addAction(listColumnCaption(column));
        action->setObjectName(QStringLiteral("mnuColumn_") + listColumnId(column));
        action->setCheckable(true);
        action->setData(int(column));
        connect(action, &QAction::toggled, this, [this] { columnToggled(); });
    }
    QHeaderView *header = list.header();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this,
            [this, header](const QPoint &at) { popup(header->mapToGlobal(at)); });
}

void ColumnChooser::setColumns(const QList<ListColumn> &columns)
{
    for (QAction *action : m_menu->actions()) {
        const QSignalBlocker quiet(action);
        action->setChecked(columns.contains(ListColumn(action->data().toInt())));
    }
    columnToggled();
}

const QList<ListColumn> &ColumnChooser::shownColumns() const
{
    return m_model.optionalColumns();
}

void ColumnChooser::popup(const QPoint &globalPos)
{
    m_menu->popup(globalPos);
}

void ColumnChooser::columnToggled()
{
    QList<ListColumn> shown;
    for (const QAction *action : m_menu->actions()) {
        if (action->isChecked())
            shown.append(ListColumn(action->data().toInt()));
    }
    // The columns already there keep the widths they have.
    QList<int> widths;
    for (int column = 0; column < m_model.columnCount(); ++column)
        widths.append(m_list.header()->sectionSize(column));
    const QList<ListColumn> before = m_model.optionalColumns();
    // New sections report their sizes as they come, which would read as the user's drag.
    const bool fitted = m_list.columnsFitted();
    const QModelIndexList selected = m_list.selectionModel()->selectedRows();
    m_model.setOptionalColumns(shown);
    // The rows selected stay selected across the new columns too.
    for (const QModelIndex &row : selected)
        m_list.selectionModel()->select(row,
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (fitted) {
        m_list.setColumnsFitted(true);
        return;
    }
    for (int at = 0; at < shown.size(); ++at) {
        const qsizetype was = before.indexOf(shown.at(at));
        if (was >= 0)
            m_list.header()->resizeSection(GameListModel::ColumnCount + at,
                                           widths.at(GameListModel::ColumnCount + was));
    }
}
