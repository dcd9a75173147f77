#pragma once

#include <QString>

// Where kivo.ini and lang.ini live. The program's own directory holds them, as a portable
// install expects; an installed program whose directory is not writable keeps kivo.ini in the
// user's configuration directory instead. Tests point all three at a temporary directory.
struct ProgramDir
{
    QString programDir;
    QString configDir;
    QString dataDir;

    static ProgramDir forApplication();
    static ProgramDir inDirectory(const QString &dir);

    QString settingsFile() const;
    QString languageFile() const;
};
