// disk: what a disk image (or an archive holding one) holds, as its directory says.
#include "cli/CliSupport.h"

#include "archive/RomFile.h"
#include "tape/DiskImage.h"

namespace {

Json nullable(qint64 value)
{
    return value < 0 ? Json() : Json(value);
}

} // namespace

int cmdDisk(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments[0].startsWith(u"--"))
        return usageError(QStringLiteral("disk needs one disk image: disk FILE"));
    const QString &path = arguments[0];
    const RomFileBytes read = readRomFile(path);
    if (!read.ok) {
        printMessage(Message{QStringLiteral("Cannot read %1: %2").arg(path, read.reason),
                             QStringLiteral("kivo-cli")});
        return kExitFailure;
    }
    const std::optional<DiskListing> listing = readDiskImage(read.bytes, read.name);
    if (!listing) {
        printMessage(Message{QStringLiteral("%1 is not a disk image (TRD or SCL)").arg(read.name),
                             QStringLiteral("kivo-cli")});
        return kExitFailure;
    }
    Json files = Json::array();
    for (const DiskFile &file : listing->files) {
        files.push_back(Json{{"name", utf8(file.name)},
                             {"kind", utf8(file.kind)},
                             {"start", nullable(file.start)},
                             {"length", file.length},
                             {"sectors", file.sectors},
                             {"deleted", file.deleted}});
    }
    Json out{{"format", utf8(diskFormatName(listing->format))},
             {"label", utf8(listing->label)},
             {"free", nullable(listing->freeBytes)},
             {"files", files}};
    if (!listing->warning.isEmpty())
        out["warning"] = utf8(listing->warning);
    printJson(out);
    return kExitOk;
}
