// kivo-demo-gen: makes the files of the demo catalogue that zmakebas cannot, the icon, and the
// screenshots of the README. Run by the build (data/demo/CMakeLists.txt) and by
// scripts/screenshot.sh; every output is made from code in this folder.
#include "DemoScreens.h"
#include "GifWriter.h"
#include "IconPainter.h"
#include "TapeBuilder.h"
#include "TuneWriter.h"

#include "core/SafeFile.h"
#include "render/DisplayZX.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <iostream>
#include <memory>

namespace {

const char *const kUsage = R"(usage:
  kivo-demo-gen screens OUTDIR NAME...
      Draw the named demo pictures into OUTDIR: NAME.scr as a Spectrum screen, NAME.png and
      NAME.gif as pictures of it.
  kivo-demo-gen tune OUT.wav
      Write the demo's tune.
  kivo-demo-gen tape OUT.tap|OUT.tzx PART... [--info title|publisher|authors|year|comment TEXT]...
      Join tape parts in order: --tap FILE.tap (its blocks), --code NAME FILE START (a CODE
      file); --info adds a text to the TZX's archive-info block.
  kivo-demo-gen icon OUTDIR
      Write the icon as OUTDIR/hicolor/scalable/apps/kivo.svg and OUTDIR/hicolor/NxN/apps/kivo.png.
  kivo-demo-gen grab OUT.png [--delay MS] [--size WxH]
      Save the screen of the display the program runs on (an Xvfb display for the README).
)";

int usage(const QString &why)
{
    std::cerr << "kivo-demo-gen: " << why.toStdString() << "\n" << kUsage;
    return 2;
}

int fail(const QString &why)
{
    std::cerr << "kivo-demo-gen: " << why.toStdString() << "\n";
    return 1;
}

bool write(const QString &path, const QByteArray &bytes, QString &error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const WriteResult result = writeFileSafely(path, bytes);
    if (!result.ok)
        error = QStringLiteral("cannot write %1: %2").arg(path, result.reason);
    return result.ok;
}

std::optional<QByteArray> png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return std::nullopt;
    return bytes;
}

int screens(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return usage(QStringLiteral("screens needs a directory and at least one name"));
    const QDir out(arguments.first());
    for (const QString &name : arguments.mid(1)) {
        const std::optional<SpectrumCanvas> canvas = drawDemoScreen(name);
        if (!canvas)
            return fail(QStringLiteral("no picture called %1; there are: %2")
                            .arg(name, demoScreenNames().join(QStringLiteral(", "))));
        const QByteArray screen = canvas->screen();
        std::optional<QByteArray> bytes;
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (suffix == u"scr")
            bytes = screen;
        else if (suffix == u"png")
            bytes = png(DisplayZX(screen));
        else if (suffix == u"gif")
            bytes = encodeGif(DisplayZX(screen));
        if (!bytes)
            return fail(QStringLiteral("cannot encode %1").arg(name));
        QString error;
        if (!write(out.filePath(name), *bytes, error))
            return fail(error);
    }
    return 0;
}

int tune(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usage(QStringLiteral("tune needs one output file"));
    QString error;
    return write(arguments.first(), demoTuneWav(), error) ? 0 : fail(error);
}

std::optional<QByteArray> readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

int tape(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usage(QStringLiteral("tape needs an output file"));
    static const QHash<QString, TapeBuilder::InfoKind> kKinds = {
        {QStringLiteral("title"), TapeBuilder::InfoKind::Title},
        {QStringLiteral("publisher"), TapeBuilder::InfoKind::Publisher},
        {QStringLiteral("authors"), TapeBuilder::InfoKind::Authors},
        {QStringLiteral("year"), TapeBuilder::InfoKind::Year},
        {QStringLiteral("comment"), TapeBuilder::InfoKind::Comment},
    };
    const QString output = arguments.first();
    TapeBuilder builder;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        const qsizetype left = arguments.size() - i - 1;
        if (option == u"--tap" && left >= 1) {
            const QString path = arguments.at(++i);
            const auto bytes = readAll(path);
            if (!bytes || !builder.appendTap(*bytes))
                return fail(QStringLiteral("%1 is not a readable TAP image").arg(path));
        } else if (option == u"--code" && left >= 3) {
            const QString name = arguments.at(++i);
            const QString path = arguments.at(++i);
            bool ok = false;
            const int start = arguments.at(++i).toInt(&ok);
            const auto bytes = readAll(path);
            if (!bytes || !ok || start < 0 || start + bytes->size() > 65536)
                return fail(QStringLiteral("cannot put %1 at %2").arg(path, arguments.at(i)));
            builder.appendCode(name, *bytes, start);
        } else if (option == u"--info" && left >= 2 && kKinds.contains(arguments.at(i + 1))) {
            const TapeBuilder::InfoKind kind = kKinds.value(arguments.at(++i));
            builder.addInfo(kind, arguments.at(++i));
        } else {
            return usage(QStringLiteral("unexpected '%1'").arg(option));
        }
    }
    if (builder.blockCount() == 0)
        return usage(QStringLiteral("a tape needs at least one --tap or --code part"));

    std::optional<QByteArray> bytes;
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix == u"tzx")
        bytes = builder.tzx();
    else if (suffix == u"tap")
        bytes = builder.tap();
    else
        return usage(QStringLiteral("the output must end in .tap or .tzx"));
    if (!bytes)
        return fail(QStringLiteral("an archive-info text is longer than 255 bytes"));
    QString error;
    return write(output, *bytes, error) ? 0 : fail(error);
}

int icon(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usage(QStringLiteral("icon needs one output directory"));
    const QDir out(arguments.first());
    QString error;
    if (!write(out.filePath(QStringLiteral("hicolor/scalable/apps/kivo.svg")), iconSvg(), error))
        return fail(error);
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const auto bytes = png(paintIcon(size));
        const QString path = out.filePath(QStringLiteral("hicolor/%1x%1/apps/kivo.png").arg(size));
        if (!bytes)
            return fail(QStringLiteral("cannot encode %1").arg(path));
        if (!write(path, *bytes, error))
            return fail(error);
    }
    return 0;
}

int grab(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(2);
    if (arguments.isEmpty())
        return usage(QStringLiteral("grab needs an output file"));
    const QString output = arguments.takeFirst();
    int delay = 0;
    QSize size;
    while (arguments.size() >= 2) {
        const QString option = arguments.takeFirst();
        const QString value = arguments.takeFirst();
        if (option == u"--delay") {
            delay = value.toInt();
        } else if (option == u"--size") {
            const QStringList parts = value.split(u'x');
            if (parts.size() == 2)
                size = QSize(parts[0].toInt(), parts[1].toInt());
        } else {
            return usage(QStringLiteral("unexpected '%1'").arg(option));
        }
    }
    if (!arguments.isEmpty())
        return usage(QStringLiteral("unexpected '%1'").arg(arguments.first()));
    QThread::msleep(static_cast<unsigned long>(std::max(delay, 0)));
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return fail(QStringLiteral("there is no screen to grab"));
    QImage image = screen->grabWindow(0).toImage();
    if (size.isValid())
        image = image.copy(QRect(QPoint(0, 0), size));
    const auto bytes = png(image);
    if (image.isNull() || !bytes)
        return fail(QStringLiteral("the screen could not be grabbed"));
    QString error;
    return write(output, *bytes, error) ? 0 : fail(error);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 2 && QByteArray(argv[1]) == "grab")
        return grab(argc, argv);
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString command = arguments.takeFirst();
    if (command == u"screens")
        return screens(arguments);
    if (command == u"tune")
        return tune(arguments);
    if (command == u"tape")
        return tape(arguments);
    if (command == u"icon")
        return icon(arguments);
    if (command == u"--help" || command == u"-h") {
        std::cout << kUsage;
        return 0;
    }
    return usage(QStringLiteral("unknown command '%1'").arg(command));
}
