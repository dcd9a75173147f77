#pragma once

#include "state/ListFilter.h"
#include "state/ListOrder.h"

#include <QAbstractProxyModel>
#include <QItemSelection>
#include <QList>
#include <QStringList>
#include <QTimer>

#include <functional>

class GameListModel;
struct GameTypeTable;

// What the game list shows of the catalogue: the rows the filter lets through, in the order of
// the column sorted by, over the list model (never a copy of the catalogue). With no filter and
// no sort it is the catalogue order, row for row. Filtering and sorting keep the selection of
// the rows still shown.
class GameListProxy : public QAbstractProxyModel
{
    Q_OBJECT

public:
    GameListProxy(GameListModel &source, const GameTypeTable &types, QObject *parent = nullptr);

    // The slot of the entry a row shows; kNone for no row.
    int slotOfRow(int row) const;
    // The row that shows `slot`, or -1 when it is not shown.
    int rowOfSlot(int slot) const;
    // The slots of the rows a selection of this model's rows covers.
    QList<int> slotsOf(const QItemSelection &selection) const;
    int totalRows() const;

    // Every word must occur in an entry's fields (case and accents ignored).
    void setFilterText(const QString &text);
    QString filterText() const { return m_filterText; }
    // Only entries for which `test` holds (a slot in, true to show); an empty function shows all.
    void setSlotFilter(std::function<bool(int)> test);
    bool filtering() const { return !m_words.isEmpty() || bool(m_slotFilter); }
    // Looks again at every entry with the current filter (the files on disk changed).
    void refilter();

    void setSort(SortColumn column, Qt::SortOrder order);
    SortColumn sortColumn() const { return m_sortColumn; }
    // While no column sorts, the rows in the order `order` gives (source rows; those it leaves
    // out are not shown). It is asked again whenever the rows or what it may read change.
    void setCustomOrder(std::function<QList<int>()> order);
    bool hasCustomOrder() const { return bool(m_customOrder); }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    // A flat list: a view laying out many rows asks this of each.
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QModelIndex sibling(int row, int column, const QModelIndex &index) const override;

private:
    // Rebuilds the rows after the source was filled anew.
    void rebuild();
    // Recomputes the rows in place, keeping the selection and the current row where they stay.
    void relayout();
    QList<int> computeRows();
    QList<int> sortedSourceRows();
    // Makes the search texts of the rows that have none yet.
    void ensureSearchTexts();
    // Makes some of them while the program is idle, so the first keystroke finds them made.
    void buildSomeSearchTexts();
    void restartSearchTexts();
    void onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                       const QList<int> &roles);

    GameListModel &m_source;
    const GameTypeTable &m_types;
    QString m_filterText;
    WordFilter m_words;
    std::function<bool(int)> m_slotFilter;
    std::function<QList<int>()> m_customOrder;
    SortColumn m_sortColumn = SortColumn::None;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;

    QList<int> m_rows;        // proxy row -> source row
    QList<int> m_proxyOfRow;  // source row -> proxy row, -1 when filtered out
    QList<int> m_sorted;      // source rows in sort order; empty while the source order holds
    SearchTexts m_searchText; // per source row, from the first on
    QTimer m_textBuilder;
};
