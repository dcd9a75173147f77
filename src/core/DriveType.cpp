#include "core/DriveType.h"

#include "core/FileLookup.h"
#include "core/PathText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <dirent.h>
#endif

namespace {

const QString kMountTablePath = QStringLiteral("/proc/self/mounts");

// File systems whose files live on another machine. FUSE mounts name their driver after "fuse.".
const QStringList kRemoteTypes = {
    QStringLiteral("nfs"),
    QStringLiteral("nfs4"),
    QStringLiteral("cifs"),
    QStringLiteral("smb3"),
    QStringLiteral("smbfs"),
    QStringLiteral("ncpfs"),
    QStringLiteral("9p"),
    QStringLiteral("afs"),
    QStringLiteral("ceph"),
    QStringLiteral("glusterfs"),
    QStringLiteral("lustre"),
    QStringLiteral("coda"),
    QStringLiteral("davfs"),
    QStringLiteral("sshfs"),
    QStringLiteral("fuse.sshfs"),
    QStringLiteral("fuse.rclone"),
    QStringLiteral("fuse.s3fs"),
    QStringLiteral("fuse.curlftpfs"),
    QStringLiteral("fuse.glusterfs"),
    QStringLiteral("fuse.davfs2"),
};
const QStringList kOpticalTypes = {QStringLiteral("iso9660"), QStringLiteral("udf")};
const QStringList kMemoryTypes = {QStringLiteral("tmpfs"), QStringLiteral("ramfs")};

// Kernel and desktop bookkeeping: nothing a user keeps games on.
const QStringList kPseudoTypes = {
    QStringLiteral("autofs"),      QStringLiteral("binfmt_misc"), QStringLiteral("bpf"),
    QStringLiteral("cgroup"),      QStringLiteral("cgroup2"),     QStringLiteral("configfs"),
    QStringLiteral("debugfs"),     QStringLiteral("devpts"),      QStringLiteral("devtmpfs"),
    QStringLiteral("efivarfs"),    QStringLiteral("fusectl"),     QStringLiteral("hugetlbfs"),
    QStringLiteral("mqueue"),      QStringLiteral("nsfs"),        QStringLiteral("proc"),
    QStringLiteral("pstore"),      QStringLiteral("ramfs"),       QStringLiteral("rpc_pipefs"),
    QStringLiteral("securityfs"),  QStringLiteral("selinuxfs"),   QStringLiteral("squashfs"),
    QStringLiteral("sysfs"),       QStringLiteral("tmpfs"),       QStringLiteral("tracefs"),
    QStringLiteral("overlay"),     QStringLiteral("nfsd"),        QStringLiteral("fuse.gvfsd-fuse"),
    QStringLiteral("fuse.portal"), QStringLiteral("fuse.lxcfs"),  QStringLiteral("fuse.snapfuse"),
};
const QStringList kSystemDirs = {
    QStringLiteral("/proc"), QStringLiteral("/sys"),  QStringLiteral("/dev"),
    QStringLiteral("/run"),  QStringLiteral("/snap"), QStringLiteral("/boot"),
};

bool isUnder(const QString &path, const QString &mountPoint)
{
    if (mountPoint == u"/")
        return path.startsWith(u'/');
    return path == mountPoint || path.startsWith(mountPoint + u'/');
}

bool isUnderAny(const QString &path, const QStringList &dirs)
{
    return std::any_of(dirs.begin(), dirs.end(),
                       [&](const QString &dir) { return isUnder(path, dir); });
}

bool isMediaMount(const QString &mountPoint)
{
    return isUnder(mountPoint, QStringLiteral("/media")) ||
           isUnder(mountPoint, QStringLiteral("/run/media"));
}

// The mount table escapes blanks, tabs, new lines and backslashes as \ooo.
QByteArray decodeOctalEscapes(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        const auto isOctal = [&](qsizetype at) {
            return at < field.size() && field.at(at) >= '0' && field.at(at) <= '7';
        };
        if (c == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            const int value = (field.at(i + 1) - '0') * 64 + (field.at(i + 2) - '0') * 8 +
                              (field.at(i + 3) - '0');
            out.append(char(value & 0xFF));
            i += 3;
        } else {
            out.append(c);
        }
    }
    return out;
}

bool hasDriveLetter(const QString &path)
{
    return path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() &&
           path.at(0).unicode() < 128;
}

// `directory` with the links of its existing part followed, so /home through a link to /data
// is classified by /data's mount. The part that does not exist is kept as written.
QString resolveExistingPart(const QString &directory)
{
    QString path = QDir::cleanPath(directory);
    QString rest;
    for (;;) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty())
            return QDir::cleanPath(canonical + rest);
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0 || path == u"/")
            return QDir::cleanPath(directory);
        rest = path.mid(slash) + rest;
        path = slash == 0 ? QStringLiteral("/") : path.left(slash);
    }
}

} // namespace

QList<MountEntry> parseMountTable(const QByteArray &text)
{
    QList<MountEntry> mounts;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || fields.at(0).isEmpty())
            continue;
        mounts.append({QFile::decodeName(decodeOctalEscapes(fields.at(0))),
                       QFile::decodeName(decodeOctalEscapes(fields.at(1))),
                       QString::fromLatin1(fields.at(2)).toLower()});
    }
    return mounts;
}

DriveType classifyDrive(const QString &directory, const QList<MountEntry> &mounts,
                        const RemovableQuery &isRemovable)
{
    if (hasDriveLetter(directory) || !directory.startsWith(u'/'))
        return DriveType::NoRootDir;
    const QString path = QDir::cleanPath(directory);
    const MountEntry *holder = nullptr;
    qsizetype holderLength = -1;
    for (const MountEntry &mount : mounts) {
        const QString mountPoint = QDir::cleanPath(mount.mountPoint);
        if (!mountPoint.startsWith(u'/') || !isUnder(path, mountPoint))
            continue;
        if (mountPoint.size() >= holderLength) {
            holder = &mount;
            holderLength = mountPoint.size();
        }
    }
    if (!holder)
        return DriveType::Unknown;
    const QString &type = holder->type;
    if (kRemoteTypes.contains(type))
        return DriveType::Remote;
    if (kOpticalTypes.contains(type))
        return DriveType::CdRom;
    if (kMemoryTypes.contains(type))
        return DriveType::RamDisk;
    if (isMediaMount(QDir::cleanPath(holder->mountPoint)))
        return DriveType::Removable;
    if (holder->device.startsWith(QStringLiteral("/dev/")) && isRemovable &&
        isRemovable(holder->device))
        return DriveType::Removable;
    return DriveType::Fixed;
}

QList<MountEntry> currentMountTable()
{
    QFile file(kMountTablePath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseMountTable(file.readAll());
}

bool isRemovableDevice(const QString &device)
{
    if (!device.startsWith(QStringLiteral("/dev/")))
        return false;
    // /dev/disk/by-uuid/... and /dev/mapper/... are links to the kernel's name.
    QString node = QFileInfo(device).canonicalFilePath();
    if (node.isEmpty())
        node = device;
    QString sysDir = QFileInfo(QStringLiteral("/sys/class/block/") + QFileInfo(node).fileName())
                         .canonicalFilePath();
    if (sysDir.isEmpty())
        return false;
    if (QFileInfo::exists(sysDir + QStringLiteral("/partition")))
        sysDir = QFileInfo(sysDir).path();
    QFile flag(sysDir + QStringLiteral("/removable"));
    if (!flag.open(QIODevice::ReadOnly))
        return false;
    return flag.readAll().trimmed() == "1";
}

#ifdef Q_OS_WIN
DriveType driveTypeOf(const QString &directory)
{
    // The drive designator: the letter and the colon.
    const QString root = directory.left(2) + u'\\';
    const UINT type = GetDriveTypeW(reinterpret_cast<const wchar_t *>(root.utf16()));
    return type <= 6 ? DriveType(type) : DriveType::Unknown;
}
#else
DriveType driveTypeOf(const QString &directory)
{
    if (hasDriveLetter(directory) || !directory.startsWith(u'/'))
        return DriveType::NoRootDir;
    return classifyDrive(resolveExistingPart(directory), currentMountTable(), isRemovableDevice);
}
#endif

QString driveIconKey(DriveType type, bool holdsFiles)
{
    switch (type) {
    case DriveType::NoRootDir:
        return QStringLiteral("notmapped");
    case DriveType::Removable:
        return holdsFiles ? QStringLiteral("removable") : QStringLiteral("removablex");
    case DriveType::Fixed:
        return holdsFiles ? QStringLiteral("fixed") : QStringLiteral("fixedx");
    case DriveType::Remote:
        return holdsFiles ? QStringLiteral("network") : QStringLiteral("notmapped");
    case DriveType::CdRom:
        return holdsFiles ? QStringLiteral("cd") : QStringLiteral("cdx");
    case DriveType::RamDisk:
        return holdsFiles ? QStringLiteral("ram") : QStringLiteral("ramx");
    case DriveType::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

const QStringList &driveIconKeys()
{
    static const QStringList keys = {
        QStringLiteral("unknown"), QStringLiteral("notmapped"),  QStringLiteral("removable"),
        QStringLiteral("fixed"),   QStringLiteral("cd"),         QStringLiteral("network"),
        QStringLiteral("ram"),     QStringLiteral("removablex"), QStringLiteral("fixedx"),
        QStringLiteral("cdx"),     QStringLiteral("ramx"),
    };
    return keys;
}

bool directoryHoldsFiles(const QString &directory)
{
    if (directory.isEmpty())
        return false;
    QString dir = directory;
    if (!endsWithSeparator(dir))
        dir += nativeSeparator();
    return FileExists(dir + u'*');
}

QString directoryReadError(const QString &directory)
{
    const QString path = toFileSystemPath(directory);
#ifdef Q_OS_WIN
    if (!QFileInfo(path).isDir())
        return QStringLiteral("The system cannot find the path specified.");
    if (!QDir(path).isReadable())
        return QStringLiteral("Access is denied.");
    return {};
#else
    const QByteArray native = QFile::encodeName(path);
    DIR *dir = ::opendir(native.constData());
    if (!dir)
        return QString::fromLocal8Bit(std::strerror(errno));
    ::closedir(dir);
    return {};
#endif
}

QStringList userDrives(const QList<MountEntry> &mounts, const QString &home)
{
    QStringList drives{QStringLiteral("/")};
    const auto add = [&](const QString &path) {
        const QString clean = QDir::cleanPath(path);
        if (!drives.contains(clean))
            drives.append(clean);
    };
    if (home.startsWith(u'/'))
        add(home);
    QStringList others;
    for (const MountEntry &mount : mounts) {
        const QString mountPoint = QDir::cleanPath(mount.mountPoint);
        if (!mountPoint.startsWith(u'/') || kPseudoTypes.contains(mount.type))
            continue;
        if (isUnderAny(mountPoint, kSystemDirs) &&
            !isUnder(mountPoint, QStringLiteral("/run/media")))
            continue;
        if (kRemoteTypes.contains(mount.type) || kOpticalTypes.contains(mount.type) ||
            mount.device.startsWith(QStringLiteral("/dev/")) || isMediaMount(mountPoint) ||
            isUnder(mountPoint, QStringLiteral("/mnt")))
            others.append(mountPoint);
    }
    others.sort();
    for (const QString &mountPoint : std::as_const(others))
        add(mountPoint);
    return drives;
}

QStringList mountedUserDrives()
{
#ifdef Q_OS_WIN
    QStringList drives;
    for (const QFileInfo &drive : QDir::drives())
        drives.append(drive.absoluteFilePath());
    return drives;
#else
    return userDrives(currentMountTable(), QDir::homePath());
#endif
}

qsizetype indexOfDriveHolding(const QStringList &drives, const QString &directory)
{
    const QString path = QDir::cleanPath(directory);
    qsizetype best = -1;
    qsizetype bestLength = -1;
    for (qsizetype i = 0; i < drives.size(); ++i) {
        const QString drive = QDir::cleanPath(drives.at(i));
        if (isUnder(path, drive) && drive.size() > bestLength) {
            best = i;
            bestLength = drive.size();
        }
    }
    return best;
}
