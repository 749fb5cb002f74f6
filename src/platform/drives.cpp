#include "platform/drives.h"

#include "platform/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/statvfs.h>
#include <unistd.h>

namespace hk
{

namespace
{

DriveService *gService = nullptr;

// A mount table writes blanks and other awkward characters as \ooo.
QString unescapeMountPath(const std::string &field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string octal = field.substr(i + 1, 3);
            if (octal.size() == 3 && octal.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::stoi(octal, nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QString::fromStdString(out);
}

QString userName()
{
    if (const passwd *pw = getpwuid(geteuid()); pw && pw->pw_name)
        return QString::fromUtf8(pw->pw_name);
    return qEnvironmentVariable("USER");
}

} // namespace

DriveService &driveService()
{
    static SystemDrives system;
    return gService ? *gService : system;
}

void setDriveService(DriveService *service)
{
    gService = service;
}

std::vector<QString> SystemDrives::removableMedia(const std::string &mountTable,
                                                  const QString &user)
{
    std::vector<QString> found;
    const QString media = QStringLiteral("/media/") + user + u'/';
    const QString runMedia = QStringLiteral("/run/media/") + user + u'/';
    std::istringstream lines(mountTable);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string device, point;
        if (!(fields >> device >> point)) continue;
        const QString path = unescapeMountPath(point);
        if ((path.startsWith(media) && path.size() > media.size()) ||
            (path.startsWith(runMedia) && path.size() > runMedia.size()))
            found.push_back(path);
    }
    return found;
}

QString SystemDrives::folder(const std::string &drive)
{
    const std::string configured = settingsService().read("HEARTHKP.INI", "Drives", drive, {});
    if (!configured.empty()) return QString::fromStdString(configured);
    if (drive != "A") return {};
    std::ifstream in("/proc/self/mounts");
    std::stringstream table;
    table << in.rdbuf();
    const std::vector<QString> media = removableMedia(table.str(), userName());
    if (media.size() == 1) return media.front();
    const QString home = QDir::homePath() + QStringLiteral("/Hearthkeep Backup");
    return QDir().mkpath(home) ? home : QString();
}

std::optional<DiskSpace> SystemDrives::space(const QString &folder)
{
    struct statvfs fs;
    if (folder.isEmpty() || statvfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return std::nullopt;
    const auto unit = static_cast<std::int64_t>(fs.f_frsize);
    return DiskSpace{static_cast<std::int64_t>(fs.f_blocks) * unit,
                     static_cast<std::int64_t>(fs.f_bavail) * unit};
}

} // namespace hk
