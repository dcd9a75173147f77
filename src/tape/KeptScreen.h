#pragma once

#include <QByteArray>
#include <QString>

// A loading screen kept as a screenshot file of its own.
struct KeptScreen
{
    bool ok = false;
    QString name;   // the file name written, for the entry's Screenshots
    QString reason; // why not, when !ok
};

// "NAME.scr" in `directory` (ending with a separator) for the rom file `romFile`: NAME is its
// base name with every comma a blank, since Screenshots is a comma-separated list; an existing
// file is never replaced, the name is numbered instead ("NAME (2).scr" and on).
QString freeScreenName(const QString &directory, const QString &romFile);

// Writes `screen` under freeScreenName through the safe-write helper.
KeptScreen keepScreen(const QString &directory, const QString &romFile, const QByteArray &screen);
