#include "LocalVolumes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>

#include <algorithm>

namespace orvane::ftp {

namespace {

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

// /sys/class/block/<dev>/removable, or the disk's for a partition.
bool isRemovableDevice(const QByteArray& device)
{
    if (!device.startsWith("/dev/"))
        return false;
    const QString name = QFileInfo(QString::fromLocal8Bit(device)).canonicalFilePath().section(
        QLatin1Char('/'), -1);
    const QString sysDir =
        QFileInfo(QStringLiteral("/sys/class/block/") + name).canonicalFilePath();
    if (name.isEmpty() || sysDir.isEmpty())
        return false;
    for (const QString& dir : {sysDir, QFileInfo(sysDir).path()}) {
        QFile flag(dir + QStringLiteral("/removable"));
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
    }
    return false;
}

}  // namespace

int driveTypeOf(const QByteArray& fsType, bool removableDevice)
{
    static const QList<QByteArray> ram{"tmpfs", "ramfs"};
    static const QList<QByteArray> optical{"iso9660", "udf"};
    static const QList<QByteArray> network{"nfs", "nfs4", "cifs", "smb3", "smbfs", "sshfs",
                                           "fuse.sshfs", "9p", "afs", "ceph", "glusterfs",
                                           "fuse.glusterfs", "davfs", "fuse.rclone"};
    if (ram.contains(fsType))
        return RamDisk;
    if (optical.contains(fsType))
        return Optical;
    if (network.contains(fsType))
        return Network;
    return removableDevice ? Removable : Fixed;
}

bool isPseudoFileSystem(const QByteArray& fsType)
{
    static const QList<QByteArray> pseudo{
        "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "mqueue", "securityfs",
        "debugfs", "tracefs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs",
        "binfmt_misc", "autofs", "efivarfs", "nsfs", "rpc_pipefs", "selinuxfs", "squashfs"};
    return pseudo.contains(fsType);
}

void orderDrives(QList<LocalDrive>& drives)
{
    std::stable_sort(drives.begin(), drives.end(), [](const LocalDrive& a, const LocalDrive& b) {
        const bool aRoot = a.key == QLatin1String("/");
        const bool bRoot = b.key == QLatin1String("/");
        if (aRoot != bRoot)
            return aRoot;
        return a.key < b.key;
    });
}

QString driveKeyOf(const QString& key, const QStringList& driveKeys)
{
    QString best;
    for (const QString& drive : driveKeys) {
        if (key.startsWith(drive) && drive.size() > best.size())
            best = drive;
    }
    return best;
}

LocalFileSystem::LocalFileSystem()
{
    QHash<QString, qsizetype> byKey;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (isPseudoFileSystem(volume.fileSystemType()) || !QFileInfo(root).isDir()
            || root.startsWith(QLatin1String("/dev/")) || root.startsWith(QLatin1String("/sys/"))
            || root.startsWith(QLatin1String("/proc/")))
            continue;
        const QString key = withSlash(root);
        LocalDrive drive;
        drive.key = key;
        drive.text = root;
        drive.type = driveTypeOf(volume.fileSystemType(), isRemovableDevice(volume.device()));
        drive.ready = volume.isValid() && volume.isReady() && QFileInfo(root).isReadable();
        // A volume mounted over another hides it: the one mounted last is seen.
        if (const auto at = byKey.constFind(key); at != byKey.cend()) {
            m_drives[*at] = drive;
        } else {
            byKey.insert(key, m_drives.size());
            m_drives << drive;
        }
    }
    orderDrives(m_drives);
}

bool LocalFileSystem::isDriveReady(const QString& key) const
{
    QStringList keys;
    for (const LocalDrive& d : m_drives)
        keys << d.key;
    const QString drive = driveKeyOf(key, keys);
    for (const LocalDrive& d : m_drives) {
        if (d.key == drive)
            return QStorageInfo(d.text).isReady() && QFileInfo(d.text).isReadable();
    }
    return false;
}

QList<LocalFolder> LocalFileSystem::subFolders(const QString& folderKey) const
{
    QList<LocalFolder> out;
    const QDir dir(folderKey);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    for (const QFileInfo& entry : entries)
        out.append({entry.absoluteFilePath(), entry.fileName()});
    return out;
}

}  // namespace orvane::ftp
