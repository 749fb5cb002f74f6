#include "reports/recordsource.h"

#include "platform/data/fileerror.h"
#include "platform/data/table.h"

#include <cstring>

namespace hk
{

ViewSource::ViewSource(Table &table, KeyId order) : table_(table), view_(table, order) {}

long long ViewSource::records() const
{
    return table_.records();
}

// The record read again from its position: the first record at or after it.
static int readAt(View &view, const std::string &position)
{
    if (const int code = view.open(); code != NoError) return code;
    if (!view.reset(position)) return setError(RecordNotFound, "");
    return view.next();
}

int ViewSource::resume(const std::string &mark)
{
    return readAt(view_, mark);
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

// A flag (a child read, or a parent alone), the parent's position's length
// and the parent's position, then the child's.
std::string NestedSource::mark() const
{
    const std::string parent = parent_.position();
    std::string out(1, childOpen_ ? 'c' : 'p');
    const auto n = std::uint32_t(parent.size());
    out.append(reinterpret_cast<const char *>(&n), sizeof n);
    out += parent;
    if (childOpen_) out += child_.position();
    return out;
}

int NestedSource::resume(const std::string &mark)
{
    std::uint32_t n = 0;
    if (mark.size() < 1 + sizeof n) return setError(RecordNotFound, "");
    std::memcpy(&n, mark.data() + 1, sizeof n);
    if (mark.size() < 1 + sizeof n + n) return setError(RecordNotFound, "");
    if (const int code = readAt(parent_, mark.substr(1 + sizeof n, n)); code != NoError)
        return code;
    if (mark[0] != 'c') {
        childOpen_ = false;
        childTable_.def().clear(childTable_.buffer());
        return NoError;
    }
    child_.range({Value{parentId_()}});
    childOpen_ = true;
    childSeen_ = true;
    return readAt(child_, mark.substr(1 + sizeof n + n));
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
