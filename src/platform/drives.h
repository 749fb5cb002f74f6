// Drives as the backup names them. On this system a drive letter stands for
// a folder: "A:" is the one removable medium mounted under the user's media
// folder (/media/$USER/… or /run/media/$USER/…) when exactly one is, and
// otherwise the folder "Hearthkeep Backup" in the user's home, made on first
// use. An entry "A=" in section "Drives" of "HEARTHKP.INI" names another
// folder. Sizes come from the file system that holds the folder.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hk
{

struct DiskSpace {
    std::int64_t size = 0; // bytes the file system holds in all
    std::int64_t free = 0; // bytes an ordinary user may still write
};

class DriveService
{
  public:
    virtual ~DriveService() = default;
    // The folder that stands for the drive ("A"); empty when there is none
    // (it cannot be made, say).
    virtual QString folder(const std::string &drive) = 0;
    // Size and free space of the file system holding the folder; nothing
    // when it cannot be asked.
    virtual std::optional<DiskSpace> space(const QString &folder) = 0;
};

// The service in use: the real one until another is set; nullptr goes back
// to it. The caller keeps ownership of what it sets.
DriveService &driveService();
void setDriveService(DriveService *service);

// The real drives.
class SystemDrives : public DriveService
{
  public:
    QString folder(const std::string &drive) override;
    std::optional<DiskSpace> space(const QString &folder) override;

    // Mount points under the user's media folders, from a mount table in the
    // format of /proc/self/mounts.
    static std::vector<QString> removableMedia(const std::string &mountTable, const QString &user);
};

} // namespace hk
