#pragma once

#include "core/Message.h"
#include "core/SearchPathList.h"

#include <QString>
#include <QStringList>

// An entry's screenshots are bare file names joined by ","; their directories are the
// screenshot search paths.

// The names of `screenshots`; an empty field has none.
QStringList screenshotNames(const QString &screenshots);

// `screenshots` with `name` added at the end.
QString withScreenshot(const QString &screenshots, const QString &name);

// Where screenshot `name` is: the first screenshot directory that holds it. A list without any
// directory looks for the bare name in `programDir`, as catalogues that keep their pictures
// beside the program expect (never in whatever directory the program was started from). Empty
// when it is nowhere.
QString findScreenshot(const SearchPaths &paths, const QString &name, const QString &programDir);

// Adds the file at `path` to `screenshots` by its name, and its directory to the screenshot
// paths unless already there.
void addScreenshotFile(QString &screenshots, SearchPaths &paths, const QString &path);

enum class ScrFiles { Accepted, Refused };

// True when `path` names a picture by its extension in any letter case: GIF, JPEG, PNG or BMP,
// and a Spectrum screen (.scr) when `scr` accepts it.
bool isPictureName(const QString &path, ScrFiles scr);
// True when any of `files` is a picture by its name: a drag of none of them is refused.
bool anyPictureName(const QStringList &files, ScrFiles scr);
// The field separates names with ",", so a name holding one would come back as two.
bool fitsScreenshotList(const QString &name);
// What the user is told of a picture left out for the comma in its name.
Message commaInScreenshotName(const QString &name);

// Adds the pictures among `files` to `screenshots`, in the order given, and their directories to
// the screenshot paths unless already there (compared without regard to case). Directories never
// count, whatever their names. A picture whose name holds a comma is left out and its name
// appended to `withComma` when given. Returns how many were added.
int addScreenshotFiles(QString &screenshots, SearchPaths &paths, const QStringList &files,
                       ScrFiles scr, QStringList *withComma = nullptr);
