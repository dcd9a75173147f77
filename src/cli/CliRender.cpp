// render: a .scr screen drawn as the program draws it, saved as PNG.
#include "cli/CliSupport.h"

#include "core/SafeFile.h"
#include "render/DisplayZX.h"
#include "render/ScreenFile.h"

#include <QBuffer>
#include <QImageWriter>

namespace {
const QString kTitle = QStringLiteral("kivo-cli");
}

int cmdRender(const QStringList &arguments)
{
    const QString usage = QStringLiteral("render needs a screen and a picture: "
                                         "render IN.scr OUT.png [--flash 0|1]");
    QStringList files;
    int flashPhase = 0;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--flash") {
            if (i + 1 >= arguments.size())
                return usageError(usage);
            const QString phase = arguments[++i];
            if (phase != u"0" && phase != u"1")
                return usageError(QStringLiteral("--flash takes 0 or 1, not '%1'").arg(phase));
            flashPhase = phase.toInt();
        } else if (argument.startsWith(u"--")) {
            return usageError(QStringLiteral("render has no option '%1'").arg(argument));
        } else {
            files.append(argument);
        }
    }
    if (files.size() != 2)
        return usageError(usage);

    const ScreenFile screen = readScreenFile(files[0]);
    if (!screen.ok) {
        printMessage(
            Message{QStringLiteral("Cannot read %1: %2").arg(files[0], screen.error), kTitle});
        return kExitFailure;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(DisplayZX(screen.screen, flashPhase))) {
        printMessage(Message{
            QStringLiteral("Cannot encode the picture: %1").arg(writer.errorString()), kTitle});
        return kExitFailure;
    }
    const WriteResult written = writeFileSafely(files[1], png);
    if (!written.ok) {
        printMessage(
            Message{QStringLiteral("Cannot write %1: %2").arg(files[1], written.reason), kTitle});
        return kExitFailure;
    }
    return kExitOk;
}
