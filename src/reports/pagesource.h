// Where the preview, the printer and PDF output take a report's pages from.
// A report's pages are drawn when asked for (see ReportPages); a list of
// pages made beforehand serves small reports and tests.
#pragma once

#include "reports/page.h"

#include <memory>
#include <vector>

namespace hk
{

class PageSource
{
  public:
    virtual ~PageSource() = default;
    virtual int pageCount() const = 0;
    // Page `number`, from 1 to pageCount(); the page stays valid as long as
    // the caller holds it, whatever is asked for meanwhile.
    virtual std::shared_ptr<const Page> page(int number) = 0;
};

class PageList : public PageSource
{
  public:
    explicit PageList(std::vector<Page> pages);
    int pageCount() const override { return int(pages_.size()); }
    std::shared_ptr<const Page> page(int number) override { return pages_.at(number - 1); }

  private:
    std::vector<std::shared_ptr<const Page>> pages_;
};

} // namespace hk
