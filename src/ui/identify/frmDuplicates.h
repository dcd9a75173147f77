#pragma once

#include "core/RomDatabase.h"

#include <QDialog>
#include <QList>

class QPushButton;
class QTreeWidget;

// Roms > Find Duplicates: the entries whose files have the same size and CRC-32, a group to a
// file; the user ticks the extra ones and removes them.
class frmDuplicates : public QDialog
{
    Q_OBJECT

public:
    frmDuplicates(const RomDatabase &database, const QList<QList<int>> &groups,
                  QWidget *parent = nullptr);

    QTreeWidget *lstGroups = nullptr;
    QPushButton *cmdRemove = nullptr; // "Remove ticked"
    QPushButton *cmdClose = nullptr;

    // The slots ticked, in slot order.
    QList<int> tickedSlots() const;

private:
    void updateRemove();
};
