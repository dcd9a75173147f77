#pragma once

#include "core/ProgramEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

// Profiles for emulators we know, from their own documentation: the arguments that start a file
// in each machine they can be told. The emulators dialog offers one when the executable's name
// matches.
struct EmulatorPreset
{
    QString name;            // "Fuse", "ZEsarUX", "rustzx"
    QStringList executables; // file names it matches, without ".exe", lower case
    EmulatorProfile profile;
};

const QList<EmulatorPreset> &emulatorPresets();

// The preset whose executable name is the file name of `path` (without ".exe", in any case);
// null when none is.
const EmulatorPreset *presetFor(const QString &path);
