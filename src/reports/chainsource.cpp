#include "reports/chainsource.h"

#include "platform/data/fileerror.h"
#include "platform/data/table.h"

#include <cassert>
#include <cstring>

namespace hk
{

ChainSource::ChainSource(std::vector<ChainLevel> levels) : levels_(std::move(levels))
{
    assert(!levels_.empty());
    for (const ChainLevel &l : levels_) {
        auto v = std::make_unique<View>(*l.table, l.key);
        for (const auto &[lookup, field] : l.joins)
            v->join(*lookup, field);
        views_.push_back(std::move(v));
    }
}

long long ChainSource::records() const
{
    return levels_.back().table->records();
}

int ChainSource::open()
{
    open_ = 1;
    // A ranged top level reads one parent's records (a selected one).
    if (levels_.front().parentId) views_.front()->range({Value{levels_.front().parentId()}});
    return views_.front()->open();
}

// Each level's position, preceded by its length: a record of the deepest
// level is delivered with every level above it standing on its parent.
std::string ChainSource::mark() const
{
    std::string out;
    for (const auto &v : views_) {
        const std::string p = v->position();
        const auto n = std::uint32_t(p.size());
        out.append(reinterpret_cast<const char *>(&n), sizeof n);
        out += p;
    }
    return out;
}

int ChainSource::resume(const std::string &mark)
{
    std::size_t at = 0;
    for (std::size_t d = 0; d < views_.size(); ++d) {
        std::uint32_t n = 0;
        if (mark.size() < at + sizeof n) return setError(RecordNotFound, "");
        std::memcpy(&n, mark.data() + at, sizeof n);
        at += sizeof n;
        if (mark.size() < at + n) return setError(RecordNotFound, "");
        View &v = *views_[d];
        if (levels_[d].parentId) v.range({Value{levels_[d].parentId()}});
        int code = v.open();
        if (code == NoError && !v.reset(mark.substr(at, n))) code = setError(RecordNotFound, "");
        if (code == NoError) code = v.next();
        if (code != NoError) return code;
        at += n;
    }
    open_ = views_.size();
    return NoError;
}

int ChainSource::next()
{
    while (open_ > 0) {
        const std::size_t d = open_ - 1;
        const int code = views_[d]->next();
        if (code == NoMoreRecords) {
            --open_; // this parent's children are done: on to the next parent
            continue;
        }
        if (code != NoError) return code;
        if (d + 1 == views_.size()) return NoError;
        View &child = *views_[d + 1];
        child.range({Value{levels_[d + 1].parentId()}});
        if (const int opened = child.open(); opened != NoError) return opened;
        ++open_;
    }
    return NoMoreRecords;
}

} // namespace hk
