#pragma once

#include <QString>

// Numbers as the settings, catalogues and imports write them in text.

// The number at the start of `text`: an optional sign, digits, an optional fraction and exponent,
// blanks anywhere ignored. Text that does not begin with a number gives 0.
double leadingNumber(const QString &text);
// The whole number nearest to `value`, a half going to the even neighbour, held within qint32.
qint32 nearestInteger(double value);
