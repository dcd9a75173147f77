// dump and write: the .dat file as JSON and back.
#include "cli/CliSupport.h"

#include "core/DatFile.h"

#include <iostream>
#include <iterator>

namespace {

Json recordJson(int slot, const RomRecord &record)
{
    return Json{{"slot", slot},
                {"RomName", utf8(record.RomName)},
                {"RomType", record.RomType},
                {"Screenshots", utf8(record.Screenshots)},
                {"Year", record.Year},
                {"Notes", utf8(record.Notes)},
                {"RomFile", utf8(record.RomFile)},
                {"Publisher", utf8(record.Publisher)},
                {"Authors", utf8(record.Authors)},
                {"AudioFile", utf8(record.AudioFile)}};
}

QString textField(const Json &object, const char *key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_string() ? fromUtf8(it->get<std::string>()) : QString();
}

qint32 numberField(const Json &object, const char *key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_number_integer() ? it->get<qint32>() : 0;
}

RomRecord recordFromJson(const Json &object)
{
    RomRecord record;
    record.RomName = textField(object, "RomName");
    record.RomType = numberField(object, "RomType");
    record.Screenshots = textField(object, "Screenshots");
    record.Year = numberField(object, "Year");
    record.Notes = textField(object, "Notes");
    record.RomFile = textField(object, "RomFile");
    record.Publisher = textField(object, "Publisher");
    record.Authors = textField(object, "Authors");
    record.AudioFile = textField(object, "AudioFile");
    return record;
}

} // namespace

void printCatalogue(const RomDatabase &database, const SearchPaths &paths)
{
    Json entries = Json::array();
    for (int slot = 0; slot < database.slotCount(); ++slot) {
        if (database.Get(slot).isEntry())
            entries.push_back(recordJson(slot, database.Get(slot)));
    }
    printJson(Json{{"slots", database.slotCount()},
                   {"entries", entries},
                   {"RomPaths", stringList(paths[PathKind::Rom].usedDirs())},
                   {"ScreenshotPaths", stringList(paths[PathKind::Screenshot].usedDirs())},
                   {"MusicPaths", stringList(paths[PathKind::Music].usedDirs())}});
}

int cmdDump(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return usageError(QStringLiteral("dump needs a .dat file"));
    QStringList merges;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) != u"--merge" || i + 1 >= arguments.size())
            return usageError(QStringLiteral("dump FILE.dat [--merge OTHER.dat]..."));
        merges.append(arguments.at(++i));
    }

    RomDatabase database;
    SearchPaths paths;
    DatResult result = LoadDatabase(database, paths, arguments.first());
    printMessages(result.messages);
    if (!result.ok)
        return kExitFailure;
    for (const QString &other : std::as_const(merges)) {
        result = MergeDatabase(database, paths, other);
        printMessages(result.messages);
        if (!result.ok)
            return kExitFailure;
    }

    printCatalogue(database, paths);
    return kExitOk;
}

int cmdWrite(const QStringList &arguments)
{
    if (arguments.size() != 1)
        return usageError(QStringLiteral("write FILE.dat (the JSON comes on stdin)"));
    const std::string input{std::istreambuf_iterator<char>(std::cin), {}};
    const Json json = Json::parse(input, nullptr, false);
    if (json.is_discarded() || !json.is_object() || !json.contains("entries") ||
        !json["entries"].is_array())
        return usageError(QStringLiteral("stdin must hold a JSON object with an \"entries\" list"));

    RomDatabase database;
    for (const Json &entry : json["entries"]) {
        if (entry.is_object())
            database.Add(recordFromJson(entry));
    }
    const DatResult result = SaveDatabase(database, arguments.first());
    printMessages(result.messages);
    return result.ok ? kExitOk : kExitFailure;
}
