#include "tape/ArchiveInfo.h"

#include "core/Cp1252.h"

#include <QRegularExpression>

namespace {

constexpr qsizetype kLengthBytes = 2;

} // namespace

QList<ArchiveText> decodeArchiveInfo(const QByteArray &body)
{
    QList<ArchiveText> texts;
    if (body.size() <= kLengthBytes)
        return texts;
    const auto count = quint8(body.at(kLengthBytes));
    qsizetype pos = kLengthBytes + 1;
    for (int i = 0; i < count; ++i) {
        if (pos + 2 > body.size())
            break;
        const auto type = quint8(body.at(pos));
        const auto length = qsizetype(quint8(body.at(pos + 1)));
        pos += 2;
        if (pos + length > body.size())
            break;
        texts.append({type, fromCp1252(body.constData() + pos, length)});
        pos += length;
    }
    return texts;
}

QStringList archiveLines(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines;
    for (const QString &line : text.split(lineEnd)) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    return lines;
}
