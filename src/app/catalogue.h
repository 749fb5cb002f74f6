// The procedures the frame can start or call, by name. A menu entry or
// toolbar button whose procedure is not listed here is shown disabled; each
// procedure joins the list when it is built.
#pragma once

#include "platform/windows/procedure.h"

namespace hk
{

ProcedureCatalogue programProcedures();

} // namespace hk
