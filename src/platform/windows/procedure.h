// Procedures: the program's units of work, each with at most one window.
//
// Every window lives on the one GUI thread. A procedure is an object with a
// number (its "thread number"; 0 means none) and a coroutine, run(), that
// carries out its algorithm. start() lets a procedure run beside the others;
// Procedure::call() co_awaits another procedure from the caller's coroutine:
// the caller's window takes no input until the called one returns, while every
// other window stays live. No procedure ever nests an event loop.
//
// Procedures talk through posted events: the frame notices 1025/1026, and
// gain-focus and close requests, each delivered to the target's window (or to
// the procedure itself while it has no window).
#pragma once

#include "dictionary/types.h"

#include <QCoro/QCoroTask>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QMdiArea;

namespace hk
{

// Events a procedure accepts from the others.
namespace Notice
{
inline constexpr QEvent::Type ProcedureOpened = QEvent::Type(1025); // to the frame
inline constexpr QEvent::Type ProcedureClosed = QEvent::Type(1026); // to the frame
QEvent::Type gainFocus();                                           // bring the window to the front
QEvent::Type closeRequest(); // close the window (and so end the procedure)
} // namespace Notice

class Procedure : public QObject
{
    Q_OBJECT
  public:
    // name: the procedure's name, which is also its settings section.
    explicit Procedure(QString name);
    ~Procedure() override;

    Long id() const { return id_; }
    const QString &name() const { return name_; }
    // The procedure's window (the sub-window when it is a document window), or
    // null before it opens and after it closes.
    QWidget *window() const { return window_; }
    // The help topic about this procedure's window: its name unless the
    // procedure says otherwise. F1 and the window's Help button open it.
    virtual QString helpContext() const { return name_; }

    // Runs `callee` and returns when it has finished. Meanwhile this
    // procedure's window takes no input; all other windows stay live.
    // When this procedure has closed meanwhile (its window is gone, its run()
    // has ended, or it was deleted), the call does not return into it: the
    // awaiting coroutines are unwound without running another line, so no
    // caller needs to ask after its co_await whether it still exists.
    QCoro::Task<> call(std::unique_ptr<Procedure> callee);

  signals:
    void windowClosed();
    void done(); // run() has returned; the object is deleted later

  protected:
    // The procedure's algorithm. It usually opens a window, awaits
    // untilClosed() and tidies up.
    virtual QCoro::Task<> run() = 0;

    // Makes `content` a document window in the frame's document area (a
    // top-level window when there is none) and this procedure's window.
    QWidget *openDocument(QWidget *content);
    // Makes a top-level `w` this procedure's window. The window is deleted
    // when it closes.
    void setWindow(QWidget *w);
    // Returns once the window has closed (at once if there is none).
    QCoro::Task<> untilClosed();

    // A posted event arrived. The default closes the window on a close
    // request and raises it on gain-focus; returns whether it was handled.
    virtual bool handlePosted(QEvent::Type type);
    // Stops or resumes input to this procedure's window while it calls
    // another procedure.
    virtual void acceptInput(bool accept);
    // Activates the window in the document area, or raises a top-level one.
    void bringToFront();
    // Makes the window the active one again after a call, with the focus
    // where it was unless the procedure has put it elsewhere meanwhile.
    void regainFocus(QPointer<QWidget> focused);

    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    friend Long start(std::unique_ptr<Procedure> procedure);
    QCoro::Task<> execute();
    static Procedure &enrol(std::unique_ptr<Procedure> p);

    QString name_;
    Long id_ = 0;
    QPointer<QWidget> window_;
    bool ended_ = false; // run() has returned
};

using ProcedureFactory = std::function<std::unique_ptr<Procedure>()>;
// Procedures by name, as the frame's menu and toolbar start them.
using ProcedureCatalogue = std::map<QString, ProcedureFactory>;

// Starts `procedure` beside the running ones and returns its number. The
// procedure owns itself from here on and is deleted once it has finished.
Long start(std::unique_ptr<Procedure> procedure);

// The running procedure with that number, or null.
Procedure *findProcedure(Long id);
// The running procedures in the order they started.
std::vector<Procedure *> runningProcedures();
// The procedure whose window holds `widget` (the innermost one, so that a
// document window's procedure answers rather than the frame's); null when
// no window of a procedure holds it.
Procedure *procedureOf(const QWidget *widget);
// Posts `type` to the procedure `id`; false when no such procedure runs.
bool post(Long id, QEvent::Type type);
// Posts a frame notice to the frame (Glo.MainThreadNo).
bool postToFrame(QEvent::Type notice);

// One-window claims. `claim` holds the number of the procedure that owns the
// window kind. Returns true when `self` now holds it; when another running
// procedure does, posts it gain-focus and returns false.
bool claimWindow(Long &claim, const Procedure &self);
// Gives the claim up if `self` (the procedure numbered `self`) holds it.
void releaseWindow(Long &claim, const Procedure &self);
void releaseWindow(Long &claim, Long self);

// The titles of the windows open now besides `self`'s and the frame's, for
// work that needs the program to itself. Close requests already posted are
// carried out first, so a window on its way out is not counted; a running
// procedure without a window counts by its name.
QStringList otherOpenWindows(const Procedure &self);

// Where document windows open: the frame's document area. Null: top-level.
void setDocumentArea(QMdiArea *area);
QMdiArea *documentArea();

} // namespace hk
