#pragma once

#include "core/None.h"
#include "core/RomRecord.h"

#include <QList>
#include <QString>

// The catalogue: an array of records that always ends in one empty slot. With n entries it has
// n + 1 slots. A damaged file can leave empty slots between entries; they are not entries and
// are never listed or written.
class RomDatabase
{
public:
    qint32 SelectedIndex = kNone; // slot of the selected entry, kNone for none
    QString LastDatabase;         // the current .dat file; shared with the "lastdb" setting

    void Reset();
    bool HasEntries() const { return m_slots.first().isEntry(); }
    // The highest slot index: entries plus any empty slots between them.
    int EntryCount() const { return int(m_slots.size()) - 1; }
    int slotCount() const { return int(m_slots.size()); }

    void Add(RomRecord record);
    // `indexList`: ascending slot indices joined by ",", as the game list builds it.
    void RemoveEntries(const QString &indexList);
    // Removes the listed slots in one pass; indices outside the entries are ignored.
    void RemoveEntries(const QList<int> &slotIndices);

    const RomRecord &Get(int index) const { return m_slots.at(index); }
    void Set(int index, const RomRecord &record) { m_slots[index] = record; }
    bool isEntrySlot(int index) const
    {
        return index >= 0 && index < m_slots.size() && m_slots.at(index).isEntry();
    }

    const QList<RomRecord> &slots() const { return m_slots; }
    // Replaces every slot (loading); the trailing empty slot is added when missing.
    void replaceSlots(QList<RomRecord> slots);

private:
    QList<RomRecord> m_slots{RomRecord{}};
};
