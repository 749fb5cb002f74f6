#include "platform/windows/procedure.h"

#include "dictionary/globals.h"
#include "platform/titlefit.h"
#include "platform/windows/layout.h"

#include <QApplication>
#include <QCoro/QCoroSignal>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

#include <map>
#include <utility>

namespace hk
{

namespace
{

// Running procedures by number. They own themselves; the registry only finds
// them, and forgets each when it is destroyed.
std::map<Long, Procedure *> &registry()
{
    static std::map<Long, Procedure *> procedures;
    return procedures;
}

// Unwinds the coroutines of a caller that closed while its call ran. It
// ends in execute(), or with a handler coroutine nobody awaits.
struct CallerClosed {
};

Long lastId = 0;
constexpr const char *kMessageOwner = "hkMessageOwner";
QPointer<QMdiArea> area;

bool isPostedNotice(QEvent::Type t)
{
    return t == Notice::ProcedureOpened || t == Notice::ProcedureClosed ||
           t == Notice::gainFocus() || t == Notice::closeRequest();
}

} // namespace

QEvent::Type Notice::gainFocus()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QEvent::Type Notice::closeRequest()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

Procedure::Procedure(QString name) : name_(std::move(name)) {}

Procedure::~Procedure()
{
    if (id_ != 0) registry().erase(id_);
    // A window that outlives its procedure could no longer be closed through it.
    if (window_) {
        window_->disconnect(this);
        delete window_.data();
    }
}

Procedure &Procedure::enrol(std::unique_ptr<Procedure> p)
{
    Procedure &proc = *p.release();
    proc.id_ = ++lastId;
    registry()[proc.id_] = &proc;
    return proc;
}

QCoro::Task<> Procedure::execute()
{
    try {
        co_await run();
    } catch (const CallerClosed &) {
        // run() awaited a call that outlived this procedure's window.
    }
    ended_ = true;
    registry().erase(id_);
    emit done();
    deleteLater();
}

Long start(std::unique_ptr<Procedure> procedure)
{
    Procedure &proc = Procedure::enrol(std::move(procedure));
    const Long id = proc.id_;
    // The task runs on by itself; dropping the handle does not stop it.
    proc.execute();
    return id;
}

QCoro::Task<> Procedure::call(std::unique_ptr<Procedure> callee)
{
    QPointer<Procedure> self(this);
    const bool windowed = window_ != nullptr;
    Procedure &proc = enrol(std::move(callee));
    // Noted before the window stops taking input, which takes the focus away.
    QPointer<QWidget> focused = window_ ? window_->focusWidget() : nullptr;
    acceptInput(false);
    co_await proc.execute();
    // The frame may have closed every window meanwhile: nothing of a caller
    // that has closed may run on, so its coroutines are unwound instead.
    if (!self || self->ended_ || (windowed && !self->window_)) throw CallerClosed{};
    acceptInput(true);
    regainFocus(focused);
}

void Procedure::bringToFront()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window_.data()); sub && sub->mdiArea()) {
        if (sub->isMinimized()) sub->showNormal();
        sub->mdiArea()->setActiveSubWindow(sub);
    } else if (window_) {
        window_->raise();
        window_->activateWindow();
    }
}

void Procedure::regainFocus(QPointer<QWidget> focused)
{
    auto activate = [this, focused] {
        // Not while it waits for another call again.
        if (!window_ || !window_->isEnabled()) return;
        bringToFront();
        // The caller may have put the focus somewhere itself by now.
        QWidget *now = QApplication::focusWidget();
        if (focused && focused->isEnabled() && (!now || !window_->isAncestorOf(now)))
            focused->setFocus(Qt::OtherFocusReason);
    };
    activate();
    // The document area activates a window of its own choosing once the
    // called one has gone: come back after it.
    QTimer::singleShot(0, this, activate);
}

void Procedure::acceptInput(bool accept)
{
    if (window_) window_->setEnabled(accept);
}

QWidget *Procedure::openDocument(QWidget *content)
{
    if (area) {
        // The sub-window sizes itself from the content's hint, which for a
        // resizable window is its minimum: keep the size it was built at.
        const QSize built = content->size();
        QMdiSubWindow *sub = area->addSubWindow(content);
        setWindow(sub);
        // The focused control's message goes to the frame's status bar, and
        // leaves with the window that put it there.
        auto *frame = qobject_cast<QMainWindow *>(area->window());
        if (auto *built = qobject_cast<BuiltWindow *>(content); built && frame) {
            QStatusBar *bar = frame->statusBar();
            connect(built, &BuiltWindow::statusMessage, bar, [bar, built](const QString &text) {
                bar->setProperty(kMessageOwner, QVariant::fromValue<void *>(built));
                bar->showMessage(text);
            });
            connect(built, &QObject::destroyed, bar, [bar, built] {
                if (bar->property(kMessageOwner).value<void *>() != built) return;
                bar->setProperty(kMessageOwner, QVariant());
                bar->clearMessage();
            });
        }
        sub->show();
        sub->resize(sub->size() - content->size() + built);
        fitTitle(sub);
        return sub;
    }
    setWindow(content);
    content->show();
    fitTitle(content);
    return content;
}

void Procedure::setWindow(QWidget *w)
{
    window_ = w;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->installEventFilter(this);
    connect(w, &QObject::destroyed, this, [this] { emit windowClosed(); });
}

QCoro::Task<> Procedure::untilClosed()
{
    if (!window_) co_return;
    co_await qCoro(this, &Procedure::windowClosed);
}

bool Procedure::handlePosted(QEvent::Type type)
{
    if (type == Notice::closeRequest()) {
        if (window_) window_->close();
        return true;
    }
    if (type == Notice::gainFocus()) {
        if (!window_) return true;
        bringToFront();
        return true;
    }
    return false;
}

bool Procedure::event(QEvent *e)
{
    if (isPostedNotice(e->type())) return handlePosted(e->type());
    return QObject::event(e);
}

bool Procedure::eventFilter(QObject *watched, QEvent *e)
{
    // Type first: the window may be part-destroyed while its last events pass.
    if (isPostedNotice(e->type()) && watched == window_) return handlePosted(e->type());
    // A window of its own that opens takes the keyboard: the user answers
    // it, not the window that opened it.
    if (e->type() == QEvent::Show && watched == window_ && window_->isWindow() &&
        !qobject_cast<QMdiSubWindow *>(window_.data()) &&
        !window_->testAttribute(Qt::WA_DontShowOnScreen))
        QTimer::singleShot(0, window_, [w = window_] {
            if (w && w->isVisible()) {
                w->raise();
                w->activateWindow();
            }
        });
    return QObject::eventFilter(watched, e);
}

Procedure *findProcedure(Long id)
{
    auto it = registry().find(id);
    return it == registry().end() ? nullptr : it->second;
}

std::vector<Procedure *> runningProcedures()
{
    std::vector<Procedure *> all;
    for (const auto &[id, proc] : registry())
        all.push_back(proc);
    return all;
}

Procedure *procedureOf(const QWidget *widget)
{
    for (const QWidget *at = widget; at; at = at->parentWidget())
        for (const auto &[id, proc] : registry())
            if (proc->window() == at) return proc;
    return nullptr;
}

bool post(Long id, QEvent::Type type)
{
    Procedure *proc = findProcedure(id);
    if (!proc) return false;
    QObject *target = proc->window() ? static_cast<QObject *>(proc->window()) : proc;
    QCoreApplication::postEvent(target, new QEvent(type));
    return true;
}

bool postToFrame(QEvent::Type notice)
{
    return post(Glo.MainThreadNo, notice);
}

QStringList otherOpenWindows(const Procedure &self)
{
    QCoreApplication::sendPostedEvents(nullptr, Notice::closeRequest());
    QStringList titles;
    for (const auto &[id, proc] : registry()) {
        if (proc == &self || id == Glo.MainThreadNo) continue;
        const QWidget *w = proc->window();
        if (w && !w->isVisible()) continue; // closed, and about to go
        titles << (w && !w->windowTitle().isEmpty() ? w->windowTitle() : proc->name());
    }
    return titles;
}

bool claimWindow(Long &claim, const Procedure &self)
{
    if (claim != 0 && claim != self.id() && findProcedure(claim)) {
        post(claim, Notice::gainFocus());
        return false;
    }
    claim = self.id();
    return true;
}

void releaseWindow(Long &claim, const Procedure &self)
{
    releaseWindow(claim, self.id());
}

void releaseWindow(Long &claim, Long self)
{
    if (claim == self) claim = 0;
}

void setDocumentArea(QMdiArea *documents)
{
    area = documents;
}

QMdiArea *documentArea()
{
    return area;
}

} // namespace hk
