#include "core/PathText.h"

#include <QDir>

QChar nativeSeparator()
{
    return QDir::separator();
}

qsizetype lastSeparator(const QString &path)
{
    return std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
}

bool endsWithSeparator(const QString &path)
{
    return path.endsWith(u'/') || path.endsWith(u'\\');
}

QString directoryPart(const QString &path)
{
    return path.left(lastSeparator(path) + 1);
}

QString fileNamePart(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString lowerExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

QString toFileSystemPath(const QString &path)
{
#ifdef Q_OS_WIN
    return QDir::fromNativeSeparators(path);
#else
    return path;
#endif
}
