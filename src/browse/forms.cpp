#include "browse/forms.h"

#include <map>

namespace hk
{

namespace
{
std::map<TableId, ProcedureFactory> &forms()
{
    static std::map<TableId, ProcedureFactory> byTable;
    return byTable;
}
} // namespace

void setFormProcedure(TableId table, ProcedureFactory form)
{
    if (form)
        forms()[table] = std::move(form);
    else
        forms().erase(table);
}

ProcedureFactory formProcedure(TableId table)
{
    auto it = forms().find(table);
    return it == forms().end() ? ProcedureFactory() : it->second;
}

} // namespace hk
