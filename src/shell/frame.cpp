#include "shell/frame.h"

#include "dictionary/globals.h"
#include "platform/help.h"
#include "platform/printer.h"
#include "platform/windows/helpkey.h"
#include "platform/windows/tiling.h"
#include "platform/windows/visiblearea.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QStatusBar>
#include <QToolBar>

#include <map>

namespace hk
{

Main::Main(ProcedureCatalogue procedures, std::chrono::milliseconds introduction)
    : Procedure(QStringLiteral("Main")), procedures_(std::move(procedures)),
      introDuration_(introduction)
{
}

QCoro::Task<> Main::run()
{
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/Hearthkp.svg")));
    frame_ = buildFrame();
    setWindow(frame_);
    setDocumentArea(documents_);
    Glo.MainThreadNo = id();
    GlobalRequest = RequestNone;
    GlobalResponse = 0;
    installHelpKey(); // F1 in any window opens the topic about it
    frame_->show();
    keepInside(frame_); // a large font can make it larger than the screen

    introduction_ = start(std::make_unique<Introduction>(introDuration_));

    co_await untilClosed();
    if (HelpViewer *help = helpViewer()) help->quit();
    setDocumentArea(nullptr);
    if (Glo.MainThreadNo == id()) Glo.MainThreadNo = 0;
    if (GlobalResponse == 0) GlobalResponse = RequestCancelled;
}

QMainWindow *Main::buildFrame()
{
    auto *frame = new QMainWindow;
    frame->setWindowTitle(QStringLiteral("Hearthkeep"));
    frame->resize(1000, 700);
    documents_ = new QMdiArea;
    documents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    documents_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Each window keeps its own state: a maximized preview must not leave
    // the list under it maximized when it closes.
    documents_->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    frame->setCentralWidget(documents_);
    frame->statusBar();

    std::map<QString, QMenu *> menus;
    for (const MenuDef &def : frameMenus()) {
        const QString path = QString::fromUtf8(def.path);
        const qsizetype slash = path.lastIndexOf(u'/');
        const QString text = path.mid(slash + 1);
        QMenu *menu =
            slash < 0 ? frame->menuBar()->addMenu(text) : menus.at(path.left(slash))->addMenu(text);
        const QString tip = QString::fromUtf8(def.tip);
        menu->menuAction()->setToolTip(tip);
        menu->menuAction()->setStatusTip(tip);
        menu->setToolTipsVisible(true);
        menus[path] = menu;
    }
    for (const MenuEntry &e : frameMenuEntries()) {
        QAction *action = addCommand(menus.at(QString::fromUtf8(e.menu)), e.text, e.tip, e.command,
                                     e.procedure, e.icon);
        if (e.procedure && qstrcmp(e.procedure, "FileSummary") == 0) {
            summary_ = action;
            summaryBuilt_ = action->isEnabled();
        }
    }
    QMenu *windows = menus.at(QString::fromUtf8(windowMenuPath));
    connect(windows, &QMenu::aboutToShow, this, [this, windows] { listWindows(windows); });

    QToolBar *tools = frame->addToolBar(QStringLiteral("Toolbar"));
    tools->setObjectName(QStringLiteral("toolbar"));
    tools->setMovable(false);
    tools->setIconSize(QSize(16, 16));
    for (const ToolButton &b : frameToolButtons())
        addCommand(tools, b.tip, b.tip, b.command, b.procedure, b.icon);
    return frame;
}

QAction *Main::addCommand(QWidget *where, const char *text, const char *tip, Command command,
                          const char *procedure, const char *icon)
{
    auto *action = new QAction(where);
    if (command == Command::Separator) {
        action->setSeparator(true);
        where->addAction(action);
        return action;
    }
    action->setText(QString::fromUtf8(text));
    action->setToolTip(QString::fromUtf8(tip));
    action->setStatusTip(QString::fromUtf8(tip));
    if (icon) action->setIcon(QIcon(QString::fromUtf8(icon)));
    switch (command) {
    case Command::Cut:
        action->setShortcut(QKeySequence::Cut);
        break;
    case Command::Copy:
        action->setShortcut(QKeySequence::Copy);
        break;
    case Command::Paste:
        action->setShortcut(QKeySequence::Paste);
        break;
    default:
        break;
    }
    const QString name = procedure ? QString::fromUtf8(procedure) : QString();
    if ((command == Command::Start || command == Command::Call) && !procedures_.contains(name))
        action->setEnabled(false); // not built yet
    connect(action, &QAction::triggered, this, [this, command, name] { choose(command, name); });
    where->addAction(action);
    return action;
}

void Main::choose(Command command, const QString &procedure)
{
    if (busy_) return;
    dismissIntroduction();
    switch (command) {
    case Command::Start:
        if (auto it = procedures_.find(procedure); it != procedures_.end()) start(it->second());
        break;
    case Command::Call:
        if (auto it = procedures_.find(procedure); it != procedures_.end())
            callProcedure(it->second);
        break;
    case Command::PrintSetup: {
        // Window-modal and opened without a nested loop, so lists stay live.
        auto *dialog = new QPageSetupDialog(&programPrinter(), frame_);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->open();
        break;
    }
    case Command::Exit:
        frame_->close();
        break;
    case Command::Cut:
    case Command::Copy:
    case Command::Paste: {
        // Entries of every kind (line and text editors) have these slots.
        const char *slot = command == Command::Cut    ? "cut"
                           : command == Command::Copy ? "copy"
                                                      : "paste";
        QWidget *focus = QApplication::focusWidget();
        if (focus && focus->metaObject()->indexOfSlot(QByteArray(slot) + "()") >= 0)
            QMetaObject::invokeMethod(focus, slot);
        break;
    }
    case Command::Tile:
        tileWindows(documents_);
        break;
    case Command::Cascade:
        documents_->cascadeSubWindows();
        break;
    case Command::ArrangeIcons:
        arrangeIcons();
        break;
    case Command::HelpContents:
        if (HelpViewer *help = helpViewer()) help->showContents();
        break;
    case Command::HelpSearch:
        if (HelpViewer *help = helpViewer()) help->showSearch();
        break;
    case Command::HelpOnHelp:
        if (HelpViewer *help = helpViewer()) help->showHelpOnHelp();
        break;
    case Command::Separator:
        break;
    }
}

void Main::dismissIntroduction()
{
    // The introduction gives way as soon as the user works with the frame.
    if (introduction_ != 0) {
        post(introduction_, Notice::closeRequest());
        introduction_ = 0;
    }
}

QCoro::Task<> Main::callProcedure(ProcedureFactory factory)
{
    co_await call(factory());
}

void Main::acceptInput(bool accept)
{
    busy_ = !accept;
    if (!frame_) return;
    frame_->menuBar()->setEnabled(accept);
    if (auto *tools = frame_->findChild<QToolBar *>(QStringLiteral("toolbar")))
        tools->setEnabled(accept);
}

bool Main::handlePosted(QEvent::Type type)
{
    // Not counted: any window closing enables the summary again.
    if (type == Notice::ProcedureOpened || type == Notice::ProcedureClosed) {
        if (summary_) summary_->setEnabled(type == Notice::ProcedureClosed && summaryBuilt_);
        return true;
    }
    return Procedure::handlePosted(type);
}

bool Main::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Close && watched == frame_) {
        if (busy_) { // the called procedure must return first
            e->ignore();
            return true;
        }
        documents_->closeAllSubWindows();
    }
    return Procedure::eventFilter(watched, e);
}

void Main::arrangeIcons()
{
    // Minimised windows in rows along the bottom of the document area.
    const QRect area = documents_->viewport()->rect();
    QPoint at(0, area.bottom());
    for (QMdiSubWindow *sub : documents_->subWindowList()) {
        if (!sub->isMinimized()) continue;
        const QSize size = sub->size();
        if (at.x() > 0 && at.x() + size.width() > area.width())
            at = QPoint(0, at.y() - size.height());
        sub->move(at.x(), at.y() - size.height() + 1);
        at.rx() += size.width();
    }
}

void Main::listWindows(QMenu *menu)
{
    qDeleteAll(windowList_);
    windowList_.clear();
    const QList<QMdiSubWindow *> open = documents_->subWindowList();
    if (open.isEmpty()) return;
    windowList_.append(menu->addSeparator());
    int n = 0;
    for (QMdiSubWindow *sub : open) {
        ++n;
        const QString text = n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(sub->windowTitle())
                                    : QStringLiteral("%1 %2").arg(n).arg(sub->windowTitle());
        QAction *action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(sub == documents_->activeSubWindow());
        QPointer<QMdiSubWindow> target = sub;
        connect(action, &QAction::triggered, this, [this, target] {
            if (busy_ || !target) return;
            dismissIntroduction();
            if (target->isMinimized()) target->showNormal();
            documents_->setActiveSubWindow(target);
        });
        windowList_.append(action);
    }
}

} // namespace hk
