#include "reports/recordsource.h"

#include "platform/data/fileerror.h"
#include "platform/data/table.h"

namespace hk
{

ViewSource::ViewSource(Table &table, KeyId order) : table_(table), view_(table, order) {}

long long ViewSource::records() const
{
    return table_.records();
}

NestedSource::NestedSource(Table &parent, KeyId parentOrder, Table &child, KeyId childKey,
                           std::function<std::int64_t()> parentId, bool keepChildless)
    : childTable_(child), parent_(parent, parentOrder), child_(child, childKey),
      parentId_(std::move(parentId)), keepChildless_(keepChildless)
{
}

long long NestedSource::records() const
{
    return childTable_.records();
}

int NestedSource::open()
{
    childOpen_ = false;
    return parent_.open();
}

int NestedSource::next()
{
    for (;;) {
        if (childOpen_) {
            const int code = child_.next();
            if (code != NoMoreRecords) {
                childSeen_ = true;
                return code;
            }
            childOpen_ = false;
            if (keepChildless_ && !childSeen_) {
                childTable_.def().clear(childTable_.buffer());
                return NoError;
            }
        }
        if (const int code = parent_.next(); code != NoError) return code;
        child_.range({Value{parentId_()}});
        if (const int code = child_.open(); code != NoError) return code;
        childOpen_ = true;
        childSeen_ = false;
    }
}

} // namespace hk
