// New records while their insert forms are open: what others may do with a
// placeholder meanwhile, and what the form may then do with it.
#include "forms/formcore.h"

#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "platform/data/placeholders.h"
#include "platform/data/transaction.h"
#include "programfixture.h"

#include <memory>

using namespace hk;

namespace
{

class NewRecordsTest : public ProgramTest
{
  protected:
    static bool stored(Table &t, std::int64_t identifier)
    {
        std::vector<unsigned char> keep(t.def().recordSize);
        t.def().copy(keep.data(), t.buffer());
        t.def().clear(t.buffer());
        field::setInteger(t.def().fields[0], t.buffer(), identifier);
        const bool found = t.get(KeyId{t.def().id, 0}) == NoError;
        t.def().copy(t.buffer(), keep.data());
        return found;
    }

    // Adds a child record referring to `parent`; returns its row.
    static std::int64_t addChild(const RelationDef &r, std::int64_t parent)
    {
        Table &child = table(r.child);
        child.def().clear(child.buffer());
        field::setInteger(child.def().fields[std::size_t(r.childField)], child.buffer(), parent);
        EXPECT_EQ(autoNumber(child), NoError);
        return child.currentRow();
    }

    std::string notes()
    {
        std::string n;
        sqlite3_stmt *st = nullptr;
        sqlite3 *db = DataFile::program().db();
        if (sqlite3_prepare_v2(db, "SELECT count(*) FROM HkPlaceholders", -1, &st, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            n = std::to_string(sqlite3_column_int64(st, 0));
        sqlite3_finalize(st);
        return n;
    }

    static std::string refusal(const std::string &child)
    {
        return "This record is referenced from the file " + child +
               ".  This record cannot be deleted while these references exist.";
    }
};

} // namespace

// Every parent table's form, with each table whose records refer to it.
TEST_F(NewRecordsTest, APlaceholderThatRecordsReferToIsNotRemovedUntilTheyAreGone)
{
    for (const RelationDef &r : relations()) {
        const std::string parentLabel = tableDef(r.parent).label;
        const std::string childLabel = tableDef(r.child).label;
        SCOPED_TRACE(parentLabel + " referred to from " + childLabel);
        const FormDef *def = formFor(r.parent);
        ASSERT_NE(def, nullptr);
        Table &parent = table(r.parent), &child = table(r.child);
        TablesInUse caller;
        ASSERT_TRUE(caller.use({&parent, &child}));

        parent.def().clear(parent.buffer());
        GlobalRequest = InsertRecord;
        FormCore form(*def);
        ASSERT_TRUE(form.open());
        const std::int64_t id = form.integer(FieldRef{r.parent, r.parentField});
        ASSERT_TRUE(stored(parent, id));

        // Meanwhile another window stores a child of the new record.
        const std::int64_t childRow = addChild(r, id);
        const std::size_t shown = boxes.boxes().size();
        form.setCancelled();
        EXPECT_FALSE(form.releasePlaceholder());
        ASSERT_EQ(boxes.boxes().size(), shown + 1);
        EXPECT_EQ(boxes.boxes().back().title, "Referential Integrity Delete Error");
        EXPECT_EQ(boxes.boxes().back().text, refusal(childLabel));
        EXPECT_TRUE(stored(parent, id));
        EXPECT_EQ(notes(), "1"); // still the form's placeholder

        // The child gone, the cancel goes through.
        child.setCurrent(childRow, nullptr);
        ASSERT_EQ(child.remove(), NoError);
        EXPECT_TRUE(form.releasePlaceholder());
        form.close();
        EXPECT_EQ(boxes.boxes().size(), shown + 1);
        EXPECT_FALSE(stored(parent, id));
        EXPECT_EQ(notes(), "0");
    }
}

TEST_F(NewRecordsTest, TheStationsEndKeepsAReferredPlaceholderAsARecordOfItsOwn)
{
    const RelationDef &r = relations().front();
    TablesInUse caller;
    ASSERT_TRUE(caller.use({&table(r.parent), &table(r.child)}));
    table(r.parent).def().clear(table(r.parent).buffer());
    GlobalRequest = InsertRecord;
    FormCore form(*formFor(r.parent));
    ASSERT_TRUE(form.open());
    const std::int64_t id = form.integer(FieldRef{r.parent, r.parentField});
    addChild(r, id);
    form.setCancelled();
    form.close(); // a form that must end all the same leaves it noted
    EXPECT_EQ(boxes.boxes().back().text, refusal(tableDef(r.child).label));
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_EQ(notes(), "1");

    // One of a table whose children have no table in the file yet.
    TablesInUse categories;
    ASSERT_TRUE(categories.use({&MagCategory}));
    Cat = MagCategoryRecord{};
    GlobalRequest = InsertRecord;
    FormCore unreferred(*formFor(TableId::MagCategory));
    ASSERT_TRUE(unreferred.open());
    EXPECT_EQ(notes(), "2");

    EXPECT_EQ(removeOwnPlaceholders(DataFile::program()), 1);
    EXPECT_TRUE(stored(table(r.parent), id));
    EXPECT_EQ(MagCategory.records(), 0);
    EXPECT_EQ(notes(), "0");
}

namespace
{

// Clears the table's buffer, as a list does before it calls its insert form.
void clear(Table &t)
{
    t.def().clear(t.buffer());
}

std::int64_t identifier(const FormCore &form)
{
    return form.integer(FieldRef{form.def().table, 0});
}

} // namespace

// Another station is a connection of its own on the same file, adding its
// placeholder as its insert form would; then two forms open on this one.
TEST_F(NewRecordsTest, InsertFormsOfOneTableWaitSideBySideOnOneStationAndTwo)
{
    for (const FormDef &def : allForms()) {
        SCOPED_TRACE(def.name);
        Table &t = table(def.table);
        TablesInUse caller;
        ASSERT_TRUE(caller.use({&t}));
        {
            DataFile other(path());
            std::vector<unsigned char> theirs(t.def().recordSize);
            t.def().clear(theirs.data());
            Table otherTable(def.table, theirs.data(), &other);
            ASSERT_EQ(otherTable.open(), NoError);
            Transaction txn(other);
            ASSERT_EQ(txn.begin(), NoError);
            ASSERT_EQ(autoNumber(otherTable), NoError);
            ASSERT_EQ(notePlaceholder(other, t.def(), otherTable.currentRow()), NoError);
            ASSERT_EQ(txn.commit(), NoError);
            otherTable.close();
        }
        const long long before = t.records();
        std::vector<std::unique_ptr<FormCore>> forms;
        for (int i = 0; i < 2; ++i) {
            clear(t);
            GlobalRequest = InsertRecord;
            forms.push_back(std::make_unique<FormCore>(def));
            ASSERT_TRUE(forms.back()->open());
        }
        EXPECT_TRUE(boxes.boxes().empty());
        EXPECT_NE(identifier(*forms[0]), identifier(*forms[1]));
        EXPECT_EQ(t.records(), before + 2);
        for (auto &form : forms) {
            form->setCancelled();
            form->close();
        }
        EXPECT_EQ(t.records(), before);
    }
}

TEST_F(NewRecordsTest, ListsShowWaitingNewRecordsBlankAndEachIsStoredWithItsName)
{
    TablesInUse caller;
    ASSERT_TRUE(caller.use({&ItemsRooms}));
    ItmRom = ItemsRoomsRecord{};
    ItmRom.RoomsId = 1;
    ItmRom.Rooms = "Kitchen";
    ASSERT_EQ(ItemsRooms.add(), NoError);
    std::vector<std::unique_ptr<FormCore>> forms;
    for (int i = 0; i < 2; ++i) {
        ItmRom = ItemsRoomsRecord{};
        GlobalRequest = InsertRecord;
        forms.push_back(std::make_unique<FormCore>(*findForm("UpdateLocation")));
        ASSERT_TRUE(forms.back()->open());
    }
    auto byName = [] {
        std::vector<std::string> names;
        ItemsRooms.set(ItmRom.DisplayByRooms);
        while (ItemsRooms.next() == NoError)
            names.push_back(ItmRom.Rooms.str());
        return names;
    };
    EXPECT_EQ(byName(), (std::vector<std::string>{"", "", "Kitchen"}));

    const FieldRef name = findField("ITMROM:ROOMS");
    forms[1]->setText(name, "Attic");
    EXPECT_EQ(forms[1]->complete(), FormCore::Outcome::Close);
    forms[0]->setText(name, "attic"); // taken, whatever its letter case
    EXPECT_EQ(forms[0]->complete(), FormCore::Outcome::StayOnDuplicate);
    forms[0]->setText(name, "Cellar");
    EXPECT_EQ(forms[0]->complete(), FormCore::Outcome::Close);
    for (auto &form : forms)
        form->close();
    EXPECT_EQ(byName(), (std::vector<std::string>{"Attic", "Cellar", "Kitchen"}));
}
