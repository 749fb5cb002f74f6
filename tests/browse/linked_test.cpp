// The two linked magazine windows as the user meets them (offscreen, on a
// real data file): the second list follows the first, the year window's
// button and the article Insert need a stored parent row, inserts land
// under the highlighted parent, and the child thumb acts only at its ends.
#include "browse/browse.h"
#include "browse/browselayout.h"
#include "browse/forms.h"
#include "browse/linkedbrowse.h"
#include "browse/listcontrol.h"
#include "browse/lists/magazines.h"
#include "browsefixture.h"
#include "platform/windows/layout.h"
#include "testapp.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest/QTest>

namespace hk
{
namespace
{

using test::waitFor;
namespace C = BrowseControl;
constexpr int Second = SecondListOffset;

// A year form reduced to what the list needs: an insert stores 1999 under
// the magazine the list primed; a delete removes the record.
class YearForm : public Procedure
{
  public:
    explicit YearForm(TableId t) : Procedure(QStringLiteral("Form")), table_(t) {}

  protected:
    QCoro::Task<> run() override
    {
        const Long request = GlobalRequest;
        GlobalRequest = 0;
        GlobalResponse = RequestCancelled;
        Table &t = table(table_);
        if (request == InsertRecord) {
            Yer.MagazineYearId = 900;
            Yer.MagazineYear = 1999;
            if (t.add() == NoError) GlobalResponse = RequestCompleted;
        } else if (request == DeleteRecord) {
            if (t.remove() == NoError) GlobalResponse = RequestCompleted;
        }
        co_return;
    }

  private:
    TableId table_;
};

class Linked : public test::BrowseData
{
  protected:
    TablesInUse *mags = nullptr;

    void SetUp() override
    {
        test::app();
        BrowseData::SetUp();
        mags = new TablesInUse{&MagName, &MagYear, &MagIssue, &MagArticle};
        ASSERT_TRUE(mags->ok());
        // Magazine 1 with years 1990 and 1991 (two issues in 1991, the
        // second with one article); magazine 2 with 2005; magazine 3 none.
        addName(1, "Alpha");
        addName(2, "Beta");
        addName(3, "Gamma");
        addYear(10, 1, 1991);
        addYear(11, 1, 1990);
        addYear(20, 2, 2005);
        addIssue(100, 1, 10, 1, "Spring");
        addIssue(101, 1, 10, 2, "Summer");
        addArticle(1000, 101, "Only one");
    }
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        waitFor([] {
            return MagazineThread == 0 && BrowseIssThread == 0 && SearchCommentsResultThread == 0 &&
                   MagazineArticleThread == 0;
        });
        setFormProcedure(TableId::MagYear, {});
        setFormProcedure(TableId::MagArticle, {});
        delete mags;
        BrowseData::TearDown();
    }

    static void addName(Long id, const std::string &name)
    {
        Mag = MagNameRecord{};
        Mag.MagazineNameId = id;
        Mag.MagazineName = name;
        ASSERT_EQ(MagName.add(), NoError);
    }
    static void addYear(Long id, Long magazine, Short year)
    {
        Yer = MagYearRecord{};
        Yer.MagazineYearId = id;
        Yer.MagazineNameId = magazine;
        Yer.MagazineYear = year;
        ASSERT_EQ(MagYear.add(), NoError);
    }
    static void addIssue(Long id, Long magazine, Long year, Short number, const std::string &note)
    {
        Iss = MagIssueRecord{};
        Iss.MagazineIssueId = id;
        Iss.MagazineNameId = magazine;
        Iss.MagazineYearId = year;
        Iss.MagazineIssue = number;
        Iss.MagazineComments = note;
        ASSERT_EQ(MagIssue.add(), NoError);
    }
    static void addArticle(Long id, Long issue, const std::string &title,
                           const std::string &comments = "")
    {
        Art = MagArticleRecord{};
        Art.MagazineArticleId = id;
        Art.MagazineIssueId = issue;
        Art.Article = title;
        Art.Comments = comments;
        ASSERT_EQ(MagArticle.add(), NoError);
    }

    LinkedBrowse *open(const LinkedDef &def)
    {
        const Long id = start(std::make_unique<LinkedBrowse>(def));
        auto *w = qobject_cast<LinkedBrowse *>(findProcedure(id));
        if (w) waitFor([w] { return w->firstList() && w->firstList()->isVisible(); });
        QCoreApplication::processEvents();
        return w;
    }
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    static std::vector<std::int64_t> years(LinkedBrowse *w)
    {
        std::vector<std::int64_t> out;
        for (const BrowseRow &r : w->secondEngine()->rows())
            out.push_back(std::get<std::int64_t>(r.values.at(0)));
        return out;
    }
    static bool enabled(LinkedBrowse *w, int id)
    {
        return w->content()->controlAs<QPushButton>(id)->isEnabled();
    }
};

TEST_F(Linked, TheYearListFollowsTheHighlightedMagazine)
{
    LinkedBrowse *w = open(magazineDef());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->window()->windowTitle(), "Browse the Magazine File");
    EXPECT_TRUE(waitFor([w] { return w->secondEngine()->rows().size() == 2; }));
    EXPECT_EQ(years(w), (std::vector<std::int64_t>{1990, 1991}));
    EXPECT_EQ(w->secondEngine()->currentRow(), 1);
    // The one narrow year column spans the list, so no year is cut short.
    QTreeView *yearView = w->secondList()->view();
    EXPECT_EQ(yearView->header()->sectionSize(0), yearView->viewport()->width());
    const int selectYear = C::ExtraButtonBase + Second;
    EXPECT_TRUE(enabled(w, selectYear));
    EXPECT_TRUE(w->firstList()->hasFocus() ||
                w->firstList()->isAncestorOf(QApplication::focusWidget()));
    // Tab leaves the year list's last button for Close, which serves both lists.
    QWidget *last = w->content()->control(selectYear);
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w->content()->control(C::Close));

    emit w->firstList()->rowHighlighted(2);
    EXPECT_TRUE(waitFor([w] { return years(w) == std::vector<std::int64_t>{2005}; }));

    // A magazine without years: an empty list, and no year window to open.
    emit w->firstList()->rowHighlighted(3);
    EXPECT_TRUE(waitFor([w] { return w->secondEngine()->empty(); }));
    settle();
    EXPECT_FALSE(enabled(w, selectYear));
    EXPECT_FALSE(enabled(w, C::Change + Second));
    // The year list's thumb acts only at its ends.
    emit w->firstList()->rowHighlighted(1);
    EXPECT_TRUE(waitFor([w] { return w->secondEngine()->rows().size() == 2; }));
    settle();
    EXPECT_TRUE(w->secondEngine()->numericValues().empty());
    emit w->secondList()->thumbDragged(50);
    settle();
    EXPECT_EQ(w->secondEngine()->currentRow(), 1);
    emit w->secondList()->thumbDragged(100);
    settle();
    EXPECT_EQ(w->secondEngine()->currentRow(), 2);
}

TEST_F(Linked, AnInsertedYearLandsUnderTheHighlightedMagazine)
{
    setFormProcedure(TableId::MagYear, [] { return std::make_unique<YearForm>(TableId::MagYear); });
    LinkedBrowse *w = open(magazineDef());
    emit w->firstList()->rowHighlighted(2);
    EXPECT_TRUE(waitFor([w] { return years(w) == std::vector<std::int64_t>{2005}; }));
    w->content()->controlAs<QPushButton>(C::Insert + Second)->click();
    EXPECT_TRUE(waitFor([w] { return w->secondEngine()->rows().size() == 2; }));
    settle();
    Yer.MagazineYearId = 900;
    ASSERT_EQ(MagYear.get(Yer.Primary), NoError);
    EXPECT_EQ(Yer.MagazineNameId, 2);
    EXPECT_EQ(years(w), (std::vector<std::int64_t>{1999, 2005}));
    EXPECT_EQ(w->secondEngine()->currentRow(), 1);
    EXPECT_EQ(w->firstEngine()->currentRow(), 2);
}

// Without any magazine a year would belong to none: its Insert is disabled.
TEST_F(Linked, NoYearIsInsertedWithoutAMagazine)
{
    setFormProcedure(TableId::MagYear, [] { return std::make_unique<YearForm>(TableId::MagYear); });
    for (Long id : {1, 2, 3}) {
        Mag.MagazineNameId = id;
        ASSERT_EQ(MagName.get(Mag.Primary), NoError);
        ASSERT_EQ(MagName.remove(), NoError);
    }
    LinkedBrowse *w = open(magazineDef());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(waitFor([w] { return w->firstEngine()->empty(); }));
    settle();
    EXPECT_FALSE(enabled(w, C::Insert + Second));
}

TEST_F(Linked, DeletingTheLastArticleKeepsTheIssueHighlighted)
{
    setFormProcedure(TableId::MagArticle,
                     [] { return std::make_unique<YearForm>(TableId::MagArticle); });
    Yer = MagYearRecord{};
    Yer.MagazineYearId = 10;
    ASSERT_EQ(MagYear.get(Yer.Primary), NoError);
    LinkedBrowse *w = open(browseIssDef());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(waitFor([w] { return w->firstEngine()->rows().size() == 2; }));
    // The comments line and the articles follow the highlighted issue.
    emit w->firstList()->rowHighlighted(2);
    EXPECT_TRUE(waitFor([w] { return w->secondEngine()->rows().size() == 1; }));
    settle();
    EXPECT_EQ(w->content()->value(C::DisplayBase + 1), PictureValue{std::string("Summer")});
    EXPECT_TRUE(enabled(w, C::Insert + Second));

    w->content()->controlAs<QPushButton>(C::Delete + Second)->click();
    EXPECT_TRUE(waitFor([w] { return w->secondEngine()->empty(); }));
    settle();
    EXPECT_EQ(w->firstEngine()->currentRow(), 2);
    EXPECT_FALSE(enabled(w, C::Change + Second));
    EXPECT_FALSE(enabled(w, C::Delete + Second));
    EXPECT_TRUE(enabled(w, C::Insert + Second));
}

// A year without issues: the comments line has no issue to belong to, so it
// goes with its prompt, as a list window's displays go; the articles'
// single unnamed order shows no tab.
TEST_F(Linked, WithoutAnIssueTheCommentsLineGoesWithItsPrompt)
{
    Yer = MagYearRecord{};
    Yer.MagazineYearId = 11;
    ASSERT_EQ(MagYear.get(Yer.Primary), NoError);
    LinkedBrowse *w = open(browseIssDef());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(waitFor([w] { return w->firstEngine()->empty(); }));
    settle();
    EXPECT_TRUE(w->content()->isControlHidden(C::DisplayBase + 1));
    EXPECT_TRUE(w->content()->isControlHidden(C::DisplayBase)); // "Comments:"
    auto *articleTabs = w->content()->controlAs<QTabWidget>(C::Sheet + Second);
    ASSERT_NE(articleTabs, nullptr);
    EXPECT_TRUE(articleTabs->tabBar()->isHidden());
}

TEST_F(Linked, StartingItAgainBringsTheOpenWindowForward)
{
    LinkedBrowse *w = open(magazineDef());
    const Long again = start(std::make_unique<LinkedBrowse>(magazineDef()));
    QCoreApplication::processEvents();
    EXPECT_EQ(findProcedure(again), nullptr);
    EXPECT_EQ(MagazineThread, w->id());
}

// The comment search matches the text as it stands: no wildcard, and letter
// case only when asked to ignore it.
TEST_F(Linked, TheCommentSearchMatchesLiterally)
{
    addArticle(1001, 100, "Sale", "Costs 50% less");
    addArticle(1002, 100, "Dear", "Costs 500 more");
    addArticle(1003, 101, "Nook", "QUIET corner");
    addArticle(1004, 101, "Dusk", "a quiet night");
    auto found = [](const char *text, bool ignoreCase) {
        Glo.SearchString = text;
        Glo.Ignorecase = ignoreCase ? 1 : 0;
        const Long id = start(std::make_unique<Browse>(searchCommentsResultDef()));
        auto *b = qobject_cast<Browse *>(findProcedure(id));
        std::vector<std::string> out;
        if (!b) return out;
        waitFor([b] { return b->list() && b->list()->isVisible(); });
        settle();
        for (const BrowseRow &r : b->engine()->rows())
            out.push_back(std::get<std::string>(r.values.at(0)));
        b->window()->close();
        waitFor([] { return SearchCommentsResultThread == 0; });
        return out;
    };
    EXPECT_EQ(found("50%", false), std::vector<std::string>{"Costs 50% less"});
    EXPECT_EQ(found("quiet", false), std::vector<std::string>{"a quiet night"});
    EXPECT_EQ(found("quiet", true), (std::vector<std::string>{"a quiet night", "QUIET corner"}));

    // The article list starts the search from its own button.
    const Long id = start(std::make_unique<Browse>(magazineArticleDef()));
    auto *articles = qobject_cast<Browse *>(findProcedure(id));
    ASSERT_NE(articles, nullptr);
    waitFor([articles] { return articles->list() && articles->list()->isVisible(); });
    auto *search = articles->content()->controlAs<QPushButton>(C::ExtraButtonBase);
    EXPECT_EQ(search->text(), "&Search");
    EXPECT_TRUE(search->isEnabled());
}

} // namespace
} // namespace hk
