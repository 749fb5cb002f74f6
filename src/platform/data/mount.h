// Where a file lies: on this computer's own disk or on a network file system.
// SQLite's write-ahead log keeps its index in memory shared between the
// processes of one host, so over a network it cannot be trusted.
#pragma once

#include <functional>
#include <string>

namespace hk
{

enum class Mount { Local, Network };

// Tells for a file (which may not exist yet) what its folder is mounted on.
using MountProbe = std::function<Mount(const std::string &path)>;

// The system's answer (statfs). Every FUSE mount counts as a network one: the
// type does not say whether it is sshfs or a local disk, and the rollback
// journal is safe on both.
Mount mountOf(const std::string &path);

} // namespace hk
