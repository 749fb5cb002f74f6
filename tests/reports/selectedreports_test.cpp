// The item reports by location and serial number and the reports of one
// chosen location or category: their pages against the stored files, the
// group and grand totals, and the selection windows the frame's runs call.
#include "reports/golden.h"
#include "reports/reportdata.h"

#include "browse/browse.h"
#include "browse/browselayout.h"
#include "reports/catalogue/selectwindows.h"
#include "reports/printchoice.h"
#include "reports/reportdef.h"
#include "reports/reportpreview.h"
#include "reports/reportprocedure.h"
#include "testapp.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTreeView>

namespace hk
{
namespace
{

using test::waitFor;

class ItemsByLocation : public ProgramTest
{
  protected:
    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        test::fillBooks();
        test::fillItems(); // four items, all in location 1
        ASSERT_TRUE(UseTable(ItemsRooms));
        ASSERT_TRUE(UseTable(Items));
        addRoom(1, "Living Room");
        addRoom(2, "Study");
        addRoom(3, "Attic"); // no items
        test::addItem(5, "Desk", "Writing desk", 1, 25000, 1990, "", "Walnut");
        Itm.RoomsId = 2;
        ASSERT_EQ(Items.put(), NoError);
        test::addItem(6, "Books shelf", "Pine", 2, 4000, 0, "BS-2", "");
        Itm.RoomsId = 2;
        ASSERT_EQ(Items.put(), NoError);
        ReleaseTable(Items);
        ReleaseTable(ItemsRooms);
        PrintDate = Long(reportToday());
    }
    void TearDown() override
    {
        setReportToday({});
        ProgramTest::TearDown();
    }
    static void addRoom(Long id, const char *name)
    {
        ItmRom = {};
        ItmRom.RoomsId = id;
        ItmRom.Rooms = name;
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }

    // The report generated straight through, as the procedure would after
    // its printer dialog or selection; empty when there is nothing to print.
    static std::vector<Page> run(const char *name)
    {
        const ReportDefinition *def = findReport(QString::fromLatin1(name));
        EXPECT_NE(def, nullptr);
        TablesInUse tables;
        for (Table *t : def->opens)
            tables.use({t});
        ReportJob job(*def);
        if (!job.begin()) return {};
        while (!job.batch()) {
        }
        job.finish();
        return job.takePages();
    }
    static bool prints(const std::vector<Page> &pages, const std::string &text)
    {
        for (const Page &p : pages)
            for (const PageText &t : p.texts)
                if (t.text == text) return true;
        return false;
    }
};

TEST_F(ItemsByLocation, SubtotalsPerLocationAddUpToTheGrandTotal)
{
    const auto pages = run("RPTITEMALLLOCATION");
    test::compareWithGolden("RPTITEMALLLOCATION", pages);
    // Living Room: 899.00 + 120.00 + 0 + 349.50; Study: 250.00 + 40.00.
    EXPECT_EQ(test::textsAfter(pages, "Value of Items in Location:"),
              (std::vector<std::string>{"1,368.50", "290.00"}));
    EXPECT_EQ(test::textsAfter(pages, "Total Value of Hearthkeep:").back(), "1,658.50");
    // The groups' counts, then the page footer's running count.
    EXPECT_EQ(test::textsAfter(pages, "Entries:"), (std::vector<std::string>{"4", "2", "6"}));
    EXPECT_FALSE(prints(pages, "Attic")); // a location without items prints nothing
}

TEST_F(ItemsByLocation, SerialNumbersLeaveOutBlankOnes)
{
    const auto pages = run("RPTITEMSERIALNO");
    test::compareWithGolden("RPTITEMSERIALNO", pages);
    for (const char *name : {"Books shelf", "Camera", "Television"})
        EXPECT_TRUE(prints(pages, name)) << name;
    for (const char *name : {"Chairs", "Lamp", "Desk"})
        EXPECT_FALSE(prints(pages, name)) << name;
    const ReportDefinition *def = findReport(QStringLiteral("RPTITEMSERIALNO"));
    TablesInUse tables{&Items};
    ReportJob job(*def);
    ASSERT_TRUE(job.begin());
    EXPECT_EQ(job.estimate(), 500);
}

TEST_F(ItemsByLocation, TheChosenLocationOrCategoryIsAllThatPrints)
{
    ItmRom.RoomsId = 2;
    ItmRom.Rooms = "Study";
    const auto study = run("RPTITEMSELLOCATION");
    test::compareWithGolden("RPTITEMSELLOCATION", study);
    EXPECT_TRUE(prints(study, "Study"));
    EXPECT_EQ(test::textsAfter(study, "Entries:").back(), "2");

    ItmRom.RoomsId = 3;
    EXPECT_TRUE(run("RPTITEMSELLOCATION").empty());

    BokCat.BookCategoryId = 2;
    BokCat.BookCategory = "History";
    const auto history = run("RPTBOOKSELCATEGORY");
    test::compareWithGolden("RPTBOOKSELCATEGORY", history);
    EXPECT_TRUE(prints(history, "History"));
    EXPECT_EQ(test::textsAfter(history, "Total Value of Book Collection:").back(), "225.00");
}

// The runs from the frame: the selection window instead of the printer
// dialog, its answer deciding whether anything prints.
class SelectionRun : public ItemsByLocation
{
  protected:
    bool done = false;
    bool generating = false;

    void startReport(const char *name)
    {
        auto proc = std::make_unique<ReportProcedure>(*findReport(QString::fromLatin1(name)));
        QObject::connect(proc.get(), &ReportProcedure::generating, [this] { generating = true; });
        QObject::connect(proc.get(), &Procedure::done, [this] { done = true; });
        start(std::move(proc));
    }
    static BuiltWindow *selection(const QString &title)
    {
        BuiltWindow *found = nullptr;
        waitFor([&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *c = qobject_cast<BuiltWindow *>(w);
                    c && c->windowTitle() == title && c->isVisible())
                    found = c;
            return found != nullptr;
        });
        QCoreApplication::processEvents();
        return found;
    }
    static void clickIn(BuiltWindow *w, int control)
    {
        w->controlAs<QPushButton>(control)->click();
    }
};

TEST_F(SelectionRun, TheChosenRecordDecidesWhatPrintsAndClosingPrintsNothing)
{
    // The list opens on the location in the buffer: the Attic, without items.
    startReport("RPTITEMSELLOCATION");
    BuiltWindow *rooms = selection(QStringLiteral("Select Location to Print"));
    ASSERT_NE(rooms, nullptr);
    EXPECT_FALSE(rooms->isControlHidden(BrowseControl::Select));
    EXPECT_EQ(rooms->control(BrowseControl::Insert), nullptr);
    clickIn(rooms, BrowseControl::Select);
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_TRUE(generating); // the progress window opened and closed at once
    EXPECT_EQ(ItmRom.Rooms.str(), "Attic");
    EXPECT_EQ(GlobalResponse, RequestCancelled);

    done = generating = false;
    ItmRom = {};
    startReport("RPTITEMSELLOCATION");
    rooms = selection(QStringLiteral("Select Location to Print"));
    ASSERT_NE(rooms, nullptr);
    auto *list = rooms->controlAs<PagedList>(BrowseControl::List);
    QTest::keyClick(list->view(), Qt::Key_Down); // from Living Room to Study
    QCoreApplication::processEvents();
    QTest::keyClick(list->view(), Qt::Key_Return); // Select is the default
    PreviewWindow *preview = nullptr;
    ASSERT_TRUE(waitFor([&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<PreviewWindow *>(w); p && p->isVisible()) preview = p;
        return preview != nullptr;
    }));
    EXPECT_EQ(ItmRom.Rooms.str(), "Study");
    preview->close();
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_EQ(GlobalResponse, RequestCompleted);

    done = generating = false;
    startReport("RPTBOOKSELCATEGORY");
    BuiltWindow *categories = selection(QStringLiteral("Select Book Category to Print"));
    ASSERT_NE(categories, nullptr);
    clickIn(categories, BrowseControl::Close);
    ASSERT_TRUE(waitFor([&] { return done; }));
    EXPECT_FALSE(generating);
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

} // namespace
} // namespace hk
