#include "reports/reportpages.h"

#include "platform/data/fileerror.h"

#include <algorithm>

namespace hk
{

ReportPages::ReportPages(std::shared_ptr<const ReportRun> run, std::size_t kept)
    : run_(std::move(run)), kept_(std::max<std::size_t>(kept, 1))
{
}

ReportPages::~ReportPages() = default;

// Starts paginating at the record in which page `number` begins, with the
// state the generation had before it, drawing from that page on.
void ReportPages::restart(int number)
{
    ++restarts_;
    const auto &starts = run_->starts;
    auto it = std::upper_bound(starts.begin(), starts.end(), number,
                               [](int n, const PageStart &s) { return n < s.firstPage; });
    replay_ = std::make_unique<Replay>();
    Replay &r = *replay_;
    r.next = number;
    r.buffers = run_->start;
    r.paginator = std::make_unique<Paginator>(run_->layout);
    r.paginator->drawFrom(number);
    r.paginator->onPage = [&r](int n, Page &&p) { r.ready.emplace_back(n, std::move(p)); };
    if (it == starts.begin()) {
        r.finished = true; // no such page
        return;
    }
    const PageStart &s = *std::prev(it);
    Paginator::State state;
    if (!unpackState(s.state, state)) {
        r.finished = true;
        return;
    }
    r.paginator->restore(state);
    BuffersLent lent(r.buffers);
    if (s.mark.empty()) {
        r.paginator->finish();
        r.finished = true;
        return;
    }
    r.source = run_->def.source();
    r.more = r.source->resume(s.mark) == NoError;
}

std::optional<std::pair<int, Page>> ReportPages::advance()
{
    Replay &r = *replay_;
    if (r.ready.empty() && !r.finished) {
        BuffersLent lent(r.buffers);
        while (r.ready.empty() && !r.finished) {
            if (r.more) {
                applyVisibility(run_->def, *r.paginator);
                r.paginator->printDetail();
                r.more = r.source->next() == NoError;
            } else {
                r.paginator->finish();
                r.finished = true;
            }
        }
    }
    if (r.ready.empty()) return std::nullopt;
    auto out = std::move(r.ready.front());
    r.ready.pop_front();
    r.next = out.first + 1;
    return out;
}

void ReportPages::keep(int number, std::shared_ptr<const Page> page)
{
    if (auto it = cache_.find(number); it != cache_.end()) {
        recent_.erase(it->second.second);
        cache_.erase(it);
    }
    recent_.push_front(number);
    cache_.emplace(number, std::make_pair(std::move(page), recent_.begin()));
    while (cache_.size() > kept_) {
        cache_.erase(recent_.back());
        recent_.pop_back();
    }
}

std::shared_ptr<const Page> ReportPages::page(int number)
{
    if (number < 1 || number > pageCount()) return std::make_shared<const Page>();
    if (auto it = cache_.find(number); it != cache_.end()) {
        recent_.splice(recent_.begin(), recent_, it->second.second);
        return it->second.first;
    }
    // Pages in order come from the reads already under way.
    if (!replay_ || replay_->next != number) restart(number);
    while (auto made = advance()) {
        auto p = std::make_shared<const Page>(std::move(made->second));
        keep(made->first, p);
        if (made->first == number) return p;
    }
    return std::make_shared<const Page>(); // the data ended early: nothing to draw
}

} // namespace hk
