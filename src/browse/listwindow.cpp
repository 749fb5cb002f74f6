#include "browse/listwindow.h"

#include "browse/forms.h"
#include "browse/listcontrol.h"
#include "dictionary/globals.h"
#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "platform/help.h"

#include <QMdiSubWindow>
#include <QPushButton>
#include <QTimer>

namespace hk
{

ListWindow::ListWindow(Parts parts)
    : Procedure(QString::fromStdString(parts.procedure)), parts_(std::move(parts))
{
}

ListWindow::~ListWindow() = default;

ListPane *ListWindow::pane(std::size_t index) const
{
    return content_ && index < panes_.size() ? panes_[index].get() : nullptr;
}

BrowseEngine *ListWindow::engineOf(std::size_t index) const
{
    ListPane *p = pane(index);
    return p ? &p->engine() : nullptr;
}

PagedList *ListWindow::listOf(std::size_t index) const
{
    ListPane *p = pane(index);
    return p ? p->list() : nullptr;
}

QCoro::Task<> ListWindow::run()
{
    for (const BrowseDef *def : parts_.panes)
        panes_.push_back(std::make_unique<ListPane>(*this, *def));
    for (auto &p : panes_)
        p->engine().begin();
    auto finish = [this] {
        for (auto p = panes_.rbegin(); p != panes_.rend(); ++p)
            (*p)->engine().finish();
    };
    ListPane &first = *panes_.front();
    // One window of each list at a time, except for selecting: a form may
    // always ask for a choice.
    std::vector<Table *> tables;
    for (TableId t : parts_.tables)
        tables.push_back(&table(t));
    life_ = WindowLife::begin(*this, {.section = parts_.procedure,
                                      .claim = first.engine().selectMode() ? nullptr : parts_.claim,
                                      .hold = holdTables(std::move(tables)),
                                      .notices = FrameNotices::OnceOpen});
    if (!life_) {
        finish();
        co_return;
    }
    first.engine().readTotals(true);

    const DialogUnits units = DialogUnits::application();
    auto built = BuiltWindow::build(parts_.layout, units,
                                    [units](const ControlLayout &c, QWidget *surface) -> QWidget * {
                                        if (c.kind != ControlKind::List) return nullptr;
                                        return new PagedList(units, surface);
                                    });
    content_ = built.release();
    for (auto &p : panes_)
        p->wire();
    wired();
    // Close and Help serve the whole window: the first list's.
    auto onClick = [this](int id, auto handler) {
        if (auto *b = content_->controlAs<QPushButton>(id))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick(first.def().close, [this] { pressClose(); });
    onClick(first.def().help, [this] { pressHelp(); });
    content_->installEventFilter(this);

    openDocument(content_);
    window()->setMinimumSize(window()->minimumSizeHint().expandedTo(content_->minimumSize()));
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window()))
        // Coming back to the window is gaining the focus: the page is read
        // again. (Only refreshed: raising it here could fight another window.)
        connect(sub, &QMdiSubWindow::aboutToActivate, this,
                [this] { QTimer::singleShot(0, this, [this] { refreshForFocus(); }); });
    opened();
    life_->open(window(), content_);
    connect(life_, &WindowLife::closing, this, [this] {
        // The buffers keep what they hold now, whatever notices are on their way.
        for (auto &p : panes_)
            p->engine().stop();
    });

    refreshAll();
    if (PagedList *l = first.list()) l->setFocus();

    co_await untilClosed();

    for (auto &p : panes_) {
        p->engine().onNewSelection = nullptr;
        p->engine().onWindowRefresh = nullptr;
    }
    finish();
}

void ListWindow::refreshAll(Refresh how)
{
    if (!showing()) return;
    for (auto &p : panes_)
        p->engine().checkOrder(how);
    for (auto &p : panes_)
        p->engine().endRefresh();
    redisplay();
}

void ListWindow::redisplay()
{
    if (!content_) return;
    for (auto &p : panes_)
        p->redisplay();
    shown();
}

void ListWindow::rereadAll()
{
    for (auto &p : panes_)
        p->engine().reread();
}

QCoro::Task<> ListWindow::callForm(ListPane &pane, Long request)
{
    if (!mayAct()) co_return;
    ProcedureFactory form = formProcedure(pane.def().main);
    if (!form) co_return;
    rereadAll();
    {
        WindowLife::Calling held(life_);
        pane.engine().beginFormCall(request);
        co_await call(form());
    }
    pane.engine().endFormCall(request, GlobalResponse);
    redisplay();
    if (PagedList *l = pane.list()) l->setFocus();
}

QCoro::Task<> ListWindow::runAction(ListPane &pane, const BrowseAction &action)
{
    if (!mayAct()) co_return;
    // A child list needs a parent to keep to.
    if (action.call && pane.engine().empty()) co_return;
    // The parents' buffers hold the highlighted records for the other window.
    rereadAll();
    if (action.call) {
        WindowLife::Calling held(life_);
        co_await call(action.procedure());
    } else {
        start(action.procedure());
    }
    // It may have changed anything: every list is read again.
    refreshAll(Refresh::ReadAgain);
}

QCoro::Task<std::optional<bool>> ListWindow::callHeld(std::function<QCoro::Task<bool>()> call)
{
    if (!mayAct()) co_return std::nullopt;
    rereadAll();
    bool result = false;
    {
        WindowLife::Calling held(life_);
        result = co_await call();
    }
    if (!content_) co_return std::nullopt;
    co_return result;
}

void ListWindow::extendPanePopup(QMenu &menu, const ListPane &pane)
{
    for (std::size_t i = 0; i < panes_.size(); ++i)
        if (panes_[i].get() == &pane) extendPopup(menu, i);
}

void ListWindow::pressClose()
{
    if (!mayAct()) return;
    rereadAll();
    panes_.front()->engine().setResponse(RequestCancelled);
    window()->close();
}

void ListWindow::pressHelp()
{
    if (!mayAct()) return;
    rereadAll();
    showHelp(helpContext());
}

bool ListWindow::handlePosted(QEvent::Type type)
{
    const bool handled = Procedure::handlePosted(type);
    if (type == Notice::gainFocus()) refreshForFocus();
    return handled;
}

void ListWindow::refreshForFocus()
{
    // The page is read again, so that changes made elsewhere show.
    if (mayAct()) refreshAll(Refresh::ReadAgain);
}

bool ListWindow::eventFilter(QObject *watched, QEvent *e)
{
    // Type first: the window may be part-destroyed while its last events pass.
    if (e->type() == QEvent::Resize && watched == content_ && showing() && !refreshQueued_) {
        // The page is read again at the new height, once the resizing settles.
        refreshQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            refreshQueued_ = false;
            refreshForFocus();
        });
    }
    return Procedure::eventFilter(watched, e);
}

} // namespace hk
