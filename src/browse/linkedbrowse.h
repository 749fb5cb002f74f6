// A window of two lists, the second showing the children of the row
// highlighted in the first. Each list is a pane with its own engine, rows,
// locator, scrolling, popup and buttons; the window refreshes both together
// (first list, then second), so that every move in the first list re-ranges
// the second at once.
#pragma once

#include "browse/browsedef.h"
#include "browse/engine.h"
#include "browse/listwindow.h"

namespace hk
{

class PagedList;

struct LinkedDef {
    std::string procedure; // name and settings section
    BrowseDef first;       // the parent list
    BrowseDef second;      // the children, ranged on the first list's record
    WindowLayout layout;   // both lists' controls, built by linkLayouts()
    std::vector<TableId> tables{};
    Long *claim = nullptr;
    // A button enabled only while the buffer of `table` holds a stored
    // record (read again by its identifier), so that nothing is opened or
    // inserted under a parent row that is not there.
    struct Guard {
        int button;
        TableId table;
    };
    std::vector<Guard> guards{};
};

// Control numbers of the second list are its own plus this.
inline constexpr int SecondListOffset = 100;

// Combines two lists laid out by layOutBrowse into one window: the second's
// controls move below the first's and are renumbered; its Close and Help go
// (the window has one pair). `size` is the window's design size.
void linkLayouts(LinkedDef &def, const std::string &title, QSize size, QSize minimum);
// The same with the second list to the right of the first, both full height.
void linkSideBySide(LinkedDef &def, const std::string &title, QSize size, QSize minimum);

class LinkedBrowse : public ListWindow
{
    Q_OBJECT
  public:
    explicit LinkedBrowse(const LinkedDef &def);
    ~LinkedBrowse() override;

    // For tests: the engines and lists, null before opening and after
    // closing.
    BrowseEngine *firstEngine() const;
    BrowseEngine *secondEngine() const;
    PagedList *firstList() const;
    PagedList *secondList() const;

  protected:
    // The second list's Insert and the guarded buttons follow the first
    // list; a window built on this one calls this first.
    void shown() override;

  private:
    const LinkedDef &def_;
};

} // namespace hk
