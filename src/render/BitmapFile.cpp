#include "render/BitmapFile.h"

#include <QBuffer>

WriteResult saveBitmapFile(const QImage &image, const QString &path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        return {false, QStringLiteral("The picture could not be encoded.")};
    return writeFileSafely(path, bytes);
}
