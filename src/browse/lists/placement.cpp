#include "browse/lists/placement.h"

#include "browse/listcontrol.h"
#include "browse/lists/browses.h"
#include "integrity/checked.h"
#include "integrity/warnings.h"
#include "platform/data/childsums.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/messages.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeView>

namespace hk
{

namespace
{

std::int64_t integerOf(const FieldRef &f)
{
    return field::integer(f.def(), table(f.table).buffer());
}

// A text field of a record, without its trailing blanks.
std::string textIn(const FieldRef &f, const void *record)
{
    std::string s(field::text(f.def(), record));
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

std::string textOf(const FieldRef &f)
{
    return textIn(f, table(f.table).buffer());
}

bool ours(const QMimeData *m)
{
    return m && m->data(DragMimeType) == QByteArray(DragIdentifier);
}

} // namespace

Placement::Placement(const PlaceDef &def) : LinkedBrowse(def.linked), place_(def) {}

void Placement::wired()
{
    // The child list offers its rows for dragging, several at once, the
    // parent list takes the drops; both through their viewports, where the
    // mouse arrives.
    if (PagedList *l = secondList()) {
        l->setSeveral();
        dragFrom_ = l->view()->viewport();
        dragFrom_->installEventFilter(this);
        connect(l, &PagedList::selectionEdited, this, [this] {
            PagedList *list = secondList();
            BrowseEngine *b = secondEngine();
            if (!list || !b) return;
            chosen_.clear();
            for (int row : list->selectedRows())
                if (row <= static_cast<int>(b->rows().size()))
                    chosen_.insert(b->rows()[static_cast<std::size_t>(row - 1)].position);
        });
    }
    if (PagedList *l = firstList()) {
        dropOn_ = l->view()->viewport();
        l->view()->setAcceptDrops(true);
        dropOn_->setAcceptDrops(true);
        dropOn_->installEventFilter(this);
    }
}

void Placement::shown()
{
    LinkedBrowse::shown();
    keepChosen();
    showFigures();
}

// A redisplay shows the highlighted child alone as chosen; the children
// chosen with it on this page are chosen again. A highlight that moved to a
// child not chosen (by the keys, or a new parent) ends the choice.
void Placement::keepChosen()
{
    PagedList *l = secondList();
    BrowseEngine *b = secondEngine();
    if (!l || !b || chosen_.empty()) return;
    const std::vector<BrowseRow> &rows = b->rows();
    const int current = b->currentRow();
    if (current < 1 || current > static_cast<int>(rows.size()) ||
        !chosen_.count(rows[static_cast<std::size_t>(current - 1)].position)) {
        chosen_.clear();
        return;
    }
    std::set<Position> still;
    std::vector<int> chosenRows;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (chosen_.count(rows[i].position)) {
            still.insert(rows[i].position);
            chosenRows.push_back(static_cast<int>(i) + 1);
        }
    chosen_ = std::move(still);
    l->selectRows(chosenRows);
}

void Placement::showFigures()
{
    BuiltWindow *w = content();
    BrowseEngine *a = firstEngine();
    if (!w || !a || !place_.countDisplay) return;
    // Read again only when the parent or the file has changed: a redisplay
    // while scrolling the child list must not count the children each time.
    const FieldRef &link = place_.childLink;
    Table &children = table(link.table);
    const std::int64_t parent = a->empty() ? 0 : integerOf(place_.parentId);
    const long long version = fileVersion(children.file());
    if (!figuresFor_ || figuresFor_->first != parent || figuresFor_->second != version ||
        version < 0) {
        std::optional<ChildSum> read;
        if (!a->empty())
            read = childSum(children.file(), children.def(), link.field, parent, place_.summed);
        figures_ = read.value_or(ChildSum{});
        figuresFor_ = read || a->empty() ? std::optional(std::pair(parent, version)) : std::nullopt;
    }
    const ChildSum f = figures_;
    w->setValue(place_.countDisplay, PictureValue{static_cast<std::int64_t>(f.count)});
    if (place_.sumDisplay) w->setValue(place_.sumDisplay, PictureValue{Hundredths{f.sum}});
}

void Placement::extendPopup(QMenu &menu, std::size_t pane)
{
    BrowseEngine *b = secondEngine();
    if (pane != 1 || !b) return; // the children's list
    if (!menu.isEmpty()) menu.addSeparator();
    QAction *move = menu.addAction(QStringLiteral("&Move to…"));
    move->setEnabled(!b->empty());
    connect(move, &QAction::triggered, this, [this] { moveToPicked(); });
}

// A plain press on one of several chosen children waits for the drag or
// the release; true when it is held back from the list.
bool Placement::pressOnChild(QMouseEvent *m)
{
    pressed_ = m->button() == Qt::LeftButton;
    pressedAt_ = m->position().toPoint();
    pressedRow_ = 0;
    PagedList *l = secondList();
    if (!pressed_ || !l || m->modifiers() != Qt::NoModifier || l->selectedRows().size() < 2)
        return false;
    const QModelIndex at = l->view()->indexAt(pressedAt_);
    if (!at.isValid() || !l->view()->selectionModel()->isRowSelected(at.row())) return false;
    pressedRow_ = at.row() + 1;
    return true;
}

bool Placement::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Destroy || e->type() == QEvent::DeferredDelete)
        return LinkedBrowse::eventFilter(watched, e);
    if (watched && watched == dragFrom_) {
        if (e->type() == QEvent::MouseButtonPress) {
            if (pressOnChild(static_cast<QMouseEvent *>(e))) return true;
        } else if (e->type() == QEvent::MouseButtonRelease) {
            pressed_ = false;
            if (const int row = std::exchange(pressedRow_, 0); row && secondList()) {
                QTreeView *v = secondList()->view();
                v->selectionModel()->setCurrentIndex(v->model()->index(row - 1, 0),
                                                     QItemSelectionModel::ClearAndSelect |
                                                         QItemSelectionModel::Rows);
                return true;
            }
        } else if (e->type() == QEvent::MouseMove && pressed_) {
            auto *m = static_cast<QMouseEvent *>(e);
            if ((m->position().toPoint() - pressedAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
                pressed_ = false;
                pressedRow_ = 0;
                startDrag();
                return true;
            }
        }
    }
    if (watched && watched == dropOn_) {
        switch (e->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *d = static_cast<QDropEvent *>(e);
            if (ours(d->mimeData()))
                d->acceptProposedAction();
            else
                d->ignore();
            return true;
        }
        case QEvent::Drop: {
            auto *d = static_cast<QDropEvent *>(e);
            if (!d->mimeData()) return true;
            d->acceptProposedAction();
            drop(d->mimeData()->data(DragMimeType), d->position().toPoint());
            return true;
        }
        default:
            break;
        }
    }
    return LinkedBrowse::eventFilter(watched, e);
}

// The chosen children of the page, or the highlighted one.
std::vector<Position> Placement::chosenPositions() const
{
    std::vector<Position> out;
    BrowseEngine *b = secondEngine();
    PagedList *l = secondList();
    if (!b || !l || b->empty()) return out;
    const std::vector<BrowseRow> &rows = b->rows();
    for (int row : l->selectedRows())
        if (row <= static_cast<int>(rows.size()))
            out.push_back(rows[static_cast<std::size_t>(row - 1)].position);
    const int current = b->currentRow();
    if (out.empty() && current >= 1 && current <= static_cast<int>(rows.size()))
        out.push_back(rows[static_cast<std::size_t>(current - 1)].position);
    return out;
}

void Placement::startDrag()
{
    BrowseEngine *b = secondEngine();
    if (!mayAct() || !b || b->empty()) return;
    // The children are read as the user sees them now: a change by another
    // station before the drop makes the move fail.
    dragged_ = readChildren(table(place_.childLink.table), chosenPositions());
    b->reread();
    if (dragged_.empty()) return;
    QPointer<Placement> self(this);
    auto *mime = new QMimeData;
    mime->setData(DragMimeType, QByteArray(DragIdentifier));
    auto *drag = new QDrag(secondList());
    drag->setMimeData(mime);
    runDrag(*drag);
    if (self) dragged_.clear();
}

void Placement::runDrag(QDrag &drag)
{
    drag.exec(Qt::MoveAction);
}

void Placement::drop(const QByteArray &identifier, QPoint at)
{
    if (identifier != QByteArray(DragIdentifier) || !mayAct()) return;
    BrowseEngine *a = firstEngine();
    BrowseEngine *b = secondEngine();
    if (!a || !b) return;
    if (a->empty()) {
        message(place_.messages.noParentText, place_.messages.noParentTitle,
                MessageIcon::Exclamation);
        return;
    }
    // The heading lies outside the viewport; below the last row there is no
    // index: both drops have no target and do nothing.
    const QModelIndex index = firstList()->view()->indexAt(at);
    if (!index.isValid() || index.row() >= static_cast<int>(a->rows().size()) || b->empty()) return;
    // A drop without a drag of this window's (from another of its kind)
    // moves what is chosen here, as it is stored now.
    std::vector<MovedChild> moved = std::exchange(dragged_, {});
    if (moved.empty()) {
        moved = readChildren(table(place_.childLink.table), chosenPositions());
        b->reread();
    }
    moveTo(index.row() + 1, std::move(moved));
}

void Placement::moveTo(int row, std::vector<MovedChild> moved)
{
    BrowseEngine &a = *firstEngine();
    Table &parents = table(place_.parentId.table);
    // The parent is read again as stored, and watched.
    parents.watch();
    if (parents.reget(a.rows().at(static_cast<std::size_t>(row - 1)).position) != NoError) {
        a.reread();
        return;
    }
    moveAll(std::move(moved));
}

QCoro::Task<> Placement::moveToPicked()
{
    BrowseEngine *a = firstEngine();
    BrowseEngine *b = secondEngine();
    if (!mayAct() || !a || !b || b->empty()) co_return;
    if (a->empty()) {
        message(place_.messages.noParentText, place_.messages.noParentTitle,
                MessageIcon::Exclamation);
        co_return;
    }
    // Read as the user chose them, as a drag would carry them.
    std::vector<MovedChild> moved = readChildren(table(place_.childLink.table), chosenPositions());
    QPointer<Placement> self(this);
    const std::optional<bool> picked =
        co_await callHeld([this] { return pickFromList(*this, place_.messages.pickList); });
    if (!self || !picked) co_return;
    BrowseEngine &first = *firstEngine();
    Table &parents = table(place_.parentId.table);
    const std::int64_t target = integerOf(place_.parentId);
    if (!*picked || moved.empty()) {
        first.reread();
        redisplay();
        co_return;
    }
    parents.def().clear(parents.buffer());
    field::setInteger(place_.parentId.def(), parents.buffer(), target);
    parents.watch();
    if (parents.get(KeyId{place_.parentId.table, 0}) != NoError) {
        first.reread();
        redisplay();
        co_return;
    }
    moveAll(std::move(moved));
}

// The parent's buffer holds the target, read watched.
void Placement::moveAll(std::vector<MovedChild> moved)
{
    BrowseEngine &a = *firstEngine();
    Table &children = table(place_.childLink.table);
    const std::int64_t target = integerOf(place_.parentId);
    const std::string targetName = textOf(place_.parentName);
    const FieldDef &link = place_.childLink.def();

    // Those already there are named once, and left as they are.
    std::vector<std::string> there;
    std::erase_if(moved, [&](const MovedChild &c) {
        if (field::integer(link, c.asRead.data()) != target) return false;
        there.push_back(textIn(place_.childName, c.asRead.data()));
        return true;
    });
    if (!there.empty()) {
        std::string names = there.front();
        for (std::size_t i = 1; i < there.size(); ++i)
            names += ", " + there[i];
        const bool one = there.size() == 1;
        message((one ? place_.messages.sameLead : place_.messages.severalLead) + names +
                    (one ? " is already in the " : " are already in the ") + targetName +
                    place_.messages.sameTail,
                place_.messages.sameTitle, MessageIcon::Exclamation);
    }
    while (!moved.empty()) {
        int result;
        {
            BusyCursor busyCursor;
            result = moveChildren(children, link, target, moved);
        }
        if (result == Updated || result == RecordGone) break;
        if (WarnUser(16) != ButtonYes) break;
        // Tried again on the children as they are stored now.
        rereadChildren(children, moved);
    }
    // The highlighted parent goes back into its buffer; the moved children
    // leave their old parent's list at once.
    chosen_.clear();
    a.reread();
    refreshAll(Refresh::ReadAgain);
    if (PagedList *l = firstList()) l->setFocus();
}

} // namespace hk
