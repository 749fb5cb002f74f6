// The ditto history: per form kind, the record its last completion tried to
// store, kept for the whole program run and shared by every form of the kind,
// so that Ctrl+' brings back what was typed last — after another station's
// version has replaced it, or in the next record of a series. Only ever read
// into a form the user sees before it is stored.
#pragma once

#include "forms/formdef.h"

namespace hk
{

// Keeps `record` (the form's whole record) as the kind's last attempt.
void keepAttempt(const FormDef &form, const void *record);
// The kind's last attempt, or null until one was kept.
const void *lastAttempt(const FormDef &form);

} // namespace hk
