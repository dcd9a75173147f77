#include "core/Numbers.h"

#include <QByteArray>

#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

double leadingNumber(const QString &text)
{
    QByteArray number;
    qsizetype i = 0;
    const qsizetype size = text.size();
    auto skipBlanks = [&] {
        while (i < size && isBlank(text.at(i)))
            ++i;
    };
    auto takeDigits = [&] {
        bool any = false;
        for (skipBlanks(); i < size && isDigit(text.at(i)); skipBlanks()) {
            number += char(text.at(i).unicode());
            ++i;
            any = true;
        }
        return any;
    };

    skipBlanks();
    if (i < size && (text.at(i) == u'+' || text.at(i) == u'-'))
        number += char(text.at(i++).unicode());
    bool digits = takeDigits();
    if (i < size && text.at(i) == u'.') {
        number += '.';
        ++i;
        digits = takeDigits() || digits;
    }
    if (!digits)
        return 0;

    // An exponent counts only with digits after it: "12e" is 12.
    if (i < size && (text.at(i) == u'e' || text.at(i) == u'E')) {
        const QByteArray mantissa = number;
        number += 'e';
        ++i;
        skipBlanks();
        if (i < size && (text.at(i) == u'+' || text.at(i) == u'-'))
            number += char(text.at(i++).unicode());
        if (!takeDigits())
            number = mantissa;
    }
    const double value = number.toDouble();
    if (std::isfinite(value))
        return value;
    // Too large for a double: keep the sign, any setting clamps it.
    return number.startsWith('-') ? -std::numeric_limits<double>::max()
                                  : std::numeric_limits<double>::max();
}

qint32 nearestInteger(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<qint32>::max()))
        return std::numeric_limits<qint32>::max();
    if (value <= double(std::numeric_limits<qint32>::min()))
        return std::numeric_limits<qint32>::min();
    return qint32(std::nearbyint(value)); // the default rounding mode sends halves to even
}
