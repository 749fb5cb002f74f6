// The magazine reports on a small archive: two magazines whose article
// titles interleave, an issue with several articles and one with none.
// Pages are compared with stored files (HK_UPDATE_GOLDEN=1 writes them);
// the figures that matter are checked on their own.
#include "reports/golden.h"
#include "reports/reportdata.h"

#include "browse/browselayout.h"
#include "browse/listcontrol.h"
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

struct ArticleRow {
    Long id, issue;
    const char *title, *comments;
    Short pages;
};

class MagazineReportTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        PrintDate = Long(reportToday());
        TablesInUse t{&MagName, &MagYear, &MagIssue, &MagArticle};
        addName(1, "Gardens");
        addName(2, "Boats");
        addYear(10, 1, 1998);
        addYear(11, 1, 1999);
        addYear(20, 2, 2001);
        addIssue(100, 1, 10, 1, "January", 450);
        addIssue(101, 1, 10, 2, "February", 500);
        addIssue(102, 1, 11, 3, "March", 600);
        addIssue(200, 2, 20, 1, "January", 325);
        addIssue(201, 2, 20, 2, "February", 200); // no articles
        for (const ArticleRow &a :
             {ArticleRow{1, 100, "Roses", "Climbing kinds", 12},
              ArticleRow{2, 100, "Pruning", "", 3},
              ArticleRow{3, 100, "Compost", "Heaps and bins", 0},
              ArticleRow{4, 101, "Tulips", "", 7}, ArticleRow{5, 102, "Weeds", "", 9},
              ArticleRow{6, 102, "Bulbs", "", 2}, ArticleRow{7, 200, "Anchors", "Old and new", 4},
              ArticleRow{8, 200, "Sails", "", 20}})
            addArticle(a);
    }
    void TearDown() override
    {
        setReportToday({});
        ProgramTest::TearDown();
    }

    static void addName(Long id, const char *name)
    {
        Mag = {};
        Mag.MagazineNameId = id;
        Mag.MagazineName = name;
        ASSERT_EQ(MagName.add(), NoError);
    }
    static void addYear(Long id, Long magazine, Short year)
    {
        Yer = {};
        Yer.MagazineYearId = id;
        Yer.MagazineNameId = magazine;
        Yer.MagazineYear = year;
        ASSERT_EQ(MagYear.add(), NoError);
    }
    static void addIssue(Long id, Long magazine, Long year, Short number, const char *month,
                         std::int64_t cents)
    {
        Iss = {};
        Iss.MagazineIssueId = id;
        Iss.MagazineNameId = magazine;
        Iss.MagazineYearId = year;
        Iss.MagazineIssue = number;
        Iss.MagazineMonth = month;
        ASSERT_TRUE(Iss.Values.setCents(cents));
        ASSERT_EQ(MagIssue.add(), NoError);
    }
    static void addArticle(const ArticleRow &r)
    {
        Iss.MagazineIssueId = r.issue;
        ASSERT_EQ(MagIssue.get(Iss.Primary), NoError);
        Art = {};
        Art.MagazineArticleId = r.id;
        Art.MagazineIssueId = r.issue;
        Art.MagazineYearId = Iss.MagazineYearId;
        Art.MagazineNameId = Iss.MagazineNameId;
        Art.Article = r.title;
        Art.Comments = r.comments;
        Art.Pages = r.pages;
        ASSERT_EQ(MagArticle.add(), NoError);
    }

    std::vector<Page> run(const char *name)
    {
        const ReportDefinition *def = findReport(QString::fromLatin1(name));
        EXPECT_NE(def, nullptr);
        if (!def) return {};
        TablesInUse tables;
        for (Table *t : def->opens)
            tables.use({t});
        ReportJob job(*def);
        EXPECT_TRUE(job.begin());
        while (!job.batch()) {
        }
        EXPECT_EQ(job.outcome(), RequestCompleted);
        job.finish();
        auto pages = job.takePages();
        test::compareWithGolden(name, pages);
        return pages;
    }

    // The texts from a set, in print order over all pages.
    static std::vector<std::string> among(const std::vector<Page> &pages,
                                          const std::vector<std::string> &wanted)
    {
        std::vector<std::string> out;
        for (const Page &p : pages)
            for (const PageText &t : p.texts)
                if (std::find(wanted.begin(), wanted.end(), t.text) != wanted.end())
                    out.push_back(t.text);
        return out;
    }
};

TEST_F(MagazineReportTest, TheCollectionListsEveryIssueUnderItsMagazineAndYear)
{
    const auto pages = run("RPTMAGAZINECOLLECTION");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(among(pages, {"Boats", "Gardens", "2001", "1998", "1999"}),
              (std::vector<std::string>{"Boats", "2001", "Gardens", "1998", "1999"}));
    EXPECT_EQ(test::textsAfter(pages, "Value of Magazine:"),
              (std::vector<std::string>{"5.25", "15.50"}));
    EXPECT_EQ(test::textsAfter(pages, "Total Value of Magazines:"),
              std::vector<std::string>{"20.75"});
    EXPECT_EQ(test::textsAfter(pages, "Entries:"), (std::vector<std::string>{"2", "3", "5"}));
}

// Each issue's value counts once, however many of its articles print: the
// total equals the magazine total kept for the issues printed.
TEST_F(MagazineReportTest, AnIssueWithManyArticlesAddsItsValueOnce)
{
    const auto pages = run("RPTMAGAZINEARTICLES");
    ASSERT_EQ(pages.size(), 2u); // the title band does not fit below the last article
    EXPECT_EQ(test::textsAfter(pages, "Value of Magazine:"),
              (std::vector<std::string>{"3.25", "15.50"}));
    EXPECT_EQ(test::textsAfter(pages, "Total Value of Magazines:").back(), "18.75");
    // The count stays a count of articles.
    EXPECT_EQ(test::textsAfter(pages, "Entries:"), (std::vector<std::string>{"2", "6", "8", "8"}));
}

TEST_F(MagazineReportTest, EveryArticleByTitleUnderEachRunOfItsMagazine)
{
    const auto pages = run("RPTMAGARTICLECOMPLETE");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(among(pages, {"Boats", "Gardens", "Anchors", "Bulbs", "Sails", "Tulips"}),
              (std::vector<std::string>{"Boats", "Anchors", "Gardens", "Bulbs", "Boats", "Sails",
                                        "Gardens", "Tulips"}));
    EXPECT_EQ(test::textsAfter(pages, "Entries:"), std::vector<std::string>{"8"});
}

TEST_F(MagazineReportTest, TheChosenMagazineOrYearIsAllThatPrints)
{
    Mag.MagazineNameId = 1;
    Mag.MagazineName = "Gardens";
    const auto gardens = run("RPTMAGSELECTARTICLE");
    ASSERT_FALSE(gardens.empty());
    // The year and issue headers follow each change of year or issue.
    EXPECT_EQ(among(gardens, {"Gardens", "Boats", "Year:", "Anchors", "Roses", "Weeds"}),
              (std::vector<std::string>{"Gardens", "Year:", "Roses", "Year:", "Weeds"}));
    EXPECT_EQ(test::textsAfter(gardens, "Total Value of Magazines:").back(), "15.50");

    Yer.MagazineYearId = 10;
    Yer.MagazineYear = 1998;
    const auto year = run("RPTMAGSELYEARARTICLE");
    ASSERT_FALSE(year.empty());
    EXPECT_EQ(test::textsAfter(year, "Total Value of Magazines:").back(), "9.50");
    EXPECT_EQ(test::textsAfter(year, "Entries:").back(), "4");
    EXPECT_EQ(test::textsAfter(year, "Year:").front(), "1998");
}

// The run from the frame asks for the magazine, then for one of its years;
// either Cancel ends it with nothing generated.
TEST_F(MagazineReportTest, AYearIsChosenAfterItsMagazineAndEitherCancelPrintsNothing)
{
    bool done = false, generating = false;
    auto startReport = [&] {
        done = generating = false;
        auto proc =
            std::make_unique<ReportProcedure>(*findReport(QStringLiteral("RPTMAGSELYEARARTICLE")));
        QObject::connect(proc.get(), &ReportProcedure::generating, [&] { generating = true; });
        QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
        start(std::move(proc));
    };
    auto window = [](const char *title) {
        BuiltWindow *found = nullptr;
        test::waitFor([&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *c = qobject_cast<BuiltWindow *>(w);
                    c && c->windowTitle() == QLatin1String(title) && c->isVisible())
                    found = c;
            return found != nullptr;
        });
        QCoreApplication::processEvents();
        return found;
    };
    auto click = [](BuiltWindow *w, int id) { w->controlAs<QPushButton>(id)->click(); };

    startReport();
    BuiltWindow *magazines = window("Select Magazine to Print");
    ASSERT_NE(magazines, nullptr);
    EXPECT_EQ(magazines->controlAs<QPushButton>(BrowseControl::Close)->text(), "Cancel");
    click(magazines, BrowseControl::Close);
    ASSERT_TRUE(test::waitFor([&] { return done; }));
    EXPECT_FALSE(generating);

    Mag = {};
    startReport();
    magazines = window("Select Magazine to Print");
    ASSERT_NE(magazines, nullptr);
    click(magazines, BrowseControl::Select); // Gardens, magazine 1
    BuiltWindow *years = window("Select Year to Print");
    ASSERT_NE(years, nullptr);
    click(years, BrowseControl::Close);
    ASSERT_TRUE(test::waitFor([&] { return done; }));
    EXPECT_FALSE(generating);
    EXPECT_EQ(GlobalResponse, RequestCancelled);

    Mag = {};
    startReport();
    magazines = window("Select Magazine to Print");
    ASSERT_NE(magazines, nullptr);
    click(magazines, BrowseControl::Select);
    years = window("Select Year to Print");
    ASSERT_NE(years, nullptr);
    auto *list = years->controlAs<PagedList>(BrowseControl::List);
    ASSERT_TRUE(test::waitFor([&] { return list->view()->model()->rowCount() == 2; }));
    QTest::keyClick(list->view(), Qt::Key_Down); // 1998 to 1999
    QCoreApplication::processEvents();
    click(years, BrowseControl::Select);
    PreviewWindow *preview = nullptr;
    ASSERT_TRUE(test::waitFor([&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *p = qobject_cast<PreviewWindow *>(w); p && p->isVisible()) preview = p;
        return preview != nullptr;
    }));
    EXPECT_EQ(Yer.MagazineYear, 1999);
    preview->close();
    ASSERT_TRUE(test::waitFor([&] { return done; }));
}

} // namespace
} // namespace hk
