#include "forms/formrules.h"

#include "dictionary/tables.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "platform/picture.h"

#include <sqlite3.h>

#include <stdexcept>

namespace hk
{

FieldRef fieldNamed(const std::string &label)
{
    FieldRef f = findField(label);
    if (!f) throw std::logic_error("form names an unknown field: " + label);
    return f;
}

int failingRequired(const FormDef &def, const void *record)
{
    for (std::size_t i = 0; i < def.required.size(); ++i) {
        const FieldDef &f = fieldNamed(def.required[i].field).def();
        const bool empty =
            f.isText() ? trimRight(field::text(f, record)).empty() : field::integer(f, record) == 0;
        if (empty) return static_cast<int>(i);
    }
    return -1;
}

std::string duplicateMessage(const DuplicateCheck &check, const void *record)
{
    const KeyDef &key = keyDef(check.key);
    const FieldDef &f = tableDef(check.key.table).fields[key.components.front()];
    const std::string value = f.isText() ? std::string(trimRight(field::text(f, record)))
                                         : std::to_string(field::integer(f, record));
    return check.prefix + value + " already exists !";
}

std::string TotalPastMaximum::amountAndMaximum() const
{
    const Picture shown = Picture::of("N16.2");
    return format(Hundredths{amount}, shown) + ", past its maximum of " +
           format(Hundredths{most}, shown);
}

std::optional<TotalPastMaximum> totalPastMaximum(const RunningTotal &total, std::int64_t now,
                                                 std::int64_t delta)
{
    const FieldDef &f = fieldNamed(total.totalField).def();
    const ValueRange range = valueRange(f);
    const std::int64_t amount = now + delta;
    if (range.holds(amount)) return std::nullopt;
    return TotalPastMaximum{total.totalField, amount, range.most};
}

std::optional<std::int64_t> runningTotalNow(Table &totals, const RunningTotal &total)
{
    totals.setByFileOrder();
    const int code = totals.next();
    if (code == NoMoreRecords) return 0;
    if (code != NoError) return std::nullopt;
    return field::integer(fieldNamed(total.totalField).def(), totals.buffer());
}

int addToRunningTotal(Table &totals, const RunningTotal &total, std::int64_t delta)
{
    if (delta == 0) return NoError;
    totals.setByFileOrder();
    totals.hold();
    int code = totals.next();
    if (code == NoMoreRecords) {
        totals.def().clear(totals.buffer());
        code = totals.add();
    }
    if (code != NoError) return code;
    const FieldDef &f = fieldNamed(total.totalField).def();
    const std::int64_t now = field::integer(f, totals.buffer());
    // The table's CHECK constraint would refuse it too, less clearly.
    if (const auto past = totalPastMaximum(total, now, delta))
        return setDriverError(FileSystemError, SQLITE_CONSTRAINT_CHECK,
                              past->total + " would come to " + past->amountAndMaximum(),
                              totals.storedName());
    field::setInteger(f, totals.buffer(), now + delta);
    return totals.put();
}

} // namespace hk
