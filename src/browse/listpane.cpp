#include "browse/listpane.h"

#include "browse/forms.h"
#include "browse/listcontrol.h"
#include "browse/listwindow.h"
#include "platform/windows/layout.h"

#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace hk
{

ListPane::ListPane(ListWindow &window, const BrowseDef &def)
    : window_(window), def_(def), engine_(std::make_unique<BrowseEngine>(def, [this] {
          PagedList *l = list();
          return l ? l->pageSize() : 1;
      }))
{
}

ListPane::~ListPane() = default;

PagedList *ListPane::list() const
{
    BuiltWindow *w = window_.content();
    return w ? w->controlAs<PagedList>(def_.list) : nullptr;
}

bool ListPane::formsAvailable() const
{
    return def_.updates() && static_cast<bool>(formProcedure(def_.main));
}

QMenu *ListPane::lastPopup() const
{
    return menu_;
}

void ListPane::wire()
{
    BuiltWindow *w = window_.content();
    // The list and buttons are declared before the sheet they sit on.
    if (QWidget *l = w->control(def_.list)) l->raise();
    for (int id : {def_.select, def_.insert, def_.change, def_.remove})
        if (QWidget *b = w->control(id)) b->raise();
    for (const BrowseAction &a : def_.actions)
        if (QWidget *b = w->control(a.control)) b->raise();

    PagedList *l = list();
    l->setFormat(ListFormat::of(engine_->format()));
    connect(l, &PagedList::scrollRequested, this, [this](ListScroll how) {
        if (!window_.mayAct()) return;
        engine_->scroll(how);
        window_.redisplay();
    });
    connect(l, &PagedList::thumbDragged, this, [this](int p) {
        if (!window_.mayAct()) return;
        engine_->dragThumb(p);
        window_.redisplay();
    });
    connect(l, &PagedList::rowHighlighted, this, [this](int row) {
        if (window_.mayAct()) engine_->highlight(row);
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
                if (!window_.mayAct()) return;
                engine_->locatorAccepted(v);
                window_.redisplay();
                if (PagedList *l = list()) l->setFocus();
            });

    auto onClick = [this, w](int id, auto handler) {
        if (auto *b = w->controlAs<QPushButton>(id))
            connect(b, &QPushButton::clicked, this, handler);
    };
    onClick(def_.insert, [this] { form(InsertRecord); });
    onClick(def_.change, [this] { form(ChangeRecord); });
    onClick(def_.remove, [this] { form(DeleteRecord); });
    onClick(def_.select, [this] { window_.pressSelect(); });
    for (const BrowseAction &a : def_.actions)
        onClick(a.control, [this, &a] { window_.runAction(*this, a); });

    if (def_.select) {
        // Select only in select mode, where Enter presses it.
        if (engine_->selectMode()) {
            w->unhideControl(def_.select);
            w->controlAs<QPushButton>(def_.select)->setDefault(true);
        } else {
            w->hideControl(def_.select);
        }
    }
    for (int id : def_.unbuilt)
        w->setControlEnabled(id, false);
    const auto &controls = def_.layout.controls;
    for (std::size_t i = 0; i + 1 < controls.size(); ++i)
        for (const BrowseDisplay &d : def_.displays)
            if (controls[i].kind == ControlKind::Prompt && controls[i + 1].id == d.control)
                displayPrompts_.emplace_back(controls[i].id, d.control);
    std::set<TableId> parents;
    for (const BrowseSort &s : def_.sorts)
        if (s.range) parents.insert(s.range->table);
    for (const BrowseDisplay &d : def_.displays)
        if (parents.contains(d.field.table)) parentDisplays_.insert(d.control);

    engine_->onCloseRequest = [this] { post(window_.id(), Notice::closeRequest()); };
    engine_->onNewSelection = [this] {
        // Handled once the list has taken its pending events; the refresh it
        // brings goes to the whole window.
        QTimer::singleShot(0, this, [this] {
            if (window_.showing()) engine_->handleNewSelection();
        });
    };
    engine_->onWindowRefresh = [this] { window_.refreshAll(); };
    markTab(0);
}

void ListPane::redisplay()
{
    BuiltWindow *w = window_.content();
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
    if (def_.select) w->setControlEnabled(def_.select, engine_->selectMode() && some);
    // A child list needs a highlighted parent to keep to.
    for (const BrowseAction &a : def_.actions)
        if (a.call) w->setControlEnabled(a.control, some);

    const BrowseSort &s = def_.sorts.at(static_cast<std::size_t>(engine_->tab()));
    if (PictureEntry *e = w->entry(s.locator)) {
        e->setEnabled(some);
        e->setValue(engine_->locatorValue());
    }
    if (def_.total && s.total) w->setValue(s.total, bufferValue(*def_.total));
    // The joined record's fields belong to the highlighted row: with no row
    // they go, prompts and all, rather than show an earlier record. The
    // parent a child list is kept to stays named ("Video:" and the cassette).
    const auto shows = [&](int display) { return some || parentDisplays_.contains(display); };
    for (const BrowseDisplay &d : def_.displays) {
        if (shows(d.control)) {
            w->unhideControl(d.control);
            w->setValue(d.control, bufferValue(d.field));
        } else {
            w->hideControl(d.control);
        }
    }
    for (const auto &[prompt, display] : displayPrompts_)
        shows(display) ? w->unhideControl(prompt) : w->hideControl(prompt);
}

void ListPane::form(Long request)
{
    if (!window_.mayAct() || !formsAvailable()) return;
    if (request != InsertRecord && engine_->empty()) return;
    window_.callForm(*this, request);
}

void ListPane::listCommand(ListCommand command)
{
    if (!window_.mayAct()) return;
    const bool some = !engine_->empty();
    const bool selecting = engine_->selectMode() && def_.select;
    switch (command) {
    case ListCommand::Insert:
        form(InsertRecord);
        break;
    case ListCommand::Delete:
        if (some) form(DeleteRecord);
        break;
    case ListCommand::Change:
        if (some) form(ChangeRecord);
        break;
    case ListCommand::DoubleClick:
        // A choosing window selects, even one without a form.
        if (!some) break;
        if (selecting)
            window_.pressSelect();
        else if (!engine_->selectMode())
            form(ChangeRecord);
        break;
    case ListCommand::Enter:
        if (selecting && some) window_.pressSelect();
        break;
    }
}

void ListPane::typed(const QString &text)
{
    if (!window_.mayAct() || engine_->empty()) return;
    const BrowseSort &s = def_.sorts.at(static_cast<std::size_t>(engine_->tab()));
    PictureEntry *e = window_.content()->entry(s.locator);
    if (!e || !e->isEnabled()) return;
    e->setFocus();
    e->setText(text);
    e->setModified(true);
    e->end(false);
}

void ListPane::popup(const QPoint &at)
{
    if (!window_.mayAct()) return;
    if (menu_) menu_->deleteLater();
    menu_ = new QMenu(window_.content());
    // The engine's items in their order; the window may add its own.
    const std::string text = engine_->popupText(formsAvailable());
    const QStringList items =
        text.empty() ? QStringList() : QString::fromStdString(text).split(u'|');
    int selection = 0;
    for (const QString &item : items) {
        if (item == QStringLiteral("-")) {
            menu_->addSeparator();
            continue;
        }
        ++selection;
        const bool disabled = item.startsWith(u'~');
        QAction *action = menu_->addAction(disabled ? item.mid(1) : item);
        action->setEnabled(!disabled);
        connect(action, &QAction::triggered, this, [this, selection] {
            switch (selection) {
            case 1:
                form(InsertRecord);
                break;
            case 2:
                form(ChangeRecord);
                break;
            case 3:
                form(DeleteRecord);
                break;
            default:
                window_.pressSelect();
                break;
            }
        });
    }
    window_.extendPanePopup(*menu_, *this);
    if (!menu_->isEmpty()) menu_->popup(at);
}

void ListPane::markTab(int index)
{
    auto *sheet = window_.content()->controlAs<QTabWidget>(def_.sheet);
    if (!sheet || sheet->count() == 0) return;
    QTabBar *bar = sheet->tabBar();
    // The current tab's caption in blue; the previous one as it was.
    if (marked_ >= 0) bar->setTabTextColor(marked_, QColor());
    bar->setTabTextColor(index, QColor(0, 0, 255));
    marked_ = index;
}

void ListPane::tabChanged(int index)
{
    if (!window_.mayAct()) return;
    markTab(index);
    engine_->changeTab(index);
    list()->setFormat(ListFormat::of(engine_->format()));
    window_.redisplay();
}

} // namespace hk
