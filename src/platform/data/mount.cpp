#include "platform/data/mount.h"

#include <filesystem>
#include <sys/vfs.h>

namespace hk
{

namespace
{

// Magic numbers of the file systems that reach another computer (statfs(2)).
constexpr unsigned long kNetworkTypes[] = {
    0x6969,     // NFS
    0x517B,     // SMB
    0xFE534D42, // SMB2
    0xFF534D42, // CIFS
    0x65735546, // FUSE (sshfs and the like)
    0x5346414F, // AFS
    0x00C36400, // Ceph
    0x01021997, // 9P
    0x73757245, // Coda
};

} // namespace

Mount mountOf(const std::string &path)
{
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    struct statfs info;
    // A folder that cannot be asked is reported where the file is opened.
    if (::statfs(folder.c_str(), &info) != 0) return Mount::Local;
    const auto type = static_cast<unsigned long>(info.f_type) & 0xFFFFFFFFUL;
    for (unsigned long network : kNetworkTypes)
        if (type == network) return Mount::Network;
    return Mount::Local;
}

} // namespace hk
