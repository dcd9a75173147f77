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
        addScreenshotFile(screenshots, paths, file);
        ++added;
    }
    return added;
}
