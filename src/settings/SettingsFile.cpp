#include "settings/SettingsFile.h"

#include <cmath>
#include <limits>

namespace {

const QString kKivo = QStringLiteral("kivo");
const QString kEmulators = QStringLiteral("emulators");
const QString kMusicPlayers = QStringLiteral("musicplayers");
const QString kRomPaths = QStringLiteral("RomPaths");
const QString kScreenshotPaths = QStringLiteral("ScreenshotPaths");
const QString kMusicPaths = QStringLiteral("MusicPaths");
const QString kDatFiles = QStringLiteral("DatFiles");
const QString kNum = QStringLiteral("num");
const QString kEmuKey = QStringLiteral("emu");
const QString kPlayerNameKey = QStringLiteral("playername");
const QString kFileKey = QStringLiteral("file");
const QString kPathKey = QStringLiteral("path");
const QString kArgsKey = QStringLiteral("args");
const QString kDefaultForKey = QStringLiteral("defaultfor");
const QString kMachineKey = QStringLiteral("machine");
const QString kColumns = QStringLiteral("columns");
const QString kColumnWidths = QStringLiteral("colwidths");
const std::array<QString, 3> kHeadKeys = {QStringLiteral("head001"), QStringLiteral("head002"),
                                          QStringLiteral("head003")};

qint32 readInteger(const ProfileFile &file, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    return nearestInteger(leadingNumber(file.read(section, key, defaultValue)));
}

float toSingle(const QString &text)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    return float(std::clamp(leadingNumber(text), -kMax, kMax));
}

float readSingle(const ProfileFile &file, const QString &key, const QString &defaultValue)
{
    return toSingle(file.read(kKivo, key, defaultValue));
}

QList<ProgramEntry> readPrograms(const ProfileFile &file, const QString &section,
                                 const QString &nameKey)
{
    const qint32 count =
        std::min(readInteger(file, section, kNum, QStringLiteral("0")), kMaxListEntries);
    QList<ProgramEntry> entries;
    for (qint32 i = 0; i < count; ++i) {
        entries.append({file.read(section, numberedKey(nameKey, i), QString()),
                        file.read(section, numberedKey(kFileKey, i), QString())});
    }
    return entries;
}

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

// "machine00.128": the arguments of emulator 0 for the 128K.
QString machineArgumentsKey(qsizetype index, SpectrumMachine machine)
{
    return numberedKey(kMachineKey, index) + u'.' + machineKey(machine);
}

void readProfiles(const ProfileFile &file, QList<ProgramEntry> &emulators)
{
    for (qsizetype i = 0; i < emulators.size(); ++i) {
        EmulatorProfile &profile = emulators[i].profile;
        profile.arguments = file.read(kEmulators, numberedKey(kArgsKey, i), QString());
        profile.defaultFor =
            words(file.read(kEmulators, numberedKey(kDefaultForKey, i), QString()).toLower());
        for (const SpectrumMachine machine : allMachines()) {
            profile.machineArguments[machineIndex(machine)] =
                file.read(kEmulators, machineArgumentsKey(i, machine), QString());
        }
    }
}

void writeIfAny(ProfileFile &file, const QString &section, const QString &key, const QString &value)
{
    if (!value.isEmpty())
        file.write(section, key, value);
}

// After every key of the lists, so a reader that knows only those finds them as before.
void writeProfiles(ProfileFile &file, const QList<ProgramEntry> &emulators)
{
    for (qsizetype i = 0; i < emulators.size(); ++i) {
        const EmulatorProfile &profile = emulators.at(i).profile;
        writeIfAny(file, kEmulators, numberedKey(kArgsKey, i), profile.arguments);
        writeIfAny(file, kEmulators, numberedKey(kDefaultForKey, i), profile.defaultFor.join(u' '));
        for (const SpectrumMachine machine : allMachines()) {
            writeIfAny(file, kEmulators, machineArgumentsKey(i, machine),
                       profile.machineArguments.at(machineIndex(machine)));
        }
    }
}

QStringList readPaths(const ProfileFile &file, const QString &section)
{
    const qint32 count =
        std::min(readInteger(file, section, kNum, QStringLiteral("0")), kMaxListEntries);
    QStringList paths;
    for (qint32 i = 0; i < count; ++i)
        paths.append(file.read(section, numberedKey(kPathKey, i), QString()));
    return paths;
}

void writePrograms(ProfileFile &file, const QString &section, const QString &nameKey,
                   const QList<ProgramEntry> &entries)
{
    // A list whose first element has no executable holds no program.
    if (entries.isEmpty() || entries.first().path.isEmpty())
        return;
    file.write(section, kNum, QString::number(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        file.write(section, numberedKey(nameKey, i), entries.at(i).name);
        file.write(section, numberedKey(kFileKey, i), entries.at(i).path);
    }
}

void writePaths(ProfileFile &file, const QString &section, const QStringList &paths)
{
    if (paths.isEmpty() || paths.first().isEmpty())
        return;
    file.write(section, kNum, QString::number(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i)
        file.write(section, numberedKey(kPathKey, i), paths.at(i));
}

} // namespace

QString formatSingle(float value)
{
    if (value == 0 || std::isnan(value))
        return QStringLiteral("0"); // never "-0"
    return QString::number(double(value), 'g', 7);
}

QString numberedKey(const QString &prefix, qsizetype index)
{
    return prefix + QStringLiteral("%1").arg(index, 2, 10, QLatin1Char('0'));
}

SettingsFile readSettingsFile(const ProfileFile &file)
{
    SettingsFile s;
    s.winstate = readInteger(file, kKivo, QStringLiteral("winstate"), QStringLiteral("0"));
    // A state the window does not know is taken as a normal window.
    if (s.winstate < 0 || s.winstate > 2)
        s.winstate = 0;
    if (s.winstate == 0) {
        s.placementRead = true;
        s.winw = readSingle(file, QStringLiteral("winw"), QStringLiteral("10"));
        s.winh = readSingle(file, QStringLiteral("winh"), QStringLiteral("10"));
        s.winx = readSingle(file, QStringLiteral("winx"), QStringLiteral("-99"));
        s.winy = readSingle(file, QStringLiteral("winy"), QStringLiteral("-99"));
    }
    s.Defaultemu = readInteger(file, kKivo, QStringLiteral("Defaultemu"), QStringLiteral("-99"));
    s.Defaultmplayer =
        readInteger(file, kKivo, QStringLiteral("Defaultmplayer"), QStringLiteral("-99"));
    s.view = readInteger(file, kKivo, QStringLiteral("view"), QStringLiteral("0"));
    s.SSSize = readInteger(file, kKivo, QStringLiteral("SSSize"), QStringLiteral("0"));
    s.loadscr = readInteger(file, kKivo, QStringLiteral("loadscr"), QStringLiteral("1"));
    s.lastdb = file.read(kKivo, QStringLiteral("lastdb"), QString());
    s.loadlast = readInteger(file, kKivo, QStringLiteral("loadlast"), QStringLiteral("0"));
    s.firstrun = readInteger(file, kKivo, QStringLiteral("firstrun"), QStringLiteral("0")) == 1;

    s.emulators = readPrograms(file, kEmulators, kEmuKey);
    readProfiles(file, s.emulators);
    s.musicPlayers = readPrograms(file, kMusicPlayers, kPlayerNameKey);
    s.RomPaths = readPaths(file, kRomPaths);
    s.ScreenshotPaths = readPaths(file, kScreenshotPaths);
    s.MusicPaths = readPaths(file, kMusicPaths);
    s.datFiles = readPaths(file, kDatFiles);

    for (size_t i = 0; i < kHeadKeys.size(); ++i)
        s.head[i] = readSingle(file, kHeadKeys[i], QStringLiteral("0"));
    s.columns = words(file.read(kKivo, kColumns, QString()));
    for (const QString &width : words(file.read(kKivo, kColumnWidths, QString())))
        s.columnWidths.append(toSingle(width));
    return s;
}

QByteArray settingsFileBytes(const SettingsFile &s)
{
    // The file is written anew each time: these writes start from nothing, and their order is
    // the order of the lines.
    ProfileFile file;
    file.write(kKivo, QStringLiteral("winstate"), QString::number(s.winstate));
    file.write(kKivo, QStringLiteral("winw"), formatSingle(s.winw));
    file.write(kKivo, QStringLiteral("winh"), formatSingle(s.winh));
    file.write(kKivo, QStringLiteral("winx"), formatSingle(s.winx));
    file.write(kKivo, QStringLiteral("winy"), formatSingle(s.winy));
    file.write(kKivo, QStringLiteral("Defaultemu"), QString::number(s.Defaultemu));
    file.write(kKivo, QStringLiteral("Defaultmplayer"), QString::number(s.Defaultmplayer));
    file.write(kKivo, QStringLiteral("view"), QString::number(s.view));
    file.write(kKivo, QStringLiteral("SSSize"), QString::number(s.SSSize));
    file.write(kKivo, QStringLiteral("loadscr"), QString::number(s.loadscr));
    file.write(kKivo, QStringLiteral("lastdb"), s.lastdb);
    file.write(kKivo, QStringLiteral("loadlast"), QString::number(s.loadlast));

    writePrograms(file, kEmulators, kEmuKey, s.emulators);
    if (file.value(kEmulators, kNum)) // the list was written
        writeProfiles(file, s.emulators);
    writePrograms(file, kMusicPlayers, kPlayerNameKey, s.musicPlayers);
    writePaths(file, kRomPaths, s.RomPaths);
    writePaths(file, kScreenshotPaths, s.ScreenshotPaths);
    writePaths(file, kMusicPaths, s.MusicPaths);

    for (size_t i = 0; i < kHeadKeys.size(); ++i)
        file.write(kKivo, kHeadKeys[i], formatSingle(s.head[i]));
    writeIfAny(file, kKivo, kColumns, s.columns.join(u' '));
    QStringList widths;
    for (const float width : s.columnWidths)
        widths.append(formatSingle(width));
    writeIfAny(file, kKivo, kColumnWidths, widths.join(u' '));
    // A section of its own after every other, so an older reader finds everything it knows.
    writePaths(file, kDatFiles, s.datFiles);
    return file.toBytes();
}
