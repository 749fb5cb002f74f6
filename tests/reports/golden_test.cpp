// Each report on the fixed data set: its pages' primitives compared with a
// stored expected file (HK_UPDATE_GOLDEN=1 writes the files instead, for
// review), and the figures that matter checked on their own.
#include "reports/golden.h"
#include "reports/reportdata.h"

#include "reports/reportdef.h"

#include <QFile>

#include <cmath>
#include <numeric>

namespace hk
{
namespace
{

class GoldenTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        test::fixOwnerAndDate();
        test::fillBooks();
        test::fillItems();
        test::fillSoftware();
        test::fillVideo();
        test::fillMusic();
        PrintDate = Long(reportToday());
    }
    void TearDown() override
    {
        setReportToday({});
        ProgramTest::TearDown();
    }

    std::vector<Page> run(const char *name)
    {
        const ReportDefinition *def = findReport(QString::fromLatin1(name));
        EXPECT_NE(def, nullptr);
        TablesInUse tables;
        for (Table *t : def->opens)
            tables.use({t});
        ReportJob job(*def);
        EXPECT_TRUE(job.begin());
        while (!job.batch()) {
        }
        EXPECT_EQ(job.outcome(), RequestCompleted);
        job.finish();
        return job.takePages();
    }

    static std::vector<std::string> textsOf(const Page &p)
    {
        std::vector<std::string> out;
        for (const PageText &t : p.texts)
            out.push_back(t.text);
        return out;
    }
    // The text printed right after `label` on page p.
    static std::vector<std::string> after(const Page &p, const std::string &label)
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i + 1 < p.texts.size(); ++i)
            if (p.texts[i].text == label) out.push_back(p.texts[i + 1].text);
        return out;
    }
};

TEST_F(GoldenTest, BooksByTitle)
{
    const auto pages = run("RPTBOOKTITLE");
    test::compareWithGolden("RPTBOOKTITLE", pages);
    ASSERT_EQ(pages.size(), 2u); // 23 + 7 details, the title band after the last
    // Running totals: the first page's footer counts its own 23 books, the last
    // the whole report. Values are 10.00 + 1.25 i, book 5 valued at nothing.
    EXPECT_EQ(after(pages[0], "Entries:"), std::vector<std::string>{"23"});
    EXPECT_EQ(after(pages[1], "Entries:"), std::vector<std::string>{"30"});
    EXPECT_EQ(after(pages[1], "Total Value of Book Collection:"),
              std::vector<std::string>{"865.00"});
    const auto first = textsOf(pages[0]);
    // Book 4 has no publisher but an ISBN, after book 3 without ISBN.
    EXPECT_NE(std::find(first.begin(), first.end(), "0-00-100004"), first.end());
    EXPECT_EQ(std::find(first.begin(), first.end(), "0-00-100003"), first.end());
    const auto last = textsOf(pages[1]);
    for (const char *t : {"Date:", "14/03/26", "Hearthkeep", "Complete book collection by title",
                          "Robin Example", "12 Hearth Lane, Smalltown"})
        EXPECT_NE(std::find(last.begin(), last.end(), t), last.end()) << t;
}

TEST_F(GoldenTest, BooksByAuthor)
{
    const auto pages = run("RPTBOOKAUTHOR");
    test::compareWithGolden("RPTBOOKAUTHOR", pages);
    ASSERT_FALSE(pages.empty());
    EXPECT_EQ(textsOf(pages[0])[0], "Books listed by author");
}

TEST_F(GoldenTest, BooksByCategoryEachWithItsOwnTotals)
{
    const auto pages = run("RPTBOOKALLCAT");
    test::compareWithGolden("RPTBOOKALLCAT", pages);
    std::vector<std::string> groupValues, groupCounts, order;
    for (const Page &p : pages) {
        for (const auto &v : after(p, "Value of Book Collection in Category:"))
            groupValues.push_back(v);
        for (const PageText &t : p.texts)
            if (t.text == "Fiction" || t.text == "History" || t.text == "Poetry" ||
                t.text == "Value of Book Collection in Category:")
                order.push_back(t.text);
    }
    // Fiction: books 1-25 less book 5, valued at nothing; History: books 26-30.
    EXPECT_EQ(groupValues, (std::vector<std::string>{"640.00", "225.00"}));
    EXPECT_EQ(order, (std::vector<std::string>{"Fiction",
                                               "Value of Book Collection in Category:", "History",
                                               "Value of Book Collection in Category:"}));
    // The page footers run over both categories.
    EXPECT_EQ(after(pages.back(), "Total Value of Book Collection:"),
              std::vector<std::string>{"865.00"});
    EXPECT_EQ(after(pages.back(), "Entries:").back(), "30");
    // The first page breaks inside Fiction: its footer shows the running total
    // only, and Fiction's footer follows on the next page with all 25.
    EXPECT_TRUE(after(pages[0], "Value of Book Collection in Category:").empty());
    EXPECT_EQ(after(pages[1], "Entries:").front(), "25");
}

TEST_F(GoldenTest, CompleteItems)
{
    const auto pages = run("RPTITEMCOMPLETE");
    test::compareWithGolden("RPTITEMCOMPLETE", pages);
    ASSERT_EQ(pages.size(), 1u); // the title band fits below the four items
    const auto texts = textsOf(pages[0]);
    // Items in name order; the blank notes and year of Chairs and the blank
    // value of Lamp are left out, the Lamp's year printed.
    EXPECT_EQ(after(pages[0], "Total Value of Hearthkeep:"), std::vector<std::string>{"1,368.50"});
    EXPECT_NE(std::find(texts.begin(), texts.end(), "2021"), texts.end());
    EXPECT_EQ(std::count(texts.begin(), texts.end(), std::string()), 0);
}

TEST_F(GoldenTest, SoftwareWithItsNotesAndMedia)
{
    const auto pages = run("RPTSOFTWARE");
    test::compareWithGolden("RPTSOFTWARE", pages);
    ASSERT_EQ(pages.size(), 1u);
    const auto texts = textsOf(pages[0]);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "3 ½ + Cd Rom"), texts.end());
    EXPECT_EQ(after(pages[0], "Total Value of Software collection:"),
              std::vector<std::string>{"62.45"});
}

// Every other video and music report, each against its stored pages.
TEST_F(GoldenTest, VideoAndMusicListings)
{
    for (const char *name : {"RPTVIDEOCASSETTE", "RPTVIDEOTITLES", "RPTVIDEOACTOR", "RPTMUSICALBUM",
                             "RPTMUSICTITLE", "RPTMUSICARTIST"})
        test::compareWithGolden(name, describePages(run(name)));
}

// The titles of the cassette or album left in the buffer by the selection
// window, under its title and number.
TEST_F(GoldenTest, TheChosenCassettesOrAlbumsTitles)
{
    VidNum = {};
    VidNum.VideoNumberId = 1;
    ASSERT_TRUE(UseTable(VideoNumber));
    ASSERT_EQ(VideoNumber.get(VidNum.Primary), NoError);
    ReleaseTable(VideoNumber);
    auto pages = run("RPTVIDEOSELCASSETTE");
    test::compareWithGolden("RPTVIDEOSELCASSETTE", pages);
    EXPECT_EQ(after(pages[0], "Video titles from cassette:"),
              std::vector<std::string>{"Westerns, 20"});
    EXPECT_EQ(after(pages[0], "Entries:"), std::vector<std::string>{"3"});

    MusNum = {};
    MusNum.MusicNumberId = 2;
    ASSERT_TRUE(UseTable(MusicNumber));
    ASSERT_EQ(MusicNumber.get(MusNum.Primary), NoError);
    ReleaseTable(MusicNumber);
    pages = run("RPTMUSICSELALBUM");
    test::compareWithGolden("RPTMUSICSELALBUM", pages);
    EXPECT_EQ(after(pages[0], "Music titles from album:"), std::vector<std::string>{"Live, 6"});
    EXPECT_EQ(after(pages[0], "Entries:"), std::vector<std::string>{"1"});
}

// Each cassette's and album's value counts once, however many titles it
// has and also when it has none, so the total is the collection's value;
// the entries count titles.
TEST_F(GoldenTest, WithTitlesTheTotalIsTheCollectionsValue)
{
    auto pages = run("RPTVIDEOCASSTITLES");
    test::compareWithGolden("RPTVIDEOCASSTITLES", pages);
    EXPECT_EQ(after(pages.back(), "Total Value of Video Collection:"),
              std::vector<std::string>{"17.75"});
    EXPECT_EQ(after(pages.back(), "Entries:"), std::vector<std::string>{"4"});
    auto texts = textsOf(pages[0]);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Valley Films, L-77"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Empty"), texts.end());

    pages = run("RPTMUSICALBUMTITLES");
    test::compareWithGolden("RPTMUSICALBUMTITLES", pages);
    EXPECT_EQ(after(pages.back(), "Total Value of Music Collection:"),
              std::vector<std::string>{"21.99"});
    EXPECT_EQ(after(pages.back(), "Entries:"), std::vector<std::string>{"3"});
    texts = textsOf(pages[0]);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Abbey Hall, M-1 Cd"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Recorded live, 1972"), texts.end());
}

// On every page of every report, a text's column ends a millimetre before
// the next text of its line: left-aligned values are cut there and
// right-aligned texts end there, so neither headings nor values touch.
TEST_F(GoldenTest, NoTextReachesTheNextOneOnItsLine)
{
    for (const ReportDefinition *def : allReports()) {
        if (def->select) continue; // needs a chosen record
        SCOPED_TRACE(def->name.toStdString());
        TablesInUse tables;
        for (Table *t : def->opens)
            tables.use({t});
        ReportJob job(*def);
        if (!job.begin()) continue; // nothing to print in this data set
        while (!job.batch()) {
        }
        job.finish();
        for (const Page &p : job.takePages())
            for (const PageText &a : p.texts)
                for (const PageText &b : p.texts) {
                    if (std::abs(a.y - b.y) < 1 && b.x > a.x) {
                        EXPECT_LE(a.x + a.width, b.x - 0.99f) << a.text << " / " << b.text;
                    }
                }
    }
}

// Progress is measured in the books read, not in the categories that lead
// to them.
TEST_F(GoldenTest, ProgressFollowsTheRecordsTheReportReads)
{
    const ReportDefinition *def = findReport(QStringLiteral("RPTBOOKALLCAT"));
    TablesInUse tables{&BookCategory, &Books};
    ReportJob job(*def);
    ASSERT_TRUE(job.begin());
    EXPECT_EQ(job.estimate(), Books.records());
    EXPECT_FALSE(job.batch());
    EXPECT_EQ(job.percent(), int(job.recordsRead() * 100 / Books.records()));
    EXPECT_LT(job.percent(), 100);
}

// A read that fails for another reason than the end of the records is
// warned about once, naming the report's table, and the pages made so far
// end the report.
TEST_F(GoldenTest, AReadFailureIsWarnedAndEndsTheReport)
{
    const ReportDefinition *def = findReport(QStringLiteral("RPTBOOKTITLE"));
    TablesInUse tables{&Books};
    ReportJob job(*def);
    ASSERT_TRUE(job.begin());
    ASSERT_EQ(rawSql("DROP TABLE Books"), SQLITE_OK);
    EXPECT_TRUE(job.batch());
    EXPECT_EQ(job.outcome(), RequestCompleted);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Record Retrieval Error");
    EXPECT_NE(boxes.boxes()[0].text.find("Books"), std::string::npos) << boxes.boxes()[0].text;
    job.finish();
    EXPECT_EQ(job.pageCount(), 1); // the one book read, and the title band below it
}

} // namespace
} // namespace hk
