#include "core/ProgramDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSettingsName = QStringLiteral("kivo.ini");
const QString kLanguageName = QStringLiteral("lang.ini");

QString inDir(const QString &dir, const QString &name)
{
    return QDir(dir).filePath(name);
}

} // namespace

ProgramDir ProgramDir::forApplication()
{
    ProgramDir dir;
    dir.programDir = QCoreApplication::applicationDirPath();
    dir.configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QStringList data = QStandardPaths::standardLocations(QStandardPaths::AppDataLocation);
    dir.dataDir = data.isEmpty() ? QString() : data.last();
    return dir;
}

ProgramDir ProgramDir::inDirectory(const QString &dir)
{
    return ProgramDir{dir, dir, dir};
}

QString ProgramDir::settingsFile() const
{
    const QString beside = inDir(programDir, kSettingsName);
    if (QFileInfo::exists(beside) || QFileInfo(programDir).isWritable() || configDir.isEmpty())
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
