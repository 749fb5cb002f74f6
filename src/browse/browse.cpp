#include "browse/browse.h"

#include "browse/forms.h"
#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/help.h"
#include "platform/windows/designplace.h"
#include "platform/windows/windowresize.h"
#include "platform/windows/windowsettings.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

namespace hk
{

Browse::Browse(const BrowseDef &def) : Procedure(QString::fromStdString(def.procedure)), def_(def)
{
}

Browse::~Browse() = default;

PagedList *Browse::list() const
{
    return content_ ? content_->controlAs<PagedList>(def_.list) : nullptr;
}

bool Browse::formsAvailable() const
{
    return def_.updates() && static_cast<bool>(formProcedure(def_.main));
}

QCoro::Task<> Browse::run()
{
    engine_ = std::make_unique<BrowseEngine>(def_, [this] {
        PagedList *l = list();
        return l ? l->pageSize() : 1;
    });
    engine_->begin();
    // One window of each list at a time, except for selecting: a form may
    // always ask for a choice.
    if (!engine_->selectMode() && def_.claim) {
        if (!claimWindow(*def_.claim, *this)) {
            engine_->finish();
            co_return;
        }
        claimed_ = true;
    }

    for (TableId t : def_.tables)
        tables_.use({&table(t)});
    if (!tables_.ok()) {
        if (claimed_) releaseWindow(*def_.claim, *this);
        engine_->finish();
        co_return;
    }
    engine_->readTotals(true);

    const DialogUnits units = DialogUnits::application();
    auto built = BuiltWindow::build(def_.layout, units,
                                    [units](const ControlLayout &c, QWidget *surface) -> QWidget * {
                                        if (c.kind != ControlKind::List) return nullptr;
                                        return new PagedList(units, surface);
                                    });
    content_ = built.release();
    // The list and buttons are declared before the sheet they sit on.
    if (QWidget *l = content_->control(def_.list)) l->raise();
    for (int id : {def_.select, def_.insert, def_.change, def_.remove})
        if (QWidget *b = content_->control(id)) b->raise();
    wire();
    openDocument(content_);
    if (def_.openTitle) setTitle(def_.openTitle());
    window()->setMinimumSize(window()->minimumSizeHint().expandedTo(content_->minimumSize()));
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window()))
        // Coming back to the window is gaining the focus: the page is read
        // again. (Only refreshed: raising it here could fight another window.)
        connect(sub, &QMdiSubWindow::aboutToActivate, this,
                [this] { QTimer::singleShot(0, this, [this] { refreshForFocus(); }); });
    settingsAtOpen();
    postToFrame(Notice::ProcedureOpened);

    markTab(0);
    engine_->onCloseRequest = [this] { post(id(), Notice::closeRequest()); };
    engine_->onNewSelection = [this] { postNewSelection(); };
    started_ = true;
    engine_->windowRefresh();
    redisplay();
    if (PagedList *l = list()) l->setFocus();

    co_await untilClosed();

    engine_->onNewSelection = nullptr;
    tables_.release();
    postToFrame(Notice::ProcedureClosed);
    if (claimed_) releaseWindow(*def_.claim, *this);
    engine_->finish();
    engine_.reset();
}

// Window settings are kept by the shell's window-settings routines: after
// the window opens, RegisterWindowControls, RestoreWindowSettings (section =
// the procedure's name) and RelayoutControls; before it closes,
// SaveWindowSettings. They are called from these two places once they exist.
void Browse::settingsAtOpen()
{
    putAtDesignPlace(window());
    // Registered before the saved size comes back, so that it scales the controls.
    RegisterWindowControls(*content_);
    RestoreWindowSettings(window(), WindowSettingsFile, def_.procedure);
    RelayoutControls(*content_);
}

void Browse::settingsAtClose()
{
    SaveWindowSettings(window(), WindowSettingsFile, def_.procedure);
    ReleaseWindowControls(*content_);
}

void Browse::wire()
{
    PagedList *l = list();
    l->setFormat(ListFormat::of(engine_->format()));
    connect(l, &PagedList::scrollRequested, this, [this](ListScroll how) {
        engine_->scroll(how);
        redisplay();
    });
    connect(l, &PagedList::thumbDragged, this, [this](int p) {
        engine_->dragThumb(p);
        redisplay();
    });
    connect(l, &PagedList::rowHighlighted, this, [this](int row) { engine_->highlight(row); });
    connect(l, &PagedList::command, this, [this](ListCommand c) { listCommand(c); });
    connect(l, &PagedList::typed, this, [this](const QString &t) { typedIntoList(t); });
    connect(l, &PagedList::popupRequested, this, [this](const QPoint &at) { showPopup(at); });

    if (auto *sheet = content_->controlAs<QTabWidget>(def_.sheet))
        connect(sheet, &QTabWidget::currentChanged, this, [this](int i) { tabChanged(i); });
    for (const BrowseSort &s : def_.sorts) {
        if (PictureEntry *e = content_->entry(s.locator)) {
            connect(e, &PictureEntry::accepted, this, [this](const PictureValue &v) {
                if (!engine_ || engine_->inFormCall()) return;
                engine_->locatorAccepted(v);
                redisplay();
                if (PagedList *l = list()) l->setFocus();
            });
        }
    }
    auto onClick = [this](int id, auto handler) {
        if (auto *b = content_->controlAs<QPushButton>(id))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick(def_.insert, [this] { callForm(InsertRecord); });
    onClick(def_.change, [this] { callForm(ChangeRecord); });
    onClick(def_.remove, [this] { callForm(DeleteRecord); });
    onClick(def_.select, [this] { pressSelect(); });
    onClick(def_.close, [this] { pressClose(); });
    onClick(def_.help, [this] { pressHelp(); });
    for (const BrowseAction &a : def_.actions)
        onClick(a.control, [this, &a] { runAction(a); });

    if (def_.select) {
        // Select only in select mode, where Enter presses it.
        if (engine_->selectMode()) {
            content_->unhideControl(def_.select);
            content_->controlAs<QPushButton>(def_.select)->setDefault(true);
            // Asked for a choice, the list is a dialog: Escape closes it.
            if (QWidget *close = content_->control(def_.close))
                close->setProperty("hkCancel", true);
        } else {
            content_->hideControl(def_.select);
        }
    }
    for (int id : def_.unbuilt)
        content_->setControlEnabled(id, false);
    const auto &controls = def_.layout.controls;
    for (std::size_t i = 0; i + 1 < controls.size(); ++i)
        for (const BrowseDisplay &d : def_.displays)
            if (controls[i].kind == ControlKind::Prompt && controls[i + 1].id == d.control)
                displayPrompts_.push_back(controls[i].id);
    content_->installEventFilter(this);
}

void Browse::redisplay()
{
    if (!content_ || !engine_) return;
    PagedList *l = list();
    const bool some = !engine_->empty();
    l->showRows(engine_->rows(), engine_->currentRow());
    l->setScrollBarShown(some && engine_->scrollBarShown());
    l->setThumb(engine_->thumb());

    const bool forms = formsAvailable();
    content_->setControlEnabled(def_.insert, forms);
    content_->setControlEnabled(def_.change, forms && some);
    content_->setControlEnabled(def_.remove, forms && some);
    if (def_.select) content_->setControlEnabled(def_.select, engine_->selectMode() && some);
    // A child list needs a highlighted parent to keep to.
    for (const BrowseAction &a : def_.actions)
        if (a.call) content_->setControlEnabled(a.control, some);

    const BrowseSort &s = def_.sorts.at(static_cast<std::size_t>(engine_->tab()));
    if (PictureEntry *e = content_->entry(s.locator)) {
        e->setEnabled(some);
        e->setValue(engine_->locatorValue());
    }
    if (def_.total && s.total) content_->setValue(s.total, bufferValue(*def_.total));
    // The joined record's fields belong to the highlighted row: with no row
    // they go, prompts and all, rather than show an earlier record.
    for (const BrowseDisplay &d : def_.displays) {
        if (some) {
            content_->unhideControl(d.control);
            content_->setValue(d.control, bufferValue(d.field));
        } else {
            content_->hideControl(d.control);
        }
    }
    for (int prompt : displayPrompts_)
        some ? content_->unhideControl(prompt) : content_->hideControl(prompt);
    if (!some && def_.emptyTitle) setTitle(def_.emptyTitle());
}

void Browse::setTitle(const std::string &title)
{
    const QString text = QString::fromStdString(title);
    content_->setWindowTitle(text);
    if (window()) window()->setWindowTitle(text);
}

void Browse::postNewSelection()
{
    // Handled once the list has taken its pending events, as a posted notice.
    QTimer::singleShot(0, this, [this] {
        if (!engine_ || !content_) return;
        engine_->handleNewSelection();
        redisplay();
    });
}

void Browse::markTab(int index)
{
    auto *sheet = content_ ? content_->controlAs<QTabWidget>(def_.sheet) : nullptr;
    if (!sheet) return;
    QTabBar *bar = sheet->tabBar();
    // The current tab's caption in blue; the previous one as it was.
    if (markedTab_ >= 0) bar->setTabTextColor(markedTab_, QColor());
    bar->setTabTextColor(index, QColor(0, 0, 255));
    markedTab_ = index;
}

void Browse::tabChanged(int index)
{
    if (!engine_ || !started_) return;
    markTab(index);
    engine_->changeTab(index);
    list()->setFormat(ListFormat::of(engine_->format()));
    redisplay();
}

void Browse::typedIntoList(const QString &text)
{
    if (!engine_ || engine_->empty()) return;
    const BrowseSort &s = def_.sorts.at(static_cast<std::size_t>(engine_->tab()));
    PictureEntry *e = content_->entry(s.locator);
    if (!e || !e->isEnabled()) return;
    e->setFocus();
    e->setText(text);
    e->setModified(true);
    e->end(false);
}

void Browse::listCommand(ListCommand command)
{
    if (!engine_ || engine_->inFormCall()) return;
    const bool some = !engine_->empty();
    switch (command) {
    case ListCommand::Insert:
        if (formsAvailable()) callForm(InsertRecord);
        break;
    case ListCommand::Delete:
        if (formsAvailable() && some) callForm(DeleteRecord);
        break;
    case ListCommand::Change:
        if (formsAvailable() && some) callForm(ChangeRecord);
        break;
    case ListCommand::DoubleClick:
        // A choosing window selects, even one without a form.
        if (!some) break;
        if (engine_->selectMode() && def_.select)
            pressSelect();
        else if (!engine_->selectMode() && formsAvailable())
            callForm(ChangeRecord);
        break;
    case ListCommand::Enter:
        if (def_.select && engine_->selectMode() && some) pressSelect();
        break;
    }
}

void Browse::showPopup(const QPoint &at)
{
    if (!engine_ || engine_->inFormCall()) return;
    const std::string text = engine_->popupText(formsAvailable());
    if (text.empty()) return;
    if (popup_) popup_->deleteLater();
    popup_ = new QMenu(content_);
    int number = 0;
    for (const QString &item : QString::fromStdString(text).split(u'|')) {
        if (item == QStringLiteral("-")) {
            popup_->addSeparator();
            continue;
        }
        ++number;
        const bool disabled = item.startsWith(u'~');
        QAction *action = popup_->addAction(disabled ? item.mid(1) : item);
        action->setEnabled(!disabled);
        connect(action, &QAction::triggered, this, [this, number] {
            switch (number) {
            case 1:
                callForm(InsertRecord);
                break;
            case 2:
                callForm(ChangeRecord);
                break;
            case 3:
                callForm(DeleteRecord);
                break;
            default:
                pressSelect();
                break;
            }
        });
    }
    popup_->popup(at);
}

void Browse::pressSelect()
{
    if (!engine_ || engine_->empty() || !engine_->selectMode()) return;
    engine_->reread();
    engine_->setResponse(RequestCompleted);
    window()->close();
}

void Browse::pressClose()
{
    if (!engine_) return;
    engine_->reread();
    engine_->setResponse(RequestCancelled);
    window()->close();
}

void Browse::pressHelp()
{
    if (!engine_) return;
    engine_->reread();
    showHelp(name());
}

QCoro::Task<> Browse::callForm(Long request)
{
    if (!engine_ || engine_->inFormCall()) co_return;
    ProcedureFactory form = formProcedure(def_.main);
    if (!def_.updates() || !form) co_return;
    if (request != InsertRecord && engine_->empty()) co_return;
    engine_->beginFormCall(request);
    co_await call(form());
    const Long response = GlobalResponse;
    if (!engine_) co_return;
    engine_->endFormCall(request, response);
    redisplay();
    if (PagedList *l = list()) l->setFocus();
}

QCoro::Task<> Browse::runAction(const BrowseAction &action)
{
    if (!engine_ || engine_->inFormCall() || inCall_) co_return;
    // A child list needs a parent to keep to.
    if (action.call && engine_->empty()) co_return;
    // The parent's buffer holds the highlighted record for the child.
    engine_->reread();
    if (action.call) {
        inCall_ = true;
        co_await call(action.procedure());
        inCall_ = false;
        if (!engine_) co_return;
    } else {
        start(action.procedure());
    }
    engine_->restoreRequest();
    engine_->forceRefresh();
    engine_->windowRefresh();
    redisplay();
}

bool Browse::handlePosted(QEvent::Type type)
{
    const bool handled = Procedure::handlePosted(type);
    if (type == Notice::gainFocus()) refreshForFocus();
    return handled;
}

void Browse::refreshForFocus()
{
    if (!engine_ || !content_ || !started_ || engine_->inFormCall() || inCall_) return;
    // The page is read again, so that changes made elsewhere show.
    engine_->forceRefresh();
    engine_->windowRefresh();
    redisplay();
}

bool Browse::eventFilter(QObject *watched, QEvent *e)
{
    // Type first: the window may be part-destroyed while its last events pass.
    if (e->type() == QEvent::Close && watched == window()) {
        // The list waits for its form: it cannot go while the form is open.
        if (engine_ && (engine_->inFormCall() || inCall_)) {
            e->ignore();
            return true;
        }
        if (engine_) engine_->stop();
        settingsAtClose();
    }
    if (e->type() == QEvent::Resize && watched == content_ && started_ && !refreshQueued_) {
        // The page is read again at the new height, once the resizing settles.
        refreshQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            refreshQueued_ = false;
            if (!engine_ || !content_ || engine_->inFormCall() || inCall_) return;
            engine_->forceRefresh();
            engine_->windowRefresh();
            redisplay();
        });
    }
    return Procedure::eventFilter(watched, e);
}

} // namespace hk
