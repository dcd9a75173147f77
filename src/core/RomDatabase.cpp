#include "core/RomDatabase.h"

#include <QVarLengthArray>

void RomDatabase::Reset()
{
    m_slots = QList<RomRecord>{RomRecord{}};
}

void RomDatabase::Add(RomRecord record)
{
    m_slots.last() = std::move(record);
    m_slots.append(RomRecord{});
}

void RomDatabase::RemoveEntries(const QString &indexList)
{
    if (indexList.isEmpty())
        return;
    QList<int> indices;
    for (const QStringView piece : QStringView(indexList).split(u','))
        indices.append(piece.toInt());
    RemoveEntries(indices);
}

void RomDatabase::RemoveEntries(const QList<int> &slotIndices)
{
    if (slotIndices.isEmpty())
        return;
    if (slotIndices.size() == EntryCount()) {
        Reset();
        return;
    }
    const int last = EntryCount(); // the trailing empty slot is never removed
    QList<bool> doomed(m_slots.size(), false);
    for (const int index : slotIndices) {
        if (index >= 0 && index < last)
            doomed[index] = true;
    }
    qsizetype kept = 0;
    bool entryLeft = false;
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        if (doomed.at(i))
            continue;
        entryLeft = entryLeft || m_slots.at(i).isEntry();
        if (kept != i)
            m_slots[kept] = std::move(m_slots[i]);
        ++kept;
    }
    m_slots.resize(kept);
    // Empty slots a damaged file left between entries must not outlive the last entry.
    if (!entryLeft)
        Reset();
}

void RomDatabase::replaceSlots(QList<RomRecord> slots)
{
    m_slots = std::move(slots);
    if (m_slots.isEmpty() || m_slots.last().isEntry())
        m_slots.append(RomRecord{});
}
