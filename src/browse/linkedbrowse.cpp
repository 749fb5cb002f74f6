#include "browse/linkedbrowse.h"

#include "browse/forms.h"
#include "browse/listcontrol.h"
#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "platform/data/fileerror.h"
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

namespace hk
{

// ------------------------------------------------------------ layout

namespace
{

void shift(BrowseDef &d, int dx, int dy, int offset)
{
    auto renumber = [offset](int &id) {
        if (id != 0) id += offset;
    };
    for (ControlLayout &c : d.layout.controls) {
        renumber(c.id);
        renumber(c.parent);
        c.design.translate(dx, dy);
    }
    for (int *id :
         {&d.list, &d.sheet, &d.select, &d.insert, &d.change, &d.remove, &d.close, &d.help})
        renumber(*id);
    for (BrowseSort &s : d.sorts) {
        renumber(s.tab);
        renumber(s.locator);
        renumber(s.total);
    }
    for (BrowseDisplay &b : d.displays)
        renumber(b.control);
    for (int &id : d.unbuilt)
        renumber(id);
}

} // namespace

namespace
{

void combine(LinkedDef &def, const std::string &title, QSize size, QSize minimum)
{
    BrowseDef &a = def.first;
    BrowseDef &b = def.second;
    b.layout.controls.erase(
        std::remove_if(b.layout.controls.begin(), b.layout.controls.end(),
                       [&b](const ControlLayout &c) { return c.id == b.close || c.id == b.help; }),
        b.layout.controls.end());
    b.close = b.help = 0;

    WindowLayout &w = def.layout;
    w = WindowLayout{};
    w.title = title;
    w.size = size;
    w.minimumSize = minimum;
    // Tab goes through the first list's controls, then the second's, then
    // Close and Help, which serve the whole window.
    const auto shared = [&a](const ControlLayout &c) { return c.id == a.close || c.id == a.help; };
    w.controls = a.layout.controls;
    const auto foot = std::stable_partition(w.controls.begin(), w.controls.end(),
                                            [&](const ControlLayout &c) { return !shared(c); });
    w.controls.insert(foot, b.layout.controls.begin(), b.layout.controls.end());
    a.layout.title = b.layout.title = title;
}

} // namespace

void linkSideBySide(LinkedDef &def, const std::string &title, QSize size, QSize minimum)
{
    BrowseDef &a = def.first;
    const int dx = a.layout.size.width();
    shift(def.second, dx, 0, SecondListOffset);
    // Close and Help go to the window's right foot, where the second list's
    // pair would have been: as far from the right edge as in the first list.
    const int toRightFoot = def.second.layout.size.width();
    for (ControlLayout &c : a.layout.controls)
        if (c.id == a.close || c.id == a.help) c.design.translate(toRightFoot, 0);
    combine(def, title, size, minimum);
}

void linkLayouts(LinkedDef &def, const std::string &title, QSize size, QSize minimum)
{
    BrowseDef &a = def.first;
    const int top = a.layout.size.height();
    // The first list's Close and Help sit at the window's foot, where the
    // second list's pair would have been.
    const int footDrop = size.height() - top;
    shift(def.second, 0, top, SecondListOffset);
    for (ControlLayout &c : a.layout.controls)
        if (c.id == a.close || c.id == a.help) c.design.translate(0, footDrop);
    combine(def, title, size, minimum);
}

// ------------------------------------------------------------ one list

// One list of the window: its engine and the wiring of its own controls.
class ListPane : public QObject
{
  public:
    ListPane(LinkedBrowse &host, const BrowseDef &def)
        : host_(host), def_(def), engine_(std::make_unique<BrowseEngine>(def, [this] {
              PagedList *l = list();
              return l ? l->pageSize() : 1;
          }))
    {
    }

    BrowseEngine &engine() { return *engine_; }
    const BrowseDef &def() const { return def_; }
    PagedList *list() const
    {
        return host_.content_ ? host_.content_->controlAs<PagedList>(def_.list) : nullptr;
    }
    bool formsAvailable() const
    {
        return def_.updates() && static_cast<bool>(formProcedure(def_.main));
    }

    void wire()
    {
        BuiltWindow *w = host_.content_;
        PagedList *l = list();
        l->setFormat(ListFormat::of(engine_->format()));
        connect(l, &PagedList::scrollRequested, this, [this](ListScroll how) {
            if (host_.busy()) return;
            engine_->scroll(how);
            host_.redisplay();
        });
        connect(l, &PagedList::thumbDragged, this, [this](int p) {
            if (host_.busy()) return;
            engine_->dragThumb(p);
            host_.redisplay();
        });
        connect(l, &PagedList::rowHighlighted, this, [this](int row) {
            if (!host_.busy()) engine_->highlight(row);
        });
        connect(l, &PagedList::command, this, [this](ListCommand c) { listCommand(c); });
        connect(l, &PagedList::typed, this, [this](const QString &t) { typed(t); });
        connect(l, &PagedList::popupRequested, this, [this](const QPoint &at) { popup(at); });
        if (auto *sheet = w->controlAs<QTabWidget>(def_.sheet)) {
            connect(sheet, &QTabWidget::currentChanged, this, [this](int i) { tabChanged(i); });
            // A list with one unnamed order shows no tab to choose.
            if (sheet->count() == 1 && sheet->tabText(0).isEmpty()) sheet->tabBar()->hide();
        }
        for (const BrowseSort &s : def_.sorts)
            if (PictureEntry *e = w->entry(s.locator))
                connect(e, &PictureEntry::accepted, this, [this](const PictureValue &v) {
                    if (host_.busy()) return;
                    engine_->locatorAccepted(v);
                    host_.redisplay();
                    if (PagedList *l = list()) l->setFocus();
                });
        auto onClick = [this, w](int id, Long request) {
            if (auto *b = w->controlAs<QPushButton>(id))
                connect(b, &QPushButton::clicked, this, [this, request] { form(request); });
        };
        onClick(def_.insert, InsertRecord);
        onClick(def_.change, ChangeRecord);
        onClick(def_.remove, DeleteRecord);
        engine_->onCloseRequest = [this] { post(host_.id(), Notice::closeRequest()); };
        engine_->onNewSelection = [this] {
            // Handled once the list has taken its pending events; then the
            // other list follows.
            QTimer::singleShot(0, this, [this] {
                if (!host_.content_ || !host_.started_) return;
                engine_->handleNewSelection();
            });
        };
        engine_->onWindowRefresh = [this] { host_.refreshAll(); };
        markTab(0);
    }

    void redisplay()
    {
        BuiltWindow *w = host_.content_;
        PagedList *l = list();
        if (!w || !l) return;
        const bool some = !engine_->empty();
        l->showRows(engine_->rows(), engine_->currentRow());
        l->setScrollBarShown(some && engine_->scrollBarShown());
        l->setThumb(engine_->thumb());
        const bool forms = formsAvailable();
        w->setControlEnabled(def_.insert, forms);
        w->setControlEnabled(def_.change, forms && some);
        w->setControlEnabled(def_.remove, forms && some);
        const BrowseSort &s = def_.sorts.at(static_cast<std::size_t>(engine_->tab()));
        if (PictureEntry *e = w->entry(s.locator)) {
            e->setEnabled(some);
            e->setValue(engine_->locatorValue());
        }
        if (def_.total && s.total) w->setValue(s.total, bufferValue(*def_.total));
        for (const BrowseDisplay &d : def_.displays)
            w->setValue(d.control, some ? bufferValue(d.field) : PictureValue{std::string()});
    }

    void form(Long request)
    {
        if (host_.busy() || !formsAvailable()) return;
        if (request != InsertRecord && engine_->empty()) return;
        host_.callForm(*this, request);
    }

  private:
    void listCommand(ListCommand c)
    {
        if (host_.busy() || !def_.updates()) return;
        const bool some = !engine_->empty();
        switch (c) {
        case ListCommand::Insert:
            form(InsertRecord);
            break;
        case ListCommand::Delete:
            if (some) form(DeleteRecord);
            break;
        case ListCommand::Change:
        case ListCommand::DoubleClick:
            if (some) form(ChangeRecord);
            break;
        case ListCommand::Enter:
            break;
        }
    }

    void typed(const QString &text)
    {
        if (host_.busy() || engine_->empty()) return;
        const BrowseSort &s = def_.sorts.at(static_cast<std::size_t>(engine_->tab()));
        PictureEntry *e = host_.content_->entry(s.locator);
        if (!e || !e->isEnabled()) return;
        e->setFocus();
        e->setText(text);
        e->setModified(true);
        e->end(false);
    }

    void popup(const QPoint &at)
    {
        if (host_.busy()) return;
        const std::string text = engine_->popupText(formsAvailable());
        if (menu_) menu_->deleteLater();
        menu_ = new QMenu(host_.content_);
        int number = 0;
        const QStringList items =
            text.empty() ? QStringList() : QString::fromStdString(text).split(u'|');
        for (const QString &item : items) {
            if (item == QStringLiteral("-")) {
                menu_->addSeparator();
                continue;
            }
            const Long request = ++number;
            const bool disabled = item.startsWith(u'~');
            QAction *a = menu_->addAction(disabled ? item.mid(1) : item);
            a->setEnabled(!disabled);
            connect(a, &QAction::triggered, this, [this, request] { form(request); });
        }
        host_.extendPopup(*menu_, this == host_.second_.get());
        if (menu_->isEmpty()) return;
        menu_->popup(at);
    }

    void markTab(int index)
    {
        auto *sheet = host_.content_->controlAs<QTabWidget>(def_.sheet);
        if (!sheet || sheet->count() == 0) return;
        QTabBar *bar = sheet->tabBar();
        if (marked_ >= 0) bar->setTabTextColor(marked_, QColor());
        bar->setTabTextColor(index, QColor(0, 0, 255));
        marked_ = index;
    }

    void tabChanged(int index)
    {
        if (!host_.started_ || host_.busy()) return;
        markTab(index);
        engine_->changeTab(index);
        list()->setFormat(ListFormat::of(engine_->format()));
        host_.redisplay();
    }

    LinkedBrowse &host_;
    const BrowseDef &def_;
    std::unique_ptr<BrowseEngine> engine_;
    QPointer<QMenu> menu_;
    int marked_ = -1;
};

// ------------------------------------------------------------ the window

LinkedBrowse::LinkedBrowse(const LinkedDef &def)
    : Procedure(QString::fromStdString(def.procedure)), def_(def)
{
}

LinkedBrowse::~LinkedBrowse() = default;

BrowseEngine *LinkedBrowse::firstEngine() const
{
    return first_ && content_ ? &first_->engine() : nullptr;
}

BrowseEngine *LinkedBrowse::secondEngine() const
{
    return second_ && content_ ? &second_->engine() : nullptr;
}

PagedList *LinkedBrowse::firstList() const
{
    return first_ ? first_->list() : nullptr;
}

PagedList *LinkedBrowse::secondList() const
{
    return second_ ? second_->list() : nullptr;
}

bool LinkedBrowse::busy() const
{
    return calling_ || !content_ || !first_ || !second_;
}

QCoro::Task<> LinkedBrowse::run()
{
    first_ = std::make_unique<ListPane>(*this, def_.first);
    second_ = std::make_unique<ListPane>(*this, def_.second);
    first_->engine().begin();
    second_->engine().begin();
    auto finish = [this] {
        second_->engine().finish();
        first_->engine().finish();
    };
    if (!first_->engine().selectMode() && def_.claim) {
        if (!claimWindow(*def_.claim, *this)) {
            finish();
            co_return;
        }
        claimed_ = true;
    }
    for (TableId t : def_.tables)
        tables_.use({&table(t)});
    if (!tables_.ok()) {
        if (claimed_) releaseWindow(*def_.claim, *this);
        finish();
        co_return;
    }
    first_->engine().readTotals(true);

    const DialogUnits units = DialogUnits::application();
    auto built = BuiltWindow::build(def_.layout, units,
                                    [units](const ControlLayout &c, QWidget *surface) -> QWidget * {
                                        if (c.kind != ControlKind::List) return nullptr;
                                        return new PagedList(units, surface);
                                    });
    content_ = built.release();
    for (const BrowseDef *d : {&def_.first, &def_.second}) {
        if (QWidget *l = content_->control(d->list)) l->raise();
        for (int id : {d->insert, d->change, d->remove})
            if (QWidget *b = content_->control(id)) b->raise();
    }
    for (const auto &c : def_.calls)
        if (QWidget *b = content_->control(c.button)) b->raise();
    first_->wire();
    second_->wire();
    wired();
    auto onClick = [this](int id, auto handler) {
        if (auto *b = content_->controlAs<QPushButton>(id))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick(def_.first.close, [this] { pressClose(); });
    onClick(def_.first.help, [this] { pressHelp(); });
    for (const auto &c : def_.calls)
        onClick(c.button, [this, &c] { callChild(c); });
    content_->installEventFilter(this);

    openDocument(content_);
    window()->setMinimumSize(window()->minimumSizeHint().expandedTo(content_->minimumSize()));
    if (auto *sub = qobject_cast<QMdiSubWindow *>(window()))
        connect(sub, &QMdiSubWindow::aboutToActivate, this,
                [this] { QTimer::singleShot(0, this, [this] { refreshForFocus(); }); });
    putAtDesignPlace(window());
    RegisterWindowControls(*content_);
    RestoreWindowSettings(window(), WindowSettingsFile, def_.procedure);
    RelayoutControls(*content_);
    postToFrame(Notice::ProcedureOpened);

    started_ = true;
    refreshAll();
    if (PagedList *l = firstList()) l->setFocus();

    co_await untilClosed();

    for (ListPane *p : {first_.get(), second_.get()}) {
        p->engine().onNewSelection = nullptr;
        p->engine().onWindowRefresh = nullptr;
    }
    tables_.release();
    postToFrame(Notice::ProcedureClosed);
    if (claimed_) releaseWindow(*def_.claim, *this);
    finish();
}

void LinkedBrowse::refreshAll()
{
    if (!content_ || !started_) return;
    // Both sort orders are checked before either locator field is cleared:
    // the second list ranges on the identifier the first one just copied.
    BrowseEngine &a = first_->engine();
    BrowseEngine &b = second_->engine();
    a.checkOrder();
    b.checkOrder();
    a.endRefresh();
    b.endRefresh();
    redisplay();
}

void LinkedBrowse::redisplay()
{
    if (!content_) return;
    first_->redisplay();
    second_->redisplay();
    // The second list's records belong to the first list's highlighted one:
    // with none there, a new one would belong to nothing.
    if (first_->engine().empty()) content_->setControlEnabled(def_.second.insert, false);
    for (const auto &g : def_.guards) {
        Table &t = table(g.table);
        const bool stored = field::integer(t.def().fields[0], t.buffer()) != 0 &&
                            t.get(KeyId{g.table, 0}) == NoError;
        content_->setControlEnabled(g.button, stored && !calling_);
    }
    shown();
}

void LinkedBrowse::rereadBoth()
{
    first_->engine().reread();
    second_->engine().reread();
}

QCoro::Task<> LinkedBrowse::callForm(ListPane &pane, Long request)
{
    if (busy()) co_return;
    ProcedureFactory form = formProcedure(pane.def().main);
    if (!form) co_return;
    rereadBoth();
    calling_ = true;
    pane.engine().beginFormCall(request);
    co_await call(form());
    const Long response = GlobalResponse;
    calling_ = false;
    if (!content_) co_return;
    pane.engine().endFormCall(request, response);
    redisplay();
    if (PagedList *l = pane.list()) l->setFocus();
}

QCoro::Task<std::optional<bool>> LinkedBrowse::callHeld(std::function<QCoro::Task<bool>()> call)
{
    if (busy()) co_return std::nullopt;
    rereadBoth();
    calling_ = true;
    const bool result = co_await call();
    calling_ = false;
    if (!content_) co_return std::nullopt;
    co_return result;
}

QCoro::Task<> LinkedBrowse::callChild(const LinkedDef::Call &c)
{
    if (busy()) co_return;
    rereadBoth();
    calling_ = true;
    co_await call(c.make());
    calling_ = false;
    if (!content_) co_return;
    // The child window may have changed anything: both lists are read again.
    first_->engine().forceRefresh();
    second_->engine().forceRefresh();
    refreshAll();
}

void LinkedBrowse::pressClose()
{
    if (busy()) return;
    rereadBoth();
    first_->engine().setResponse(RequestCancelled);
    window()->close();
}

void LinkedBrowse::pressHelp()
{
    if (busy()) return;
    rereadBoth();
    showHelp(name());
}

bool LinkedBrowse::handlePosted(QEvent::Type type)
{
    const bool handled = Procedure::handlePosted(type);
    if (type == Notice::gainFocus()) refreshForFocus();
    return handled;
}

void LinkedBrowse::refreshForFocus()
{
    if (busy() || !started_) return;
    first_->engine().forceRefresh();
    second_->engine().forceRefresh();
    refreshAll();
}

bool LinkedBrowse::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Close && watched == window()) {
        // A called form or window holds this one open.
        if (calling_) {
            e->ignore();
            return true;
        }
        if (first_) first_->engine().stop();
        if (second_) second_->engine().stop();
        if (content_) {
            SaveWindowSettings(window(), WindowSettingsFile, def_.procedure);
            ReleaseWindowControls(*content_);
        }
    }
    if (e->type() == QEvent::Resize && watched == content_ && started_ && !refreshQueued_) {
        refreshQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            refreshQueued_ = false;
            refreshForFocus();
        });
    }
    return Procedure::eventFilter(watched, e);
}

} // namespace hk
