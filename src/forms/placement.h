// The placement windows: a linked pair of lists (parents left, children of
// the highlighted parent right) where a child dragged onto another parent's
// row is moved there, written back through its integrity routine. One
// window class serves items, books and articles; each is a PlaceDef.
#pragma once

#include "browse/linkedbrowse.h"
#include "platform/data/childsums.h"

#include <QPoint>

#include <map>
#include <optional>
#include <utility>
#include <string>

namespace hk
{

struct PlaceDef {
    LinkedDef linked;
    FieldRef parentId;   // the parent's identifier
    FieldRef parentName; // shown in the "already in the" message
    FieldRef childLink;  // the child's reference to its parent, set by a move
    FieldRef childName;
    // Count and sum of the highlighted parent's children, 0 where not shown.
    int countDisplay = 0;
    int sumDisplay = 0;
    int summed = -1; // the child field added up
    std::string noParentTitle, noParentText;
    std::string sameTitle, sameLead, sameTail; // "This item: " … " location !"
};

// What a drag from the child list carries, and what the parent list takes.
inline constexpr const char *DragMimeType = "application/x-hearthkeep-drag";
inline constexpr const char *DragIdentifier = "Transfering";

class Placement : public LinkedBrowse
{
    Q_OBJECT
  public:
    explicit Placement(const PlaceDef &def);

    // A drop of a drag carrying `identifier` at `at`, in the parent list's
    // viewport coordinates. Below the last row or off the rows: nothing.
    void drop(const QByteArray &identifier, QPoint at);

  protected:
    void wired() override;
    void shown() override;
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    void moveTo(int row);
    void startDrag();

    const PlaceDef &place_;
    // The lists' viewports, where the mouse and the drops arrive; kept as
    // pointers so that events during the window's teardown find no list.
    QPointer<QWidget> dragFrom_, dropOn_;
    QPoint pressedAt_;
    bool pressed_ = false;
    // The figures shown, and the parent and file version they were read for.
    ChildSum figures_;
    std::optional<std::pair<std::int64_t, long long>> figuresFor_;
};

} // namespace hk

namespace hk
{

const PlaceDef &placeItemsDef();
const PlaceDef &placeBooksDef();
const PlaceDef &placeArticlesDef();

// The one-window claims of the three windows.
extern Long PlaceItemsThread, PlaceBooksThread, PlaceArticlesThread;

// Adds PlaceItems, PlaceBooks and PlaceArticles to the procedures the
// frame's menu and toolbar start.
void addPlacementWindows(std::map<QString, ProcedureFactory> &catalogue);

} // namespace hk
