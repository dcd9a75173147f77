// export and import: the pocket export and the import wizard's files page and Done.
#include "cli/CliSupport.h"

#include "core/DatFile.h"
#include "interchange/ImportFiles.h"
#include "interchange/ImportRun.h"
#include "interchange/PocketDatabase.h"

#include <iostream>
#include <optional>

namespace {

const QString kImportUsage = QStringLiteral(
    "import sgd|dat|kvl DIR [--file NAME]... [--overwrite] [--into FILE.dat] | --list");

std::optional<ImportKind> kindNamed(const QString &name)
{
    if (name == u"sgd")
        return ImportKind::Sgd;
    if (name == u"dat")
        return ImportKind::Own;
    if (name == u"kvl")
        return ImportKind::Pocket;
    return std::nullopt;
}

QString nothingToImportText(ImportKind kind)
{
    switch (kind) {
    case ImportKind::Sgd:
        return QStringLiteral("The directory holds no sgd.ini with .dat files.");
    case ImportKind::Own:
        return QStringLiteral("The directory holds no .dat files.");
    case ImportKind::Pocket:
        return QStringLiteral("The directory holds no .kvl files.");
    }
    return {};
}

struct ImportOptions
{
    ImportKind kind = ImportKind::Sgd;
    QString directory;
    QStringList files;
    bool overwrite = false;
    bool list = false;
    QString into;
};

std::optional<ImportOptions> parseImport(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return std::nullopt;
    const std::optional<ImportKind> kind = kindNamed(arguments.at(0));
    if (!kind)
        return std::nullopt;
    ImportOptions options;
    options.kind = *kind;
    options.directory = arguments.at(1);
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        const QString &option = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (option == u"--file" && hasValue)
            options.files.append(arguments.at(++i));
        else if (option == u"--into" && hasValue && options.into.isEmpty())
            options.into = arguments.at(++i);
        else if (option == u"--overwrite")
            options.overwrite = true;
        else if (option == u"--list")
            options.list = true;
        else
            return std::nullopt;
    }
    if (options.list && (!options.files.isEmpty() || options.overwrite || !options.into.isEmpty()))
        return std::nullopt;
    return options;
}

} // namespace

int cmdExport(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return usageError(QStringLiteral("export FILE.dat OUT.kvl"));
    RomDatabase database;
    SearchPaths paths;
    const DatResult loaded = LoadDatabase(database, paths, arguments.at(0));
    printMessages(loaded.messages);
    if (!loaded.ok)
        return kExitFailure;
    const ExportResult exported = ExportPocketDatabase(database, arguments.at(1));
    printMessages(exported.messages);
    return exported.ok ? kExitOk : kExitFailure;
}

int cmdImport(const QStringList &arguments)
{
    const std::optional<ImportOptions> options = parseImport(arguments);
    if (!options)
        return usageError(kImportUsage);
    if (!importDirectoryFits(options->kind, options->directory)) {
        printMessage(
            Message::critical(nothingToImportText(options->kind) + kCrLf + options->directory,
                              QStringLiteral("Can't Import")));
        return kExitFailure;
    }
    const QList<ImportFileRow> rows = listImportFiles(options->kind, options->directory);
    if (options->list) {
        Json texts = Json::array();
        for (const ImportFileRow &row : rows)
            texts.push_back(utf8(row.text()));
        printJson(texts);
        return kExitOk;
    }

    RomDatabase database;
    SearchPaths paths;
    if (!options->into.isEmpty()) {
        const DatResult loaded = LoadDatabase(database, paths, options->into);
        printMessages(loaded.messages);
        if (!loaded.ok)
            return kExitFailure;
    }
    ImportRequest request;
    request.kind = options->kind;
    request.directory = options->directory;
    request.overwrite = options->overwrite;
    request.fileNames = options->files;
    if (request.fileNames.isEmpty()) {
        for (const ImportFileRow &row : rows)
            request.fileNames.append(row.fileName);
    }
    const ImportSummary summary = runImport(database, paths, request);
    printMessages(summary.messages);
    printMessage(Message{summary.statusText(), QStringLiteral("Import")});
    printCatalogue(database, paths);
    return summary.filesFailed == 0 ? kExitOk : kExitFailure;
}
