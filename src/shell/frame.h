// Main: the application frame. It owns the menu, the toolbar and the document
// area where every list, form and report window opens, and starts the
// procedure behind each entry.
#pragma once

#include "platform/windows/procedure.h"
#include "shell/commands.h"
#include "shell/introduction.h"

#include <QPointer>

#include <chrono>

class QAction;
class QMainWindow;
class QMdiArea;
class QMenu;

namespace hk
{

class Main : public Procedure
{
  public:
    explicit Main(ProcedureCatalogue procedures,
                  std::chrono::milliseconds introduction = Greeting::defaultDuration);

  protected:
    QCoro::Task<> run() override;
    bool handlePosted(QEvent::Type type) override;
    void acceptInput(bool accept) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    QMainWindow *buildFrame();
    QAction *addCommand(QWidget *where, const char *text, const char *tip, Command command,
                        const char *procedure, const char *icon);
    void choose(Command command, const QString &procedure);
    void dismissIntroduction();
    QCoro::Task<> callProcedure(ProcedureFactory factory);
    void arrangeIcons();
    void listWindows(QMenu *menu);

    ProcedureCatalogue procedures_;
    std::chrono::milliseconds introDuration_;
    Long introduction_ = 0; // the introduction's number while it may be open
    bool busy_ = false;     // waiting for a called procedure
    // Guarded: notices may still arrive after the frame window has gone.
    QPointer<QMainWindow> frame_;
    QPointer<QMdiArea> documents_;
    QPointer<QAction> summary_;
    bool summaryBuilt_ = false;
    QList<QAction *> windowList_; // entries listing the open windows
};

} // namespace hk
