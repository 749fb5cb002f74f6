#include "platform/data/view.h"

#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"

#include <stdexcept>

namespace hk
{

View::View(Table &main, KeyId order) : main_(main), cursor_(main.file(), main.def(), main.buffer())
{
    cursor_.setOrder(order.index);
}

View &View::join(Table &lookup, std::string_view mainFieldLabel)
{
    int field = main_.def().fieldIndex(mainFieldLabel);
    if (field < 0)
        throw std::logic_error("join field not in table: " + std::string(mainFieldLabel));
    lookups_.push_back(&lookup);
    joins_.push_back(Join{&lookup.def(), lookup.buffer(), field});
    cursor_.setJoins(joins_);
    return *this;
}

View &View::range(std::vector<Value> prefix)
{
    cursor_.setRange(std::move(prefix));
    return *this;
}

View &View::filter(std::string sql, std::vector<Value> params)
{
    filter_ = filter_.empty() ? "(" + sql + ")" : filter_ + " AND (" + sql + ")";
    for (Value &p : params)
        filterParams_.push_back(std::move(p));
    cursor_.setFilter(filter_, filterParams_);
    return *this;
}

std::string View::column(const Table &table, std::string_view fieldLabel, int join)
{
    int field = table.def().fieldIndex(fieldLabel);
    if (field < 0) throw std::logic_error("field not in table: " + std::string(fieldLabel));
    return Cursor::columnRef(table.def(), field, join);
}

int View::open()
{
    if (!main_.isOpen()) return setError(FileNotOpen, main_.storedName());
    for (Table *t : lookups_)
        if (!t->isOpen()) return setError(FileNotOpen, t->storedName());
    opened_ = true;
    cursor_.toStart();
    if (int code = cursor_.prepare(); code != NoError) {
        opened_ = false;
        return code;
    }
    return setError(NoError, main_.storedName());
}

int View::requireOpen()
{
    return opened_ ? NoError : setError(FileNotOpen, main_.storedName());
}

int View::next()
{
    return requireOpen() ? lastError().code : cursor_.next();
}

int View::previous()
{
    return requireOpen() ? lastError().code : cursor_.previous();
}

int View::fetch(bool forward, int n, const std::function<void()> &each)
{
    return requireOpen() ? lastError().code : cursor_.fetch(forward, n, each);
}

int View::reget(const Position &position)
{
    return requireOpen() ? lastError().code : cursor_.reget(position);
}

} // namespace hk
