// An entry's screenshot names: adding files by their extension, their directories joining the
// screenshot paths once, and finding a name.
#include "TestSupport.h"

#include "state/ScreenshotList.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace testsupport;

class tst_ScreenshotList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names()
    {
        QCOMPARE(screenshotNames(QString()), QStringList());
        QCOMPARE(screenshotNames(QStringLiteral("a.gif")), QStringList{"a.gif"});
        QCOMPARE(screenshotNames(QStringLiteral("a.gif,b.scr")), (QStringList{"a.gif", "b.scr"}));
        QCOMPARE(withScreenshot(QString(), QStringLiteral("a.gif")), QStringLiteral("a.gif"));
        QCOMPARE(withScreenshot(QStringLiteral("a.gif"), QStringLiteral("b.bmp")),
                 QStringLiteral("a.gif,b.bmp"));
    }

    // Pictures by their lower-cased extension; .scr only where accepted; directories never,
    // whatever they are called; a directory already listed in another case is not added again;
    // a name with a comma never, as the field would split it.
    void addingFiles()
    {
        QTemporaryDir dir;
        touch(dir.filePath("Shots/A.JPG"));
        touch(dir.filePath("Shots/b.scr"));
        touch(dir.filePath("Shots/c.txt"));
        touch(dir.filePath("Shots/d.PNG"));
        touch(dir.filePath("Shots/Great Escape, The.gif"));
        touch(dir.filePath("Shots/noext"));
        QDir().mkpath(dir.filePath("Shots/folder.gif"));
        SearchPaths paths;
        QString upper = dir.filePath("SHOTS") + '/';
        if (dir.path().toUpper() == dir.path()) // only when the temporary path has no letters
            upper = dir.filePath("Shots") + '/';
        paths.AddSearchPath(PathKind::Screenshot, upper);
        const QStringList files = {dir.filePath("Shots/A.JPG"),
                                   dir.filePath("Shots/b.scr"),
                                   dir.filePath("Shots/c.txt"),
                                   dir.filePath("Shots/d.PNG"),
                                   dir.filePath("Shots/Great Escape, The.gif"),
                                   dir.filePath("Shots/noext"),
                                   dir.filePath("Shots/folder.gif")};
        QString shots = QStringLiteral("old.gif");
        QStringList withComma;
        QCOMPARE(addScreenshotFiles(shots, paths, files, ScrFiles::Refused, &withComma), 2);
        QCOMPARE(shots, QStringLiteral("old.gif,A.JPG,d.PNG"));
        QCOMPARE(withComma, QStringList{"Great Escape, The.gif"});
        QCOMPARE(addScreenshotFiles(shots, paths, files, ScrFiles::Accepted), 3);
        QCOMPARE(shots, QStringLiteral("old.gif,A.JPG,d.PNG,A.JPG,b.scr,d.PNG"));
        QCOMPARE(paths[PathKind::Screenshot].dirs().size(), 1);
    }

    // With no screenshot directory a bare name is looked for beside the program, never in the
    // directory the program was started from.
    void findingANameWithoutDirectories()
    {
        QTemporaryDir program;
        QTemporaryDir elsewhere;
        touch(program.filePath("beside.gif"));
        touch(elsewhere.filePath("cwd.gif"));
        const QString before = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        SearchPaths paths;
        QCOMPARE(findScreenshot(paths, QStringLiteral("BESIDE.GIF"), program.path()),
                 program.filePath("beside.gif"));
        QCOMPARE(findScreenshot(paths, QStringLiteral("cwd.gif"), program.path()), QString());
        QCOMPARE(findScreenshot(paths, QString(), program.path()), QString());
        QDir::setCurrent(before);

        paths[PathKind::Screenshot].setDirs({elsewhere.path() + '/'});
        QCOMPARE(findScreenshot(paths, QStringLiteral("cwd.gif"), program.path()),
                 elsewhere.filePath("cwd.gif"));
        QCOMPARE(findScreenshot(paths, QStringLiteral("beside.gif"), program.path()), QString());
    }
};

QTEST_GUILESS_MAIN(tst_ScreenshotList)
#include "tst_screenshot_list.moc"
