#include "launch/RunCache.h"

#include "ArchiveMaker.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace testsupport;

class tst_RunCache : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reusedUntilTheArchiveChanges();
    void privateDirectory();
    void boundRemovesLongestUnused();
};

namespace {

void setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
}

} // namespace

// Catches a second run that extracts again (the test marks the file, which a rewrite would
// undo), and a changed archive that still gets the old member.
void tst_RunCache::reusedUntilTheArchiveChanges()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("game.zip"));
    writeFile(archive, makeZip("game.tap", "first"));
    RunCache cache(dir.filePath(QStringLiteral("cache")));
    const RunCache::Result first = cache.memberFile(archive);
    QVERIFY2(first.ok, qPrintable(first.reason));
    QVERIFY(first.written);
    QCOMPARE(readFile(first.path), QByteArray("first"));
    writeFile(first.path, "marked");
    const RunCache::Result second = cache.memberFile(archive);
    QVERIFY(second.ok && !second.written);
    QCOMPARE(second.path, first.path);
    QCOMPARE(readFile(second.path), QByteArray("marked"));

    writeFile(archive, makeZip("game.tap", "second"));
    setModified(archive, QDateTime::currentDateTimeUtc().addSecs(5));
    const RunCache::Result changed = cache.memberFile(archive);
    QVERIFY(changed.ok && changed.written);
    QVERIFY(changed.path != first.path);
    QCOMPARE(readFile(changed.path), QByteArray("second"));
}

// Catches a cache another user could read or plant files in.
void tst_RunCache::privateDirectory()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("game.zip"));
    writeFile(archive, makeZip("game.tap", "x"));
    const QString root = dir.filePath(QStringLiteral("a/kivo/run"));
    RunCache cache(root);
    const RunCache::Result result = cache.memberFile(archive);
    QVERIFY2(result.ok, qPrintable(result.reason));
    for (const QString &path : {root, QFileInfo(result.path).path()}) {
        struct stat status;
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, 0700u);
    }
}

// Catches a cache that grows without end, one that drops the newest or the file just written,
// and the order taken from the writing instead of the last use.
void tst_RunCache::boundRemovesLongestUnused()
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("cache"));
    RunCache cache(root, 2500);
    const QByteArray kilobyte(1000, 'k');
    QStringList cached;
    for (const char *name : {"a", "b"}) {
        const QString archive = dir.filePath(QLatin1String(name) + QStringLiteral(".zip"));
        writeFile(archive, makeZip(QLatin1String(name) + QStringLiteral(".tap"), kilobyte));
        cached.append(cache.memberFile(archive).path);
    }
    // "a" was written first but used last.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    setModified(cached.at(0), now.addSecs(-20));
    setModified(cached.at(1), now.addSecs(-10));
    QVERIFY(cache.memberFile(dir.filePath(QStringLiteral("a.zip"))).ok);

    const QString c = dir.filePath(QStringLiteral("c.zip"));
    writeFile(c, makeZip("c.tap", kilobyte));
    const RunCache::Result third = cache.memberFile(c);
    QVERIFY(third.ok);
    QVERIFY(QFile::exists(cached.at(0)));
    QVERIFY(!QFile::exists(cached.at(1)));
    QVERIFY(!QFileInfo::exists(QFileInfo(cached.at(1)).path())); // its directory went with it
    QVERIFY(QFile::exists(third.path));

    // A file larger than the whole bound is still kept for its run.
    const QString big = dir.filePath(QStringLiteral("big.zip"));
    writeFile(big, makeZip("big.tap", QByteArray(3000, 'b')));
    const RunCache::Result bigResult = cache.memberFile(big);
    QVERIFY(QFile::exists(bigResult.path));
    QVERIFY(!QFile::exists(cached.at(0)) && !QFile::exists(third.path));
}

QTEST_GUILESS_MAIN(tst_RunCache)
#include "tst_RunCache.moc"
