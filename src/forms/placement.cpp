#include "forms/placement.h"

#include "browse/listcontrol.h"
#include "dictionary/files.h"
#include "integrity/checked.h"
#include "integrity/warnings.h"
#include "platform/data/childsums.h"
#include "platform/data/fileerror.h"
#include "platform/data/table.h"
#include "platform/messages.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
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

std::string textOf(const FieldRef &f)
{
    std::string s(field::text(f.def(), table(f.table).buffer()));
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

bool ours(const QMimeData *m)
{
    return m && m->data(DragMimeType) == QByteArray(DragIdentifier);
}

} // namespace

Placement::Placement(const PlaceDef &def) : LinkedBrowse(def.linked), place_(def) {}

void Placement::wired()
{
    // The child list offers its rows for dragging, the parent list takes
    // the drops; both through their viewports, where the mouse arrives.
    if (PagedList *l = secondList()) {
        dragFrom_ = l->view()->viewport();
        dragFrom_->installEventFilter(this);
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

bool Placement::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Destroy || e->type() == QEvent::DeferredDelete)
        return LinkedBrowse::eventFilter(watched, e);
    if (watched && watched == dragFrom_) {
        if (e->type() == QEvent::MouseButtonPress) {
            auto *m = static_cast<QMouseEvent *>(e);
            pressed_ = m->button() == Qt::LeftButton;
            pressedAt_ = m->position().toPoint();
        } else if (e->type() == QEvent::MouseButtonRelease) {
            pressed_ = false;
        } else if (e->type() == QEvent::MouseMove && pressed_) {
            auto *m = static_cast<QMouseEvent *>(e);
            if ((m->position().toPoint() - pressedAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
                pressed_ = false;
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

void Placement::startDrag()
{
    BrowseEngine *b = secondEngine();
    if (busy() || !b || b->empty()) return;
    auto *mime = new QMimeData;
    mime->setData(DragMimeType, QByteArray(DragIdentifier));
    auto *drag = new QDrag(secondList());
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

void Placement::drop(const QByteArray &identifier, QPoint at)
{
    if (identifier != QByteArray(DragIdentifier) || busy()) return;
    BrowseEngine *a = firstEngine();
    BrowseEngine *b = secondEngine();
    if (!a || !b) return;
    if (a->empty()) {
        message(place_.noParentText, place_.noParentTitle, MessageIcon::Exclamation);
        return;
    }
    // The heading lies outside the viewport; below the last row there is no
    // index: both drops have no target and do nothing.
    const QModelIndex index = firstList()->view()->indexAt(at);
    if (!index.isValid() || index.row() >= static_cast<int>(a->rows().size()) || b->empty()) return;
    moveTo(index.row() + 1);
}

void Placement::moveTo(int row)
{
    BrowseEngine &a = *firstEngine();
    BrowseEngine &b = *secondEngine();
    Table &parents = table(place_.parentId.table);
    Table &children = table(place_.childLink.table);

    // Both records are read again as stored, and watched, so that another
    // station's change meanwhile makes the write fail rather than be lost.
    parents.watch();
    if (parents.reget(a.rows().at(static_cast<std::size_t>(row - 1)).position) != NoError) {
        a.reread();
        return;
    }
    const std::int64_t target = integerOf(place_.parentId);
    const std::string targetName = textOf(place_.parentName);
    b.reread();
    if (integerOf(place_.childLink) == target) {
        message(place_.sameLead + textOf(place_.childName) + " is already in the " + targetName +
                    place_.sameTail,
                place_.sameTitle, MessageIcon::Exclamation);
        a.reread();
        return;
    }
    const FieldDef &link = place_.childLink.def();
    for (;;) {
        // A failed write leaves the stored record in the buffer: the move is
        // applied to it afresh before each attempt.
        field::setInteger(link, children.buffer(), target);
        int result;
        {
            BusyCursor busyCursor;
            result = UpdateRecordChecked(children, false, NoteKeyBeforeChange(children));
        }
        if (result == Updated) break;
        if (WarnUser(16) != ButtonYes) break;
    }
    // The highlighted parent goes back into its buffer; the moved child
    // leaves its old parent's list at once.
    a.reread();
    a.forceRefresh();
    b.forceRefresh();
    refreshAll();
    if (PagedList *l = firstList()) l->setFocus();
}

} // namespace hk
