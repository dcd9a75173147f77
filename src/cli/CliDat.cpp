// dat, identify and duplicates: DAT files, what they name rom files, and the catalogue's entries
// whose files are the same.
#include "cli/CliSupport.h"

#include "core/DatFile.h"
#include "scan/DatCatalogue.h"
#include "scan/Identify.h"
#include "settings/Settings.h"

#include <QFileInfo>

namespace {

const QString kIdentifyUsage =
    QStringLiteral("identify FILE... [--dat DAT]... [--ini kivo.ini] (at least one DAT or ini)");
const QString kDuplicatesUsage = QStringLiteral("duplicates FILE.dat --ini kivo.ini");

Json crcText(quint32 crc)
{
    return utf8(QStringLiteral("%1").arg(uint(crc), 8, 16, QChar(u'0')));
}

Json textOrNull(const QString &text)
{
    return text.isEmpty() ? Json(nullptr) : Json(utf8(text));
}

// The DATs given and those kept in the ini, in that order; refusals go to stderr.
bool loadDats(DatCatalogue &dat, const QStringList &paths)
{
    bool all = true;
    for (const QString &path : paths) {
        if (const std::optional<Message> refused = dat.addFile(path)) {
            printMessage(*refused);
            all = false;
        }
    }
    return all;
}

Json identified(const QString &file, const DatCatalogue &dat)
{
    const Fingerprint print = fingerprintOf(file);
    const DatEntry *entry = print.ok ? dat.entryOf(print.size, print.crc) : nullptr;
    Json out;
    out["file"] = utf8(file);
    out["size"] = print.ok ? Json(print.size) : Json(nullptr);
    out["crc32"] = print.ok ? crcText(print.crc) : Json(nullptr);
    out["title"] = entry ? textOrNull(entry->title) : Json(nullptr);
    out["year"] = entry && entry->year != 0 ? Json(entry->year) : Json(nullptr);
    out["publisher"] = entry ? textOrNull(entry->publisher) : Json(nullptr);
    out["authors"] = entry ? textOrNull(entry->authors) : Json(nullptr);
    out["game"] = entry ? Json(utf8(entry->game)) : Json(nullptr);
    out["dat"] = entry ? Json(utf8(dat.files().at(entry->file).path)) : Json(nullptr);
    return out;
}

} // namespace

int cmdDat(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments.first().startsWith(u'-'))
        return usageError(QStringLiteral("dat needs one DAT file"));
    DatCatalogue dat;
    if (const std::optional<Message> refused = dat.addFile(arguments.first())) {
        printMessage(*refused);
        return kExitFailure;
    }
    const DatFileInfo &info = dat.files().first();
    Json out;
    out["name"] = utf8(info.name);
    out["version"] = utf8(info.version);
    out["convention"] = utf8(conventionName(info.convention));
    out["games"] = info.games;
    out["roms"] = info.roms;
    printJson(out);
    return kExitOk;
}

int cmdIdentify(const QStringList &arguments)
{
    QStringList files;
    QStringList dats;
    QString ini;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (argument == u"--dat" && hasValue)
            dats.append(arguments.at(++i));
        else if (argument == u"--ini" && hasValue && ini.isEmpty())
            ini = arguments.at(++i);
        else if (argument.startsWith(u'-'))
            return usageError(kIdentifyUsage);
        else
            files.append(argument);
    }
    if (files.isEmpty() || (dats.isEmpty() && ini.isEmpty()))
        return usageError(kIdentifyUsage);
    if (!ini.isEmpty())
        dats.append(readSettingsFile(ProfileFile::load(ini)).datFiles);

    DatCatalogue dat;
    const bool allRead = loadDats(dat, dats);
    Json out = Json::array();
    for (const QString &file : std::as_const(files))
        out.push_back(identified(file, dat));
    printJson(out);
    return allRead ? kExitOk : kExitFailure;
}

int cmdDuplicates(const QStringList &arguments)
{
    if (arguments.size() != 3 || arguments.at(1) != u"--ini")
        return usageError(kDuplicatesUsage);
    // The rom paths as the program reads them at start-up, then the catalogue as it loads it.
    const SettingsFile settings = readSettingsFile(ProfileFile::load(arguments.at(2)));
    SearchPaths paths;
    if (!settings.RomPaths.isEmpty())
        paths[PathKind::Rom].setDirs(settings.RomPaths);
    RomDatabase database;
    const DatResult loaded = LoadDatabase(database, paths, arguments.at(0));
    printMessages(loaded.messages);
    if (!loaded.ok)
        return kExitFailure;

    QList<IdentifyJob> jobs;
    Json notFound = Json::array();
    for (int slot = 0; slot < database.EntryCount(); ++slot) {
        const RomRecord &record = database.Get(slot);
        const QString path = record.RomFile.isEmpty()
                                 ? QString()
                                 : paths.FindInSearchPaths(PathKind::Rom, record.RomFile);
        if (path.isEmpty())
            notFound.push_back({{"slot", slot}, {"RomFile", utf8(record.RomFile)}});
        else
            jobs.append({slot, path});
    }
    const IdentifyResult result = identifyFiles(jobs, DatCatalogue());
    QHash<int, QString> pathOf;
    for (const IdentifyJob &job : std::as_const(jobs))
        pathOf.insert(job.slot, job.path);

    Json groups = Json::array();
    for (const QList<int> &slots : result.duplicates) {
        const Fingerprint print = fingerprintOf(pathOf.value(slots.first()));
        Json entries = Json::array();
        for (const int slot : slots) {
            const RomRecord &record = database.Get(slot);
            entries.push_back({{"slot", slot},
                               {"RomName", utf8(record.RomName)},
                               {"RomFile", utf8(record.RomFile)},
                               {"path", utf8(pathOf.value(slot))}});
        }
        groups.push_back(
            {{"size", print.size}, {"crc32", crcText(print.crc)}, {"entries", entries}});
    }
    Json out;
    out["groups"] = groups;
    out["notFound"] = notFound;
    printJson(out);
    return kExitOk;
}
