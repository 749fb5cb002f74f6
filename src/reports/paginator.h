// Pagination: bands of a layout placed on pages as records arrive. Pure: it
// reads the record buffers through the layout's value functions and needs no
// display, so every report's output can be checked as text.
//
// The engine prints the page header at the top and the page footer at the
// bottom of every page, a group's header when its break value changes (and
// before the first detail), its footer after the group's last detail, and
// keeps the count and sum totals with their resets. A group's header goes
// to the next page with its first detail when that does not fit below it.
//
// Where the pages go is the caller's choice: kept in pages() (small reports
// and tests), handed to onPage as each ends, or not drawn at all, while
// their breaks and totals are still worked out: a report is paginated once
// without drawing, and any page is drawn later by restoring the state taken
// before the record it starts in and going on from there.
#pragma once

#include "reports/page.h"
#include "reports/reportlayout.h"

#include <climits>
#include <functional>
#include <optional>
#include <set>

namespace hk
{

class Paginator
{
  public:
    // All that the records so far leave behind for the next one: a paginator
    // given the state taken before a record goes on as the one it came from.
    struct State {
        int pages = 0; // pages begun
        bool pageOpen = false;
        double y = 0;          // next free place in the body, mm from the paper's top
        bool bodyUsed = false; // a band stands in this page's body
        std::vector<std::int64_t> totals;
        std::vector<std::optional<std::string>> groupValues;
        std::vector<std::optional<std::int64_t>> lastOnce; // by total: see TotalDef::once
        long long details = 0;
    };

    explicit Paginator(const ReportLayout &layout);

    // A hidden control is left out of the bands printed until it is shown.
    void setHidden(int controlId, bool hidden);
    bool isHidden(int controlId) const { return hidden_.contains(controlId); }

    // Pages numbered below `first` are laid out but not drawn; kNone draws
    // none. From 1 (all) until set.
    static constexpr int kNone = INT_MAX;
    void drawFrom(int first) { drawFrom_ = first; }
    // Receives each drawn page as it ends, with its number. Without it the
    // drawn pages are kept in pages().
    std::function<void(int number, Page &&page)> onPage;

    // Prints the detail band of the record in the buffers, with the group
    // footers and headers its break values call for, and adds it to the totals.
    void printDetail();
    // Closes the open groups, prints the title band below the last band (on
    // a page of its own when it does not fit there) and ends that page, whose
    // footer carries the final totals.
    void finish();

    // The state now, and as it was before the last printDetail or finish.
    const State &state() const { return s_; }
    const State &stateBefore() const { return before_; }
    void restore(const State &state);

    int pagesBegun() const { return s_.pages; }
    long long details() const { return s_.details; }
    const std::vector<Page> &pages() const { return kept_; }
    std::vector<Page> takePages() { return std::move(kept_); }
    std::int64_t total(int index) const { return s_.totals[index]; }

  private:
    // Where a control may print in its band: from `left` to `right`, mm from
    // the band's left edge (see placeBand).
    struct Room {
        double left = 0, right = 0;
    };

    void planRooms(const Band &band);
    void placeBand(const Band &band, double left, double top);
    void placeBody(const Band &band);
    void beginPage();
    void endPage();
    void closeGroups(std::size_t from);
    std::string totalText(const ReportControl &c) const;
    bool drawing() const { return s_.pages >= drawFrom_; }
    Page &page() { return onPage ? current_ : kept_.back(); }

    const ReportLayout &layout_;
    std::vector<std::pair<const Band *, std::vector<Room>>> rooms_;
    std::set<int> hidden_;
    State s_, before_;
    int drawFrom_ = 1;
    std::vector<Page> kept_;
    Page current_;
    std::vector<std::string> values_; // break values of the record being printed
};

} // namespace hk
