// Saves one of the files the program writes, exactly as the program saves it, so a test can
// fail the save from outside: fill the disk under it, or kill it half-way.
//   save_tool catalogue|settings|pocket|picture PATH SCALE
// SCALE is the number of entries of the catalogue and the pocket export, of search paths in the
// settings, and the side of the (square) picture in pixels. Exit status 0: saved; 1: not saved,
// with the message on stderr; 2: usage.
#include "core/DatFile.h"
#include "interchange/PocketDatabase.h"
#include "render/BitmapFile.h"
#include "settings/Settings.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

RomDatabase catalogue(int entries)
{
    RomDatabase database;
    for (int i = 0; i < entries; ++i) {
        RomRecord record;
        record.RomName = QStringLiteral("Saved Game %1 of %2").arg(i).arg(entries);
        record.RomType = i % 130;
        record.Screenshots = QStringLiteral("game%1.scr,game%1.gif").arg(i);
        record.Year = 1982 + i % 12;
        record.Notes = QStringLiteral("Notes on game %1.\r\nSecond line.").arg(i);
        record.RomFile = QStringLiteral("game%1.tzx").arg(i);
        record.Publisher = QStringLiteral("Software House");
        record.Authors = QStringLiteral("A. Programmer");
        record.AudioFile = QStringLiteral("game%1.mp3").arg(i);
        database.Add(record);
    }
    return database;
}

SettingsFile settings(int paths)
{
    SettingsFile file;
    for (int i = 0; i < paths; ++i)
        file.RomPaths.append(QStringLiteral("/collections/%1/").arg(i) + QString(1000, u'd'));
    file.ScreenshotPaths = QStringList{QStringLiteral("/screens/%1").arg(paths)};
    return file;
}

QImage picture(int side)
{
    QImage image(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = qRgb(x * 7 + side, y * 3, (x ^ y) & 0xFF);
    }
    return image;
}

int failed(const QString &text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[2]);
    const int scale = std::atoi(argv[3]);
    if (std::strcmp(argv[1], "catalogue") == 0) {
        const DatResult result = SaveDatabase(catalogue(scale), path);
        return result.ok ? 0 : failed(result.messages.value(0).text);
    }
    if (std::strcmp(argv[1], "pocket") == 0) {
        const ExportResult result = ExportPocketDatabase(catalogue(scale), path);
        return result.ok ? 0 : failed(result.messages.value(0).text);
    }
    if (std::strcmp(argv[1], "settings") == 0) {
        const auto message = saveSettingsFile(path, settings(scale));
        return message ? failed(message->text) : 0;
    }
    if (std::strcmp(argv[1], "picture") == 0) {
        const WriteResult result = saveBitmapFile(picture(scale), path);
        return result.ok ? 0 : failed(result.reason);
    }
    return 2;
}
