#pragma once

#include "core/None.h"

#include <QList>
#include <QString>

// One configured external program: the name the user gave it and its executable.
struct ProgramEntry
{
    QString name;
    QString path;

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
