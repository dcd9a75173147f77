#include "core/FileLookup.h"

#include "core/PathText.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool hasWildcards(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

bool isOrdinaryFile(const QFileInfo &info)
{
    return !info.fileName().startsWith(u'.') && info.isFile();
}

QRegularExpression wildcardExpression(QString pattern)
{
    if (pattern == u"*.*")
        pattern = QStringLiteral("*");
    QString expression;
    for (const QChar c : std::as_const(pattern)) {
        if (c == u'*')
            expression += QStringLiteral(".*");
        else if (c == u'?')
            expression += u'.';
        else
            expression += QRegularExpression::escape(QString(c));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(expression),
                              QRegularExpression::CaseInsensitiveOption);
}

QString directoryToList(const QString &directoryText)
{
    return directoryText.isEmpty() ? QStringLiteral(".") : toFileSystemPath(directoryText);
}

// The ordinary files of `directory` whose names match; stops at the first when `firstOnly`.
QStringList matchingNames(const QString &directory, const QString &pattern, bool firstOnly)
{
    QStringList names;
    if (pattern.isEmpty())
        return names;
    // "*" and "*.*" take every name: no expression to match a large directory against.
    const bool everyName = pattern == u"*" || pattern == u"*.*";
    const QRegularExpression expression = wildcardExpression(everyName ? QString() : pattern);
    if (!everyName && !expression.isValid())
        return names;
    QDirIterator it(directoryToList(directory), QDir::Files | QDir::System | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (!isOrdinaryFile(info) || (!everyName && !expression.match(info.fileName()).hasMatch()))
            continue;
        names.append(info.fileName());
        if (firstOnly)
            break;
    }
    return names;
}

} // namespace

QString resolveExistingFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    const QString directory = directoryPart(path);
    const QString name = fileNamePart(path);
    if (name.isEmpty())
        return {};
    if (!hasWildcards(name)) {
        const QFileInfo exact(toFileSystemPath(path));
        if (exact.exists())
            return isOrdinaryFile(exact) ? path : QString();
    }
    const QStringList found = matchingNames(directory, name, true);
    return found.isEmpty() ? QString() : directory + found.first();
}

bool FileExists(const QString &path)
{
    return !resolveExistingFile(path).isEmpty();
}

QStringList listOrdinaryFiles(const QString &directory, const QString &pattern)
{
    return matchingNames(directory, pattern, false);
}
