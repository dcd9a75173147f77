#include "state/ListColumns.h"

const QList<ListColumn> &allListColumns()
{
    static const QList<ListColumn> columns = {ListColumn::Machine};
    return columns;
}

QString listColumnId(ListColumn column)
{
    switch (column) {
    case ListColumn::Machine:
        break;
    }
    return QStringLiteral("machine");
}

QString listColumnCaption(ListColumn column)
{
    switch (column) {
    case ListColumn::Machine:
        break;
    }
    return QStringLiteral("Machine");
}

std::optional<ListColumn> listColumnFromId(const QString &id)
{
    for (const ListColumn column : allListColumns()) {
        if (id.compare(listColumnId(column), Qt::CaseInsensitive) == 0)
            return column;
    }
    return std::nullopt;
}

QList<ListColumn> listColumnsFromIds(const QStringList &ids)
{
    QList<ListColumn> columns;
    for (const QString &id : ids) {
        const std::optional<ListColumn> column = listColumnFromId(id);
        if (column && !columns.contains(*column))
            columns.append(*column);
    }
    return columns;
}

QStringList listColumnIds(const QList<ListColumn> &columns)
{
    QStringList ids;
    for (const ListColumn column : columns)
        ids.append(listColumnId(column));
    return ids;
}
