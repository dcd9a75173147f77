#pragma once

#include <QString>
#include <QStringList>

// An emulator's arguments as the user writes them: "{machine} {file}", "-m128 [--rom {dir}/x]".
// The template is split into arguments first (blanks separate, double quotes group, no shell
// ever), then each token's placeholders are filled in, so what a file name holds (blanks, "[",
// "\"", "{") is never split or read again.
//
// Placeholders: {file} the full rom path (or an archive's unpacked member), {dir} its folder,
// {name} its base name without the ending, {machine} the machine's arguments. A token that is
// {machine} alone stands for those arguments, several or none; inside a longer token they are
// joined with blanks. A bracketed group "[ ... ]" is left out whole when a placeholder in it
// comes to nothing. An empty template is "{file}".
struct TemplateValues
{
    QString file;
    QString dir;
    QString name;
    QStringList machine;
};

inline const QString kDefaultArgumentTemplate = QStringLiteral("{file}");

QStringList expandArguments(const QString &argumentTemplate, const TemplateValues &values);

// Blanks separate, double quotes group (a quote inside a quoted group is written \"), nothing
// else is special: how the machine arguments of a profile are read.
QStringList splitArguments(const QString &text);

// An argument as a reader copies it into a terminal: as it is when it needs no quoting,
// otherwise in single quotes (a single quote in it written '\'').
QString quotedForDisplay(const QString &argument);
