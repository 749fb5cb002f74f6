// The browse engine on real data files: paging, scrolling at the ends,
// locating, the thumb, tab changes, select mode, an empty table, the form
// calls and a failing read.
#include "browse/engine.h"
#include "browse/lists/browses.h"
#include "browsefixture.h"
#include "platform/data/attachments.h"

namespace hk
{
namespace
{

class Engine : public test::BrowseData
{
  protected:
    int page = 10;
    std::unique_ptr<BrowseEngine> engine;

    BrowseEngine &open(const BrowseDef &def)
    {
        engine = std::make_unique<BrowseEngine>(def, [this] { return page; });
        engine->begin();
        engine->windowRefresh();
        return *engine;
    }
    std::string title(int row) const
    {
        return std::get<std::string>(
            engine->rows().at(static_cast<std::size_t>(row - 1)).values[0]);
    }
    std::string author(int row) const
    {
        return std::get<std::string>(
            engine->rows().at(static_cast<std::size_t>(row - 1)).values[1]);
    }
    std::string currentTitle() const { return title(engine->currentRow()); }
};

TEST_F(Engine, FewerRecordsThanAPageShowsThemAllWithoutScrollBar)
{
    addCategory(2, "Fiction");
    addBooks(5);
    auto &e = open(browseBooksDef());
    ASSERT_EQ(e.rows().size(), 5u);
    EXPECT_EQ(e.currentRow(), 1);
    EXPECT_FALSE(e.scrollBarShown());
    EXPECT_EQ(Bok.BookTitle.str(), "");              // the locator field is cleared for its entry
    EXPECT_EQ(BokCat.BookCategory.str(), "Fiction"); // book 1's, joined
    e.scroll(ListScroll::RowDown);
    EXPECT_EQ(BokCat.BookCategory.str(), ""); // book 2's category 3 is missing
    e.scroll(ListScroll::PageDown);
    EXPECT_EQ(e.currentRow(), 5);
    e.scroll(ListScroll::RowDown);
    EXPECT_EQ(e.currentRow(), 5);
    EXPECT_EQ(e.rows().size(), 5u);
}

TEST_F(Engine, RowAndPageScrollingAtTheEnds)
{
    addBooks(35);
    auto &e = open(browseBooksDef());
    EXPECT_TRUE(e.scrollBarShown());
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(1, 35));

    for (int i = 0; i < 9; ++i)
        e.scroll(ListScroll::RowDown);
    EXPECT_EQ(e.currentRow(), 10);
    e.scroll(ListScroll::RowDown); // the page moves by one record
    EXPECT_EQ(e.currentRow(), 10);
    EXPECT_EQ(title(1), test::BrowseData::titleOf(2, 35));
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(11, 35));

    e.scroll(ListScroll::PageDown); // a full page: the highlight keeps its place
    EXPECT_EQ(e.currentRow(), 10);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(21, 35));
    e.scroll(ListScroll::RowUp);
    EXPECT_EQ(e.currentRow(), 9);

    e.scroll(ListScroll::PageDown); // 10 read, then a short page
    e.scroll(ListScroll::PageDown);
    EXPECT_EQ(title(10), test::BrowseData::titleOf(35, 35));
    EXPECT_EQ(e.currentRow(), 10);
    e.scroll(ListScroll::RowDown); // the last record: nothing changes
    EXPECT_EQ(e.currentRow(), 10);
    EXPECT_EQ(title(1), test::BrowseData::titleOf(26, 35));

    e.scroll(ListScroll::Top);
    EXPECT_EQ(e.currentRow(), 1);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(1, 35));
    e.scroll(ListScroll::RowUp);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(1, 35));
    e.scroll(ListScroll::Bottom);
    EXPECT_EQ(e.currentRow(), 10);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(35, 35));
    EXPECT_EQ(e.rows().size(), 10u);
}

TEST_F(Engine, LocatingByAuthorLandsOnTheFirstAtOrAfterTheValue)
{
    addBooks(60);
    auto &e = open(browseBooksDef());
    e.changeTab(1);
    EXPECT_EQ(e.sortOrder(), 1);
    EXPECT_EQ(e.currentRow(), 1);
    EXPECT_EQ(author(1), "A author 00025"); // the lowest author first

    e.locatorAccepted(std::string("m"));
    // Authors beginning with M are books 13, 39; the first of them is shown first.
    EXPECT_EQ(e.currentRow(), 1);
    EXPECT_EQ(author(1), "M author 00013");
    EXPECT_EQ(e.rows().size(), 10u);
    EXPECT_EQ(Bok.BookTitle.str(), test::BrowseData::titleOf(13, 60));

    e.locatorAccepted(std::string("n author 00099")); // between two authors
    EXPECT_EQ(author(e.currentRow()), "O author 00011");

    e.locatorAccepted(std::string("zz")); // past the last
    EXPECT_EQ(e.rows().size(), 10u);
    EXPECT_EQ(e.currentRow(), 10);
    EXPECT_EQ(author(10), "Z author 00052");

    e.locatorAccepted(std::string("   ")); // blank: nothing happens
    EXPECT_EQ(e.currentRow(), 10);
}

TEST_F(Engine, ThumbToTopMiddleAndBottom)
{
    addBooks(260);
    auto &e = open(browseBooksDef());
    ASSERT_EQ(e.textValues().size(), 100u);
    // The first value holds only four letters of the lowest title, which
    // sorts after it: the first record's thumb is the second place.
    EXPECT_EQ(e.textValues()[0], "A TI");
    EXPECT_EQ(e.thumb(), 2);

    e.dragThumb(50);
    const char middle = title(1)[0];
    EXPECT_GE(middle, 'L');
    EXPECT_LE(middle, 'N');
    EXPECT_GT(e.thumb(), 40);
    EXPECT_LT(e.thumb(), 60);

    e.dragThumb(100);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(260, 260));
    EXPECT_EQ(e.thumb(), 100);
    e.dragThumb(1);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(1, 260));
    EXPECT_EQ(e.thumb(), 2);
}

TEST_F(Engine, TabChangeShowsTheFirstPageWithTheSortColumnFirst)
{
    addBooks(40);
    auto &e = open(browseBooksDef());
    e.scroll(ListScroll::PageDown);
    e.changeTab(1);
    EXPECT_EQ(e.format().rfind("130L(1)|M~Author~", 0), 0u);
    EXPECT_EQ(e.currentRow(), 1);
    EXPECT_EQ(author(1), "A author 00025");
    for (int row = 2; row <= 10; ++row)
        EXPECT_LT(author(row - 1), author(row));
    e.changeTab(0);
    EXPECT_EQ(e.format().rfind("220L(1)|M~Title~", 0), 0u);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(1, 40));
}

TEST_F(Engine, SelectModeOpensOnTheCallersRecord)
{
    for (int i = 1; i <= 40; ++i)
        addCategory(i, "Category " + std::to_string(100 + i));
    BokCat = BookCategoryRecord{};
    BokCat.BookCategoryId = 27;
    GlobalRequest = SelectRecord;
    auto &e = open(pickBookCategoryDef());
    EXPECT_TRUE(e.selectMode());
    EXPECT_EQ(GlobalRequest, 0);
    ASSERT_GE(e.currentRow(), 1);
    EXPECT_EQ(std::get<std::int64_t>(e.rows()[e.currentRow() - 1].values[0]), 27);
    EXPECT_EQ(e.popupText(true), "&Insert|&Change|&Delete|-|&Select");

    e.scroll(ListScroll::RowDown);
    e.reread(); // Close: the buffer keeps the last highlighted record
    EXPECT_EQ(BokCat.BookCategoryId, 28);
    EXPECT_EQ(BokCat.BookCategory.str(), "Category 128");
    EXPECT_EQ(e.finish(), RequestCancelled);
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

TEST_F(Engine, NumberTabLocatesAndSpreadsTheThumbOverTheNumbers)
{
    for (int i = 1; i <= 50; ++i) {
        ItmRom = ItemsRoomsRecord{};
        ItmRom.RoomsId = i * 10;
        ItmRom.Rooms = "Room " + std::to_string(1000 - i);
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }
    auto &e = open(setupLocationDef());
    EXPECT_EQ(e.sortOrder(), 2);
    ASSERT_EQ(e.numericValues().size(), 100u);
    EXPECT_EQ(e.numericValues()[0], 10);
    EXPECT_EQ(e.numericValues()[99], 500);
    EXPECT_EQ(ItmRom.RoomsId, 0); // cleared for the locator entry

    e.locatorAccepted(std::int64_t{245}); // lands on the next number
    EXPECT_EQ(std::get<std::int64_t>(e.rows()[e.currentRow() - 1].values[0]), 250);
    EXPECT_EQ(e.thumb(), 50);           // 10 + 490 / 99 × 49 is the first value from 250
    e.locatorAccepted(std::int64_t{0}); // zero: nothing happens
    EXPECT_EQ(std::get<std::int64_t>(e.rows()[e.currentRow() - 1].values[0]), 250);

    e.changeTab(1); // by name: "Room 950" is the lowest
    EXPECT_EQ(std::get<std::string>(e.rows()[0].values[1]), "Room 950");
    EXPECT_EQ(e.popupText(true), "&Insert|&Change|&Delete|-|~&Select");
}

TEST_F(Engine, AnEmptyTableShowsNothingToChange)
{
    Bok.BookTitle = "left over";
    auto &e = open(browseBooksDef());
    EXPECT_TRUE(e.empty());
    EXPECT_EQ(e.currentRow(), 0);
    EXPECT_EQ(Bok.BookTitle.str(), "");
    EXPECT_EQ(e.popupText(true), "&Insert|~&Change|~&Delete");
    e.scroll(ListScroll::PageDown);
    e.dragThumb(50);
    EXPECT_TRUE(e.empty());
    // The totals record is made once, for every list that shows a total.
    e.readTotals(true);
    HearthkpValue.setByFileOrder();
    EXPECT_EQ(HearthkpValue.next(), NoError);
    EXPECT_EQ(HearthkpValue.next(), NoMoreRecords);
}

TEST_F(Engine, ChangedTitleIsShownAtItsNewPlaceHighlighted)
{
    addBooks(50);
    auto &e = open(browseBooksDef());
    e.scroll(ListScroll::RowDown);
    e.scroll(ListScroll::RowDown);
    const std::string was = currentTitle();

    e.beginFormCall(ChangeRecord);
    EXPECT_EQ(GlobalRequest, ChangeRecord);
    EXPECT_EQ(Bok.BookTitle.str(), was); // the stored record, in full
    // The form: the title changes so that the book sorts near the end.
    GlobalRequest = 0;
    Bok.BookTitle = "Yonder";
    ASSERT_EQ(Books.put(), NoError);
    e.endFormCall(ChangeRecord, RequestCompleted);

    EXPECT_EQ(currentTitle(), "Yonder");
    EXPECT_EQ(e.rows().size(), 10u);
    EXPECT_EQ(Bok.BooksId, 3);
}

TEST_F(Engine, DeletingTheLastRowHighlightsTheNewLastRow)
{
    addBooks(12);
    auto &e = open(browseBooksDef());
    e.scroll(ListScroll::Bottom);
    ASSERT_EQ(currentTitle(), test::BrowseData::titleOf(12, 12));
    e.beginFormCall(DeleteRecord);
    ASSERT_EQ(Books.remove(), NoError);
    e.endFormCall(DeleteRecord, RequestCompleted);
    EXPECT_EQ(e.rows().size(), 10u);
    EXPECT_EQ(e.currentRow(), 10);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(11, 12));

    // A cancelled insert leaves the page where it was.
    e.scroll(ListScroll::RowUp);
    e.beginFormCall(InsertRecord);
    EXPECT_EQ(Bok.BookTitle.str(), "");
    e.endFormCall(InsertRecord, RequestCancelled);
    EXPECT_EQ(currentTitle(), test::BrowseData::titleOf(10, 12));
}

TEST_F(Engine, AFailingReadWarnsAndClosesTheList)
{
    addBooks(30);
    int closeRequests = 0;
    auto &e = open(browseBooksDef());
    e.onCloseRequest = [&] { ++closeRequests; };
    // The books table goes away under the list.
    sqlite3_exec(Books.file().db(), "ALTER TABLE Books RENAME TO Gone", nullptr, nullptr, nullptr);
    e.scroll(ListScroll::PageDown);
    e.scroll(ListScroll::PageDown);
    EXPECT_EQ(closeRequests, 1);
    ASSERT_FALSE(messages.boxes().empty());
    EXPECT_EQ(messages.boxes()[0].title, "Record Retrieval Error");
    EXPECT_NE(messages.boxes()[0].text.find("Books"), std::string::npos);
    sqlite3_exec(Books.file().db(), "ALTER TABLE Gone RENAME TO Books", nullptr, nullptr, nullptr);
}

TEST_F(Engine, SerialNumberTabOmitsItemsWithoutOne)
{
    auto addItem = [](Long id, const char *name, const char *serial) {
        Itm = ItemsRecord{};
        Itm.ItemsId = id;
        Itm.Items = name;
        Itm.SerialNumber = serial;
        ASSERT_EQ(Items.add(), NoError);
    };
    addItem(1, "Clock", "");
    addItem(2, "Radio", "R-1");
    addItem(3, "Lamp", " ");
    auto &e = open(browseItemsDef());
    EXPECT_EQ(e.rows().size(), 3u);
    e.changeTab(1);
    ASSERT_EQ(e.rows().size(), 1u);
    EXPECT_EQ(title(1), "Radio");
}

} // namespace
} // namespace hk

namespace hk
{
namespace
{

// Attachment counts come with the rows as they are read, and a refresh shows
// another station's new file; a list that does not mark them reads none.
TEST_F(Engine, RowsCarryTheirRecordsAttachmentCounts)
{
    addBooks(30);
    DataFile &file = DataFile::program();
    const NewAttachment photo{"cover.jpg", kMediaJpeg, "2026-02-03 04:05:06", "x", ""};
    ASSERT_EQ(addAttachment(file, TableId::Books, 2, photo), NoError);
    ASSERT_EQ(addAttachment(file, TableId::Books, 2, photo), NoError);
    ASSERT_EQ(addAttachment(file, TableId::Books, 25, photo), NoError);
    auto &e = open(browseBooksDef());
    auto countOf = [&](Long id) {
        for (const BrowseRow &r : e.rows())
            if (std::get<std::int64_t>(r.values[9]) == id) return r.attachments;
        return -2;
    };
    EXPECT_EQ(countOf(1), 0);
    EXPECT_EQ(countOf(2), 2);
    e.scroll(ListScroll::Bottom);
    EXPECT_EQ(countOf(25), 1);
    for (const BrowseRow &r : e.rows())
        EXPECT_GE(r.attachments, 0); // every row read has its count

    // Another station's file shows at the next refresh that reads the page.
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(dir.filePath("Hearthkp.Tps").toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "INSERT INTO HkAttachments (OwnerTable, RecordId, FileName, MediaType, "
                           "Size, Added, Content) VALUES ('Books', 26, 'a.pdf', 'application/pdf', "
                           "1, '2026-01-01 00:00:00', x'25')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);
    e.windowRefresh(Refresh::ReadAgain);
    EXPECT_EQ(countOf(26), 1);

    BrowseDef unmarked = browseBooksDef();
    unmarked.marksAttachments = false;
    auto &plain = open(unmarked);
    EXPECT_EQ(plain.rows().front().attachments, 0);
    ASSERT_EQ(std::get<std::int64_t>(plain.rows()[1].values[9]), 2);
    EXPECT_EQ(plain.rows()[1].attachments, 0);
}

} // namespace
} // namespace hk
