#include "forms/ditto.h"

#include "dictionary/tables.h"

#include <map>
#include <string>
#include <vector>

namespace hk
{

namespace
{

std::map<std::string, std::vector<unsigned char>> &history()
{
    static std::map<std::string, std::vector<unsigned char>> records;
    return records;
}

} // namespace

void keepAttempt(const FormDef &form, const void *record)
{
    auto &kept = history()[form.name];
    kept.resize(tableDef(form.table).recordSize);
    tableDef(form.table).copy(kept.data(), record);
}

const void *lastAttempt(const FormDef &form)
{
    auto it = history().find(form.name);
    return it == history().end() ? nullptr : it->second.data();
}

} // namespace hk
