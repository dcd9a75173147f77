#include "state/ListColumns.h"

namespace {

struct ColumnTexts
{
    ListColumn column;
    const char *id;
    const char *caption;
};

constexpr ColumnTexts kColumns[] = {
    {ListColumn::Machine, "machine", "Machine"},
    {ListColumn::Favourite, "favourite", "Favourite"},
    {ListColumn::TimesPlayed, "plays", "Times played"},
    {ListColumn::LastPlayed, "lastplayed", "Last played"},
    {ListColumn::PlayTime, "playtime", "Play time"},
    {ListColumn::Tags, "tags", "Tags"},
};

const ColumnTexts &textsOf(ListColumn column)
{
    return kColumns[int(column)];
}

} // namespace

const QList<ListColumn> &allListColumns()
{
    static const QList<ListColumn> columns = [] {
        QList<ListColumn> all;
        for (const ColumnTexts &texts : kColumns)
            all.append(texts.column);
        return all;
    }();
    return columns;
}

QString listColumnId(ListColumn column)
{
    return QString::fromLatin1(textsOf(column).id);
}

QString listColumnCaption(ListColumn column)
{
    return QString::fromLatin1(textsOf(column).caption);
}

bool listColumnSorts(ListColumn column)
{
    return column != ListColumn::Machine;
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
