// The checks and the running total of an update form, on any record of the
// form's table: the form engine applies them to what the user typed, the CSV
// import to each row of a file, so both refuse and total alike.
#pragma once

#include "dictionary/tables.h"
#include "forms/formdef.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hk
{

class Table;

// The field a form names by its label; an unknown one is a programming error
// (std::logic_error).
FieldRef fieldNamed(const std::string &label);

// The first of the form's required checks that the record fails, or -1.
int failingRequired(const FormDef &def, const void *record);

// What the form says when the record's value of its duplicate check is
// taken: "The Location: Kitchen already exists !".
std::string duplicateMessage(const DuplicateCheck &check, const void *record);

// A running total that a change would carry past what its field holds.
struct TotalPastMaximum {
    std::string total;   // "HKV:INVENTORYITEMS"
    std::int64_t amount; // hundredths it would come to
    std::int64_t most;   // hundredths it holds at most (its least is -most)
    // "25,500,000.00, past its maximum of 9,999,999.99"
    std::string amountAndMaximum() const;
};

// Whether adding delta to the total standing at `now` carries it past its
// field's digits.
std::optional<TotalPastMaximum> totalPastMaximum(const RunningTotal &total, std::int64_t now,
                                                 std::int64_t delta);

// The total as its first record in `totals` holds it now (0 when there is
// none yet); lastError() says why when it cannot be read.
std::optional<std::int64_t> runningTotalNow(Table &totals, const RunningTotal &total);

// Adds delta to the form's running total in the first record of `totals`
// (HearthkpValue on some station), inside the transaction the caller has
// begun. Refused, changing nothing, when the total would exceed its digits:
// lastError() then names the total, its maximum and the amount.
int addToRunningTotal(Table &totals, const RunningTotal &total, std::int64_t delta);

} // namespace hk
