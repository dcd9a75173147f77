#include "ui/list/GameListProxy.h"

#include "core/None.h"
#include "state/ListFilter.h"
#include "ui/list/GameListModel.h"

#include <numeric>

GameListProxy::GameListProxy(GameListModel &source, const GameTypeTable &types, QObject *parent)
    : QAbstractProxyModel(parent)
    , m_source(source)
    , m_types(types)
{
    setSourceModel(&source);
    connect(&source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&source, &QAbstractItemModel::modelReset, this, [this] {
        rebuild();
        endResetModel();
    });
    connect(&source, &QAbstractItemModel::dataChanged, this, &GameListProxy::onDataChanged);
    connect(&source, &QAbstractItemModel::headerDataChanged, this,
            &QAbstractItemModel::headerDataChanged);
    // Optional columns come and go at the end; the rows stay as they are.
    connect(
        &source, &QAbstractItemModel::columnsAboutToBeInserted, this,
        [this](const QModelIndex &, int first, int last) { beginInsertColumns({}, first, last); });
    connect(&source, &QAbstractItemModel::columnsInserted, this, [this] { endInsertColumns(); });
    connect(
        &source, &QAbstractItemModel::columnsAboutToBeRemoved, this,
        [this](const QModelIndex &, int first, int last) { beginRemoveColumns({}, first, last); });
    connect(&source, &QAbstractItemModel::columnsRemoved, this, [this] { endRemoveColumns(); });
    m_textBuilder.setSingleShot(true);
    connect(&m_textBuilder, &QTimer::timeout, this, [this] { buildSomeSearchTexts(); });
    rebuild();
}

int GameListProxy::slotOfRow(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_source.slotOfRow(m_rows.at(row)) : kNone;
}

int GameListProxy::rowOfSlot(int slot) const
{
    const int sourceRow = m_source.rowOfSlot(slot);
    return sourceRow >= 0 && sourceRow < m_proxyOfRow.size() ? m_proxyOfRow.at(sourceRow) : -1;
}

int GameListProxy::totalRows() const
{
    return m_source.rowCount();
}

void GameListProxy::setFilterText(const QString &text)
{
    m_filterText = text;
    WordFilter words(text);
    if (words.words() == m_words.words())
        return;
    m_words = std::move(words);
    relayout();
}

void GameListProxy::setSlotFilter(std::function<bool(int)> test)
{
    m_slotFilter = std::move(test);
    relayout();
}

void GameListProxy::refilter()
{
    relayout();
}

void GameListProxy::setSort(SortColumn column, Qt::SortOrder order)
{
    m_sortColumn = column;
    m_sortOrder = order;
    m_sorted.clear();
    relayout();
}

void GameListProxy::setCustomOrder(std::function<QList<int>()> order)
{
    m_customOrder = std::move(order);
    m_sorted.clear();
    relayout();
}

QList<int> GameListProxy::sortedSourceRows()
{
    if (m_sortColumn == SortColumn::None) {
        if (!m_customOrder)
            return {};
        if (m_sorted.isEmpty())
            m_sorted = m_customOrder();
        return m_sorted;
    }
    if (m_sorted.isEmpty() && m_source.rowCount() > 0) {
        QList<const RomRecord *> records;
        records.reserve(m_source.rowCount());
        for (int row = 0; row < m_source.rowCount(); ++row)
            records.append(&m_source.recordOfRow(row));
        m_sorted = sortedOrder(records, m_sortColumn, m_sortOrder);
    }
    return m_sorted;
}

void GameListProxy::ensureSearchTexts()
{
    for (int row = m_searchText.size(); row < m_source.rowCount(); ++row)
        m_searchText.append(m_source.recordOfRow(row), m_types);
    m_textBuilder.stop();
}

void GameListProxy::buildSomeSearchTexts()
{
    // A few milliseconds of work at a time, so the window stays as quick to answer as ever.
    constexpr int kRowsAtATime = 2000;
    const int end = std::min(m_searchText.size() + kRowsAtATime, m_source.rowCount());
    for (int row = m_searchText.size(); row < end; ++row)
        m_searchText.append(m_source.recordOfRow(row), m_types);
    if (m_searchText.size() < m_source.rowCount())
        m_textBuilder.start(0);
}

void GameListProxy::restartSearchTexts()
{
    m_searchText.clear();
    if (m_source.rowCount() > 0)
        m_textBuilder.start(0);
}

QList<int> GameListProxy::computeRows()
{
    const int total = m_source.rowCount();
    QList<int> order = sortedSourceRows();
    if (order.isEmpty()) {
        order.resize(total);
        std::iota(order.begin(), order.end(), 0);
    }
    if (!filtering())
        return order;
    QList<bool> keep(total, true);
    if (!m_words.isEmpty()) {
        ensureSearchTexts();
        m_searchText.narrow(m_words, keep);
    }
    QList<int> rows;
    rows.reserve(total);
    for (const int row : std::as_const(order)) {
        if (keep.at(row) && (!m_slotFilter || m_slotFilter(m_source.slotOfRow(row))))
            rows.append(row);
    }
    return rows;
}

void GameListProxy::rebuild()
{
    m_sorted.clear();
    restartSearchTexts();
    m_rows = computeRows();
    m_proxyOfRow = QList<int>(m_source.rowCount(), -1);
    for (int proxy = 0; proxy < m_rows.size(); ++proxy)
        m_proxyOfRow[m_rows.at(proxy)] = proxy;
}

void GameListProxy::relayout()
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList persistent = persistentIndexList();
    QList<int> sourceRows;
    sourceRows.reserve(persistent.size());
    for (const QModelIndex &index : persistent)
        sourceRows.append(index.isValid() ? m_rows.value(index.row(), -1) : -1);

    m_rows = computeRows();
    m_proxyOfRow.fill(-1, m_source.rowCount());
    for (int proxy = 0; proxy < m_rows.size(); ++proxy)
        m_proxyOfRow[m_rows.at(proxy)] = proxy;

    QModelIndexList moved;
    moved.reserve(persistent.size());
    for (qsizetype i = 0; i < persistent.size(); ++i) {
        const int sourceRow = sourceRows.at(i);
        const int proxy = sourceRow >= 0 ? m_proxyOfRow.at(sourceRow) : -1;
        moved.append(proxy >= 0 ? index(proxy, persistent.at(i).column()) : QModelIndex());
    }
    changePersistentIndexList(persistent, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void GameListProxy::onDataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                  const QList<int> &roles)
{
    // A change of looks only (the rom files listed again) moves no row.
    // Nor does a change of the optional columns alone, which no search reads; an order made
    // from them is made again.
    const bool optionalOnly = topLeft.column() >= GameListModel::ColumnCount;
    const bool textsChanged =
        !optionalOnly &&
        (roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole));
    if (optionalOnly && m_customOrder && m_sortColumn == SortColumn::None) {
        m_sorted.clear();
        relayout();
    }
    // An edited entry may now sort elsewhere or no longer match the filter: its search text is
    // made again with the others when a filter next needs them.
    if (textsChanged)
        restartSearchTexts();
    if (textsChanged && (filtering() || m_sortColumn != SortColumn::None)) {
        m_sorted.clear();
        relayout();
    }
    for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
        const int proxy = m_proxyOfRow.value(row, -1);
        if (proxy >= 0)
            Q_EMIT dataChanged(index(proxy, topLeft.column()), index(proxy, bottomRight.column()),
                               roles);
    }
}

QModelIndex GameListProxy::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.row() >= m_rows.size())
        return {};
    return m_source.index(m_rows.at(proxyIndex.row()), proxyIndex.column());
}

QModelIndex GameListProxy::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    const int proxy = m_proxyOfRow.value(sourceIndex.row(), -1);
    return proxy >= 0 ? index(proxy, sourceIndex.column()) : QModelIndex();
}

QModelIndex GameListProxy::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || row < 0 || row >= m_rows.size() || column < 0 ||
        column >= columnCount())
        return {};
    return createIndex(row, column);
}

QModelIndex GameListProxy::parent(const QModelIndex &) const
{
    return {};
}

int GameListProxy::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int GameListProxy::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_source.columnCount();
}

bool GameListProxy::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid() && !m_rows.isEmpty();
}

QModelIndex GameListProxy::sibling(int row, int column, const QModelIndex &) const
{
    return index(row, column);
}

QList<int> GameListProxy::slotsOf(const QItemSelection &selection) const
{
    // The selection's ranges, not selectedRows(): that tests every row against every range,
    // which takes seconds with 10,000 rows picked one by one.
    QList<int> slots;
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            slots.append(slotOfRow(row));
    }
    return slots;
}
