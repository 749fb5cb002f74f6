// RestoreDefault: deletes the window placements from the window settings
// file, so that every window opened afterwards comes up at its designed
// place; the other settings there (the backup drive) stay. Windows already
// open keep theirs and write them again when they close.
#pragma once

#include "platform/windows/procedure.h"

namespace hk
{

class RestoreDefault : public Procedure
{
  public:
    RestoreDefault();

  protected:
    QCoro::Task<> run() override;
};

} // namespace hk
