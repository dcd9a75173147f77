#include "scan/DatGames.h"

namespace {

constexpr qint64 kLargestRom = 0xFFFFFFFFLL;

char16_t unitOf(QChar c)
{
    return c.unicode();
}
char16_t unitOf(char c)
{
    return char16_t(uchar(c));
}

int hexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

template <typename View> bool sizeFrom(View text, qint64 &size)
{
    // Eleven digits hold every size up to the largest and cannot overflow.
    if (text.isEmpty() || text.size() > 11)
        return false;
    qint64 value = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = unitOf(text[i]);
        if (!isDigit(c))
            return false;
        value = value * 10 + (c - u'0');
    }
    if (value > kLargestRom)
        return false;
    size = value;
    return true;
}

template <typename View> bool crcFrom(View text, quint32 &crc)
{
    if (text.isEmpty() || text.size() > 8)
        return false;
    quint32 value = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int digit = hexDigit(unitOf(text[i]));
        if (digit < 0)
            return false;
        value = (value << 4) | quint32(digit);
    }
    crc = value;
    return true;
}

template <typename View> qint32 yearFrom(View text)
{
    qsizetype start = 0;
    while (start < text.size() && unitOf(text[start]) == u' ')
        ++start;
    if (text.size() - start < 4)
        return 0;
    qint32 year = 0;
    for (qsizetype i = start; i < start + 4; ++i) {
        const char16_t c = unitOf(text[i]);
        if (!isDigit(c))
            return 0;
        year = year * 10 + (c - u'0');
    }
    if (text.size() > start + 4 && isDigit(unitOf(text[start + 4])))
        return 0; // a longer number is no year
    return year;
}

} // namespace

bool readRomSize(QStringView text, qint64 &size)
{
    return sizeFrom(text, size);
}
bool readRomSize(QByteArrayView text, qint64 &size)
{
    return sizeFrom(text, size);
}
bool readRomCrc(QStringView text, quint32 &crc)
{
    return crcFrom(text, crc);
}
bool readRomCrc(QByteArrayView text, quint32 &crc)
{
    return crcFrom(text, crc);
}
qint32 readDatYear(QStringView text)
{
    return yearFrom(text);
}
qint32 readDatYear(QByteArrayView text)
{
    return yearFrom(text);
}
