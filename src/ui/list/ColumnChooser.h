#pragma once

#include "state/ListColumns.h"

#include <QObject>

class GameListModel;
class GameListView;
class QMenu;
class QPoint;

// The game list header's context menu: a check item for each optional column. A column ticked
// joins the list at its end, in the menu's order.
class ColumnChooser : public QObject
{
    Q_OBJECT

public:
    ColumnChooser(GameListModel &model, GameListView &list);

    QMenu *menu() const { return m_menu; }
    void setColumns(const QList<ListColumn> &columns);
    // The optional columns the list shows, in order.
    const QList<ListColumn> &shownColumns() const;
    void popup(const QPoint &globalPos);

private:
    void columnToggled();

    GameListModel &m_model;
    GameListView &m_list;
    QMenu *m_menu = nullptr;
};
