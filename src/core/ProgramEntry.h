#pragma once

#include "core/None.h"
#include "core/SpectrumMachine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// How an emulator wants to be started, beyond its executable. Empty fields give the bare
// command: the executable and the full rom path as its one argument.
struct EmulatorProfile
{
    // Split into arguments (blanks separate, double quotes group), then {file}, {dir}, {name}
    // and {machine} are filled in; a "[ ... ]" group goes when a token in it is empty. An empty
    // template is "{file}".
    QString arguments;
    // What the emulator wants for each machine, indexed by machineIndex(); empty where it
    // cannot be told, or the user leaves it.
    std::array<QString, kMachineCount> machineArguments{};
    // The file kinds it runs by default, lower case: "tap", "tzx", "z80", "sna", "szx", "dsk",
    // "trd", "scl".
    QStringList defaultFor;

    friend bool operator==(const EmulatorProfile &, const EmulatorProfile &) = default;
};

// One configured external program: the name the user gave it and its executable. The profile
// is an emulator's only; a music player's stays empty.
struct ProgramEntry
{
    QString name;
    QString path;
    EmulatorProfile profile = {};

    friend bool operator==(const ProgramEntry &, const ProgramEntry &) = default;
};

// The emulators or the music players, with the default's index (-99 for none). The list counts
// as empty when it has no elements or element 0 has no executable.
struct ProgramList
{
    QList<ProgramEntry> entries;
    qint32 defaultIndex = kNone;

    bool isUsed() const { return !entries.isEmpty() && !entries.first().path.isEmpty(); }
};
