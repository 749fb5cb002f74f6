// One run's generation, without windows: the read routine, the percentage,
// the visibility of optional controls and the detail bands, batch by batch.
// The report procedure drives it from its progress window's timer; tests and
// benchmarks drive it directly.
#pragma once

#include "dictionary/globals.h"
#include "reports/paginator.h"
#include "reports/reportdef.h"

#include <functional>
#include <memory>

namespace hk
{

class ReportJob
{
  public:
    static constexpr int batchSize = 25;

    // The owner's details and today's date are taken as they are now.
    explicit ReportJob(const ReportDefinition &def);

    Long estimate() const { return estimate_; }
    Long recordsRead() const { return read_; }
    int percent() const { return percent_; }
    Long outcome() const { return outcome_; }

    // Opens the record source ("View Open Error" when it cannot be read; the
    // run then goes on with what it delivers) and reads the first record.
    // False when there is none.
    bool begin();
    // Up to `size` records: visibility, detail band, the next read. True
    // when the records have run out (the run is complete).
    bool batch(int size = batchSize);
    // Title band and last page; the pages are then complete.
    void finish();

    const std::vector<Page> &pages() const { return paginator_->pages(); }
    std::vector<Page> takePages() { return paginator_->takePages(); }
    const ReportLayout &layout() const { return layout_; }

    // Called whenever the whole-number percentage changes.
    std::function<void(int)> onPercent;

  private:
    bool read();
    void applyVisibility();

    const ReportDefinition &def_;
    ReportLayout layout_;
    std::unique_ptr<Paginator> paginator_;
    std::unique_ptr<RecordSource> source_;
    Long estimate_ = 0;
    Long read_ = 0;
    int percent_ = 0;
    Long outcome_ = RequestCancelled;
    bool more_ = false;
};

// Today as a day number; tests fix it.
std::int64_t reportToday();
void setReportToday(std::function<std::int64_t()> today); // empty: the system clock

} // namespace hk
