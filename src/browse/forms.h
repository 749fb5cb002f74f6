// The one way a list reaches the update form of its table. Forms enter
// themselves here as they are built; a list whose table has none shows its
// Insert, Change and Delete disabled.
#pragma once

#include "dictionary/tabledef.h"
#include "platform/windows/procedure.h"

namespace hk
{

// Sets (or with an empty factory removes) the form that updates `table`.
void setFormProcedure(TableId table, ProcedureFactory form);
// The form of `table`; empty when it has none.
ProcedureFactory formProcedure(TableId table);

} // namespace hk
