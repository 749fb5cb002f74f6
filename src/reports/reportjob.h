// One run's generation, without windows: the read routine, the percentage,
// the visibility of optional controls and the page breaks, batch by batch.
// The report procedure drives it from its progress window's timer; tests and
// benchmarks drive it directly.
//
// Generation draws no page. It keeps, for each record in which pages begin,
// the record's mark and the paginator's state before it: enough to draw any
// page again from there (see ReportPages), so that what a run holds grows
// with its pages by a few hundred bytes each, not by their drawings.
#pragma once

#include "dictionary/globals.h"
#include "reports/bufferimage.h"
#include "reports/paginator.h"
#include "reports/reportdef.h"

#include <functional>
#include <memory>

namespace hk
{

class ReportPages;

// Where pages begin: during the record of `mark` (empty: in the closing
// bands after the last record), from `firstPage` on, with the paginator's
// state before that record packed in `state`.
struct PageStart {
    int firstPage = 0;
    std::string mark;
    std::string state;
};

// What drawing the pages again needs, shared by the job and its pages.
struct ReportRun {
    explicit ReportRun(const ReportDefinition &def, ReportLayout layout);
    const ReportDefinition &def;
    ReportLayout layout;
    BufferImage start; // the buffers as the run found them: the chosen record, ...
    std::vector<PageStart> starts;
    int pageCount = 0;
};

// Shows or hides each optional control for the record in the buffers.
void applyVisibility(const ReportDefinition &def, Paginator &paginator);

std::string packState(const Paginator::State &state);
bool unpackState(const std::string &packed, Paginator::State &state);

class ReportJob
{
  public:
    static constexpr int batchSize = 25;

    // The owner's details and today's date are taken as they are now.
    explicit ReportJob(const ReportDefinition &def);
    ~ReportJob();

    Long estimate() const { return estimate_; }
    Long recordsRead() const { return read_; }
    int percent() const { return percent_; }
    Long outcome() const { return outcome_; }

    // Opens the record source ("View Open Error" when it cannot be read; the
    // run then goes on with what it delivers) and reads the first record.
    // False when there is none.
    bool begin();
    // Up to `size` records: visibility, page breaks and totals, the next
    // read. True when the records have run out (the run is complete).
    bool batch(int size = batchSize);
    // The closing bands; the page count is then known.
    void finish();

    int pageCount() const { return run_->pageCount; }
    // After finish: the pages, each drawn when asked for. They read the
    // report's tables, which must stay open meanwhile.
    std::unique_ptr<ReportPages> pages() const;
    // Every page drawn: for small reports and tests.
    std::vector<Page> takePages() const;
    std::shared_ptr<const ReportRun> run() const { return run_; }
    const ReportLayout &layout() const { return run_->layout; }

    // Called whenever the whole-number percentage changes.
    std::function<void(int)> onPercent;

  private:
    bool read();
    void noteStarts(int before, std::string mark);

    const ReportDefinition &def_;
    std::shared_ptr<ReportRun> run_;
    std::unique_ptr<Paginator> paginator_;
    std::unique_ptr<RecordSource> source_;
    BufferImage buffers_; // the run's record buffers between batches
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
