// Pages drawn on demand: a page drawn again after the kept pages dropped it,
// or drawn alone without the pages before it, is the page drawn in order;
// drawing leaves the record buffers as they were; and a location's header
// never stands alone at the foot of a page of the real report.
#include "reports/golden.h"
#include "reports/reportdata.h"

#include "reports/reportdef.h"
#include "reports/reportpages.h"

#include <cstring>

namespace hk
{
namespace
{

class ReportPagesTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        PrintDate = Long(reportToday());
    }
    void TearDown() override
    {
        setReportToday({});
        ProgramTest::TearDown();
    }

    // 120 books over three categories, some without publisher or ISBN.
    static void fillManyBooks()
    {
        TablesInUse t{&BookCategory, &Books};
        test::addCategory(1, "Fiction");
        test::addCategory(2, "History");
        test::addCategory(3, "Travel");
        for (int i = 1; i <= 120; ++i) {
            const std::string title = "Book " + std::to_string(1000 + i * 7 % 120);
            const std::string isbn = i % 4 ? "0-11-" + std::to_string(i) : "";
            test::addBook(i, {title.c_str(), "Author", Long(1 + i % 3), 100 * i, Short(i),
                              i % 5 ? "Press" : "", isbn.c_str(), Short(1900 + i),
                              i % 2 ? "Paper" : ""});
        }
    }

    // The run of a report to its page count, with its tables open.
    struct Run {
        explicit Run(const char *name) : def(*findReport(QString::fromLatin1(name)))
        {
            for (Table *t : def.opens)
                tables.use({t});
            job = std::make_unique<ReportJob>(def);
            if (job->begin())
                while (!job->batch()) {
                }
            job->finish();
        }
        const ReportDefinition &def;
        TablesInUse tables;
        std::unique_ptr<ReportJob> job;
    };

    static std::vector<std::string> described(const std::vector<Page> &pages)
    {
        std::vector<std::string> out;
        for (std::size_t p = 0; p < pages.size(); ++p)
            out.push_back(describePage(pages[p], int(p + 1)));
        return out;
    }
};

TEST_F(ReportPagesTest, APageDrawnAgainAfterItWasDroppedIsTheSame)
{
    fillManyBooks();
    for (const char *name : {"RPTBOOKTITLE", "RPTBOOKALLCAT"}) {
        SCOPED_TRACE(name);
        Run run(name);
        const auto inOrder = described(run.job->takePages());
        ASSERT_GE(inOrder.size(), 5u);
        // Two pages kept: every page below is drawn from its start again.
        ReportPages pages(run.job->run(), 2);
        for (int n : {3, 1, 5, 2, 4, 3, 5, 1, 3}) {
            const auto page = pages.page(n);
            EXPECT_EQ(describePage(*page, n), inOrder[std::size_t(n - 1)]) << "page " << n;
        }
        EXPECT_GE(pages.restarts(), 7);
    }
}

// Every page drawn on its own, by a source that has drawn nothing before:
// the totals, the open groups and an issue's value counted once come back
// from the page's start as the run had them.
TEST_F(ReportPagesTest, EveryPageDrawnAloneIsThePageDrawnInOrder)
{
    {
        TablesInUse t{&MagName, &MagYear, &MagIssue, &MagArticle};
        Mag = {};
        Mag.MagazineNameId = 1;
        Mag.MagazineName = "Gardens";
        ASSERT_EQ(MagName.add(), NoError);
        Yer = {};
        Yer.MagazineYearId = 1;
        Yer.MagazineNameId = 1;
        Yer.MagazineYear = 2001;
        ASSERT_EQ(MagYear.add(), NoError);
        for (Long issue = 1; issue <= 3; ++issue) {
            Iss = {};
            Iss.MagazineIssueId = issue;
            Iss.MagazineNameId = 1;
            Iss.MagazineYearId = 1;
            Iss.MagazineIssue = Short(issue);
            ASSERT_TRUE(Iss.Values.setCents(100 * issue));
            ASSERT_EQ(MagIssue.add(), NoError);
            for (int a = 0; a < 50; ++a) {
                Art = {};
                Art.MagazineArticleId = Long(issue * 100 + a);
                Art.MagazineNameId = 1;
                Art.MagazineYearId = 1;
                Art.MagazineIssueId = issue;
                Art.Article = "Article " + std::to_string(a);
                Art.Pages = Byte(a);
                ASSERT_EQ(MagArticle.add(), NoError);
            }
        }
    }
    fillManyBooks();
    for (const char *name : {"RPTMAGAZINEARTICLES", "RPTMAGAZINECOLLECTION", "RPTBOOKALLCAT"}) {
        SCOPED_TRACE(name);
        Run run(name);
        const auto inOrder = described(run.job->takePages());
        for (int n = int(inOrder.size()); n >= 1; --n) {
            auto alone = run.job->pages();
            EXPECT_EQ(describePage(*alone->page(n), n), inOrder[std::size_t(n - 1)]);
        }
    }
}

TEST_F(ReportPagesTest, DrawingLeavesTheRecordBuffersAsTheyWere)
{
    fillManyBooks();
    Run run("RPTBOOKALLCAT");
    auto pages = run.job->pages();
    // What a form would hold in the buffers meanwhile.
    Bok = {};
    Bok.BookTitle = "Being edited";
    BokCat = {};
    BokCat.BookCategory = "Chosen";
    const BooksRecord book = Bok;
    const BookCategoryRecord category = BokCat;
    pages->page(3);
    pages->page(1);
    EXPECT_EQ(std::memcmp(&Bok, &book, sizeof book), 0);
    EXPECT_EQ(std::memcmp(&BokCat, &category, sizeof category), 0);
}

// 20 items in the Hall and its footer leave room for the Living Room's
// header at the foot of page 1, not for its first item: the header starts
// page 2 with it.
TEST_F(ReportPagesTest, ALocationsHeaderGoesToTheNextPageWithItsFirstItem)
{
    {
        TablesInUse t{&ItemsRooms, &Items};
        for (auto [id, name] : {std::pair{1, "Hall"}, {2, "Living Room"}}) {
            ItmRom = {};
            ItmRom.RoomsId = Long(id);
            ItmRom.Rooms = name;
            ASSERT_EQ(ItemsRooms.add(), NoError);
        }
        for (int i = 1; i <= 25; ++i) {
            const std::string item = "Item " + std::to_string(100 + i);
            test::addItem(i, item.c_str(), "Thing", 1, 100, 0, "", "");
            Itm.RoomsId = i <= 20 ? 1 : 2;
            ASSERT_EQ(Items.put(), NoError);
        }
    }
    Run run("RPTITEMALLLOCATION");
    const auto pages = run.job->takePages();
    ASSERT_GE(pages.size(), 2u);
    auto texts = [](const Page &p) {
        std::vector<std::string> out;
        for (const PageText &t : p.texts)
            out.push_back(t.text);
        return out;
    };
    const auto first = texts(pages[0]), second = texts(pages[1]);
    EXPECT_NE(std::find(first.begin(), first.end(), "Hall"), first.end());
    EXPECT_NE(std::find(first.begin(), first.end(), "Value of Items in Location:"), first.end());
    EXPECT_EQ(std::find(first.begin(), first.end(), "Living Room"), first.end());
    // After the page header (its heading, "Page No:", the number and five
    // column headings) the location, then its first item.
    const auto room = std::find(second.begin(), second.end(), "Living Room");
    ASSERT_NE(room, second.end());
    ASSERT_NE(room + 1, second.end());
    EXPECT_EQ(*(room + 1), "Item 121");
}

} // namespace
} // namespace hk
