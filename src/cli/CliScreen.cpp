// screen: the loading screen a tape or snapshot carries, saved as .scr or drawn as PNG.
#include "cli/CliSupport.h"

#include "core/SafeFile.h"
#include "render/DisplayZX.h"
#include "tape/LoadingScreen.h"

#include <QBuffer>
#include <QImageWriter>

namespace {
const QString kTitle = QStringLiteral("kivo-cli");
const QString kNoScreenFound = QStringLiteral("No screen found in %1");
} // namespace

int cmdScreen(const QStringList &arguments)
{
    if (arguments.size() != 2 || arguments[0].startsWith(u"--") || arguments[1].startsWith(u"--"))
        return usageError(QStringLiteral("screen needs a tape or snapshot and an output file: "
                                         "screen FILE OUT.scr|OUT.png"));
    const QString &in = arguments[0];
    const QString &out = arguments[1];
    const LoadingScreenFile file = readLoadingScreen(in);
    if (!file.ok) {
        printMessage(Message{QStringLiteral("Cannot read %1: %2").arg(in, file.reason), kTitle});
        return kExitFailure;
    }
    if (!file.screen) {
        printMessage(Message{kNoScreenFound.arg(in), kTitle});
        return kExitFailure;
    }
    QByteArray bytes = file.screen->screen;
    if (!out.endsWith(QStringLiteral(".scr"), Qt::CaseInsensitive)) {
        bytes.clear();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(DisplayZX(file.screen->screen))) {
            printMessage(Message{
                QStringLiteral("Cannot encode the picture: %1").arg(writer.errorString()), kTitle});
            return kExitFailure;
        }
    }
    const WriteResult written = writeFileSafely(out, bytes);
    if (!written.ok) {
        printMessage(
            Message{QStringLiteral("Cannot write %1: %2").arg(out, written.reason), kTitle});
        return kExitFailure;
    }
    printJson(Json{{"source", utf8(file.screen->source)}});
    return kExitOk;
}
