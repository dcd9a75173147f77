// scan: Scan Folder without the window.
#include "cli/CliSupport.h"

#include "core/DatFile.h"
#include "scan/CollectionScan.h"
#include "scan/DatCatalogue.h"

#include <QFileInfo>

#include <optional>

namespace {

const QString kScanUsage =
    QStringLiteral("scan DIR [--flat] [--dat FILE]... [--into FILE.dat] [--screens DIR]");

struct ScanOptions
{
    ScanRequest request;
    QString into;
};

std::optional<ScanOptions> parseScan(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return std::nullopt;
    ScanOptions options;
    options.request.directory = arguments.first();
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (option == u"--flat")
            options.request.subfolders = false;
        else if (option == u"--dat" && hasValue)
            options.request.datFiles.append(arguments.at(++i));
        else if (option == u"--into" && hasValue && options.into.isEmpty())
            options.into = arguments.at(++i);
        else if (option == u"--screens" && hasValue && options.request.screensDirectory.isEmpty())
            options.request.screensDirectory = arguments.at(++i);
        else
            return std::nullopt;
    }
    return options;
}

Json skippedJson(const ScanResult &result)
{
    Json skipped = Json::object();
    skipped["inCatalogue"] = result.counts.inCatalogue;
    skipped["copies"] = result.counts.copies;
    skipped["clashes"] = result.counts.clashes;
    skipped["unreadable"] = result.counts.skipped;
    skipped["clashPaths"] = stringList(result.clashPaths);
    return skipped;
}

} // namespace

int cmdScan(const QStringList &arguments)
{
    std::optional<ScanOptions> options = parseScan(arguments);
    if (!options)
        return usageError(kScanUsage);
    if (!QFileInfo(options->request.directory).isDir()) {
        printMessage(Message::critical(QStringLiteral("The folder does not exist.") + kCrLf +
                                           options->request.directory,
                                       kScanTitle));
        return kExitFailure;
    }

    RomDatabase database;
    SearchPaths paths; // the tool has no settings: these only show what the window would add
    const bool into = !options->into.isEmpty();
    if (into && QFileInfo::exists(options->into)) {
        SearchPaths ignored;
        const DatResult loaded = LoadDatabase(database, ignored, options->into);
        printMessages(loaded.messages);
        // Saving a damaged file would drop what could not be read: it is left as it is.
        if (!loaded.ok || loaded.damaged)
            return kExitFailure;
    }
    options->request.catalogueFiles = catalogueFileNames(database);
    const ScanResult result = scanCollection(options->request);
    printMessages(result.messages);
    mergeScanResult(database, paths, result);
    printMessage(Message{result.statusText(), kScanTitle});
    bool ok = true;
    if (into) {
        const DatResult saved = SaveDatabase(database, options->into);
        printMessages(saved.messages);
        ok = saved.ok;
    }
    Json extra = Json::object();
    extra["skipped"] = skippedJson(result);
    printCatalogue(database, paths, extra);
    return ok ? kExitOk : kExitFailure;
}
