#include "core/Cp1252.h"

#include <QStringDecoder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <algorithm>

#include <array>
#include <cstring>

namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    const auto *hit = std::find(kHighControls.begin(), kHighControls.end(), c);
    if (hit != kHighControls.end())
        return static_cast<char>(0x80 + (hit - kHighControls.begin()));
    return '?';
}

} // namespace

char16_t *decodeCp1252Into(char16_t *out, const char *data, qsizetype size)
{
    // Every byte widened as Latin-1, sixteen at a time where the processor can; only 0x80-0x9F
    // need a second look.
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    qsizetype widened = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; widened + 16 <= size; widened += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + widened));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + widened),
                         _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + widened + 8),
                         _mm_unpackhi_epi8(chunk, zero));
    }
#endif
    for (; widened < size; ++widened)
        out[widened] = bytes[widened];
    qsizetype i = 0;
    while (i < size) {
        // Eight plain ASCII bytes at a time need nothing more.
        if (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, bytes + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const unsigned char b = bytes[i];
        if (b >= 0x80 && b < 0xA0)
            out[i] = kHighControls[b - 0x80];
        ++i;
    }
    return out + size;
}

QString fromCp1252(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    decodeCp1252Into(reinterpret_cast<char16_t *>(text.data()), data, size);
    return text;
}

char *encodeCp1252Into(char *out, QStringView text)
{
    const qsizetype n = text.size();
    const char16_t *chars = text.utf16();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (c < 0x80) {
            *out++ = char(c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(chars[i + 1]))
            ++i; // one character outside the code page, one "?"
        *out++ = encodeOne(c);
    }
    return out;
}

QByteArray toCp1252(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    out.resize(encodeCp1252Into(out.data(), text) - out.constData());
    return out;
}

QStringList unkeptCp1252Characters(QStringView text)
{
    QStringList unkept;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80)
            continue;
        qsizetype units = 1;
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate())
            units = 2;
        else if (encodeOne(c.unicode()) != '?')
            continue;
        const QString character = text.sliced(i, units).toString();
        if (!unkept.contains(character))
            unkept.append(character);
        i += units - 1;
    }
    return unkept;
}
