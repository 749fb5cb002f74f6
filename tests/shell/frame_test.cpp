// The frame: its menu and toolbar as the user sees them, which entries work,
// the summary entry following the window notices, and the introduction giving
// way to the first choice.
#include "app/catalogue.h"
#include "platform/help.h"
#include "reports/reportpreview.h"
#include "shell/commands.h"
#include "shell/frame.h"
#include "testapp.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace hk
{
namespace
{

using test::waitFor;
using namespace std::chrono_literals;

// One action as shown: its text ("-" for a separator) and tip.
struct Row {
    QString text;
    QString tip;
    friend bool operator==(const Row &, const Row &) = default;
    friend std::ostream &operator<<(std::ostream &os, const Row &r)
    {
        return os << '"' << r.text.toStdString() << "\" \"" << r.tip.toStdString() << '"';
    }
};

QString utf8(const char *text)
{
    return QString::fromUtf8(text ? text : "");
}

// The path a menu table names its parent by: "&Reports" for "&Reports/&Items".
QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

// A list-like window: notifies the frame when it opens and closes.
class ListWindow : public Procedure
{
  public:
    ListWindow() : Procedure(QStringLiteral("ListWindow")) {}
    static inline int started = 0;
    static inline Long lastId = 0;

  protected:
    QCoro::Task<> run() override
    {
        ++started;
        lastId = id();
        postToFrame(Notice::ProcedureOpened);
        auto *w = new QWidget;
        w->setWindowTitle(QStringLiteral("List"));
        openDocument(w);
        co_await untilClosed();
        postToFrame(Notice::ProcedureClosed);
    }
};

ProcedureFactory listWindow = [] { return std::make_unique<ListWindow>(); };

// The menus as built, by path, each with its own entries and sub-menus.
void collectMenus(const QList<QAction *> &actions, const QString &parent,
                  std::map<QString, QMenu *> &menus)
{
    for (QAction *a : actions) {
        if (QMenu *sub = a->menu()) {
            const QString path = parent.isEmpty() ? a->text() : parent + '/' + a->text();
            menus[path] = sub;
            collectMenus(sub->actions(), path, menus);
        }
    }
}

class FrameTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::app();
        test::giveOwner();
    }
    void TearDown() override
    {
        if (frame) frame->close();
        waitFor([this] { return findProcedure(mainId) == nullptr; });
    }

    void startFrame(ProcedureCatalogue procedures, std::chrono::milliseconds intro = 10min)
    {
        mainId = start(std::make_unique<Main>(std::move(procedures), intro));
        frame = qobject_cast<QMainWindow *>(findProcedure(mainId)->window());
        ASSERT_NE(frame, nullptr);
        documents = frame->findChild<QMdiArea *>();
    }

    QAction *entry(const QString &menu, const QString &text)
    {
        for (QAction *top : frame->menuBar()->actions())
            if (top->text() == menu)
                for (QAction *a : top->menu()->actions())
                    if (a->text() == text) return a;
        ADD_FAILURE() << "no entry " << text.toStdString();
        return nullptr;
    }

    QStringList openTitles() const
    {
        QStringList titles;
        for (QMdiSubWindow *sub : documents->subWindowList())
            titles << sub->windowTitle();
        return titles;
    }

    test::TempSettings settings;
    Long mainId = 0;
    QPointer<QMainWindow> frame;
    QMdiArea *documents = nullptr;
};

// The frame builds its menu and toolbar from the command tables and nothing
// else: each menu holds its table's entries in order, with their tips.
TEST_F(FrameTest, MenuAndToolbarShowEveryEntryOfTheirTablesWithItsTipAndIcon)
{
    startFrame(programProcedures());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Hearthkeep"));
    EXPECT_FALSE(frame->windowIcon().isNull());

    std::map<QString, QMenu *> menus;
    collectMenus(frame->menuBar()->actions(), {}, menus);
    EXPECT_EQ(menus.size(), frameMenus().size());
    for (const MenuDef &def : frameMenus()) {
        const QString path = utf8(def.path);
        SCOPED_TRACE(def.path);
        ASSERT_TRUE(menus.count(path));
        const QMenu *menu = menus.at(path);
        EXPECT_EQ(menu->menuAction()->statusTip(), utf8(def.tip));
        if (*def.tip) { // else the tool tip falls back to the text
            EXPECT_EQ(menu->menuAction()->toolTip(), utf8(def.tip));
        }

        std::vector<Row> listed, shown;
        QStringList subMenus, shownSubMenus;
        for (const MenuEntry &e : frameMenuEntries())
            if (utf8(e.menu) == path) listed.push_back({e.text ? utf8(e.text) : "-", utf8(e.tip)});
        for (const MenuDef &sub : frameMenus())
            if (parentOf(utf8(sub.path)) == path) subMenus << utf8(sub.path).mid(path.size() + 1);
        for (QAction *a : menu->actions()) {
            if (a->menu()) {
                shownSubMenus << a->text();
                continue;
            }
            shown.push_back({a->isSeparator() ? "-" : a->text(), a->statusTip()});
            if (!a->statusTip().isEmpty()) { // else the tool tip falls back to the text
                EXPECT_EQ(a->toolTip(), a->statusTip()) << a->text().toStdString();
            }
        }
        EXPECT_EQ(shown, listed);
        EXPECT_EQ(shownSubMenus, subMenus);
        for (const MenuEntry &e : frameMenuEntries()) {
            if (utf8(e.menu) != path || !e.icon) continue;
            for (QAction *a : menu->actions())
                if (a->text() == utf8(e.text)) {
                    EXPECT_FALSE(a->icon().isNull()) << e.text;
                }
        }
    }
    QStringList bar, topMenus;
    for (QAction *a : frame->menuBar()->actions())
        bar << a->text();
    for (const MenuDef &def : frameMenus())
        if (parentOf(utf8(def.path)).isEmpty()) topMenus << utf8(def.path);
    EXPECT_EQ(bar, topMenus);

    auto *tools = frame->findChild<QToolBar *>();
    ASSERT_NE(tools, nullptr);
    QStringList tips, listedTips;
    for (QAction *a : tools->actions()) {
        tips << a->toolTip();
        EXPECT_EQ(a->text(), a->toolTip());
        EXPECT_EQ(a->statusTip(), a->toolTip());
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    for (const ToolButton &b : frameToolButtons())
        listedTips << utf8(b.tip);
    EXPECT_EQ(tips, listedTips);
}

// A typo in a procedure's name would leave its entry disabled for good.
TEST(FrameCommands, EveryEntryAndButtonNamesAProcedureOfTheProgram)
{
    test::app();
    const ProcedureCatalogue procedures = programProcedures();
    auto check = [&](Command command, const char *procedure, const char *what) {
        const bool runs = command == Command::Start || command == Command::Call;
        EXPECT_EQ(procedure != nullptr, runs) << what;
        if (runs && procedure) {
            EXPECT_TRUE(procedures.count(utf8(procedure))) << procedure;
        }
    };
    std::set<QString> paths;
    for (const MenuDef &def : frameMenus()) {
        const QString parent = parentOf(utf8(def.path));
        EXPECT_TRUE(parent.isEmpty() || paths.count(parent)) << def.path << ": parent first";
        EXPECT_TRUE(paths.insert(utf8(def.path)).second) << def.path;
    }
    std::set<QString> started;
    for (const MenuEntry &e : frameMenuEntries()) {
        EXPECT_TRUE(paths.count(utf8(e.menu))) << e.menu;
        EXPECT_EQ(e.text == nullptr, e.command == Command::Separator) << e.menu;
        check(e.command, e.procedure, e.text ? e.text : e.menu);
        if (e.procedure) {
            EXPECT_TRUE(started.insert(utf8(e.procedure)).second) << e.procedure;
        }
    }
    // A button is a shortcut to something the menu offers as well.
    for (const ToolButton &b : frameToolButtons()) {
        check(b.command, b.procedure, b.tip);
        if (b.procedure) {
            EXPECT_TRUE(started.count(utf8(b.procedure))) << b.tip;
        }
    }
}

TEST_F(FrameTest, EntriesWithoutABuiltProcedureAreDisabled)
{
    startFrame({{"BrowseBooks", listWindow}});
    EXPECT_TRUE(entry("&Books", "Browse &Books")->isEnabled());
    EXPECT_FALSE(entry("&Books", "&Place Books")->isEnabled());
    EXPECT_FALSE(entry("&Help", "&About")->isEnabled());
    EXPECT_FALSE(entry("&File", "&Data Backup")->isEnabled());
    for (const char *standard : {"P&rint Setup...", "E&xit"})
        EXPECT_TRUE(entry("&File", standard)->isEnabled());
    EXPECT_TRUE(entry("&Window", "T&ile")->isEnabled());
    EXPECT_TRUE(entry("&Help", "&Contents")->isEnabled());

    auto *tools = frame->findChild<QToolBar *>();
    for (QAction *a : tools->actions())
        EXPECT_EQ(a->isEnabled(), a->toolTip() == "Exit Hearthkeep" ||
                                      a->toolTip() == "Setup Printer" ||
                                      a->toolTip() == "Browse Book Collection")
            << a->toolTip().toStdString();
}

TEST_F(FrameTest, SummaryIsDisabledWhileAListIsOpenAndEnabledWhenAnyCloses)
{
    startFrame({{"FileSummary", listWindow}, {"BrowseBooks", listWindow}});
    QAction *summary = entry("&File", "&Summary");
    QAction *books = entry("&Books", "Browse &Books");
    ASSERT_TRUE(summary->isEnabled());

    books->trigger();
    ASSERT_TRUE(waitFor([&] { return !summary->isEnabled(); }));
    books->trigger();
    ASSERT_TRUE(waitFor([&] { return openTitles().count("List") == 2; }));
    EXPECT_FALSE(summary->isEnabled());

    // The notices are not counted: one of two closing enables it again.
    documents->subWindowList().constFirst()->close();
    EXPECT_TRUE(waitFor([&] { return summary->isEnabled(); }));
    EXPECT_EQ(openTitles().count("List"), 1);
}

TEST_F(FrameTest, TheFirstChoiceClosesTheIntroductionAndIsStillCarriedOut)
{
    ListWindow::started = 0;
    startFrame({{"BrowseBooks", listWindow}});
    ASSERT_TRUE(waitFor([&] { return openTitles().contains("Introduction"); }));

    entry("&Books", "Browse &Books")->trigger();
    EXPECT_TRUE(waitFor([&] { return !openTitles().contains("Introduction"); }));
    EXPECT_EQ(ListWindow::started, 1);
    EXPECT_TRUE(openTitles().contains("List"));
}

// The preview takes the document area from its corner, beside an open list;
// maximizing it maximizes nothing else. The frame itself fits the screen.
TEST_F(FrameTest, ThePreviewOpensInsideTheDocumentAreaAndMaximizesAlone)
{
    startFrame({{"BrowseBooks", listWindow}});
    EXPECT_TRUE(frame->screen()->availableGeometry().contains(frame->frameGeometry()));
    entry("&Books", "Browse &Books")->trigger();
    QWidget *list = findProcedure(ListWindow::lastId)->window();
    list->setGeometry(120, 90, 300, 200);

    std::vector<Page> pages(3);
    const Long preview = start(std::make_unique<ReportPreview>(pages, QStringLiteral("job")));
    QWidget *w = findProcedure(preview)->window();
    EXPECT_EQ(w->geometry(), documents->viewport()->rect());
    w->showMaximized();
    w->close();
    ASSERT_TRUE(waitFor([&] { return !findProcedure(preview); }));
    EXPECT_FALSE(list->isMaximized());
    EXPECT_EQ(list->geometry(), QRect(120, 90, 300, 200));
}

TEST_F(FrameTest, ExitEndsTheFrameAndEveryProcedureWithAWindowInIt)
{
    startFrame({{"BrowseBooks", listWindow}});
    entry("&Books", "Browse &Books")->trigger();
    const Long list = ListWindow::lastId;
    ASSERT_NE(findProcedure(list), nullptr);

    entry("&File", "E&xit")->trigger();
    EXPECT_TRUE(waitFor([&] { return !findProcedure(mainId) && !findProcedure(list); }));
}

TEST_F(FrameTest, DataBackupKeepsTheFrameBusyUntilItsWindowCloses)
{
    ListWindow::started = 0;
    startFrame({{"CopyFile", listWindow}, {"BrowseBooks", listWindow}});
    entry("&Books", "Browse &Books")->trigger();
    QMdiSubWindow *list = documents->subWindowList().constLast();

    entry("&File", "&Data Backup")->trigger();
    ASSERT_EQ(ListWindow::started, 2);
    const Long backup = ListWindow::lastId;
    EXPECT_FALSE(frame->menuBar()->isEnabled());
    EXPECT_FALSE(frame->findChild<QToolBar *>()->isEnabled());
    entry("&Books", "Browse &Books")->trigger(); // ignored while busy
    EXPECT_EQ(ListWindow::started, 2);
    frame->close(); // refused while busy
    QTest::qWait(0);
    EXPECT_TRUE(frame && frame->isVisible());
    EXPECT_TRUE(list->isEnabled()); // the other windows stay live

    post(backup, Notice::closeRequest());
    EXPECT_TRUE(waitFor([&] { return frame->menuBar()->isEnabled(); }));
    entry("&Books", "Browse &Books")->trigger();
    EXPECT_EQ(ListWindow::started, 3);
}

// Records what the frame asks of the help viewer.
struct RecordingHelp : HelpViewer {
    QStringList calls;
    void showContents() override { calls << "contents"; }
    void showSearch() override { calls << "search"; }
    void showHelpOnHelp() override { calls << "help on help"; }
    void showTopic(const QString &context) override { calls << context; }
    void quit() override { calls << "quit"; }
};

TEST_F(FrameTest, HelpEntriesAskTheViewerWhichClosesWithTheFrame)
{
    RecordingHelp help;
    setHelpViewer(&help);
    startFrame({});
    entry("&Help", "&Contents")->trigger();
    entry("&Help", "&Search for Help On...")->trigger();
    entry("&Help", "&How to Use Help")->trigger();
    frame->close();
    EXPECT_TRUE(waitFor([&] { return findProcedure(mainId) == nullptr; }));
    EXPECT_EQ(help.calls, QStringList({"contents", "search", "help on help", "quit"}));
    setHelpViewer(nullptr);
}

} // namespace
} // namespace hk
