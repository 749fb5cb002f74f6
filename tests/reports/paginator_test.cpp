// The pagination rules on a small layout fed from plain variables: page
// breaks, group headers and footers, totals and their resets, hidden
// controls and the title band's page.
#include "reports/paginator.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace hk
{
namespace
{

struct Source {
    std::string group;
    std::int64_t cents = 0;
    std::string note;
};

class PaginatorTest : public ::testing::Test
{
  protected:
    Source rec;
    ReportLayout layout;

    void SetUp() override
    {
        const ReportFont f{};
        layout.title.height = 20;
        layout.title.controls = {textAt(0, 0, "TITLE", f)};
        layout.pageHeader.controls = {pageNumberAt(0, 0, "n3", f)};
        layout.pageFooter.controls = {totalAt(0, 0, "n5", 0, f), totalAt(50, 0, "n8.2", 1, f)};
        layout.totals = {{TotalKind::Count},
                         {TotalKind::Sum, [this] { return rec.cents; }},
                         {TotalKind::Count, {}, 0}};
        GroupDef g;
        g.breakValue = [this] { return rec.group; };
        g.header.height = 10;
        g.header.controls = {fieldAt(
            0, 0, "s10", [this] { return PictureValue{rec.group}; }, f)};
        g.footer.height = 10;
        g.footer.controls = {textAt(0, 0, "END", f), totalAt(20, 0, "n5", 2, f)};
        layout.groups.push_back(std::move(g));
        layout.detail.height = 100;
        layout.detail.controls = {
            fieldAt(
                0, 0, "n8.2", [this] { return PictureValue{Hundredths{rec.cents}}; }, f),
            fieldAt(
                0, 5, "s10", [this] { return PictureValue{rec.note}; }, f, Align::Left, 7)};
    }

    static std::vector<std::string> texts(const Page &p)
    {
        std::vector<std::string> out;
        for (const PageText &t : p.texts)
            out.push_back(t.text);
        return out;
    }
};

using Texts = std::vector<std::string>;

TEST_F(PaginatorTest, GroupsTotalsAndPageBreaks)
{
    Paginator p(layout);
    // Group A: three details (the third does not fit on page 1), group B: one.
    for (auto [g, c] : {std::pair{"A", 100}, {"A", 200}, {"A", 300}, {"B", 50}}) {
        rec = {g, c, "x"};
        p.printDetail();
    }
    p.finish();
    ASSERT_EQ(p.pages().size(), 3u);
    // Page 1: header A and two details; the footer runs to 2 entries, 3.00.
    EXPECT_EQ(texts(p.pages()[0]), (Texts{"1", "A", "1.00", "x", "2.00", "x", "2", "3.00"}));
    // Page 2: A's third, A's footer with its own 3, then B; the footer runs on.
    EXPECT_EQ(texts(p.pages()[1]),
              (Texts{"2", "3.00", "x", "END", "3", "B", "0.50", "x", "END", "1", "4", "6.50"}));
    // The title band stands on a page of its own, whose footer has the final totals.
    EXPECT_EQ(texts(p.pages()[2]), (Texts{"3", "TITLE", "4", "6.50"}));
    EXPECT_EQ(p.details(), 4);
}

TEST_F(PaginatorTest, TheTitleBandFollowsTheLastDetailWhenItFits)
{
    layout.groups.clear();
    layout.detail.height = 30;
    Paginator p(layout);
    rec = {"", 100, "x"};
    p.printDetail();
    p.finish();
    ASSERT_EQ(p.pages().size(), 1u);
    EXPECT_EQ(texts(p.pages()[0]), (Texts{"1", "1.00", "x", "TITLE", "1", "1.00"}));
}

TEST_F(PaginatorTest, PageNumbersAreNeverCutToSigns)
{
    layout.groups.clear();
    Paginator p(layout);
    rec = {"", 0, ""};
    while (p.pages().size() < 10001)
        p.printDetail();
    EXPECT_EQ(texts(p.pages()[998]).front(), "999");
    EXPECT_EQ(texts(p.pages()[999]).front(), "1000"); // an n3 field
    EXPECT_EQ(texts(p.pages()[10000]).front(), "10001");
}

TEST_F(PaginatorTest, HiddenControlsAreLeftOutUntilShownAgain)
{
    layout.groups.clear();
    Paginator p(layout);
    rec = {"", 100, "first"};
    p.setHidden(7, true);
    p.printDetail();
    p.setHidden(7, false);
    rec.note = "second";
    p.printDetail();
    EXPECT_EQ(texts(p.pages()[0]), (Texts{"1", "1.00", "1.00", "second"}));
}

// A header that fits at a page's foot without its first detail goes to the
// next page with it; so do nested headers, all together.
TEST_F(PaginatorTest, AGroupHeaderNeverStandsAloneAtThePageFoot)
{
    layout.groups[0].footer.height = 0;
    Paginator p(layout);
    // Header A (10) and two details (200) leave 25 mm on page 1: room for
    // B's header, not for its detail.
    for (auto [g, c] : {std::pair{"A", 100}, {"A", 200}, {"B", 50}}) {
        rec = {g, c, ""};
        p.printDetail();
    }
    p.finish();
    ASSERT_EQ(p.pages().size(), 2u);
    EXPECT_EQ(texts(p.pages()[0]), (Texts{"1", "A", "1.00", "2.00", "2", "3.00"}));
    EXPECT_EQ(texts(p.pages()[1]).at(1), "B");

    GroupDef inner;
    inner.breakValue = [this] { return rec.note; };
    inner.header.height = 10;
    inner.header.controls = {fieldAt(
        0, 0, "s10", [this] { return PictureValue{rec.note}; }, ReportFont{})};
    layout.groups.push_back(std::move(inner));
    layout.detail.height = 90;
    Paginator nested(layout);
    // A, a and a detail (110), another detail (90): 200 of 235. B and b (20)
    // fit below, with their detail they do not.
    for (auto [g, n] : {std::pair{"A", "a"}, {"A", "a"}, {"B", "b"}}) {
        rec = {g, 100, n};
        nested.printDetail();
    }
    ASSERT_GE(nested.pages().size(), 2u);
    const Texts first = texts(nested.pages()[0]), second = texts(nested.pages()[1]);
    EXPECT_EQ(std::count(first.begin(), first.end(), "B"), 0);
    EXPECT_EQ(std::count(first.begin(), first.end(), "b"), 0);
    EXPECT_EQ((Texts{second.at(1), second.at(2)}), (Texts{"B", "b"}));
}

// A left-aligned value may run to the next control of its line, less a
// millimetre, or to the paper's right margin; a right-aligned text ends
// there at the latest, so that neither reaches the next column. A fixed
// text is never cut.
TEST_F(PaginatorTest, EachValueHasTheRoomUpToTheNextColumn)
{
    const ReportFont f{};
    auto value = [](const char *text) {
        return [text] { return PictureValue{std::string(text)}; };
    };
    layout.groups.clear();
    layout.detail.height = 10;
    layout.detail.controls = {
        fieldAt(0, 0, "s10", value("left"), f),
        textAt(30, 0, "Heading", f, Align::Right), // 7 figures: 11.1 mm, beyond 40
        fieldAt(40, 0, "s10", value("next"), f),
        fieldAt(40, 5, "s10", value("below"), f), // a line of its own
        totalAt(120, 0, "n5", 0, f),
        textAt(140, 0, "Label", f),
    };
    Paginator p(layout);
    rec = {"", 0, ""};
    p.printDetail();
    const auto &t = p.pages()[0].texts;
    ASSERT_EQ(t.size(), 7u);                               // the page number, the band's six
    EXPECT_FLOAT_EQ(t[1].width, 29);                       // to the heading's place
    EXPECT_FLOAT_EQ(t[2].x + t[2].width, 5 + 39);          // ends before "next"
    EXPECT_FLOAT_EQ(t[3].width, 79);                       // to the total
    EXPECT_FLOAT_EQ(t[4].width, 159);                      // to the right margin
    EXPECT_FLOAT_EQ(t[5].width, float(figuresWide(5, 9))); // its own width
    EXPECT_FLOAT_EQ(t[6].width, 0);                        // a label, never cut
}

// A picture stands in the way of every line beside its box, not only the
// first: a long text on the second line stops before it too.
TEST_F(PaginatorTest, APictureEndsTheColumnsOfTheLinesBesideIt)
{
    const ReportFont f{};
    layout.groups.clear();
    layout.detail.height = 20;
    layout.detail.controls = {
        fieldAt(
            0, 0, "s10", [] { return PictureValue{std::string("first")}; }, f),
        fieldAt(
            0, 8, "s10", [] { return PictureValue{std::string("second")}; }, f),
        fieldAt(
            0, 16, "s10", [] { return PictureValue{std::string("below")}; }, f),
        imageAt(100, 0, 10, 15,
                [] {
                    return StoredPicture{1, "x"};
                }),
    };
    Paginator p(layout);
    rec = {"", 0, ""};
    p.printDetail();
    const Page &page = p.pages()[0];
    ASSERT_EQ(page.texts.size(), 4u); // the page number, the band's three
    EXPECT_FLOAT_EQ(page.texts[1].width, 99);
    EXPECT_FLOAT_EQ(page.texts[2].width, 99);
    EXPECT_FLOAT_EQ(page.texts[3].width, 199); // past the picture's foot
    ASSERT_EQ(page.pictures.size(), 1u);
    EXPECT_EQ(page.pictures[0].bytes, "x"); // the page carries the picture itself
}

TEST_F(PaginatorTest, DescribesPrimitivesWithPlacesAndFonts)
{
    Page page;
    page.texts.push_back({5.5f, 30, 14.29f, {9, true, false}, Align::Right, "12.50"});
    page.rules.push_back({5, 26, 190});
    EXPECT_EQ(describePages({page}),
              "page 1\ntext 5.50 30.00 14.29 right 9 bold \"12.50\"\nrule 5.00 26.00 190.00\n");
}

} // namespace
} // namespace hk
