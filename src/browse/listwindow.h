// What every list window is, however many lists it shows: a procedure whose
// window is built from a layout and holds list panes; its lifecycle (the
// one-window claim, the tables, the placement and the frame's notices); one
// refresh for all its panes; Close and Help; the calls of forms and other
// windows, which hold it; and the page read again when it regains the focus
// or changes size. Browse is one pane with select mode; LinkedBrowse two.
#pragma once

#include "browse/browsedef.h"
#include "browse/engine.h"
#include "browse/listpane.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"
#include "platform/windows/windowlife.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QMenu;

namespace hk
{

class ListWindow : public Procedure
{
    Q_OBJECT
  public:
    ~ListWindow() override;

    BuiltWindow *content() const { return content_; }
    // The definitions of its lists, the first list's first.
    const std::vector<const BrowseDef *> &definitions() const { return parts_.panes; }
    // Where the window is in its life; with no window (before it opens or
    // once it has gone), Closing.
    WindowPhase phase() const { return life_ ? life_->phase() : WindowPhase::Closing; }
    // The one answer to "may this window act on the user's input now": only
    // while live, not while opening, waiting for a window it called, or
    // closing.
    bool mayAct() const { return life_ && life_->mayAct(); }
    // Whether its panes are read and shown: from its first refresh until its
    // close is accepted, also while it waits for a called window.
    bool showing() const { return phase() == WindowPhase::Live || phase() == WindowPhase::Calling; }

  protected:
    // The window's parts; all outlive it (they are catalogue entries).
    struct Parts {
        const std::string &procedure; // name and settings section
        const WindowLayout &layout;   // every pane's controls
        const std::vector<TableId> &tables;
        Long *claim; // one window of the kind, except for selecting
        std::vector<const BrowseDef *> panes;
    };
    explicit ListWindow(Parts parts);

    QCoro::Task<> run() override;
    bool handlePosted(QEvent::Type type) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

    // For the windows built on this one: once every pane is wired; once the
    // window is open, before its placement and first refresh; after every
    // redisplay; the entries a window adds to a pane's popup menu; and what
    // Select (Enter or a double click in a choosing list) does.
    virtual void wired() {}
    virtual void opened() {}
    virtual void shown() {}
    virtual void extendPopup(QMenu &, std::size_t /*pane*/) {}
    virtual void pressSelect() {}

    // The panes from the first; null before the window opens and after it
    // has closed.
    ListPane *pane(std::size_t index) const;
    BrowseEngine *engineOf(std::size_t pane) const;
    PagedList *listOf(std::size_t pane) const;
    // One refresh for every pane, all sort orders checked before any locator
    // field is cleared (a second list ranges on the identifier the first
    // one has just copied); then all are shown again.
    void refreshAll(Refresh how = Refresh::IfChanged);
    void redisplay();
    // Every pane's highlighted record read again, as stored now.
    void rereadAll();
    // Calls another window (a pick list) with this one held, as a form call
    // holds it. Nothing when this window cannot act now or has closed
    // meanwhile; else what the call gave.
    QCoro::Task<std::optional<bool>> callHeld(std::function<QCoro::Task<bool>()> call);

  private:
    friend class ListPane;
    QCoro::Task<> callForm(ListPane &pane, Long request);
    QCoro::Task<> runAction(ListPane &pane, const BrowseAction &action);
    void extendPanePopup(QMenu &menu, const ListPane &pane);
    void pressClose();
    void pressHelp();
    void refreshForFocus();

    Parts parts_;
    std::vector<std::unique_ptr<ListPane>> panes_;
    QPointer<WindowLife> life_;
    QPointer<BuiltWindow> content_;
    bool refreshQueued_ = false; // a read after resizing waits for the resizing to settle
};

} // namespace hk
