// The ditto history: per form kind, the record its last completion tried to
// store, kept for the whole program run. After another station's version
// has replaced what the user typed, Ctrl+' brings a field's attempt back.
#pragma once

#include "forms/formdef.h"

namespace hk
{

// Keeps `record` (the form's whole record) as the kind's last attempt.
void keepAttempt(const FormDef &form, const void *record);
// The kind's last attempt; blank (zeroed) until one was kept.
const void *lastAttempt(const FormDef &form);

} // namespace hk
