// Temporary files that a copy writes beside its target, named after the
// station writing them ("Hearthkp.Tps.<pid>.<started>.<host>.new"), so that
// the files of a station that has gone (killed in the middle of a backup or
// a restore) can be told from those of one still writing, even on a folder
// that several machines share, and removed before they fill the disk.
#pragma once

#include <string>

namespace hk
{

// path + "." + this station + suffix.
std::string stationFileName(const std::string &path, const char *suffix);

// Removes the files named path + "." + station + suffix (also the earlier
// path + "." + pid + suffix) whose stations run no more. Returns how many
// were removed.
int removeLeftovers(const std::string &path, const char *suffix);

} // namespace hk
