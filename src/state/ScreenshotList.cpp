#include "state/ScreenshotList.h"

#include "core/FileLookup.h"
#include "core/PathText.h"

#include <QFileInfo>

#include <algorithm>

QStringList screenshotNames(const QString &screenshots)
{
    return screenshots.isEmpty() ? QStringList() : screenshots.split(u',');
}

QString withScreenshot(const QString &screenshots, const QString &name)
{
    return screenshots.isEmpty() ? name : screenshots + u',' + name;
}

QString findScreenshot(const SearchPaths &paths, const QString &name, const QString &programDir)
{
    if (name.isEmpty())
        return {};
    if (!paths[PathKind::Screenshot].IsListUsed()) {
        QString dir = programDir;
        if (!dir.isEmpty() && !endsWithSeparator(dir))
            dir += nativeSeparator();
        return resolveExistingFile(dir + name);
    }
    return paths.FindInSearchPaths(PathKind::Screenshot, name);
}

void addScreenshotFile(QString &screenshots, SearchPaths &paths, const QString &path)
{
    screenshots = withScreenshot(screenshots, fileNamePart(path));
    QString directory = directoryPart(path);
    if (!directory.isEmpty() && !paths.HasSearchPath(PathKind::Screenshot, directory))
        paths.AddSearchPath(PathKind::Screenshot, directory);
}

bool isPictureName(const QString &path, ScrFiles scr)
{
    const QString extension = lowerExtension(fileNamePart(path));
    return extension == u"gif" || extension == u"jpg" || extension == u"jpeg" ||
           extension == u"png" || extension == u"bmp" ||
           (extension == u"scr" && scr == ScrFiles::Accepted);
}

bool anyPictureName(const QStringList &files, ScrFiles scr)
{
    return std::any_of(files.begin(), files.end(),
                       [scr](const QString &file) { return isPictureName(file, scr); });
}

bool fitsScreenshotList(const QString &name)
{
    return !name.contains(u',');
}

Message commaInScreenshotName(const QString &name)
{
    static const QString text =
        QStringLiteral("A screenshot's file name cannot hold a comma: [%1]");
    static const QString title = QStringLiteral("Can't Add Screenshot");
    return Message::critical(text.arg(name), title);
}

int addScreenshotFiles(QString &screenshots, SearchPaths &paths, const QStringList &files,
                       ScrFiles scr, QStringList *withComma)
{
    int added = 0;
    for (const QString &file : files) {
        if (!isPictureName(file, scr) || QFileInfo(toFileSystemPath(file)).isDir())
            continue;
        const QString name = fileNamePart(file);
        if (!fitsScreenshotList(name)) {
            if (withComma != nullptr)
                withComma->append(name);
            continue;
        }
        addScreenshotFile(screenshots, paths, file);
        ++added;
    }
    return added;
}
