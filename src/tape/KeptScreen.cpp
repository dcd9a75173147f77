#include "tape/KeptScreen.h"

#include "core/PathText.h"
#include "core/SafeFile.h"

#include <QFileInfo>

QString freeScreenName(const QString &directory, const QString &romFile)
{
    QString name = fileNamePart(romFile);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot > 0)
        name.truncate(dot);
    name.replace(u',', u' ');
    QString candidate = name + QStringLiteral(".scr");
    for (int number = 2; QFileInfo::exists(toFileSystemPath(directory + candidate)); ++number)
        candidate = QStringLiteral("%1 (%2).scr").arg(name).arg(number);
    return candidate;
}

KeptScreen keepScreen(const QString &directory, const QString &romFile, const QByteArray &screen)
{
    KeptScreen kept;
    kept.name = freeScreenName(directory, romFile);
    const WriteResult written = writeFileSafely(directory + kept.name, screen);
    kept.ok = written.ok;
    kept.reason = written.reason;
    return kept;
}
