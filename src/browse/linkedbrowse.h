// A window of two lists, the second showing the children of the row
// highlighted in the first. Each list is a whole browse engine with its own
// rows, locator, scrolling, popup and buttons; the window shares one
// refresh between them (first list, then second), so that every move in the
// first list re-ranges the second at once.
#pragma once

#include "browse/browsedef.h"
#include "browse/engine.h"
#include "integrity/tableopen.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace hk
{

class PagedList;
class ListPane;

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
    // A button that calls another window on this window's thread (the
    // child window of the highlighted second-list row).
    struct Call {
        int button;
        ProcedureFactory make;
    };
    std::vector<Call> calls{};
};

// Control numbers of the second list are its own plus this.
inline constexpr int SecondListOffset = 100;

// Combines two lists laid out by layOutBrowse into one window: the second's
// controls move below the first's and are renumbered; its Close and Help go
// (the window has one pair). `size` is the window's design size.
void linkLayouts(LinkedDef &def, const std::string &title, QSize size, QSize minimum);
// The same with the second list to the right of the first, both full height.
void linkSideBySide(LinkedDef &def, const std::string &title, QSize size, QSize minimum);

class LinkedBrowse : public Procedure
{
    Q_OBJECT
  public:
    explicit LinkedBrowse(const LinkedDef &def);
    ~LinkedBrowse() override;

    // For tests: the engines and controls, null before opening and after
    // closing.
    BrowseEngine *firstEngine() const;
    BrowseEngine *secondEngine() const;
    BuiltWindow *content() const { return content_; }
    PagedList *firstList() const;
    PagedList *secondList() const;

  protected:
    QCoro::Task<> run() override;
    bool handlePosted(QEvent::Type type) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    // For windows built on this one: once both lists are wired, and after
    // every redisplay (the window's own displays follow the lists).
    virtual void wired() {}
    virtual void shown() {}
    // Entries a window adds to a list's popup menu (`children`: the second
    // list's).
    virtual void extendPopup(QMenu &, bool /*children*/) {}
    // Calls another window (a pick list) with this one held, as a form call
    // holds it. Nothing when this window cannot call now or has closed
    // meanwhile; else what the call gave.
    QCoro::Task<std::optional<bool>> callHeld(std::function<QCoro::Task<bool>()> call);

    // One refresh for both lists; then both are shown again.
    void refreshAll();
    void redisplay();
    bool busy() const;

  private:
    friend class ListPane;
    void rereadBoth();
    QCoro::Task<> callChild(const LinkedDef::Call &c);
    QCoro::Task<> callForm(ListPane &pane, Long request);
    void pressClose();
    void pressHelp();
    void refreshForFocus();

    const LinkedDef &def_;
    TablesInUse tables_;
    QPointer<BuiltWindow> content_;
    std::unique_ptr<ListPane> first_, second_;
    bool started_ = false;
    bool claimed_ = false;
    bool calling_ = false;
    bool refreshQueued_ = false;
};

} // namespace hk
