// What every procedure's window does around its life, in one object:
// before the window opens, the one-window claim and what the window holds
// while it lives (its tables, through a hook the layer that knows them
// fills); as it opens, its design place, the controls that follow its size,
// its saved placement and the frame's notice; as it closes, its placement
// saved; once it has gone, what it held given back and the claim released.
// From the opening on the object is a child of the window and goes with it.
//
// It also holds the window's phase, the one answer to "may this window act
// on the user's input now".
#pragma once

#include "dictionary/types.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>

class QWidget;

namespace hk
{

class BuiltWindow;
class Procedure;

enum class WindowPhase {
    Opening, // claimed and holding what it needs; not placed and filled yet
    Live,    // takes the user's actions
    Calling, // waits for a window it called: takes no action and stays open
    Closing, // its close was accepted: it shows what it has until it goes
};

// Something a window holds while it lives, given back when destroyed.
class WindowHold
{
  public:
    virtual ~WindowHold() = default;
};

// When the frame hears of the window (notices 1025 and 1026).
enum class FrameNotices {
    None,
    OnceOpen,  // 1025 once the window has opened; 1026 once it has gone
    FromStart, // 1025 before the claim, so also from a start that is refused
};

struct WindowPlan {
    std::string section{}; // the placement's settings section; empty: none kept
    Long *claim = nullptr; // one window of the kind at a time; null: any number
    // Taken after the claim; null when it cannot be, and the window does
    // not open.
    std::function<std::unique_ptr<WindowHold>()> hold{};
    FrameNotices notices = FrameNotices::None;
    bool designPlace = true; // centred where it belongs before the placement
    // Asked when the window is to close, before anything of its closing is
    // done; false keeps it open as it is (the owner has told the user why).
    std::function<bool()> mayClose{};
};

class WindowLife : public QObject
{
    Q_OBJECT
  public:
    // Claims and holds for `owner`'s window-to-be. Null when refused (another
    // window of the kind has been brought forward instead, or the hold could
    // not be taken); nothing is claimed or held then. Until open() the
    // object belongs to the owner.
    static WindowLife *begin(Procedure &owner, WindowPlan plan);
    // For a window that claims and holds nothing, at once open.
    static WindowLife *attach(QWidget *window, WindowPlan plan, BuiltWindow *scaled = nullptr);
    ~WindowLife() override;

    // The window has opened (and shows): its design place, then `scaled`'s
    // controls registered to follow its size, the saved placement, the
    // controls laid out for it, and the frame's notice. The window owns this
    // object from here on, and the phase is Live.
    void open(QWidget *window, BuiltWindow *scaled = nullptr);

    WindowPhase phase() const { return phase_; }
    // The one answer to "may this window act on the user's input now".
    bool mayAct() const { return phase_ == WindowPhase::Live; }
    // The window goes as it is: its placement is not saved when it closes.
    void forgetPlacement() { plan_.section.clear(); }

    // Holds the window in Calling for as long as it lives, then gives it
    // back to Live (unless the window has gone meanwhile).
    class Calling
    {
      public:
        explicit Calling(WindowLife *life);
        ~Calling();
        Calling(const Calling &) = delete;
        Calling &operator=(const Calling &) = delete;

      private:
        QPointer<WindowLife> life_;
    };

  signals:
    // The window's close was accepted: it will go.
    void closing();

  protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    WindowLife(Long owner, WindowPlan plan);

    Long owner_;
    WindowPlan plan_;
    std::unique_ptr<WindowHold> held_;
    QPointer<QWidget> window_;
    QPointer<BuiltWindow> scaled_;
    WindowPhase phase_ = WindowPhase::Opening;
    bool claimed_ = false;
    bool announced_ = false; // 1025 posted: 1026 follows
};

} // namespace hk
