#include "core/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSettingsName = QStringLiteral("kivo.ini");
const QString kLanguageName = QStringLiteral("lang.ini");
const QString kApplicationDir = QStringLiteral("kivo");

QString inDir(const QString &dir, const QString &name)
{
    return QDir(dir).filePath(name);
}

} // namespace

ProgramDir ProgramDir::forApplication()
{
    // ~/.config/kivo, whatever organisation name the application carries.
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return forProgramIn(QCoreApplication::applicationDirPath(),
                        config.isEmpty() ? QString() : QDir(config).filePath(kApplicationDir));
}

ProgramDir ProgramDir::forProgramIn(const QString &programDir, const QString &configDir)
{
    ProgramDir dir;
    dir.programDir = programDir;
    dir.configDir = configDir;
    // An installed program keeps its shared files in PREFIX/share/kivo beside PREFIX/bin.
    dir.dataDir = QDir::cleanPath(programDir + QStringLiteral("/../share/") + kApplicationDir);
    return dir;
}

ProgramDir ProgramDir::inDirectory(const QString &dir)
{
    return ProgramDir{dir, dir, dir};
}

QString ProgramDir::settingsFile() const
{
    const QString beside = inDir(programDir, kSettingsName);
    // Root can write to /usr/bin; an installed program still keeps each user's settings apart.
    const bool installed =
        !dataDir.isEmpty() && dataDir != programDir && QFileInfo(dataDir).isDir();
    if (QFileInfo::exists(beside) || configDir.isEmpty() ||
        (!installed && QFileInfo(programDir).isWritable()))
        return beside;
    QDir().mkpath(configDir);
    return inDir(configDir, kSettingsName);
}

QString ProgramDir::languageFile() const
{
    for (const QString &dir : {programDir, configDir, dataDir}) {
        if (!dir.isEmpty() && QFileInfo::exists(inDir(dir, kLanguageName)))
            return inDir(dir, kLanguageName);
    }
    return inDir(programDir, kLanguageName);
}
