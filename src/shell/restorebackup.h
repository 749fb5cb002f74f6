// RestoreBackup: File > "Restore &Backup…". Puts a backup made by Data
// Backup back in place of the data file, only while no other window is open,
// after checking the backup and asking the user; the data file as it was is
// kept beside it as "Hearthkp.Tps.before-restore". The frame calls it and
// waits, so no window can open meanwhile.
#pragma once

#include "platform/windows/procedure.h"

namespace hk
{

class RestoreBackup : public Procedure
{
  public:
    RestoreBackup();
    static constexpr const char *kKeptSuffix = ".before-restore";
    // Removes the copies of the data file that restores cut off by the end
    // of their station left beside it; the program does so as it starts.
    static void removeLeftovers();

  protected:
    QCoro::Task<> run() override;
};

} // namespace hk
