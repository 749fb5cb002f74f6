// The browse engine: the headless core of every list window. It holds one
// page of rows (never more than the list shows), reads further records as
// the list scrolls, finds its place again by a record's position, locates by
// the locator field, keeps the key distribution behind the scroll-bar thumb,
// and does the list's part of calling the table's form. The window on top
// feeds it the user's actions and shows what it holds.
#pragma once

#include "browse/browsedef.h"
#include "dictionary/globals.h"
#include "platform/data/view.h"
#include "platform/picture.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hk
{

class Table;

// One row on show: the row fields in the definition's order (then the
// identifiers), and the record's position in the view.
struct BrowseRow {
    std::vector<PictureValue> values;
    Position position;
    int attachments = 0; // how many the record holds, where the list marks them; -1 not read yet
};

enum class ListScroll { RowUp, RowDown, PageUp, PageDown, Top, Bottom };

// Whether a refresh reads the page again although its order and range are
// unchanged (after another window may have changed the records).
enum class Refresh { IfChanged, ReadAgain };

class BrowseEngine
{
  public:
    // pageSize: how many rows the list shows now; asked at every fill.
    BrowseEngine(const BrowseDef &def, std::function<int()> pageSize);
    ~BrowseEngine();
    BrowseEngine(const BrowseEngine &) = delete;
    BrowseEngine &operator=(const BrowseEngine &) = delete;

    // A read failed: the window must close (after warning 35).
    std::function<void()> onCloseRequest;
    // A new-selection notice was posted; the owner calls handleNewSelection()
    // once the list has taken its events. Without it the notice is handled at
    // once.
    std::function<void()> onNewSelection;
    // Where the window refreshes itself after a new selection, a tab change
    // or a form call (a list window refreshes all its lists); unset, the
    // engine refreshes alone.
    std::function<void()> onWindowRefresh;

    // Takes the request from GlobalRequest and clears the globals.
    void begin();
    // The response for GlobalResponse at the end (2 when none was set).
    Long finish();

    // Reads the totals record, adding it to an empty table.
    void readTotals(bool addWhenMissing);

    // The window's refresh: totals, sort-order check, thumb, locator field.
    void windowRefresh(Refresh how = Refresh::IfChanged);
    // The same in two halves, for a window of two lists that checks both
    // sort orders before either clears its locator field.
    void checkOrder(Refresh how = Refresh::IfChanged);
    void endRefresh();
    // Another tab became current: the new order from its first page.
    void changeTab(int index);
    void scroll(ListScroll how);
    // The user dragged the thumb to p (0 to 100).
    void dragThumb(int p);
    // The user highlighted row (1-based).
    void highlight(int row);
    // The locator entry of the current tab was accepted with this value.
    void locatorAccepted(const PictureValue &value);
    void handleNewSelection();

    // Re-reads the highlighted record from the file, watched for changes by
    // other stations.
    void reread();

    // The list's part of a form call. beginFormCall() prepares the buffers
    // and sets GlobalRequest; the caller then calls the form, and passes its
    // GlobalResponse to endFormCall(), which shows the result.
    void beginFormCall(Long request);
    void endFormCall(Long request, Long response);

    void setResponse(Long response) { response_ = response; }
    // The window is closing: the buffers keep what they hold now, whatever
    // notices are still on their way.
    void stop() { stopped_ = true; }
    // The popup menu: items separated by "|", "-" a separator, "~" disabled.
    std::string popupText(bool formsAvailable) const;

    // What the window shows.
    const std::vector<BrowseRow> &rows() const { return rows_; }
    int currentRow() const { return current_; }
    int tab() const { return tab_; }
    int sortOrder() const { return sortOrder_; }
    bool selectMode() const { return entryRequest_ == SelectRecord; }
    bool empty() const { return rows_.empty(); }
    bool scrollBarShown() const { return scrollBarShown_; }
    int thumb() const { return shownThumb_; }
    // The text or number the locator entry shows (always blank: the field is
    // cleared so that the entry starts empty).
    const PictureValue &locatorValue() const { return locatorValue_; }
    const std::vector<std::int64_t> &numericValues() const { return numbers_; }
    const std::vector<std::string> &textValues() const { return texts_; }
    const BrowseDef &def() const { return def_; }
    // The format the list shows on the current tab.
    const std::string &format() const;

  private:
    class Operation
    {
      public:
        explicit Operation(BrowseEngine &engine);
        ~Operation();

      private:
        BrowseEngine &engine_;
    };

    const BrowseSort &sort() const { return def_.sorts.at(static_cast<std::size_t>(tab_)); }
    int pageSize() const;
    void openView();
    // A view of the current sort order, with or without the sort's filter.
    std::unique_ptr<View> makeView(bool filtered) const;
    int fill(bool forward, int count, bool addRows = true);
    // Where a page read starts.
    enum class Anchor {
        Record, // at the record the view stands on (a located one)
        Kept,   // where the page was, its highlighted row kept; from the start when empty
        First,  // the first page
        Last,   // the last page, its last row highlighted
    };
    void refreshPage(Anchor anchor);
    void locate(int mode);
    void copyToBuffers(int row, bool withExtras = false);
    BrowseRow makeRow() const;
    void postNewSelection();
    void refreshWindow();
    void checkSortOrder(Refresh how);
    void buildDistribution();
    void computeThumb();
    void readFailed();
    // Reads the attachment counts of the page's rows that have none yet.
    void markAttachments();
    int locatorField() const; // index in the main table
    // The range fixes the key's first component (rather than a filter).
    bool keyRange() const { return sort().range && !sort().rangeField; }
    std::int64_t rangeValue() const;
    void setLocatorField(const PictureValue &value);
    void clearLocatorField();
    void saveBuffers();
    void restoreBuffers();

    const BrowseDef &def_;
    std::function<int()> pageSize_;
    Table &main_;
    std::vector<FieldRef> fields_; // the definition's, then the identifiers
    int identifierValue_ = -1;     // where a row holds its record's identifier
    std::unique_ptr<View> view_;

    Long entryRequest_ = 0; // what the list was opened for (select mode)
    Long response_ = 0;
    int tab_ = 0;
    int sortOrder_ = 0;
    int previousSortOrder_ = 0;
    std::vector<BrowseRow> rows_;
    int current_ = 0;
    std::int64_t boundRange_ = 0;
    // The new-selection notice, as the runtime would deliver it: posted once
    // until handled, and without an owner to post it to, handled when the
    // outermost operation ends. Bookkeeping of the notice, not of the window:
    // whether the window may act is its own to say.
    bool selectionPosted_ = false;
    int depth_ = 0; // operations under way
    // No more reads: the window is closing, or a read failed and asked it
    // to close. The buffers keep what they hold.
    bool stopped_ = false;
    bool scrollBarShown_ = false;
    int thumb_ = 0;
    int shownThumb_ = 0;
    PictureValue locatorValue_;
    std::vector<std::int64_t> numbers_;             // distribution of a numeric locator
    std::vector<std::string> texts_;                // of a text locator
    std::vector<std::vector<unsigned char>> saved_; // buffers kept across other reads
};

} // namespace hk
