// RestoreDefault: deletes the window settings file, so that every window
// opened afterwards comes up at its designed place. Windows already open keep
// theirs and write a new file when they close.
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
