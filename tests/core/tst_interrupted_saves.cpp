// Every file the program writes survives a failed save byte for byte: the catalogue, the
// settings, the pocket export and a picture saved as a bitmap, each saved by a child process
// that runs the program's own save. The save is killed half-way, or runs out of disk on a small
// file system mounted for the test (which needs root; the test skips without it).
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testsupport;

namespace {

// One kind of file: the scale of the file that must survive, of a save that takes long enough
// to be caught writing, and of one that does not fit on the small file system.
struct Kind
{
    const char *name;
    int oldScale;
    int killScale;
    int fullScale;
};

constexpr Kind kKinds[] = {
    {"catalogue", 50, 100000, 30000},
    {"settings", 5, 8000, 3000},
    {"pocket", 50, 100000, 30000},
    {"picture", 16, 3000, 1000},
};

int runSave(const QString &kind, const QString &path, int scale)
{
    return QProcess::execute(QStringLiteral(KIVO_TOOL_save_tool),
                             {kind, path, QString::number(scale)});
}

// The size of the largest file the child has open beside `path`, named or not: the temporary
// file it is writing. Once that file has become `path` the save is complete, not half-way.
qint64 sizeBeingWritten(pid_t child, const QString &path)
{
    const QString directory = QFileInfo(path).absolutePath() + u'/';
    qint64 largest = -1;
    QDirIterator fds(QStringLiteral("/proc/%1/fd").arg(child), QDir::Files | QDir::System);
    while (fds.hasNext()) {
        const QString fd = fds.next();
        const QString target = QFileInfo(fd).symLinkTarget();
        if (!target.startsWith(directory) || target == QFileInfo(path).absoluteFilePath())
            continue;
        struct stat status
        {
        };
        if (::stat(QFile::encodeName(fd).constData(), &status) == 0)
            largest = std::max<qint64>(largest, status.st_size);
    }
    return largest;
}

// Starts the save and kills it once its temporary file holds some of the new bytes. False when
// the save ended before it could be caught.
bool killHalfWay(const QString &kind, const QString &path, int scale)
{
    const QByteArray tool = QByteArrayLiteral(KIVO_TOOL_save_tool);
    const QByteArray file = QFile::encodeName(path);
    const QByteArray scaleText = QByteArray::number(scale);
    const QByteArray kindText = kind.toLatin1();
    const pid_t child = fork();
    if (child == 0) {
        execl(tool.constData(), tool.constData(), kindText.constData(), file.constData(),
              scaleText.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    bool caught = false;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (sizeBeingWritten(child, path) > 0) {
            kill(child, SIGKILL);
            caught = true;
            waitpid(child, &status, 0);
            break;
        }
    }
    return caught && WIFSIGNALED(status);
}

// A small file system of its own, mounted over a temporary directory while the test runs.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &directory)
        : m_directory(QFile::encodeName(directory))
    {
        m_mounted = geteuid() == 0 &&
                    ::mount("tmpfs", m_directory.constData(), "tmpfs", 0, "size=2m,mode=0700") == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            ::umount(m_directory.constData());
    }
    SmallFileSystem(const SmallFileSystem &) = delete;
    SmallFileSystem &operator=(const SmallFileSystem &) = delete;

    bool mounted() const { return m_mounted; }

private:
    QByteArray m_directory;
    bool m_mounted = false;
};

// Fills what is left of the file system that holds `directory`.
void fillUp(const QString &directory)
{
    QFile filler(QDir(directory).filePath("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("f", 1) == 1) {
    }
}

void addKinds()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("oldScale");
    QTest::addColumn<int>("killScale");
    QTest::addColumn<int>("fullScale");
    for (const Kind &kind : kKinds)
        QTest::newRow(kind.name) << QString::fromLatin1(kind.name) << kind.oldScale
                                 << kind.killScale << kind.fullScale;
}

} // namespace

class TestInterruptedSaves : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedHalfWay_data() { addKinds(); }
    void killedHalfWay()
    {
        QFETCH(QString, kind);
        QFETCH(int, oldScale);
        QFETCH(int, killScale);
        QTemporaryDir dir;
        const QString path = dir.filePath("saved");
        QCOMPARE(runSave(kind, path, oldScale), 0);
        const QByteArray before = readFile(path);
        QVERIFY(!before.isEmpty());

        // A save that ended before it could be caught proves nothing: try again.
        bool caught = false;
        for (int attempt = 0; attempt < 5 && !caught; ++attempt) {
            caught = killHalfWay(kind, path, killScale);
            if (caught)
                QCOMPARE(readFile(path), before);
            else
                QCOMPARE(runSave(kind, path, oldScale), 0);
        }
        QVERIFY2(caught, "the save always ended before it could be killed");

        // Nothing in the way of the next save.
        QCOMPARE(runSave(kind, path, oldScale + 1), 0);
        QVERIFY(readFile(path) != before);
    }

    void fullDisk_data() { addKinds(); }
    void fullDisk()
    {
        QFETCH(QString, kind);
        QFETCH(int, oldScale);
        QFETCH(int, fullScale);
        QTemporaryDir dir;
        const SmallFileSystem disk(dir.path());
        if (!disk.mounted())
            QSKIP("mounting a small tmpfs needs root: the full-disk saves are not tried");
        const QString path = dir.filePath("saved");
        QCOMPARE(runSave(kind, path, oldScale), 0);
        const QByteArray before = readFile(path);

        // A new file larger than the whole disk.
        QCOMPARE(runSave(kind, path, fullScale), 1);
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"saved"});

        // A disk already full: even a small save fails, and the old file stays.
        fillUp(dir.path());
        QCOMPARE(runSave(kind, path, oldScale + 1), 1);
        QCOMPARE(readFile(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"filler", "saved"}));
    }
};

QTEST_GUILESS_MAIN(TestInterruptedSaves)
#include "tst_interrupted_saves.moc"
