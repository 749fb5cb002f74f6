// Drive A: as a folder: a single removable medium, an entry in the settings
// file, or a folder in the user's home made on first use.
#include "platform/drives.h"
#include "platform/settingsfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace hk;

TEST(DrivesTest, OnlyMediaMountedUnderTheUsersMediaFoldersCount)
{
    const std::string table = "/dev/sdb1 /media/alice/USB\\040STICK vfat rw 0 0\n"
                              "/dev/sda1 / ext4 rw 0 0\n"
                              "/dev/sdc1 /media/bob/Other vfat rw 0 0\n"
                              "tmpfs /media/alice tmpfs rw 0 0\n"
                              "/dev/sdd1 /run/media/alice/Card vfat rw 0 0\n";
    EXPECT_EQ(SystemDrives::removableMedia(table, "alice"),
              (std::vector<QString>{"/media/alice/USB STICK", "/run/media/alice/Card"}));
    EXPECT_TRUE(SystemDrives::removableMedia(table, "carol").empty());
}

TEST(DrivesTest, TheSettingsFileNamesTheFolderElseOneInTheHomeIsMade)
{
    QTemporaryDir home, config;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    setSettingsService(nullptr);

    std::ifstream in("/proc/self/mounts");
    std::stringstream mounts;
    mounts << in.rdbuf();
    const bool oneMedium =
        SystemDrives::removableMedia(mounts.str(), qEnvironmentVariable("USER")).size() == 1;
    SystemDrives drives;
    if (!oneMedium) {
        const QString made = home.path() + "/Hearthkeep Backup";
        EXPECT_EQ(drives.folder("A"), made);
        EXPECT_TRUE(QDir(made).exists());
    }
    settingsService().write("HEARTHKP.INI", "Drives", "A", "/srv/backups");
    EXPECT_EQ(drives.folder("A"), "/srv/backups");

    std::optional<DiskSpace> space = drives.space(home.path());
    ASSERT_TRUE(space.has_value());
    EXPECT_GT(space->size, 0);
    EXPECT_LE(space->free, space->size);
    EXPECT_FALSE(drives.space(home.path() + "/not there").has_value());

    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}
