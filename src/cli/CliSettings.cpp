// settings and language: what the program reads from kivo.ini and lang.ini.
#include "cli/CliSupport.h"

#include "settings/Language.h"
#include "settings/Settings.h"

#include <cmath>

namespace {

// Whole numbers print as integers (800, not 800.0); others as the file would write them.
Json single(float value)
{
    if (std::trunc(value) == value && std::abs(value) < 1e15f)
        return Json(qint64(value));
    return Json(formatSingle(value).toDouble());
}

Json programs(const QList<ProgramEntry> &entries)
{
    Json out = Json::array();
    for (const ProgramEntry &entry : entries)
        out.push_back({{"name", utf8(entry.name)}, {"path", utf8(entry.path)}});
    return out;
}

// The emulators with their profiles: "machines" holds the machines given arguments, by key.
Json emulators(const QList<ProgramEntry> &entries)
{
    Json out = programs(entries);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const EmulatorProfile &profile = entries.at(i).profile;
        Json machines = Json::object();
        for (const SpectrumMachine machine : allMachines()) {
            if (const QString &arguments = profile.machineArguments.at(machineIndex(machine));
                !arguments.isEmpty())
                machines[utf8(machineKey(machine))] = utf8(arguments);
        }
        Json &emulator = out[std::size_t(i)];
        emulator["arguments"] = utf8(profile.arguments);
        emulator["defaultFor"] = stringList(profile.defaultFor);
        emulator["machines"] = machines;
    }
    return out;
}

Json singles(const QList<float> &values)
{
    Json out = Json::array();
    for (const float value : values)
        out.push_back(single(value));
    return out;
}

Json settingsJson(const SettingsFile &s)
{
    Json out;
    out["winstate"] = s.winstate;
    // Not read unless winstate is 0.
    out["winw"] = s.placementRead ? single(s.winw) : Json(nullptr);
    out["winh"] = s.placementRead ? single(s.winh) : Json(nullptr);
    out["winx"] = s.placementRead ? single(s.winx) : Json(nullptr);
    out["winy"] = s.placementRead ? single(s.winy) : Json(nullptr);
    out["Defaultemu"] = s.Defaultemu;
    out["Defaultmplayer"] = s.Defaultmplayer;
    out["view"] = s.view;
    out["SSSize"] = s.SSSize;
    out["loadscr"] = s.loadscr;
    out["lastdb"] = utf8(s.lastdb);
    out["loadlast"] = s.loadlast;
    out["emulators"] = emulators(s.emulators);
    out["musicplayers"] = programs(s.musicPlayers);
    out["RomPaths"] = stringList(s.RomPaths);
    out["ScreenshotPaths"] = stringList(s.ScreenshotPaths);
    out["MusicPaths"] = stringList(s.MusicPaths);
    out["head001"] = single(s.head[0]);
    out["head002"] = single(s.head[1]);
    out["head003"] = single(s.head[2]);
    out["columns"] = stringList(s.columns);
    out["colwidths"] = singles(s.columnWidths);
    out["DatFiles"] = stringList(s.datFiles);
    return out;
}

} // namespace

int cmdSettings(const QStringList &arguments)
{
    QString input;
    QString output;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == u"--write") {
            if (i + 1 >= arguments.size() || !output.isEmpty())
                return usageError(QStringLiteral("--write needs one file name"));
            output = arguments.at(++i);
        } else if (argument.startsWith(u'-') || !input.isEmpty()) {
            return usageError(QStringLiteral("unexpected argument '%1'").arg(argument));
        } else {
            input = argument;
        }
    }
    if (input.isEmpty())
        return usageError(QStringLiteral("settings needs a settings file"));

    // A missing file reads as every key missing, as it does at start-up.
    const SettingsFile settings = readSettingsFile(ProfileFile::load(input));
    printJson(settingsJson(settings));
    // Placement keys not read are written as their defaults: built-in size, centred.
    if (output.isEmpty())
        return kExitOk;
    if (const auto failed = saveSettingsFile(output, settings)) {
        printMessage(*failed);
        return kExitFailure;
    }
    return kExitOk;
}

int cmdLanguage(const QStringList &arguments)
{
    if (arguments.size() != 1 || arguments.first().startsWith(u'-'))
        return usageError(QStringLiteral("language needs one language file"));

    const LanguageTexts texts = readLanguageFile(ProfileFile::load(arguments.first()));
    Json menus = Json::array();
    const QList<MenuCaptionKey> &keys = menuCaptionKeys();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        menus.push_back({{"section", utf8(keys.at(i).text.section)},
                         {"key", utf8(keys.at(i).text.key)},
                         {"text", utf8(texts.menuCaptions.at(i))}});
    }
    Json out;
    out["menus"] = menus;
    out["LanguageTable"] = stringList(texts.language.texts);
    out["GameTypeTable"] = stringList(texts.gameTypes.names);
    printJson(out);
    return kExitOk;
}
