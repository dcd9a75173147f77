#pragma once

#include "core/ProgramEntry.h"

#include <QList>
#include <QString>

// The edits the emulator and music-player dialogs make to their list, without the dialogs.

// One row the dialog shows: its text and the list element it stands for. Elements without a
// name or an executable (only a hand-edited settings file holds them) get no row, so the rows
// carry their element's index and every button acts on that element, not on the row number.
struct ProgramListRow
{
    qsizetype index = 0;
    QString text;

    friend bool operator==(const ProgramListRow &, const ProgramListRow &) = default;
};

// The rows to show, in list order, the default's marked " (default)". A default that names no
// shown element is cleared to -99 here, which is how "Set default" with no row clears it.
QList<ProgramListRow> programListRows(ProgramList &list);

// The name proposed for a newly chosen executable: its file name with every ".exe" removed
// (exactly that spelling: "GAME.EXE" keeps its ending).
QString defaultProgramName(const QString &path);

// Adds `path` under `name`, or under its default name when `name` is empty: at position 0 when
// the list is empty (a blank element 0 is overwritten), at the end otherwise.
void addProgramEntry(ProgramList &list, const QString &path, const QString &name);

// Removes element `index`; the list never shrinks below one element but blanks it instead.
// A default below the removed element keeps pointing at the same program. Out-of-range
// indices change nothing.
void removeProgramEntry(ProgramList &list, qsizetype index);
