#include "state/ScreenshotList.h"

#include "core/FileLookup.h"
#include "core/PathText.h"

#include <QFileInfo>

QStringList screenshotNames(const QString &screenshots)
{
    return screenshots.isEmpty() ? QStringList() : screenshots.split(u',');
}

QString withScreenshot(const QString &screenshots, const QString &name)
{
    return screenshots.isEmpty() ? name : screenshots + u',' + name;
}

QString findScreenshot(const SearchPaths &paths, const QString &name)
{
    if (!paths[PathKind::Screenshot].IsListUsed())
        return resolveExistingFile(name);
    return paths.FindInSearchPaths(PathKind::Screenshot, name);
}

int addScreenshotFiles(QString &screenshots, SearchPaths &paths, const QStringList &files,
                       ScrFiles scr)
{
    int added = 0;
    for (const QString &file : files) {
        const QString name = fileNamePart(file);
        const QString extension = lowerExtension(name);
        const bool picture = extension == u"gif" || extension == u"jpg" || extension == u"jpeg" ||
                             extension == u"bmp" ||
                             (extension == u"scr" && scr == ScrFiles::Accepted);
        if (!picture || QFileInfo(toFileSystemPath(file)).isDir())
            continue;
        screenshots = withScreenshot(screenshots, name);
        QString directory = directoryPart(file);
        if (!paths.HasSearchPath(PathKind::Screenshot, directory))
            paths.AddSearchPath(PathKind::Screenshot, directory);
        ++added;
    }
    return added;
}
