// The frame: its menu and toolbar as the user sees them, which entries work,
// the summary entry following the window notices, and the introduction giving
// way to the first choice.
#include "app/catalogue.h"
#include "platform/help.h"
#include "reports/reportpreview.h"
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

namespace hk
{
namespace
{

using test::waitFor;
using namespace std::chrono_literals;

// One row of the menu as shown: its depth (0 for the menu bar), text and
// tip; "-" for a separator.
struct Row {
    int depth;
    QString text;
    QString tip;
    friend bool operator==(const Row &, const Row &) = default;
    friend std::ostream &operator<<(std::ostream &os, const Row &r)
    {
        return os << r.depth << " \"" << r.text.toStdString() << "\" \"" << r.tip.toStdString()
                  << '"';
    }
};

const std::vector<Row> expectedMenu = {
    {0, "&File", ""},
    {1, "&Summary", "Summary of Inventory Listing"},
    {1, "&Data Backup", "Backup Data Files"},
    {1, "-", ""},
    {1, "E&xport Collection\u2026", "Export a collection to a CSV file"},
    {1, "&Import Collection\u2026", "Import a collection from a CSV file"},
    {1, "&Restore Backup\u2026", "Put a backup of the data file back"},
    {1, "-", ""},
    {1, "P&rint Setup...", "Setup Printer"},
    {1, "E&xit", "Exit Hearthkeep"},
    {0, "&Edit", ""},
    {1, "Cu&t", "Remove item to Windows Clipboard"},
    {1, "&Copy", "Copy item to Windows Clipboard"},
    {1, "&Paste", "Paste contents of Windows Clipboard"},
    {0, "&Setup", "Setup and Maintenance"},
    {1, "&Owner Address", "Alter Address Information"},
    {1, "Restore &Setting", "Restore Default Setting"},
    {1, "-", ""},
    {1, "&Location", "Setup Location File"},
    {1, "&Book Category", "Setup Book Category"},
    {1, "&Article Category", "Setup Article Category"},
    {0, "&Items", "Items in Household"},
    {1, "Browse &Items", "Browse Items Listing"},
    {1, "Items by &Location", "Browse Items by Selected Location"},
    {1, "&Place Items", "Place Items in Locations"},
    {0, "&Books", "Collection of Books"},
    {1, "Browse &Books", "Browse Book Collection"},
    {1, "Books by &Category", "Browse Books by Selected Category"},
    {1, "&Place Books", "Place Books in Category"},
    {0, "S&oftware", "Collection of Software"},
    {1, "Browse &Software", "Browse Software Collection"},
    {0, "&Video", "Collection of Video Cassette"},
    {1, "Browse &Video", "Browse Video Cassette Collection"},
    {1, "Browse &Titles", "Browse Video Titles"},
    {0, "&Music", "Collection of Music Album"},
    {1, "Browse &Album", "Browse Album Collection"},
    {1, "Browse &Titles", "Browse Music Titles"},
    {0, "M&agazine", "Collection of Magazines"},
    {1, "Browse &Magazine", "Browse Magazine Collection"},
    {1, "Browse &Articles", "Browse Article Listing"},
    {1, "Articles by &Category", "Browse Articles by Selected Category"},
    {1, "&Place Articles", "Place Articles in Category"},
    {0, "&Reports", "Print Inventory Listing"},
    {1, "&Items", "Report of Items"},
    {2, "Complete &Items", "Complete Items Listing"},
    {2, "Items by &Location", "Items by Location"},
    {2, "Items by &Selected Location", "Items by Selected Location"},
    {2, "Items with Serial &Numbers", "Items with Serial Numbers"},
    {2, "Insurance In&ventory", "Items with their photos for an insurer"},
    {1, "&Books", "Report of Book Collection"},
    {2, "Books by &Author", "Books by Author"},
    {2, "Books by &Title", "Books by Title"},
    {2, "Books by &Category", "Books by Category"},
    {2, "Books by &Selected Category", "Books by Selected Category"},
    {1, "&Software", "Report of Software Collection"},
    {2, "&Software", "Software by Program Name"},
    {1, "&Video", "Report of Video Collection"},
    {2, "Video &Cassette", "Video by Cassette"},
    {2, "Video Cassette &w/Titles", "Video Cassette with Titles"},
    {2, "Video &Titles", "Video by Titles"},
    {2, "Video &Actor", "Video by Actor"},
    {2, "Video by &Selected Cassette", "Video by Selected Cassette"},
    {1, "&Music", "Report of Music Collection"},
    {2, "Music &Album", "Music by Album"},
    {2, "Music Album &w/Titles", "Music Album with Titles"},
    {2, "Music &Titles", "Music by Titles"},
    {2, "Music &Artists", "Music by Artists"},
    {2, "Music by &Selected Album", "Music by Selected Album"},
    {1, "M&agazines", "Report of Magazine Collection"},
    {2, "M&agazines", "Magazine Collection"},
    {2, "Magazines &w/Articles", "Magazines with Articles"},
    {2, "&Articles by Selected Magazine", "Articles from Selected Magazine"},
    {2, "Articles by Selected &Year", "Articles from Selected Magazine and Year"},
    {2, "Complete &Article Listing", "Complete Listing of all Articles"},
    {0, "&Window", "Create and Arrange windows"},
    {1, "T&ile", "Make all open windows visible"},
    {1, "&Cascade", "Stack all open windows"},
    {1, "&Arrange Icons", "Align all window icons"},
    {0, "&Help", "Windows Help"},
    {1, "&Contents", "View the contents of the help file"},
    {1, "&Search for Help On...", "Search for help on a subject"},
    {1, "&How to Use Help", "How to use Windows Help"},
    {1, "&About", "Hearthkeep"},
};

const QStringList expectedToolTips = {
    "Exit Hearthkeep",
    "Setup Printer",
    "Place Items in Locations",
    "Place Books in Category",
    "Browse Item Listing",
    "Browse Items by Selected Location",
    "Browse Book Collection",
    "Browse Books by Selected Category",
    "Browse Software Collection",
    "Browse Album Collection",
    "Browse Music Titles",
    "Browse Article Listing",
    "Browse Articles by Selected Category",
    "Place Articles in Category",
    "Browse Magazine Collection",
    "Browse Video Titles",
    "Browse Video Cassette Collection",
};

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

void collect(const QList<QAction *> &actions, int depth, std::vector<Row> &rows)
{
    for (QAction *a : actions) {
        if (a->isSeparator()) {
            rows.push_back({depth, "-", ""});
            continue;
        }
        rows.push_back({depth, a->text(), a->statusTip()});
        if (!a->statusTip().isEmpty()) { // else the tool tip falls back to the text
            EXPECT_EQ(a->toolTip(), a->statusTip()) << a->text().toStdString();
        }
        if (QMenu *sub = a->menu()) collect(sub->actions(), depth + 1, rows);
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

TEST_F(FrameTest, MenuAndToolbarShowEveryEntryWithItsTextTipAndIcon)
{
    startFrame(programProcedures());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Hearthkeep"));
    EXPECT_FALSE(frame->windowIcon().isNull());

    std::vector<Row> rows;
    collect(frame->menuBar()->actions(), 0, rows);
    EXPECT_EQ(rows, expectedMenu);
    EXPECT_FALSE(entry("&File", "P&rint Setup...")->icon().isNull());

    auto *tools = frame->findChild<QToolBar *>();
    ASSERT_NE(tools, nullptr);
    QStringList tips;
    for (QAction *a : tools->actions()) {
        tips << a->toolTip();
        EXPECT_EQ(a->text(), a->toolTip());
        EXPECT_EQ(a->statusTip(), a->toolTip());
        EXPECT_FALSE(a->icon().isNull()) << a->toolTip().toStdString();
    }
    EXPECT_EQ(tips, expectedToolTips);
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
