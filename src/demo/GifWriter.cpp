#include "GifWriter.h"

#include <QList>

namespace {

void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Collects variable-width codes least significant bit first, in sub-blocks of at most 255
// bytes, as the image data of a GIF is laid out.
class CodeStream
{
public:
    void put(int code, int width)
    {
        m_bits |= quint32(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.append(char(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_bits & 0xFF));
        QByteArray blocks;
        for (qsizetype at = 0; at < m_bytes.size(); at += 255) {
            const QByteArray chunk = m_bytes.mid(at, 255);
            blocks.append(char(chunk.size()));
            blocks.append(chunk);
        }
        blocks.append('\0');
        return blocks;
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

} // namespace

std::optional<QByteArray> encodeGif(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QList<QRgb> palette;
    QByteArray indices;
    indices.reserve(qsizetype(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) | 0xFF000000u;
            qsizetype index = palette.indexOf(colour);
            if (index < 0) {
                if (palette.size() == 16)
                    return std::nullopt;
                index = palette.size();
                palette.append(colour);
            }
            indices.append(char(index));
        }
    }
    while (palette.size() < 16)
        palette.append(0xFF000000u);

    QByteArray out("GIF87a");
    put16(out, image.width());
    put16(out, image.height());
    out.append(char(0x80 | 0x30 | 0x03)); // a global table of 16 colours, 4 bits a colour
    out.append('\0');                     // background colour
    out.append('\0');                     // no aspect ratio
    for (const QRgb colour : std::as_const(palette)) {
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append(',');
    put16(out, 0);
    put16(out, 0);
    put16(out, image.width());
    put16(out, image.height());
    out.append('\0'); // no local table, not interlaced

    // Minimum code size 4: codes 0-15 are the colours, 16 clears, 17 ends. Every pixel goes out
    // as its own code and a clear follows before the table would need 6-bit codes, so the
    // stream stays at 5 bits a code: larger than real compression, and plainly correct.
    constexpr int kMinimumCodeSize = 4;
    constexpr int kClear = 16;
    constexpr int kEnd = 17;
    constexpr int kWidth = 5;
    constexpr int kCodesPerClear = 12;
    out.append(char(kMinimumCodeSize));
    CodeStream codes;
    for (qsizetype i = 0; i < indices.size(); ++i) {
        if (i % kCodesPerClear == 0)
            codes.put(kClear, kWidth);
        codes.put(indices.at(i), kWidth);
    }
    codes.put(kEnd, kWidth);
    out.append(codes.finish());
    out.append(';');
    return out;
}
