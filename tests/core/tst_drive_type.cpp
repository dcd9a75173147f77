// Drive classification: hand-written mount tables, this machine's own mounts, icon keys, the
// drive list a user picks from, and what "holds files" means.
#include "TestSupport.h"

#include "core/DriveType.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

Q_DECLARE_METATYPE(DriveType)

class tst_DriveType : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseEscapes();
    void classify_data();
    void classify();
    void noMountHoldsIt();
    void iconKeys_data();
    void iconKeys();
    void everyKeyReachable();
    void realMounts();
    void realRamDisk();
    void linksFollowed();
    void holdsFiles();
    void readError();
    void drivesOffered();
    void driveHolding_data();
    void driveHolding();
};

namespace {

// A machine with most kinds of mount, in the order the kernel lists them.
const QByteArray kTable = "/dev/sda2 / ext4 rw,relatime 0 0\n"
                          "proc /proc proc rw 0 0\n"
                          "server:/export /mnt/nfs nfs4 rw 0 0\n"
                          "/dev/sda3 /mnt/nfs/local ext4 rw 0 0\n"
                          "//nas/share /mnt/smb cifs rw 0 0\n"
                          "hostshare /mnt/9p 9p rw 0 0\n"
                          "/dev/sr0 /mnt/cdrom iso9660 ro 0 0\n"
                          "/dev/sr1 /mnt/dvd udf ro 0 0\n"
                          "/dev/sr2 /mnt/my\\040games iso9660 ro 0 0\n"
                          "tmpfs /dev/shm tmpfs rw 0 0\n"
                          "tmpfs /tmp tmpfs rw 0 0\n"
                          "none /ram ramfs rw 0 0\n"
                          "/dev/sdb1 /media/user/STICK vfat rw 0 0\n"
                          "/dev/sdc1 /run/media/user/DISK ext4 rw 0 0\n"
                          "/dev/sdd1 /data ext4 rw 0 0\n"
                          "user@host:/ /home/u/remote fuse.sshfs rw 0 0\n"
                          "tmpfs /srv tmpfs rw 0 0\n"
                          "/dev/sde1 /srv ext4 rw 0 0\n";

bool onlySdd1Removable(const QString &device)
{
    return device == u"/dev/sdd1";
}

} // namespace

// Catches escapes left in mount points (a blank is \040 in the table), escapes decoded in the
// wrong base, and short or blank lines taken as mounts.
void tst_DriveType::parseEscapes()
{
    const QList<MountEntry> mounts = parseMountTable("/dev/sdb1 /media/u/MY\\040DISK vfat rw 0 0\n"
                                                     "\n"
                                                     "broken-line\n"
                                                     "a\\134b /x\\011y\\012z NFS4 rw 0 0\n"
                                                     "x /trail\\04 ext4\n");
    QCOMPARE(mounts, (QList<MountEntry>{
                         {"/dev/sdb1", "/media/u/MY DISK", "vfat"},
                         {"a\\b", "/x\ty\nz", "nfs4"},
                         {"x", "/trail\\04", "ext4"},
                     }));
}

void tst_DriveType::classify_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<DriveType>("type");
    // Each file system family maps to its code.
    QTest::newRow("root") << "/" << DriveType::Fixed;
    QTest::newRow("under root") << "/home/u/games/" << DriveType::Fixed;
    QTest::newRow("nfs") << "/mnt/nfs/roms/" << DriveType::Remote;
    QTest::newRow("cifs") << "/mnt/smb" << DriveType::Remote;
    QTest::newRow("9p") << "/mnt/9p/x/" << DriveType::Remote;
    QTest::newRow("sshfs") << "/home/u/remote/tapes/" << DriveType::Remote;
    QTest::newRow("iso9660") << "/mnt/cdrom/GAMES/" << DriveType::CdRom;
    QTest::newRow("udf") << "/mnt/dvd/" << DriveType::CdRom;
    QTest::newRow("tmpfs") << "/dev/shm/" << DriveType::RamDisk;
    QTest::newRow("ramfs") << "/ram/a/" << DriveType::RamDisk;
    QTest::newRow("/media") << "/media/user/STICK/roms/" << DriveType::Removable;
    QTest::newRow("/run/media") << "/run/media/user/DISK/" << DriveType::Removable;
    QTest::newRow("removable device") << "/data/x/" << DriveType::Removable;
    // The mount that holds a path is the longest, matched by whole components.
    QTest::newRow("longest wins") << "/mnt/nfs/local/a/" << DriveType::Fixed;
    QTest::newRow("component, not prefix") << "/mnt/nfsx/" << DriveType::Fixed;
    QTest::newRow("tmpfs over root") << "/tmp/a/b/" << DriveType::RamDisk;
    QTest::newRow("later mount on top") << "/srv/x/" << DriveType::Fixed;
    QTest::newRow("escaped blank") << "/mnt/my games/x/" << DriveType::CdRom;
    QTest::newRow("before the blank") << "/mnt/my/" << DriveType::Fixed;
    QTest::newRow("dot-dot cleaned") << "/mnt/nfs/../cdrom/" << DriveType::CdRom;
    // Paths from a catalogue made on Windows, or not absolute, have no root here.
    QTest::newRow("drive letter") << "C:\\Games\\" << DriveType::NoRootDir;
    QTest::newRow("drive letter, slash") << "d:/roms/" << DriveType::NoRootDir;
    QTest::newRow("share") << "\\\\server\\share\\" << DriveType::NoRootDir;
    QTest::newRow("relative") << "games/" << DriveType::NoRootDir;
    QTest::newRow("empty") << "" << DriveType::NoRootDir;
}

void tst_DriveType::classify()
{
    QFETCH(QString, directory);
    QFETCH(DriveType, type);
    QCOMPARE(classifyDrive(directory, parseMountTable(kTable), onlySdd1Removable), type);
}

// Catches an unreadable mount table taken as a fixed disk.
void tst_DriveType::noMountHoldsIt()
{
    QCOMPARE(classifyDrive("/home/u/", {}, onlySdd1Removable), DriveType::Unknown);
    QCOMPARE(classifyDrive("/home/u/", parseMountTable("/dev/sdb1 /data ext4 rw 0 0\n"), {}),
             DriveType::Unknown);
    QCOMPARE(classifyDrive("/data/x/", parseMountTable("/dev/sdb1 /data ext4 rw 0 0\n"), {}),
             DriveType::Fixed);
}

void tst_DriveType::iconKeys_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("withFiles");
    QTest::addColumn<QString>("withoutFiles");
    // A network drive without files looks unmapped; unknown and unmapped ignore files; codes
    // outside the table are unknown.
    QTest::newRow("0 unknown") << 0 << "unknown"
                               << "unknown";
    QTest::newRow("1 no root") << 1 << "notmapped"
                               << "notmapped";
    QTest::newRow("2 removable") << 2 << "removable"
                                 << "removablex";
    QTest::newRow("3 fixed") << 3 << "fixed"
                             << "fixedx";
    QTest::newRow("4 remote") << 4 << "network"
                              << "notmapped";
    QTest::newRow("5 cd") << 5 << "cd"
                          << "cdx";
    QTest::newRow("6 ram") << 6 << "ram"
                           << "ramx";
    QTest::newRow("7 other") << 7 << "unknown"
                             << "unknown";
}

void tst_DriveType::iconKeys()
{
    QFETCH(int, type);
    QFETCH(QString, withFiles);
    QFETCH(QString, withoutFiles);
    QCOMPARE(driveIconKey(DriveType(type), true), withFiles);
    QCOMPARE(driveIconKey(DriveType(type), false), withoutFiles);
}

// Catches a key the image list has no picture for, or a picture no directory can get.
void tst_DriveType::everyKeyReachable()
{
    QSet<QString> reached;
    for (int type = 0; type <= 6; ++type) {
        reached.insert(driveIconKey(DriveType(type), true));
        reached.insert(driveIconKey(DriveType(type), false));
    }
    const QStringList &keys = driveIconKeys();
    QCOMPARE(keys.size(), 11);
    QCOMPARE(reached, QSet<QString>(keys.begin(), keys.end()));
}

// This machine: its root is a disk, and a Windows path has no root.
void tst_DriveType::realMounts()
{
    const QList<MountEntry> mounts = currentMountTable();
    QVERIFY(!mounts.isEmpty());
    QCOMPARE(driveTypeOf(QStringLiteral("C:\\Games\\")), DriveType::NoRootDir);
    // Inside a chroot the mount table lists only what was mounted under it.
    if (std::none_of(mounts.begin(), mounts.end(),
                     [](const MountEntry &m) { return m.mountPoint == u"/"; }))
        QSKIP("the root is not in this machine's mount table (a chroot?)");
    QCOMPARE(driveTypeOf(QStringLiteral("/")), DriveType::Fixed);
    QCOMPARE(driveTypeOf(QStringLiteral("/no-such-dir-here/roms/")), DriveType::Fixed);
}

namespace {

// A directory on a tmpfs mount of this machine, or empty.
QString realTmpfsDirectory()
{
    for (const MountEntry &mount : currentMountTable()) {
        if (mount.type == u"tmpfs" && QFileInfo(mount.mountPoint).isDir() &&
            QFileInfo(mount.mountPoint).isReadable())
            return mount.mountPoint;
    }
    return {};
}

} // namespace

void tst_DriveType::realRamDisk()
{
    const QString tmpfs = realTmpfsDirectory();
    if (tmpfs.isEmpty())
        QSKIP("this machine has no tmpfs mount");
    QCOMPARE(driveTypeOf(tmpfs + QStringLiteral("/")), DriveType::RamDisk);
    QCOMPARE(driveTypeOf(tmpfs + QStringLiteral("/gone/deeper/")), DriveType::RamDisk);
}

// Catches a path classified by where its link sits rather than where it leads.
void tst_DriveType::linksFollowed()
{
    const QString tmpfs = realTmpfsDirectory();
    if (tmpfs.isEmpty())
        QSKIP("this machine has no tmpfs mount");
    QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/drive-XXXXXX"));
    QVERIFY(dir.isValid());
    if (driveTypeOf(dir.path()) != DriveType::Fixed)
        QSKIP("the build directory is not on a fixed disk");
    const QString link = dir.filePath(QStringLiteral("ram"));
    QVERIFY(QFile::link(tmpfs, link));
    QCOMPARE(driveTypeOf(link + QStringLiteral("/")), DriveType::RamDisk);
    QCOMPARE(driveTypeOf(link + QStringLiteral("/gone/")), DriveType::RamDisk);
}

// Catches subdirectories, dot-files or dangling links counted as files, and a link to a file
// not counted.
void tst_DriveType::holdsFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString base = dir.path() + QStringLiteral("/");
    QVERIFY(QDir().mkpath(base + QStringLiteral("subdirs/a/b")));
    testsupport::touch(base + QStringLiteral("subdirs/a/file.tap"));
    testsupport::touch(base + QStringLiteral("dotonly/.hidden"));
    QVERIFY(QDir().mkpath(base + QStringLiteral("dangling")));
    QVERIFY(QFile::link(base + QStringLiteral("nothing"), base + QStringLiteral("dangling/l")));
    testsupport::touch(base + QStringLiteral("target/real.tap"));
    QVERIFY(QDir().mkpath(base + QStringLiteral("linked")));
    QVERIFY(QFile::link(base + QStringLiteral("target/real.tap"),
                        base + QStringLiteral("linked/l.tap")));

    QVERIFY(!directoryHoldsFiles(base + QStringLiteral("subdirs/")));
    QVERIFY(!directoryHoldsFiles(base + QStringLiteral("dotonly/")));
    QVERIFY(!directoryHoldsFiles(base + QStringLiteral("dangling/")));
    QVERIFY(!directoryHoldsFiles(base + QStringLiteral("missing/")));
    QVERIFY(!directoryHoldsFiles(QString()));
    QVERIFY(directoryHoldsFiles(base + QStringLiteral("subdirs/a/")));
    QVERIFY(directoryHoldsFiles(base + QStringLiteral("subdirs/a")));
    QVERIFY(directoryHoldsFiles(base + QStringLiteral("linked/")));
}

// Catches an error reported for a readable directory, and a made-up text instead of the
// system's.
void tst_DriveType::readError()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    testsupport::touch(dir.filePath(QStringLiteral("file")));
    QCOMPARE(directoryReadError(dir.path()), QString());
    QCOMPARE(directoryReadError(QStringLiteral("/")), QString());
    QCOMPARE(directoryReadError(dir.filePath(QStringLiteral("gone"))),
             QString::fromLocal8Bit(std::strerror(ENOENT)));
    QCOMPARE(directoryReadError(dir.filePath(QStringLiteral("file"))),
             QString::fromLocal8Bit(std::strerror(ENOTDIR)));
}

// Catches kernel, snap, boot and memory mounts offered as drives, removable or network
// mounts left out, and the home directory offered twice.
void tst_DriveType::drivesOffered()
{
    const QList<MountEntry> mounts =
        parseMountTable("/dev/sda2 / ext4 rw 0 0\n"
                        "proc /proc proc rw 0 0\n"
                        "sysfs /sys sysfs rw 0 0\n"
                        "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                        "devtmpfs /dev devtmpfs rw 0 0\n"
                        "tmpfs /dev/shm tmpfs rw 0 0\n"
                        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
                        "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
                        "/dev/loop3 /snap/core/123 squashfs ro 0 0\n"
                        "/dev/sda1 /boot/efi vfat rw 0 0\n"
                        "/dev/sdb1 /run/media/u/STICK vfat rw 0 0\n"
                        "/dev/sr0 /media/u/CD iso9660 ro 0 0\n"
                        "server:/export /mnt/nfs nfs4 rw 0 0\n"
                        "/dev/sdc1 /data ext4 rw 0 0\n"
                        "/dev/sda3 /home ext4 rw 0 0\n"
                        "tmpfs /tmp tmpfs rw 0 0\n");
    const QStringList expected{"/",        "/home/u",           "/data", "/home", "/media/u/CD",
                               "/mnt/nfs", "/run/media/u/STICK"};
    QCOMPARE(userDrives(mounts, QStringLiteral("/home/u")), expected);
    QCOMPARE(userDrives(mounts, QStringLiteral("/data/")).first(3),
             (QStringList{"/", "/data", "/home"}));
    QCOMPARE(userDrives({}, QString()), QStringList{"/"});
}

void tst_DriveType::driveHolding_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("index");
    // The deepest drive wins, by whole components; nothing holds a relative path.
    QTest::newRow("home") << "/home/u/games" << 1;
    QTest::newRow("deeper") << "/home/u/media/x/" << 2;
    QTest::newRow("home itself") << "/home/u" << 1;
    QTest::newRow("similar name") << "/home/uu" << 0;
    QTest::newRow("root") << "/etc" << 0;
    QTest::newRow("relative") << "games" << -1;
}

void tst_DriveType::driveHolding()
{
    QFETCH(QString, directory);
    QFETCH(int, index);
    const QStringList drives{"/", "/home/u/", "/home/u/media"};
    QCOMPARE(indexOfDriveHolding(drives, directory), qsizetype(index));
}

QTEST_GUILESS_MAIN(tst_DriveType)
#include "tst_drive_type.moc"
