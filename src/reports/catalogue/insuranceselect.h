// The selection window of the insurance inventory: all locations, or the one
// chosen from the list of locations. It answers 1 with the choice in the
// ItemsRooms buffer (its identifier 0 for all of them), or 2 when closed.
#pragma once

#include "platform/windows/procedure.h"

#include <memory>

namespace hk
{

class InsuranceSelect : public Procedure
{
  public:
    InsuranceSelect();
    // Control numbers.
    static constexpr int AllChoice = 2, OneChoice = 3, Locations = 4, PrintButton = 5,
                         CancelButton = 6, HelpButton = 7, Choice = 1;

  protected:
    QCoro::Task<> run() override;
};

std::unique_ptr<Procedure> rptSelectInsurance();

} // namespace hk
