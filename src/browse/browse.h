// A list window: one list pane in a window of its own, with select mode (a
// form asking for a choice gets the highlighted record back) and the titles
// a definition may make as it opens and when its list is empty.
#pragma once

#include "browse/browsedef.h"
#include "browse/engine.h"
#include "browse/listcontrol.h"
#include "browse/listwindow.h"

#include <QMenu>

#include <string>

namespace hk
{

class Browse : public ListWindow
{
    Q_OBJECT
  public:
    explicit Browse(const BrowseDef &def);
    ~Browse() override;

    // The running engine and list, for tests; null before the window opens
    // and after it closes.
    BrowseEngine *engine() const;
    PagedList *list() const;
    // The popup menu as shown last.
    QMenu *lastPopup() const;

  protected:
    void opened() override;
    void shown() override;
    void pressSelect() override;

  private:
    void setTitle(const std::string &title);

    const BrowseDef &def_;
};

} // namespace hk
