#pragma once

#include <QString>

// Where kivo.ini and lang.ini live. The program's own directory holds them, as a portable
// install expects; an installed program (one with PREFIX/share/kivo beside its PREFIX/bin) or one
// whose directory is not writable keeps kivo.ini in the user's configuration directory instead,
// unless a kivo.ini already sits beside it. Tests point all three at a temporary directory.
struct ProgramDir
{
    QString programDir;
    QString configDir;
    QString dataDir;

    static ProgramDir forApplication();
    // The program in `programDir`, installed or not; settings go to `configDir` when they
    // cannot stay beside it. The data directory is PREFIX/share/kivo for PREFIX/bin.
    static ProgramDir forProgramIn(const QString &programDir, const QString &configDir);
    static ProgramDir inDirectory(const QString &dir);

    QString settingsFile() const;
    QString languageFile() const;
};
