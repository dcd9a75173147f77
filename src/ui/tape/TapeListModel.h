#pragma once

#include "tape/TapeListing.h"

#include <QAbstractTableModel>
#include <QFont>

#include <optional>

// The tape viewer's rows over a TapeListing: a row's texts are made when the view asks for them,
// so a tape of millions of blocks opens without an item per row.
class TapeListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { BlockColumn, DescriptionColumn, SizeColumn, ColumnCount };

    explicit TapeListModel(QObject *parent = nullptr);

    // Lists `tape`, which must stay unchanged while the model shows it.
    void setTape(const TapeIndex &tape);
    void clear();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The descriptions are padded with blanks to line up, so they need a fixed-width font.
    static QFont descriptionFont();

private:
    const TapeRow &rowAt(int row) const;

    std::optional<TapeListing> m_listing;
    QFont m_fixed;
    // A view asks for several columns and roles of one row in a row: describe it once.
    mutable int m_cachedRow = -1;
    mutable TapeRow m_cached;
};
