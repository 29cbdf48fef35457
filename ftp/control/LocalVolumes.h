#pragma once
// The local pane's file-system object: the mounted volumes as "drives" and the
// folders on them. Drive keys are mount points ending in "/" ("/" first, as it
// is the volume the pane opens on); folder keys are full paths ending in "/".

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvane::ftp {

// Drive type numbers, used directly as image indexes.
enum DriveType : int { Removable = 1, Fixed = 2, Network = 3, Optical = 4, RamDisk = 5 };

struct LocalDrive {
    QString key;    // mount point ending in "/"
    QString text;   // mount point as shown in the tree
    int type = Fixed;
    bool ready = true;
};

struct LocalFolder {
    QString path;   // full path, no trailing "/" (except for "/")
    QString name;
};

// The drive type of a volume from its file-system type and whether its block
// device is removable.
int driveTypeOf(const QByteArray& fsType, bool removableDevice);

// Whether a mount of this file-system type is a kernel or container
// pseudo file system rather than storage a user browses.
bool isPseudoFileSystem(const QByteArray& fsType);

// "/" first, then the others by mount point.
void orderDrives(QList<LocalDrive>& drives);

// The key of the drive holding the local key `key` (the longest drive key it
// starts with), or an empty string.
QString driveKeyOf(const QString& key, const QStringList& driveKeys);

class LocalFileSystem {
public:
    // Reads the mounted volumes once.
    LocalFileSystem();

    const QList<LocalDrive>& Drives() const { return m_drives; }
    // Whether the volume holding the key can be read now.
    bool isDriveReady(const QString& key) const;
    // The folder's readable subfolders by name; hidden ones left out.
    QList<LocalFolder> subFolders(const QString& folderKey) const;

private:
    QList<LocalDrive> m_drives;
};

}  // namespace orvane::ftp
