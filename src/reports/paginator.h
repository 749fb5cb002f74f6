// Pagination: bands of a layout placed on pages as records arrive. Pure: it
// reads the record buffers through the layout's value functions and needs no
// display, so every report's output can be checked as text.
//
// The engine prints the page header at the top and the page footer at the
// bottom of every page, a group's header when its break value changes (and
// before the first detail), its footer after the group's last detail, and
// keeps the count and sum totals with their resets.
#pragma once

#include "reports/page.h"
#include "reports/reportlayout.h"

#include <optional>
#include <set>

namespace hk
{

class Paginator
{
  public:
    explicit Paginator(const ReportLayout &layout);

    // A hidden control is left out of the bands printed until it is shown.
    void setHidden(int controlId, bool hidden);
    bool isHidden(int controlId) const { return hidden_.contains(controlId); }

    // Prints the detail band of the record in the buffers, with the group
    // footers and headers its break values call for, and adds it to the totals.
    void printDetail();
    // Closes the open groups, prints the title band below the last band (on
    // a page of its own when it does not fit there) and ends that page, whose
    // footer carries the final totals.
    void finish();

    long long details() const { return details_; }
    const std::vector<Page> &pages() const { return pages_; }
    std::vector<Page> takePages() { return std::move(pages_); }
    std::int64_t total(int index) const { return totals_[index]; }

  private:
    void placeBand(const Band &band, double left, double top);
    void placeBody(const Band &band);
    void beginPage();
    void endPage();
    void closeGroups(std::size_t from);
    std::string totalText(const ReportControl &c) const;

    const ReportLayout &layout_;
    std::set<int> hidden_;
    std::vector<Page> pages_;
    bool pageOpen_ = false;
    double y_ = 0;          // next free place in the body, mm from the paper's top
    bool bodyUsed_ = false; // a band stands in this page's body
    std::vector<std::int64_t> totals_;
    std::vector<std::optional<std::string>> groupValues_;
    long long details_ = 0;
};

} // namespace hk
