#include "forms/ditto.h"

#include "dictionary/tables.h"

#include <cstring>
#include <map>
#include <vector>

namespace hk
{

namespace
{

// One record per form kind, as long as the program runs; only the forms
// with a ditto key reach it.
std::vector<unsigned char> &historyOf(const FormDef &form)
{
    static std::map<std::string, std::vector<unsigned char>> history;
    auto &record = history[form.name];
    if (record.empty()) {
        record.resize(tableDef(form.table).recordSize);
        tableDef(form.table).clear(record.data());
    }
    return record;
}

} // namespace

void keepAttempt(const FormDef &form, const void *record)
{
    tableDef(form.table).copy(historyOf(form).data(), record);
}

const void *lastAttempt(const FormDef &form)
{
    return historyOf(form).data();
}

} // namespace hk
