#include "state/ListOrder.h"

#include "state/ListFilter.h"

#include <algorithm>
#include <numeric>

namespace {

// Sorts below every character a text can hold, so a digit run comes before letters.
constexpr char16_t kNumberMark = 0x01;

QList<int> identity(qsizetype size)
{
    QList<int> order(size);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

} // namespace

QString naturalSortKey(QStringView text)
{
    const QString folded = foldForSearch(text);
    QString key;
    key.reserve(folded.size() + 8);
    qsizetype i = 0;
    while (i < folded.size()) {
        if (!folded.at(i).isDigit() || folded.at(i).unicode() > 0x7F) {
            key += folded.at(i++);
            continue;
        }
        qsizetype end = i;
        while (end < folded.size() && folded.at(end).unicode() >= u'0' &&
               folded.at(end).unicode() <= u'9')
            ++end;
        qsizetype start = i;
        while (start + 1 < end && folded.at(start) == u'0')
            ++start; // 007 is 7
        key += QChar(kNumberMark);
        key += QChar(char16_t(std::min<qsizetype>(end - start, 0xFFFF)));
        key += QStringView(folded).mid(start, end - start);
        i = end;
    }
    return key;
}

QList<int> sortedOrder(const QList<const RomRecord *> &records, SortColumn column,
                       Qt::SortOrder order)
{
    QList<int> positions = identity(records.size());
    if (column == SortColumn::None)
        return positions;
    const bool descending = order == Qt::DescendingOrder;
    if (column == SortColumn::Year) {
        std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
            const qint32 ya = records.at(a)->Year;
            const qint32 yb = records.at(b)->Year;
            if ((ya == 0) != (yb == 0))
                return yb == 0; // no year last, either way
            return descending ? ya > yb : ya < yb;
        });
        return positions;
    }
    QList<QString> keys;
    keys.reserve(records.size());
    for (const RomRecord *record : records)
        keys.append(
            naturalSortKey(column == SortColumn::Name ? record->RomName : record->Publisher));
    std::stable_sort(positions.begin(), positions.end(), [&](int a, int b) {
        return descending ? keys.at(b) < keys.at(a) : keys.at(a) < keys.at(b);
    });
    return positions;
}
