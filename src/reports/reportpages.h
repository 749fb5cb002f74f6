// A generated report's pages, drawn when asked for. A page is drawn by going
// back to the record it starts in, with the paginator's state from before
// that record, and paginating from there with drawing on; the pages after it
// follow from the same reads, so pages asked for in order cost one pass. The
// last pages drawn are kept, a small number, whatever the report's size; a
// page drawn again after it was dropped is drawn exactly as before.
//
// The reads fill the shared record buffers only for the moment: the buffers
// are left as they were found. The report's tables must stay open.
#pragma once

#include "reports/pagesource.h"
#include "reports/reportjob.h"

#include <deque>
#include <list>
#include <unordered_map>

namespace hk
{

class ReportPages : public PageSource
{
  public:
    // Enough for the largest grid of the preview.
    static constexpr std::size_t kKept = 128;

    explicit ReportPages(std::shared_ptr<const ReportRun> run, std::size_t kept = kKept);
    ~ReportPages() override;

    int pageCount() const override { return run_->pageCount; }
    std::shared_ptr<const Page> page(int number) override;

    // How many times drawing went back to a page's start: for tests.
    int restarts() const { return restarts_; }

  private:
    // Paginating from a page's start with drawing on.
    struct Replay {
        std::unique_ptr<RecordSource> source;
        std::unique_ptr<Paginator> paginator;
        BufferImage buffers;
        std::deque<std::pair<int, Page>> ready; // pages ended, not yet taken
        int next = 0;                           // the page the replay hands out next
        bool more = false;                      // records remain to be printed
        bool finished = false;
    };

    void restart(int number);
    // The next page of the replay, or none when the report has ended.
    std::optional<std::pair<int, Page>> advance();
    void keep(int number, std::shared_ptr<const Page> page);

    std::shared_ptr<const ReportRun> run_;
    std::size_t kept_;
    std::unique_ptr<Replay> replay_;
    std::list<int> recent_; // page numbers, most recently used first
    std::unordered_map<int, std::pair<std::shared_ptr<const Page>, std::list<int>::iterator>>
        cache_;
    int restarts_ = 0;
};

} // namespace hk
