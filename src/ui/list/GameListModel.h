#pragma once

#include "core/RomDatabase.h"
#include "library/LibraryRow.h"
#include "state/ListColumns.h"
#include "state/RomFileIndex.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QIcon>
#include <QList>

#include <functional>

// The game list over the catalogue: one row per entry, in catalogue order. Each row knows its own
// slot, so empty slots left between entries by a damaged file never shift the rows.
class GameListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The columns every list shows; the optional ones the user picks follow them.
    enum Column { NameColumn, PublisherColumn, YearColumn, ColumnCount };

    // Rows whose rom file `romFiles` does not hold are drawn in grey italics.
    GameListModel(const RomDatabase &database, const RomFileIndex &romFiles,
                  QObject *parent = nullptr);

    // Rebuilds every row from the catalogue.
    void refill();
    // The entry in `slot` changed in place: its row is drawn again, icon included.
    void refreshSlot(int slot);

    int slotOfRow(int row) const { return m_rowToSlot.value(row, kNone); }
    const RomRecord &recordOfRow(int row) const { return m_database.Get(m_rowToSlot.at(row)); }
    // The rom paths were listed again: every row's look may change.
    void romFilesChanged();
    // -1 when the slot has no row.
    int rowOfSlot(int slot) const;

    // The optional columns shown after the fixed ones, in this order.
    void setOptionalColumns(const QList<ListColumn> &columns);
    const QList<ListColumn> &optionalColumns() const { return m_optional; }
    // The optional column shown at `column`, if that is one.
    std::optional<ListColumn> optionalColumnAt(int column) const;
    // What the Machine column shows for an entry. It reads the rom file, so it is asked only
    // for rows that are drawn, and once per entry until the entry or the rom files change.
    void setMachineText(std::function<QString(const RomRecord &)> machineText);
    // What the library remembers of the entry in a slot (nullptr for nothing), for the
    // favourite, plays and tags columns.
    void setLibraryRow(std::function<const LibraryRow *(int slot)> libraryRow);
    // What a sortable optional column sorts the row by: a number, or a text.
    QVariant sortKey(ListColumn column, int row) const;

    // "tzx", "tap", "z80", "sna", or "blank" for anything else.
    static QString iconKey(const QString &romFile);
    // What the row's icon stands for, as its tool-tip says.
    static QString kindOf(const QString &romFile);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QVariant optionalText(ListColumn column, int slot, const RomRecord &record) const;
    const LibraryRow &rememberedOf(int slot) const;
    const QIcon &iconFor(const QString &romFile) const;
    // Its rom file is in none of the rom directories (known once they were listed).
    bool isMissing(const RomRecord &record) const;

    const RomDatabase &m_database;
    const RomFileIndex &m_romFiles;
    QList<int> m_rowToSlot;
    QList<ListColumn> m_optional;
    std::function<QString(const RomRecord &)> m_machineText;
    std::function<const LibraryRow *(int slot)> m_libraryRow;
    mutable QHash<int, QString> m_machineTexts; // by slot
    QIcon m_blank, m_tzx, m_tap, m_z80, m_sna;
};
