#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Columns the game list shows only when the user picks them from the header's menu, after the
// name, publisher and year. Their ids are what kivo.ini keeps.
enum class ListColumn { Machine, Favourite, TimesPlayed, LastPlayed, PlayTime, Tags };

// Every optional column, in the order the header's menu lists them.
const QList<ListColumn> &allListColumns();
QString listColumnId(ListColumn column);      // "machine", "favourite", "plays", "lastplayed" ...
QString listColumnCaption(ListColumn column); // "Machine", "Favourite", "Times played" ...
// A column that sorts: every one but the machine, which would read every rom file.
bool listColumnSorts(ListColumn column);
std::optional<ListColumn> listColumnFromId(const QString &id);

// The columns `ids` name, each once, in their order; ids of columns this program does not know
// are passed over (a newer one may have written them).
QList<ListColumn> listColumnsFromIds(const QStringList &ids);
QStringList listColumnIds(const QList<ListColumn> &columns);
