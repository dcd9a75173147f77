#include "ui/tape/TapeListModel.h"

#include <QBrush>
#include <QFontDatabase>

TapeListModel::TapeListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_fixed(descriptionFont())
{
}

QFont TapeListModel::descriptionFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

void TapeListModel::setTape(const TapeIndex &tape)
{
    beginResetModel();
    m_listing.emplace(tape);
    m_cachedRow = -1;
    endResetModel();
}

void TapeListModel::clear()
{
    beginResetModel();
    m_listing.reset();
    m_cachedRow = -1;
    endResetModel();
}

int TapeListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_listing ? 0 : int(m_listing->rowCount());
}

int TapeListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const TapeRow &TapeListModel::rowAt(int row) const
{
    if (row != m_cachedRow) {
        m_cached = m_listing->row(row);
        m_cachedRow = row;
    }
    return m_cached;
}

QVariant TapeListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const TapeRow &row = rowAt(index.row());
        return index.column() == BlockColumn         ? row.block
               : index.column() == DescriptionColumn ? row.description
                                                     : row.size;
    }
    case Qt::TextAlignmentRole:
        return index.column() == DescriptionColumn ? QVariant()
                                                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        return index.column() == DescriptionColumn ? QVariant(m_fixed) : QVariant();
    case Qt::ForegroundRole: {
        const TapeRow::Colour colour = rowAt(index.row()).colour;
        if (index.column() == BlockColumn || colour == TapeRow::Colour::Default)
            return {};
        return QBrush(colour == TapeRow::Colour::Blue ? QColor(0, 0, 255) : QColor(0, 0, 0));
    }
    default:
        return {};
    }
}

QVariant TapeListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return section == BlockColumn  ? QStringLiteral("Block")
               : section == SizeColumn ? QStringLiteral("Size")
                                       : QString();
    if (role == Qt::TextAlignmentRole && section != DescriptionColumn)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}
