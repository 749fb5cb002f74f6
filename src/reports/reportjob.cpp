#include "reports/reportjob.h"

#include "dictionary/globals.h"
#include "integrity/warnings.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"

#include <QDate>

#include <algorithm>

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

ReportJob::ReportJob(const ReportDefinition &def) : def_(def), layout_(def.layout(textsNow(def)))
{
    paginator_ = std::make_unique<Paginator>(layout_);
}

bool ReportJob::begin()
{
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

// Each optional control shows its own record's value: a control hidden for
// a blank field is shown again for the next record that has one.
void ReportJob::applyVisibility()
{
    for (const OptionalControl &c : def_.optional)
        paginator_->setHidden(c.id, c.blank());
}

bool ReportJob::batch(int size)
{
    for (int i = 0; i < size && more_; ++i) {
        applyVisibility();
        paginator_->printDetail();
        more_ = read();
        if (!more_) outcome_ = RequestCompleted; // the pages made so far are the report
    }
    return !more_;
}

void ReportJob::finish()
{
    paginator_->finish();
}

} // namespace hk
