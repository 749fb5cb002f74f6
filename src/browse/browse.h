// A list window as a procedure: the browse engine, the window built from the
// definition's layout, and the wiring between them: tabs, locator entries,
// buttons, popup menu, select mode, the frame notices, the one-window claim
// and the calls of the table's form.
#pragma once

#include "browse/browsedef.h"
#include "browse/engine.h"
#include "browse/listcontrol.h"
#include "integrity/tableopen.h"
#include "platform/windows/layout.h"
#include "platform/windows/procedure.h"

#include <QMenu>
#include <QPointer>

#include <memory>

class QMenu;
class QTabWidget;

namespace hk
{

class Browse : public Procedure
{
    Q_OBJECT
  public:
    explicit Browse(const BrowseDef &def);
    ~Browse() override;

    // The running engine and window, for tests; null before the window
    // opens and after it closes.
    BrowseEngine *engine() const { return engine_.get(); }
    BuiltWindow *content() const { return content_; }
    PagedList *list() const;
    // The popup menu as shown last (its items' texts, "-" for separators).
    QMenu *lastPopup() const { return popup_; }
    // Whether the form of this list's table exists.
    bool formsAvailable() const;

  protected:
    QCoro::Task<> run() override;
    bool handlePosted(QEvent::Type type) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    void wire();
    void redisplay();
    void setTitle(const std::string &title);
    void markTab(int index);
    void tabChanged(int index);
    void typedIntoList(const QString &text);
    void listCommand(ListCommand command);
    void showPopup(const QPoint &at);
    void pressSelect();
    void pressClose();
    void pressHelp();
    QCoro::Task<> callForm(Long request);
    QCoro::Task<> runAction(const BrowseAction &action);
    void postNewSelection();
    void refreshForFocus();
    void settingsAtOpen();
    void settingsAtClose();

    const BrowseDef &def_;
    std::unique_ptr<BrowseEngine> engine_;
    TablesInUse tables_;
    QPointer<BuiltWindow> content_;
    QPointer<QMenu> popup_;
    std::vector<int> displayPrompts_; // prompts of the joined record's fields
    int markedTab_ = -1;
    bool started_ = false;
    bool claimed_ = false;
    bool refreshQueued_ = false;
    bool inCall_ = false; // a child list runs on this list's thread
};

} // namespace hk
