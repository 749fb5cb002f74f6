#include "integrity/checked.h"

#include "integrity/tableopen.h"
#include "integrity/warnings.h"
#include "platform/data/transaction.h"
#include "platform/data/view.h"
#include "programfixture.h"

using namespace hk;

namespace
{

class IntegrityTest : public ProgramTest
{
  protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        for (int i = 0; i < TableCount; ++i)
            ASSERT_TRUE(UseTable(table(TableId(i))));
    }

    void addCassette(Long id, std::initializer_list<Long> titles)
    {
        VidNum = VideoNumberRecord{};
        VidNum.VideoNumberId = id;
        VidNum.VideoNumber = id * 10;
        ASSERT_EQ(VideoNumber.add(), NoError);
        for (Long t : titles) {
            Vid = VideoRecord{};
            Vid.VideoId = t;
            Vid.VideoNumberId = id;
            Vid.CounterStart = -t; // counters below zero are children too
            ASSERT_EQ(Video.add(), NoError);
        }
    }

    template <class Rec> void read(Table &t, Rec &buffer, Long id)
    {
        buffer = Rec{};
        field::setInteger(t.def().fields[0], &buffer, id);
        ASSERT_EQ(t.get(KeyId{t.def().id, 0}), NoError);
    }

    long long count(Table &t) { return t.records(); }
};

} // namespace

TEST_F(IntegrityTest, DeletingACassetteTakesItsTitlesInOneTransaction)
{
    addCassette(1, {11, 12, 13});
    addCassette(2, {21});
    read(VideoNumber, VidNum, 1);
    EXPECT_FALSE(DeleteRecordChecked(VideoNumber));
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(count(VideoNumber), 1);
    EXPECT_EQ(count(Video), 1);

    // The second title refuses to go: everything stays.
    addCassette(3, {31, 32, 33});
    ASSERT_EQ(rawSql("CREATE TRIGGER refuse BEFORE DELETE ON Video WHEN old.VideoId = 32 "
                     "BEGIN SELECT RAISE(ABORT, 'title is protected'); END"),
              SQLITE_OK);
    read(VideoNumber, VidNum, 3);
    EXPECT_TRUE(DeleteRecordChecked(VideoNumber));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Delete Operation Error");
    EXPECT_EQ(boxes.boxes()[0].text, "An error (title is protected (1811)) was experienced when "
                                     "attempting to delete a record from the file Video.");
    EXPECT_EQ(count(VideoNumber), 2);
    EXPECT_EQ(count(Video), 4);
}

TEST_F(IntegrityTest, AParentWithChildrenUnderARestrictRuleStays)
{
    ItmRom.RoomsId = 1;
    ItmRom.Rooms = "Kitchen";
    ASSERT_EQ(ItemsRooms.add(), NoError);
    Itm.ItemsId = 1;
    Itm.RoomsId = 1;
    ASSERT_EQ(Items.add(), NoError);
    read(ItemsRooms, ItmRom, 1);
    EXPECT_TRUE(DeleteRecordChecked(ItemsRooms));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, "This record is referenced from the file Items.  This record "
                                     "cannot be deleted while these references exist.");
    EXPECT_EQ(count(ItemsRooms), 1);
    EXPECT_EQ(count(Items), 1);

    // A magazine year is checked for articles before issues.
    Yer.MagazineYearId = 5;
    ASSERT_EQ(MagYear.add(), NoError);
    Iss.MagazineIssueId = 1;
    Iss.MagazineYearId = 5;
    ASSERT_EQ(MagIssue.add(), NoError);
    read(MagYear, Yer, 5);
    EXPECT_TRUE(DeleteRecordChecked(MagYear));
    EXPECT_EQ(boxes.boxes().back().text, "This record is referenced from the file MagIssue.  This "
                                         "record cannot be deleted while these references exist.");
    Art.MagazineArticleId = 1;
    Art.MagazineYearId = 5;
    ASSERT_EQ(MagArticle.add(), NoError);
    read(MagYear, Yer, 5);
    EXPECT_TRUE(DeleteRecordChecked(MagYear));
    EXPECT_EQ(boxes.boxes().back().text,
              "This record is referenced from the file MagArticle.  This record cannot be deleted "
              "while these references exist.");
    EXPECT_EQ(count(MagYear), 1);

    // Without children: no message at all.
    ItmRom.RoomsId = 2;
    ItmRom.Rooms = "Attic";
    ASSERT_EQ(ItemsRooms.add(), NoError);
    std::size_t shown = boxes.boxes().size();
    read(ItemsRooms, ItmRom, 2);
    EXPECT_FALSE(DeleteRecordChecked(ItemsRooms));
    EXPECT_EQ(boxes.boxes().size(), shown);
    EXPECT_EQ(count(ItemsRooms), 1);
}

TEST_F(IntegrityTest, ANewIdentifierIsCarriedIntoEveryChildOnce)
{
    BokCat.BookCategoryId = 1;
    BokCat.BookCategory = "Novels";
    ASSERT_EQ(BookCategory.add(), NoError);
    const int books = 300; // more than any page or read-ahead
    for (Long i = 1; i <= books; ++i) {
        Bok = BooksRecord{};
        Bok.BooksId = i;
        Bok.BookTitle = "Title " + std::to_string(i % 7);
        Bok.BookCategoryId = 1;
        ASSERT_EQ(Books.add(), NoError);
    }
    read(BookCategory, BokCat, 1);
    const NotedKey before = NoteKeyBeforeChange(BookCategory);
    BokCat.BookCategoryId = 9;
    EXPECT_EQ(UpdateRecordChecked(BookCategory, false, before), Updated);
    EXPECT_TRUE(boxes.boxes().empty());

    View moved(Books, Bok.Foreign_BookCategory);
    moved.range({std::int64_t{9}});
    ASSERT_EQ(moved.open(), NoError);
    int n = 0;
    while (moved.next() == NoError)
        ++n;
    EXPECT_EQ(n, books);
    read(BookCategory, BokCat, 9);
    EXPECT_EQ(BokCat.BookCategory.str(), "Novels");
}

TEST_F(IntegrityTest, AMagazineKeepsItsIdentifierWhileItHasYears)
{
    Mag.MagazineNameId = 1;
    Mag.MagazineName = "Gardens";
    ASSERT_EQ(MagName.add(), NoError);
    Yer.MagazineYearId = 1;
    Yer.MagazineNameId = 1;
    ASSERT_EQ(MagYear.add(), NoError);

    read(MagName, Mag, 1);
    const NotedKey before = NoteKeyBeforeChange(MagName);
    Mag.MagazineNameId = 2;
    EXPECT_EQ(UpdateRecordChecked(MagName, true, before), NotUpdated);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Referential Integrity Update Error");
    EXPECT_EQ(Mag.MagazineNameId, 1); // put back
    read(MagName, Mag, 1);
    EXPECT_EQ(count(MagName), 1);
}

TEST_F(IntegrityTest, AnotherStationsWriteLockRefusesTheTransaction)
{
    addCassette(1, {11});
    read(VideoNumber, VidNum, 1);
    DataFile other(path());
    VideoNumberRecord otherBuffer;
    Table otherCassettes(TableId::VideoNumber, &otherBuffer, &other);
    ASSERT_EQ(otherCassettes.open(), NoError);
    Transaction theirs(other);
    ASSERT_EQ(theirs.begin(), NoError);

    EXPECT_TRUE(DeleteRecordChecked(VideoNumber));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "Error: (File Is Locked (32)) attempting to frame the delete transaction on "
              "VideoNumber.  Delete transaction cancelled.");
    VidNum.VideoTitle = "Changed";
    EXPECT_EQ(UpdateRecordChecked(VideoNumber, true), NotUpdated);
    EXPECT_EQ(boxes.boxes().back().text,
              "Error: (File Is Locked (32)) attempting to frame the update transaction on "
              "VideoNumber.  Update transaction cancelled.");
    theirs.rollback();
    EXPECT_EQ(count(VideoNumber), 1);
    EXPECT_EQ(count(Video), 1);
}

TEST_F(IntegrityTest, AChangeByAnotherStationIsShownInsteadOfOverwritten)
{
    addCassette(1, {});
    ItmRom.RoomsId = 1;
    ItmRom.Rooms = "Hall";
    ASSERT_EQ(ItemsRooms.add(), NoError);
    DataFile other(path());
    VideoNumberRecord otherCassette;
    ItemsRoomsRecord otherRoom;
    Table cassettes(TableId::VideoNumber, &otherCassette, &other);
    Table rooms(TableId::ItemsRooms, &otherRoom, &other);
    ASSERT_EQ(cassettes.open(), NoError);
    ASSERT_EQ(rooms.open(), NoError);

    struct Case {
        Table &mine, &theirs;
        int textField; // a text field to change on both sides
        bool recall;
        const char *title;
    };
    for (const Case &c : {Case{VideoNumber, cassettes, 2, true, "Record Was Not Updated"},
                          Case{ItemsRooms, rooms, 1, false, "Update Operation Error"}}) {
        SCOPED_TRACE(c.title);
        const FieldDef &mineText = c.mine.def().fields[c.textField];
        const FieldDef &theirText = c.theirs.def().fields[c.textField];
        ASSERT_EQ(c.mine.watch(), NoError);
        ASSERT_EQ(c.mine.set(KeyId{c.mine.def().id, 0}), NoError);
        ASSERT_EQ(c.mine.next(), NoError);
        ASSERT_EQ(c.theirs.set(KeyId{c.theirs.def().id, 0}), NoError);
        ASSERT_EQ(c.theirs.next(), NoError);
        field::setText(theirText, c.theirs.buffer(), "Theirs");
        ASSERT_EQ(c.theirs.put(), NoError);

        field::setText(mineText, c.mine.buffer(), "Mine");
        EXPECT_EQ(UpdateRecordChecked(c.mine, c.recall), ChangedElsewhere);
        EXPECT_EQ(boxes.boxes().back().title, c.title);
        EXPECT_EQ(field::text(mineText, c.mine.buffer()), "Theirs");

        // Watched again: yet another change is caught too.
        field::setText(theirText, c.theirs.buffer(), "Third");
        ASSERT_EQ(c.theirs.put(), NoError);
        field::setText(mineText, c.mine.buffer(), "Mine");
        EXPECT_EQ(UpdateRecordChecked(c.mine, c.recall), ChangedElsewhere);
        EXPECT_EQ(field::text(mineText, c.mine.buffer()), "Third");
    }
    EXPECT_EQ(boxes.boxes().back().text, "This record was changed by another station.");
}
