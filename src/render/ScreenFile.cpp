#include "render/ScreenFile.h"

#include "core/FileRead.h"
#include "render/DisplayZX.h"

ScreenFile readScreenFile(const QString &path)
{
    ScreenFile result;
    QFile file;
    result.error = openRegularFile(path, file);
    if (!result.error.isEmpty())
        return result;
    QByteArray screen(kScreenBytes, '\0');
    qint64 filled = 0;
    while (filled < kScreenBytes) {
        const qint64 got = file.read(screen.data() + filled, kScreenBytes - filled);
        if (got < 0) {
            result.error = file.errorString();
            return result;
        }
        if (got == 0)
            break;
        filled += got;
    }
    result.screen = screen;
    result.ok = true;
    return result;
}
