// One list of a list window: its engine and the wiring of its own controls
// (the list, the tabs, the locator entries, Insert, Change, Delete, Select
// and its other buttons, the popup menu, the displays of the highlighted
// record). A list window is one pane; a window of two linked lists is two.
// The window decides when a pane may act, makes the calls and refreshes
// its panes together.
#pragma once

#include "browse/browsedef.h"
#include "browse/engine.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <set>
#include <utility>
#include <vector>

class QMenu;
class QPoint;
class QString;

namespace hk
{

class ListWindow;
class PagedList;
enum class ListCommand;

class ListPane : public QObject
{
  public:
    ListPane(ListWindow &window, const BrowseDef &def);
    ~ListPane() override;

    BrowseEngine &engine() { return *engine_; }
    const BrowseEngine &engine() const { return *engine_; }
    const BrowseDef &def() const { return def_; }
    PagedList *list() const;
    // Whether the form of this list's table exists.
    bool formsAvailable() const;
    // The popup menu as shown last.
    QMenu *lastPopup() const;

    // Once the window is built: connects the controls and the engine.
    void wire();
    // Shows what the engine holds.
    void redisplay();
    // Insert, Change or Delete through the table's form, when it can be.
    void form(Long request);

  private:
    void listCommand(ListCommand command);
    void typed(const QString &text);
    void popup(const QPoint &at);
    void markTab(int index);
    void tabChanged(int index);

    ListWindow &window_;
    const BrowseDef &def_;
    std::unique_ptr<BrowseEngine> engine_;
    QPointer<QMenu> menu_;
    // The prompts of the displays, each with the first display it names.
    std::vector<std::pair<int, int>> displayPrompts_;
    // Displays of the parent the list is kept to: they name it even when it
    // has no children to show.
    std::set<int> parentDisplays_;
    int marked_ = -1; // the tab whose caption is marked
};

} // namespace hk
