#include "platform/windows/windowlife.h"

#include "platform/windows/designplace.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"
#include "platform/windows/windowresize.h"
#include "platform/windows/windowsettings.h"

#include <QEvent>
#include <QWidget>

#include <cassert>

namespace hk
{

WindowLife::WindowLife(Long owner, WindowPlan plan) : owner_(owner), plan_(std::move(plan)) {}

WindowLife *WindowLife::begin(Procedure &owner, WindowPlan plan)
{
    auto *life = new WindowLife(owner.id(), std::move(plan));
    life->setParent(&owner);
    if (life->plan_.notices == FrameNotices::FromStart) {
        postToFrame(Notice::ProcedureOpened);
        life->announced_ = true;
    }
    bool refused = false;
    if (Long *claim = life->plan_.claim) {
        life->claimed_ = claimWindow(*claim, owner);
        refused = !life->claimed_;
    }
    if (!refused && life->plan_.hold) {
        life->held_ = life->plan_.hold();
        refused = !life->held_;
    }
    if (refused) {
        delete life; // gives back whatever it took
        return nullptr;
    }
    return life;
}

WindowLife *WindowLife::attach(QWidget *window, WindowPlan plan, BuiltWindow *scaled)
{
    // Claims and frame notices belong to a procedure: begin() takes them.
    assert(!plan.claim && !plan.hold && plan.notices == FrameNotices::None);
    auto *life = new WindowLife(0, std::move(plan));
    life->open(window, scaled);
    return life;
}

WindowLife::~WindowLife()
{
    held_.reset();
    if (announced_) postToFrame(Notice::ProcedureClosed);
    if (claimed_) releaseWindow(*plan_.claim, owner_);
}

void WindowLife::open(QWidget *window, BuiltWindow *scaled)
{
    window_ = window;
    scaled_ = scaled;
    setParent(window);
    window->installEventFilter(this);
    if (plan_.designPlace) putAtDesignPlace(window);
    // Registered before the saved size comes back, so that it scales the controls.
    if (scaled) RegisterWindowControls(*scaled);
    if (!plan_.section.empty()) RestoreWindowSettings(window, WindowSettingsFile, plan_.section);
    if (scaled) RelayoutControls(*scaled);
    if (plan_.notices == FrameNotices::OnceOpen) {
        postToFrame(Notice::ProcedureOpened);
        announced_ = true;
    }
    phase_ = WindowPhase::Live;
}

bool WindowLife::eventFilter(QObject *watched, QEvent *e)
{
    // Type first: the window may be part-destroyed while its last events pass.
    const QEvent::Type type = e->type();
    // A window that only hides when closed (the help viewer) lives again
    // when it shows.
    if (type == QEvent::Show && watched == window_ && phase_ == WindowPhase::Closing)
        phase_ = WindowPhase::Live;
    if (type != QEvent::Close || watched != window_) return QObject::eventFilter(watched, e);
    // A window waiting for the one it called cannot go meanwhile.
    if (phase_ == WindowPhase::Calling) {
        e->ignore();
        return true;
    }
    if (phase_ == WindowPhase::Live && plan_.mayClose && !plan_.mayClose()) {
        e->ignore();
        return true;
    }
    phase_ = WindowPhase::Closing;
    emit closing();
    if (!plan_.section.empty()) SaveWindowSettings(window_, WindowSettingsFile, plan_.section);
    if (scaled_) ReleaseWindowControls(*scaled_);
    return false;
}

WindowLife::Calling::Calling(WindowLife *life) : life_(life)
{
    assert(!life || life->phase_ == WindowPhase::Live);
    if (life_) life_->phase_ = WindowPhase::Calling;
}

WindowLife::Calling::~Calling()
{
    if (life_ && life_->phase_ == WindowPhase::Calling) life_->phase_ = WindowPhase::Live;
}

} // namespace hk
