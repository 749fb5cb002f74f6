#include "reports/reportjob.h"

#include "dictionary/globals.h"
#include "integrity/warnings.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "reports/reportpages.h"

#include <QDate>

#include <algorithm>
#include <cstring>

namespace hk
{

namespace
{
std::function<std::int64_t()> &todayHook()
{
    static std::function<std::int64_t()> hook;
    return hook;
}

ReportTexts textsNow(const ReportDefinition &def)
{
    ReportTexts t = def.texts;
    t.ownerName = std::string(trimRight(OwnerName.view()));
    t.ownerAddress = std::string(trimRight(OwnerAddress.view()));
    return t;
}

template <class T> void put(std::string &out, const T &v)
{
    out.append(reinterpret_cast<const char *>(&v), sizeof v);
}

template <class T> bool get(const std::string &in, std::size_t &at, T &v)
{
    if (in.size() < at + sizeof v) return false;
    std::memcpy(&v, in.data() + at, sizeof v);
    at += sizeof v;
    return true;
}
} // namespace

std::int64_t reportToday()
{
    if (todayHook()) return todayHook()();
    const QDate d = QDate::currentDate();
    return dateNumber(d.year(), d.month(), d.day()).value_or(0);
}

void setReportToday(std::function<std::int64_t()> today)
{
    todayHook() = std::move(today);
}

// Each optional control shows its own record's value: a control hidden for
// a blank field is shown again for the next record that has one.
void applyVisibility(const ReportDefinition &def, Paginator &paginator)
{
    for (const OptionalControl &c : def.optional)
        paginator.setHidden(c.id, c.blank());
}

std::string packState(const Paginator::State &s)
{
    std::string out;
    put(out, s.pages);
    put(out, std::uint8_t(s.pageOpen | (s.bodyUsed << 1)));
    put(out, s.y);
    put(out, s.details);
    put(out, std::uint32_t(s.totals.size()));
    for (std::int64_t t : s.totals)
        put(out, t);
    for (const auto &k : s.lastOnce) {
        put(out, std::uint8_t(k.has_value()));
        put(out, k.value_or(0));
    }
    put(out, std::uint32_t(s.groupValues.size()));
    for (const auto &g : s.groupValues) {
        put(out, std::int32_t(g ? g->size() : -1));
        if (g) out += *g;
    }
    return out;
}

bool unpackState(const std::string &in, Paginator::State &s)
{
    std::size_t at = 0;
    std::uint8_t flags = 0;
    std::uint32_t n = 0;
    if (!get(in, at, s.pages) || !get(in, at, flags) || !get(in, at, s.y) ||
        !get(in, at, s.details) || !get(in, at, n))
        return false;
    s.pageOpen = flags & 1;
    s.bodyUsed = flags & 2;
    s.totals.resize(n);
    for (std::int64_t &t : s.totals)
        if (!get(in, at, t)) return false;
    s.lastOnce.resize(n);
    for (auto &k : s.lastOnce) {
        std::uint8_t has = 0;
        std::int64_t key = 0;
        if (!get(in, at, has) || !get(in, at, key)) return false;
        k = has ? std::optional<std::int64_t>(key) : std::nullopt;
    }
    if (!get(in, at, n)) return false;
    s.groupValues.resize(n);
    for (auto &g : s.groupValues) {
        std::int32_t size = 0;
        if (!get(in, at, size)) return false;
        if (size < 0) {
            g.reset();
            continue;
        }
        if (in.size() < at + std::size_t(size)) return false;
        g = in.substr(at, std::size_t(size));
        at += std::size_t(size);
    }
    return at == in.size();
}

ReportRun::ReportRun(const ReportDefinition &d, ReportLayout l)
    : def(d), layout(std::move(l)), start(d.opens)
{
}

ReportJob::ReportJob(const ReportDefinition &def)
    : def_(def), run_(std::make_shared<ReportRun>(def, def.layout(textsNow(def))))
{
    paginator_ = std::make_unique<Paginator>(run_->layout);
    paginator_->drawFrom(Paginator::kNone);
}

ReportJob::~ReportJob() = default;

bool ReportJob::begin()
{
    // What the selection left in the buffers is the run's for good.
    run_->start.capture();
    buffers_ = run_->start;
    BuffersLent lent(buffers_);
    source_ = def_.source();
    // Measured against the records the run reads, not its first table's.
    estimate_ = def_.fixedEstimate ? *def_.fixedEstimate
                                   : Long(std::min<long long>(source_->records(), 0x7fffffff));
    if (source_->open() != NoError) {
        CaptureFileError();
        WarnUser(36);
    }
    more_ = read();
    return more_;
}

// The read routine: a failure other than the end of the records is warned
// about, and either ends the records.
bool ReportJob::read()
{
    const int code = source_->next();
    if (code != NoError) {
        if (code != NoMoreRecords) {
            CaptureFileError();
            WarnUser(35, def_.warningName);
        }
        outcome_ = RequestCancelled;
        return false;
    }
    outcome_ = RequestCompleted;
    ++read_;
    if (percent_ < 100) {
        const long long p =
            estimate_ > 0 ? std::min<long long>(100, (long long)read_ * 100 / estimate_) : 100;
        if (p != percent_) {
            percent_ = int(p);
            if (onPercent) onPercent(percent_);
        }
    }
    return true;
}

// Pages begun since `before` start in the record of `mark`.
void ReportJob::noteStarts(int before, std::string mark)
{
    if (paginator_->pagesBegun() == before) return;
    run_->starts.push_back({before + 1, std::move(mark), packState(paginator_->stateBefore())});
}

bool ReportJob::batch(int size)
{
    BuffersLent lent(buffers_);
    for (int i = 0; i < size && more_; ++i) {
        applyVisibility(def_, *paginator_);
        const int before = paginator_->pagesBegun();
        paginator_->printDetail();
        if (paginator_->pagesBegun() != before) noteStarts(before, source_->mark());
        more_ = read();
        if (!more_) outcome_ = RequestCompleted; // the pages made so far are the report
    }
    return !more_;
}

void ReportJob::finish()
{
    BuffersLent lent(buffers_);
    const int before = paginator_->pagesBegun();
    paginator_->finish();
    noteStarts(before, {});
    run_->pageCount = paginator_->pagesBegun();
    source_.reset();
}

std::unique_ptr<ReportPages> ReportJob::pages() const
{
    return std::make_unique<ReportPages>(run_);
}

std::vector<Page> ReportJob::takePages() const
{
    ReportPages pages(run_);
    std::vector<Page> out;
    out.reserve(std::size_t(pages.pageCount()));
    for (int p = 1; p <= pages.pageCount(); ++p)
        out.push_back(*pages.page(p));
    return out;
}

} // namespace hk
