// The owner of this copy: the name and address asked for at the first start
// and kept in "HkOwner.Ini", shown by the greeting windows and the reports.
// The name is given once; the address can be changed later.
#pragma once

#include "platform/windows/procedure.h"

#include <string_view>

namespace hk
{

inline constexpr std::string_view OwnerSettingsFile = "HkOwner.Ini";
inline constexpr std::string_view OwnerSection = "HkOwner";

// Reads "OwnerName" and "OwnerAddress" into OwnerName and OwnerAddress;
// missing keys read as blank.
void readOwnerDetails();

// The first-start dialog: asks for the name and the address and stores both
// once both are given. Closed otherwise, it stores nothing, and the globals
// keep what was typed.
class OwnerDetails : public Procedure
{
  public:
    OwnerDetails();

  protected:
    QCoro::Task<> run() override;
};

// Changes the stored address. Leaving without "Ok" puts the stored address
// back into OwnerAddress.
class EditOwnerAddress : public Procedure
{
  public:
    EditOwnerAddress();

  protected:
    QCoro::Task<> run() override;
};

} // namespace hk
