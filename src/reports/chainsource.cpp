#include "reports/chainsource.h"

#include "platform/data/fileerror.h"
#include "platform/data/table.h"

#include <cassert>

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
