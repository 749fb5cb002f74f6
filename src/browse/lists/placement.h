// The placement windows: a linked pair of lists (parents left, children of
// the highlighted parent right) where a child dragged onto another parent's
// row is moved there, written back through its integrity routine. One
// window class serves items, books and articles; each is a PlaceDef.
#pragma once

#include "browse/linkedbrowse.h"
#include "integrity/placemove.h"
#include "platform/data/childsums.h"

#include <QPoint>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

class QDrag;
class QMouseEvent;

namespace hk
{

// What a placement window says and asks when a child is moved.
struct PlaceMessages {
    std::string noParentTitle, noParentText;
    std::string sameTitle, sameLead, severalLead, sameTail; // "This item: " … " location !"
    std::string pickList; // where "Move to…" asks for the parent
};

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
    PlaceMessages messages;
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
    // "Move to…": the chosen children go to a parent picked in the pick
    // list, as if dropped on its row.
    QCoro::Task<> moveToPicked();

  protected:
    void wired() override;
    void shown() override;
    void extendPopup(QMenu &menu, std::size_t pane) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    // The drag as the user makes it, until the drop; tests stand in here.
    virtual void runDrag(QDrag &drag);

  private:
    bool pressOnChild(QMouseEvent *m);
    void keepChosen();
    void showFigures();
    std::vector<Position> chosenPositions() const;
    void moveTo(int row, std::vector<MovedChild> moved);
    void moveAll(std::vector<MovedChild> moved);
    void startDrag();

    const PlaceDef &place_;
    // The lists' viewports, where the mouse and the drops arrive; kept as
    // pointers so that events during the window's teardown find no list.
    QPointer<QWidget> dragFrom_, dropOn_;
    QPoint pressedAt_;
    bool pressed_ = false;
    // A plain press on one of several chosen children: they stay chosen for
    // a drag; released without one, the press chooses that child alone.
    int pressedRow_ = 0;
    // The children chosen on the page, kept over its redisplays.
    std::set<Position> chosen_;
    // What a drag under way carries, as read when it began.
    std::vector<MovedChild> dragged_;
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

// The three windows, and adding them (PlaceItems, PlaceBooks and
// PlaceArticles) to the procedures the frame's menu and toolbar start.
const std::vector<const PlaceDef *> &placeDefs();
void addPlacementWindows(std::map<QString, ProcedureFactory> &catalogue);

} // namespace hk
