#include "browse/lists/browses.h"
#include "browse/lists/magazines.h"
#include "dictionary/globals.h"

namespace hk
{

ProcedureFactory listProcedure(const QString &name)
{
    // Factories only: the windows they make share nothing through this map.
    static const ProcedureCatalogue lists = [] {
        ProcedureCatalogue all;
        addBrowses(all);
        addMagazineBrowses(all);
        return all;
    }();
    auto it = lists.find(name);
    return it == lists.end() ? ProcedureFactory() : it->second;
}

namespace
{
PickList &pickList()
{
    static PickList pick = [](Procedure &caller, const std::string &name) -> QCoro::Task<bool> {
        ProcedureFactory list = listProcedure(QString::fromStdString(name));
        if (!list) co_return false;
        GlobalRequest = SelectRecord;
        co_await caller.call(list());
        co_return GlobalResponse == RequestCompleted;
    };
    return pick;
}
} // namespace

void setPickList(PickList pick)
{
    pickList() = std::move(pick);
}

QCoro::Task<bool> pickFromList(Procedure &caller, const std::string &name)
{
    co_return co_await pickList()(caller, name);
}

} // namespace hk
