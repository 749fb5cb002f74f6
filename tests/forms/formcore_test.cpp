#include "forms/formcore.h"

#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "programfixture.h"

using namespace hk;

namespace
{

class FormTest : public ProgramTest
{
  protected:
    TablesInUse caller; // what the calling list holds open

    void SetUp() override
    {
        ProgramTest::SetUp();
        ASSERT_TRUE(caller.use({&HearthkpValue, &Items, &ItemsRooms, &Books, &BookCategory}));
        ItmRom.RoomsId = 1;
        ItmRom.Rooms = "Kitchen";
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }
    void TearDown() override
    {
        caller.release();
        ProgramTest::TearDown();
    }

    static FieldRef f(const char *label) { return findField(label); }

    std::int64_t itemsTotal()
    {
        HearthkpValue.setByFileOrder();
        return HearthkpValue.next() == NoError ? Hkv.InventoryItems.cents() : 0;
    }

    // Reads an item as a list does before calling its form.
    void readItem(Long id)
    {
        Itm = ItemsRecord{};
        Itm.ItemsId = id;
        ASSERT_EQ(Items.watch(), NoError);
        ASSERT_EQ(Items.get(Itm.Primary), NoError);
    }

    Long insertItem(const char *name, std::int64_t cents)
    {
        Itm = ItemsRecord{};
        GlobalRequest = InsertRecord;
        FormCore form(*findForm("UpdateItems"));
        EXPECT_TRUE(form.open());
        form.setText(f("ITM:ITEMS"), name);
        form.setInteger(f("Itm:RoomsId"), 1);
        form.setInteger(f("ITM:VALUES"), cents);
        EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
        form.close();
        EXPECT_EQ(GlobalResponse, RequestCompleted);
        return Itm.ItemsId;
    }
};

} // namespace

TEST_F(FormTest, InsertNumbersAndCancelLeavesNothingBehind)
{
    EXPECT_EQ(insertItem("Lamp", 2000), 1);
    EXPECT_EQ(itemsTotal(), 2000);
    EXPECT_EQ(insertItem("Chair", 0), 2);

    Itm = ItemsRecord{};
    GlobalRequest = InsertRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.caption(), "New  (New)");
        EXPECT_EQ(Items.records(), 3); // the placeholder
        form.setInteger(f("ITM:VALUES"), 5000);
        form.setCancelled();
    } // closing without completing removes it
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_EQ(Items.records(), 2);
    EXPECT_EQ(itemsTotal(), 2000);
}

TEST_F(FormTest, CaptionsNameTheRecord)
{
    insertItem("Lamp", 0);
    for (Long request : {ChangeRecord, DeleteRecord}) {
        readItem(1);
        GlobalRequest = request;
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.caption(), request == ChangeRecord ? "Change  (Lamp)" : "Delete  (Lamp)");
    }
}

TEST_F(FormTest, RequiredFieldsAreCheckedInOrder)
{
    struct Expect {
        const char *form;
        std::vector<std::string> titles;
    };
    for (const Expect &e :
         {Expect{"UpdateItems", {"Please enter Item", "Please select from list"}},
          Expect{"UpdateBooks",
                 {"Please enter Title", "Please enter Author", "Please select from list"}},
          Expect{"UpdateLocation", {"Please enter Location"}},
          Expect{"UpdateBookCategory", {"Please enter Category"}}}) {
        const FormDef &def = *findForm(e.form);
        table(def.table).def().clear(table(def.table).buffer());
        GlobalRequest = InsertRecord;
        FormCore form(def);
        ASSERT_TRUE(form.open());
        std::vector<std::string> seen;
        for (int i; (i = form.failingRequired()) >= 0;) {
            seen.push_back(def.required[i].title);
            FieldRef field = findField(def.required[i].field);
            if (field.def().isText())
                form.setText(field, "x");
            else
                form.setInteger(field, 1);
        }
        EXPECT_EQ(seen, e.titles) << e.form;
        form.setCancelled();
    }
    EXPECT_EQ(findForm("UpdateItems")->required[0].text,
              "Items field must be completed before accepted !");
}

TEST_F(FormTest, LookupsFindTheParentOrNot)
{
    Itm = ItemsRecord{};
    GlobalRequest = InsertRecord;
    FormCore form(*findForm("UpdateItems"));
    ASSERT_TRUE(form.open());
    form.setInteger(f("Itm:RoomsId"), 1);
    EXPECT_TRUE(form.lookupFound());
    EXPECT_EQ(ItmRom.Rooms.str(), "Kitchen");
    form.setInteger(f("Itm:RoomsId"), 42);
    EXPECT_FALSE(form.lookupFound());
    EXPECT_TRUE(ItmRom.Rooms.empty()); // the name shows blank
    form.setCancelled();
}

TEST_F(FormTest, ADuplicateNameIsRefusedWhateverItsCase)
{
    for (Long request : {InsertRecord, ChangeRecord}) {
        if (request == InsertRecord) {
            ItmRom = ItemsRoomsRecord{};
        } else {
            ItmRom = ItemsRoomsRecord{};
            ItmRom.RoomsId = 2;
            ItmRom.Rooms = "Hall";
            ASSERT_EQ(ItemsRooms.add(), NoError);
        }
        GlobalRequest = request;
        FormCore form(*findForm("UpdateLocation"));
        ASSERT_TRUE(form.open());
        form.setText(f("ITMROM:ROOMS"), "KITCHEN");
        EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnDuplicate);
        ASSERT_FALSE(boxes.boxes().empty());
        EXPECT_EQ(boxes.boxes().back().title, "Please enter another Location");
        EXPECT_EQ(boxes.boxes().back().text, "The Location: KITCHEN already exists !");
        form.setCancelled();
    }
    EXPECT_EQ(ItemsRooms.records(), 2); // Kitchen and Hall, nothing more
    ItmRom.RoomsId = 2;
    ASSERT_EQ(ItemsRooms.get(ItmRom.Primary), NoError);
    EXPECT_EQ(ItmRom.Rooms.str(), "Hall");
}

TEST_F(FormTest, RunningTotalsFollowEveryChange)
{
    insertItem("Clock", 10000);
    ASSERT_EQ(itemsTotal(), 10000);

    readItem(1);
    GlobalRequest = ChangeRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        form.setInteger(f("ITM:VALUES"), 15000);
        EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    }
    EXPECT_EQ(itemsTotal(), 15000);

    // Nothing changed: completed without a write.
    readItem(1);
    GlobalRequest = ChangeRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
        form.close();
        EXPECT_EQ(GlobalResponse, RequestCompleted);
    }

    readItem(1);
    GlobalRequest = DeleteRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    }
    EXPECT_EQ(itemsTotal(), 0);
    EXPECT_EQ(Items.records(), 0);
}

// The kept total holds 9,999,999.99 at most: a value that would carry it
// further is refused with the total, its maximum and the amount named, and
// nothing is written; a change or a delete that keeps it within goes through.
TEST_F(FormTest, AValueThatWouldCarryTheTotalPastItsMaximumIsRefused)
{
    insertItem("Clock", 999999899);
    insertItem("Cup", 100);
    ASSERT_EQ(itemsTotal(), 999999999);

    Itm = ItemsRecord{};
    GlobalRequest = InsertRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        form.setText(f("ITM:ITEMS"), "Vase");
        form.setInteger(f("Itm:RoomsId"), 1);
        form.setInteger(f("ITM:VALUES"), 500);
        EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnFirst);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].title, "Total Too Large");
        EXPECT_EQ(boxes.boxes()[0].text,
                  "The total HKV:INVENTORYITEMS would come to 10,000,004.99, past its maximum "
                  "of 9,999,999.99.  Nothing has been written.");
        form.setCancelled();
    }
    EXPECT_EQ(itemsTotal(), 999999999);
    EXPECT_EQ(Items.records(), 2);

    readItem(2);
    GlobalRequest = ChangeRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        form.setInteger(f("ITM:VALUES"), 101);
        EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnFirst);
        form.setInteger(f("ITM:VALUES"), 40);
        EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
        form.close();
    }
    EXPECT_EQ(boxes.boxes().size(), 2u);
    EXPECT_EQ(itemsTotal(), 999999999 - 60);
}

TEST_F(FormTest, ARefusedWriteLeavesTheTotalAsItWas)
{
    insertItem("Clock", 10000);
    readItem(1);
    ASSERT_EQ(rawSql("CREATE TRIGGER refuse BEFORE UPDATE ON Items BEGIN "
                     "SELECT RAISE(ABORT, 'no changes today'); END"),
              SQLITE_OK);
    GlobalRequest = ChangeRecord;
    {
        FormCore form(*findForm("UpdateItems"));
        ASSERT_TRUE(form.open());
        form.setInteger(f("ITM:VALUES"), 99900);
        boxes.answer(ButtonOk);     // "Update Operation Error" with the trigger's reason
        boxes.answer(ButtonCancel); // "Record Update Error": stay in the form
        EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnFirst);
        ASSERT_EQ(boxes.boxes().size(), 2u);
        EXPECT_EQ(boxes.boxes()[0].title, "Update Operation Error");
        EXPECT_EQ(boxes.boxes()[1].title, "Record Update Error");
        form.setCancelled();
    }
    EXPECT_EQ(itemsTotal(), 10000);
    readItem(1);
    EXPECT_EQ(Itm.Values.cents(), 10000);

    // With every write refused, an unchanged record still completes: nothing is written.
    GlobalRequest = ChangeRecord;
    FormCore unchanged(*findForm("UpdateItems"));
    ASSERT_TRUE(unchanged.open());
    EXPECT_EQ(unchanged.complete(), FormCore::Outcome::Close);
    unchanged.close();
    EXPECT_EQ(GlobalResponse, RequestCompleted);
}

TEST_F(FormTest, TheFormKeepsItsRecordWhileOtherWindowsRead)
{
    insertItem("Lamp", 0);
    insertItem("Vase", 0);
    readItem(1);
    GlobalRequest = ChangeRecord;
    FormCore form(*findForm("UpdateItems"));
    ASSERT_TRUE(form.open());
    form.setText(f("ITM:ITEMS"), "Desk lamp");
    readItem(2); // another list moves its highlight: the shared buffer changes
    EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    form.close();
    readItem(1);
    EXPECT_EQ(Itm.Items.str(), "Desk lamp");
    readItem(2);
    EXPECT_EQ(Itm.Items.str(), "Vase");
}

TEST_F(FormTest, AChangeByAnotherStationIsShownAndASecondOkWritesIt)
{
    insertItem("Lamp", 0);
    readItem(1);
    GlobalRequest = ChangeRecord;
    FormCore form(*findForm("UpdateItems"));
    ASSERT_TRUE(form.open());

    DataFile other(path());
    ItemsRecord theirs;
    Table otherItems(TableId::Items, &theirs, &other);
    ASSERT_EQ(otherItems.open(), NoError);
    theirs.ItemsId = 1;
    ASSERT_EQ(otherItems.get(ItemsRecord::Primary), NoError);
    theirs.Quantity = 7;
    ASSERT_EQ(otherItems.put(), NoError);

    form.setText(f("ITM:ITEMS"), "Mine");
    EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnFirst);
    EXPECT_EQ(boxes.boxes().back().text, "This record was changed by another station.");
    EXPECT_EQ(form.text(f("ITM:ITEMS")), "Lamp"); // the stored version is shown
    EXPECT_EQ(form.integer(f("ITM:QUANTITY")), 7);
    form.setText(f("ITM:ITEMS"), "Mine");
    EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    form.close();
    readItem(1);
    EXPECT_EQ(Itm.Items.str(), "Mine");
    EXPECT_EQ(Itm.Quantity, 7);
}

TEST_F(FormTest, EachFormCascadesOnlyFromTheIdentifierItNoted)
{
    for (Long id : {1, 2}) {
        BokCat = BookCategoryRecord{};
        BokCat.BookCategoryId = id;
        BokCat.BookCategory = id == 1 ? "Novels" : "Poems";
        ASSERT_EQ(BookCategory.add(), NoError);
    }
    Bok = BooksRecord{};
    Bok.BooksId = 1;
    Bok.BookTitle = "Odes";
    Bok.BookCategoryId = 2;
    ASSERT_EQ(Books.add(), NoError);

    auto readCategory = [](Long id) {
        BokCat = BookCategoryRecord{};
        BokCat.BookCategoryId = id;
        ASSERT_EQ(BookCategory.watch(), NoError);
        ASSERT_EQ(BookCategory.get(BokCat.Primary), NoError);
    };
    // A setup form on one category while a pick list's form opens and
    // cancels on another.
    readCategory(1);
    GlobalRequest = ChangeRecord;
    FormCore first(*findForm("UpdateBookCategory"));
    ASSERT_TRUE(first.open());
    readCategory(2);
    GlobalRequest = ChangeRecord;
    {
        FormCore second(*findForm("UpdateBookCategory"));
        ASSERT_TRUE(second.open());
        second.setCancelled();
    }
    first.setText(f("BOKCAT:BOOKCATEGORY"), "Novellas");
    EXPECT_EQ(first.complete(), FormCore::Outcome::Close);
    first.close();

    Bok.BooksId = 1;
    ASSERT_EQ(Books.get(Bok.Primary), NoError);
    EXPECT_EQ(Bok.BookCategoryId, 2);
}

// Another program on the same data file, changing items and their total as
// its own forms would.
class OtherStation
{
  public:
    explicit OtherStation(const std::string &path) : file_(path)
    {
        EXPECT_EQ(items_.open(), NoError);
        EXPECT_EQ(totals_.open(), NoError);
    }
    int setValue(Long id, std::int64_t cents)
    {
        item_.ItemsId = id;
        if (int code = items_.get(ItemsRecord::Primary); code != NoError) return code;
        Transaction txn(file_);
        EXPECT_EQ(txn.begin(), NoError);
        const std::int64_t before = item_.Values.cents();
        item_.Values.setCents(cents);
        totals_.setByFileOrder();
        EXPECT_EQ(totals_.next(), NoError);
        total_.InventoryItems.setCents(total_.InventoryItems.cents() + cents - before);
        EXPECT_EQ(totals_.put(), NoError);
        EXPECT_EQ(items_.put(), NoError);
        return txn.commit();
    }
    int remove(Long id)
    {
        item_.ItemsId = id;
        if (int code = items_.get(ItemsRecord::Primary); code != NoError) return code;
        return items_.remove();
    }

  private:
    DataFile file_;
    ItemsRecord item_;
    HearthkpValueRecord total_;
    Table items_{TableId::Items, &item_, &file_};
    Table totals_{TableId::HearthkpValue, &total_, &file_};
};

TEST_F(FormTest, ADeleteAfterAnotherStationsChangeShowsItAndDeletesItWithItsValue)
{
    insertItem("Clock", 10000);
    readItem(1);
    GlobalRequest = DeleteRecord;
    FormCore form(*findForm("UpdateItems"));
    ASSERT_TRUE(form.open());

    OtherStation other(path());
    ASSERT_EQ(other.setValue(1, 15000), NoError);
    ASSERT_EQ(itemsTotal(), 15000);

    EXPECT_EQ(form.complete(), FormCore::Outcome::StayOnFirst);
    ASSERT_EQ(boxes.boxes().size(), 1u); // no "try again?" after it
    EXPECT_EQ(boxes.boxes()[0].title, "Update Operation Error");
    EXPECT_EQ(boxes.boxes()[0].text, "This record was changed by another station.");
    EXPECT_EQ(form.integer(f("ITM:VALUES")), 15000);
    EXPECT_EQ(Items.records(), 1);
    EXPECT_EQ(itemsTotal(), 15000);

    EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    form.close();
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(Items.records(), 0);
    EXPECT_EQ(itemsTotal(), 0);
}

TEST_F(FormTest, AChangeAfterAnotherStationsDeleteSaysTheRecordIsGone)
{
    insertItem("Clock", 10000);
    readItem(1);
    GlobalRequest = ChangeRecord;
    FormCore form(*findForm("UpdateItems"));
    ASSERT_TRUE(form.open());

    OtherStation other(path());
    ASSERT_EQ(other.remove(1), NoError);

    form.setInteger(f("ITM:VALUES"), 12500);
    EXPECT_EQ(form.complete(), FormCore::Outcome::Close);
    form.close();
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].title, "Record Retrieval Error");
    EXPECT_EQ(boxes.boxes()[0].text, "Error: (Record Not Found (35)) attempting to access a "
                                     "record from the Items file.  Returning to previous window.");
    EXPECT_EQ(Items.records(), 0);
    EXPECT_EQ(itemsTotal(), 10000); // the other station's delete did not touch it
}
