// The item search: the literal substring rule through the index and without
// it, the index kept in step with the table and added to older files, and
// the windows (search window, result list, titles, one result window).
#include "browse/browse.h"
#include "browse/browselayout.h"
#include "browse/lists/browses.h"
#include "browse/search.h"
#include "browsefixture.h"
#include "platform/data/table.h"
#include "platform/data/textsearch.h"
#include "platform/data/transaction.h"
#include "platform/data/view.h"
#include "testapp.h"

#include <QPointer>
#include <QTreeView>
#include <QPushButton>

namespace hk
{
namespace
{

using test::waitFor;
using Texts = std::vector<std::string>;

class Search : public test::BrowseData
{
  protected:
    void SetUp() override
    {
        test::app();
        BrowseData::SetUp();
    }
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        waitFor([] { return SearchDescriptionResultThread == 0; });
        BrowseData::TearDown();
    }
    static void addItem(Long id, const std::string &description, Long room = 0)
    {
        Itm = ItemsRecord{};
        Itm.ItemsId = id;
        Itm.Items = "Item " + std::to_string(id);
        Itm.Description = description;
        Itm.RoomsId = room;
        ASSERT_EQ(Items.add(), NoError) << lastError().driverMessage;
    }
    static void addItems(const Texts &descriptions)
    {
        Long id = 1;
        for (const auto &d : descriptions)
            addItem(id++, d);
    }
    // The descriptions the rule keeps, in description order.
    static Texts found(const std::string &text, bool ignoreCase)
    {
        View v(Items, Itm.DisplayByDescription);
        const TextCondition c = containsText(Items, 2, text, ignoreCase);
        v.filter(c.sql, c.params);
        EXPECT_EQ(v.open(), NoError);
        Texts out;
        while (v.next() == NoError)
            out.push_back(Itm.Description.str());
        return out;
    }
};

TEST_F(Search, CaseRuleAndBlanksFollowTheSearchText)
{
    addItems({"Desk lamp", "LAMP SHADE", "Lampoon", "Clamp"});
    EXPECT_EQ(found("lamp", false), (Texts{"Clamp", "Desk lamp"}));
    EXPECT_EQ(found("lamp", true), (Texts{"Clamp", "Desk lamp", "LAMP SHADE", "Lampoon"}));
    EXPECT_EQ(found("lamp   ", false), (Texts{"Clamp", "Desk lamp"})); // trailing blanks go
    EXPECT_EQ(found(" lamp", true), (Texts{"Desk lamp"}));             // a leading one stays
    EXPECT_EQ(found("la", false), (Texts{"Clamp", "Desk lamp"}));      // too short for the index
    EXPECT_EQ(found("zebra", true), Texts{});
}

TEST_F(Search, WildcardsAndQuotesAreLiteral)
{
    addItems({"50% wool", "500 sheets", "a_b tape", "axb tape", "Tom's \"best\" mug", "[x] box",
              "a*b?c"});
    EXPECT_EQ(found("50%", false), (Texts{"50% wool"}));
    EXPECT_EQ(found("a_b", false), (Texts{"a_b tape"}));
    EXPECT_EQ(found("'s \"b", false), (Texts{"Tom's \"best\" mug"}));
    EXPECT_EQ(found("[x]", false), (Texts{"[x] box"}));
    EXPECT_EQ(found("*b?", false), (Texts{"a*b?c"}));
}

TEST_F(Search, ManyMatchesAreTestedInKeyOrderByTheSameRule)
{
    // More candidates than are worth sorting: the records are then tested
    // one by one in description order.
    Transaction txn(Items.file());
    txn.begin();
    for (Long i = 1; i <= 2200; ++i)
        addItem(i, (i % 2 ? "Oak table " : "Pine chair ") + std::to_string(i));
    txn.commit();
    const Texts tables = found("table", false);
    ASSERT_EQ(tables.size(), 1100u);
    EXPECT_EQ(tables.front(), "Oak table 1");
    EXPECT_TRUE(found("Table", false).empty());
    EXPECT_EQ(found("TABLE ", true), tables);
}

// Matches few among the records come through the index, many are met in
// key order; either way by the same rule. The index is asked how many there
// are: 100 added together among 2,100 records are few, 1,000 are many.
TEST_F(Search, ThePlanFollowsHowManyTheIndexOffers)
{
    Transaction txn(Items.file());
    txn.begin();
    for (Long i = 1; i <= 2100; ++i)
        addItem(i, i > 1000 && i <= 1100 ? "Walnut desk " + std::to_string(i)
                   : i % 2               ? "Oak table " + std::to_string(i)
                                         : "Pine chair " + std::to_string(i));
    txn.commit();
    const bool viaIndex =
        containsText(Items, 2, "walnut", true).sql.find("MATCH") != std::string::npos;
    EXPECT_TRUE(viaIndex);
    const Texts desks = found("walnut", true);
    ASSERT_EQ(desks.size(), 100u);
    EXPECT_EQ(desks.front(), "Walnut desk 1001");
    EXPECT_TRUE(found("walnut", false).empty());
    EXPECT_EQ(containsText(Items, 2, "table", false).sql.find("MATCH"), std::string::npos);
    EXPECT_EQ(found("table", false).size(), 1000u);
}

// Letter case is ignored as the keys ignore it, through Latin-1, Greek and
// Cyrillic.
TEST_F(Search, IgnoringCaseFoldsEveryLetterTheKeysFold)
{
    addItems({"Küche", "KÜCHE tisch", "Kuche", "Κουζίνα", "ΚΟΥΖΊΝΑ", "кухня"});
    EXPECT_EQ(found("küche", true), (Texts{"Küche", "KÜCHE tisch"}));
    EXPECT_EQ(found("üche", false), (Texts{"Küche"}));
    EXPECT_EQ(found("ουζ", true), (Texts{"Κουζίνα", "ΚΟΥΖΊΝΑ"}));
    EXPECT_EQ(found("КУХ", true), (Texts{"кухня"}));
}

TEST_F(Search, TheIndexFollowsEveryChangeAndComesToOlderFiles)
{
    addItems({"Brass lamp", "Oak table"});
    Itm.ItemsId = 2;
    ASSERT_EQ(Items.get(Itm.Primary), NoError);
    Itm.Description = "Oak lamp stand";
    ASSERT_EQ(Items.put(), NoError);
    EXPECT_EQ(found("lamp", false), (Texts{"Brass lamp", "Oak lamp stand"}));
    Itm.ItemsId = 1;
    ASSERT_EQ(Items.get(Itm.Primary), NoError);
    ASSERT_EQ(Items.remove(), NoError);
    EXPECT_EQ(found("lamp", false), (Texts{"Oak lamp stand"}));

    // A file made before the search had no index: opening the table adds it.
    delete tables;
    tables = nullptr;
    DataFile::program().shutdown();
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open("Hearthkp.Tps", &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db, dropSearchIndexSql(Items.def(), 2).c_str(), nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    tables = new TablesInUse{&BookCategory, &Books, &HearthkpValue, &ItemsRooms, &Items};
    ASSERT_TRUE(tables->ok());
    EXPECT_EQ(checkSearchIndexes(Items.file().db(), Items.def()), NoError);
    addItem(3, "Lamp oil");
    EXPECT_EQ(found("lamp", true), (Texts{"Lamp oil", "Oak lamp stand"}));
}

// The windows: OK starts the result, which carries its search in its rows,
// names it in its title, and is brought forward by a second search.
class SearchWindows : public Search
{
  protected:
    static SearchWindow *openSearch()
    {
        const Long id = start(std::make_unique<SearchWindow>(itemSearch()));
        auto *s = qobject_cast<SearchWindow *>(findProcedure(id));
        if (s) waitFor([s] { return s->content() && s->content()->isVisible(); });
        return s;
    }
    static void search(const std::string &text, bool ignoreCase)
    {
        SearchWindow *s = openSearch();
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(Glo.SearchString.str(), "");
        s->content()->setValue(SearchWindow::IgnoreCase, std::int64_t{ignoreCase});
        s->content()->setValue(SearchWindow::Find, text);
        s->content()->controlAs<QPushButton>(SearchWindow::Ok)->click();
        waitFor([] { return SearchDescriptionResultThread != 0; });
        QCoreApplication::processEvents();
    }
    static Browse *result()
    {
        auto *b = qobject_cast<Browse *>(findProcedure(SearchDescriptionResultThread));
        if (b) waitFor([b] { return b->list() && b->list()->isVisible(); });
        QCoreApplication::processEvents();
        return b;
    }
    static Texts shown(Browse *b)
    {
        Texts out;
        for (const BrowseRow &r : b->engine()->rows())
            out.push_back(std::get<std::string>(r.values.front()));
        return out;
    }
};

TEST_F(SearchWindows, ResultListsTheMatchesAndASecondSearchReusesIt)
{
    addItems({"Desk lamp", "LAMP SHADE", "Oak table"});
    search("lamp", false);
    Browse *b = result();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->window()->windowTitle(), "Searching for (lamp).");
    EXPECT_EQ(shown(b), (Texts{"Desk lamp"}));
    EXPECT_EQ(b->engine()->popupText(false), "");

    search("table", true);
    EXPECT_EQ(result(), b); // the open one, with the new matches
    EXPECT_TRUE(waitFor([b] { return shown(b) == Texts{"Oak table"}; }));
    EXPECT_EQ(b->window()->windowTitle(), "Searching for (lamp).");

    // Another search window meanwhile: highlighting a row brings the
    // result's own search back.
    SearchWindow *other = openSearch();
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Glo.SearchString.str(), "");
    b->engine()->highlight(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(Glo.SearchString.str(), "table");
    EXPECT_EQ(Glo.Ignorecase, 1);
    other->content()->controlAs<QPushButton>(SearchWindow::Cancel)->click();

    search("xyz", false);
    EXPECT_TRUE(waitFor([b] { return b->engine()->empty(); }));
    EXPECT_EQ(b->window()->windowTitle(),
              "No Descriptions did match the requested search string (xyz).");
}

TEST_F(SearchWindows, TheResultClosesWithItsAccessKeyOrEscape)
{
    addItems({"Desk lamp"});
    for (const Qt::Key key : {Qt::Key_C, Qt::Key_Escape}) {
        search("lamp", false);
        Browse *b = result();
        ASSERT_NE(b, nullptr);
        QPointer<QWidget> window = b->window();
        QTest::keyClick(b->list()->view(), key,
                        Qt::KeyboardModifiers(key == Qt::Key_C ? Qt::AltModifier : Qt::NoModifier));
        EXPECT_TRUE(waitFor([&window] { return window.isNull(); })) << key;
        EXPECT_TRUE(waitFor([] { return SearchDescriptionResultThread == 0; }));
    }
}

} // namespace
} // namespace hk
