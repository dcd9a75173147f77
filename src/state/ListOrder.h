#pragma once

#include "core/RomRecord.h"

#include <QList>
#include <QString>
#include <QStringView>

// The orders the game list can be sorted in. Names and publishers sort in natural order,
// without regard to case or accents ("Game 2" before "Game 10"); years by number with the
// entries without a year last, whichever the direction. Equal entries keep catalogue order.

enum class SortColumn { None, Name, Publisher, Year };

// A key whose plain order is the natural order of `text`: folded, and each run of digits
// written as its length before its digits, so shorter numbers come first.
QString naturalSortKey(QStringView text);

// The positions of `records` in sorted order.
QList<int> sortedOrder(const QList<const RomRecord *> &records, SortColumn column,
                       Qt::SortOrder order);
