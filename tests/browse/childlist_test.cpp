// Parent lists and their child lists (offscreen): the child shows only the
// parent's records on both tabs, Insert files the new record under the
// parent, and the parent's button calls the child on the parent's thread.
#include "browse/browse.h"
#include "browse/browselayout.h"
#include "browse/forms.h"
#include "browse/lists/browses.h"
#include "browsefixture.h"
#include "testapp.h"

#include <QPushButton>
#include <QTabWidget>

namespace hk
{
namespace
{

using test::waitFor;

// The item form as far as a child list needs it: stores what it is given.
class StoringItemForm : public Procedure
{
  public:
    StoringItemForm() : Procedure(QStringLiteral("UpdateItems")) {}
    static inline Long roomSeen = -1;

  protected:
    QCoro::Task<> run() override
    {
        const Long request = GlobalRequest;
        GlobalRequest = 0;
        GlobalResponse = RequestCancelled;
        roomSeen = Itm.RoomsId;
        if (request == InsertRecord) {
            Itm.ItemsId = 900;
            Itm.Items = "Inserted";
            if (Items.add() == NoError) GlobalResponse = RequestCompleted;
        }
        co_return;
    }
};

class ChildList : public test::BrowseData
{
  protected:
    void SetUp() override
    {
        test::app();
        BrowseData::SetUp();
        addRoom(1, "Attic");
        addRoom(2, "Kitchen");
        addItem(1, "Vase", 1, "");
        addItem(2, "Kettle", 2, "K-1");
        addItem(3, "Bowl", 2, "");
        addItem(4, "Anvil", 1, "A-9");
        addBook(1, "Emma", "Austen", 1);
        addBook(2, "Dune", "Herbert", 2);
        addBook(3, "Ulysses", "Joyce", 1);
        addBook(4, "Aardvark", "Zola", 1);
    }
    void TearDown() override
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            w->close();
        waitFor([] {
            return SelectLocationThread == 0 && ItemsSelectLocationThread == 0 &&
                   BooksSelectCategoryThread == 0;
        });
        setFormProcedure(TableId::Items, {});
        BrowseData::TearDown();
    }
    static void addRoom(Long id, const std::string &name)
    {
        ItmRom = ItemsRoomsRecord{};
        ItmRom.RoomsId = id;
        ItmRom.Rooms = name;
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }
    static void addItem(Long id, const std::string &name, Long room, const std::string &serial)
    {
        Itm = ItemsRecord{};
        Itm.ItemsId = id;
        Itm.Items = name;
        Itm.RoomsId = room;
        Itm.SerialNumber = serial;
        ASSERT_EQ(Items.add(), NoError);
    }
    static Browse *open(const BrowseDef &def)
    {
        auto *b = qobject_cast<Browse *>(findProcedure(start(std::make_unique<Browse>(def))));
        if (b) waitFor([b] { return b->list() && b->list()->isVisible(); });
        QCoreApplication::processEvents();
        return b;
    }
    static std::vector<std::string> firstColumn(Browse *b)
    {
        std::vector<std::string> out;
        for (const BrowseRow &r : b->engine()->rows())
            out.push_back(std::get<std::string>(r.values.front()));
        return out;
    }
    static void showTab(Browse *b, int index)
    {
        b->content()->controlAs<QTabWidget>(BrowseControl::Sheet)->setCurrentIndex(index);
        QCoreApplication::processEvents();
    }
};

TEST_F(ChildList, ShowsOnlyTheParentsRecordsOnEitherTab)
{
    ItmRom.RoomsId = 2;
    ItmRom.Rooms = "Kitchen";
    Browse *items = open(itemsSelectLocationDef());
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(items->window()->windowTitle(), "Browse the Items File by Location");
    EXPECT_EQ(firstColumn(items), (std::vector<std::string>{"Bowl", "Kettle"}));
    showTab(items, 1); // only those with a serial number, still of this location
    EXPECT_EQ(firstColumn(items), (std::vector<std::string>{"Kettle"}));

    BokCat.BookCategoryId = 1;
    Browse *books = open(booksSelectCategoryDef());
    ASSERT_NE(books, nullptr);
    EXPECT_EQ(firstColumn(books), (std::vector<std::string>{"Aardvark", "Emma", "Ulysses"}));
    showTab(books, 1); // by author: Austen, Joyce, Zola
    EXPECT_EQ(firstColumn(books), (std::vector<std::string>{"Emma", "Ulysses", "Aardvark"}));
}

// Without children to show, the list still names the parent it belongs to;
// only what would come from a highlighted child is left out.
TEST_F(ChildList, AnEmptyChildListStillNamesItsParent)
{
    addRoom(3, "Shed");
    ItmRom.RoomsId = 3;
    ItmRom.Rooms = "Shed";
    Browse *items = open(itemsSelectLocationDef());
    ASSERT_NE(items, nullptr);
    EXPECT_TRUE(items->engine()->empty());
    const BuiltWindow &w = *items->content();
    for (const ControlLayout &c : itemsSelectLocationDef().layout.controls)
        if (c.text == "Location:") {
            EXPECT_FALSE(w.isControlHidden(c.id));
        }
    const auto &shown = itemsSelectLocationDef().displays;
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(w.isControlHidden(shown[0].control));
    EXPECT_EQ(w.value(shown[0].control), PictureValue{std::int64_t{3}});
    EXPECT_EQ(w.value(shown[1].control), PictureValue{std::string("Shed")});
}

TEST_F(ChildList, InsertFilesTheNewRecordUnderTheParent)
{
    setFormProcedure(TableId::Items, [] { return std::make_unique<StoringItemForm>(); });
    ItmRom.RoomsId = 1;
    Browse *items = open(itemsSelectLocationDef());
    ASSERT_NE(items, nullptr);
    items->content()->controlAs<QPushButton>(BrowseControl::Insert)->click();
    EXPECT_TRUE(waitFor([items] { return items->engine()->rows().size() == 3; }));
    EXPECT_EQ(StoringItemForm::roomSeen, 1);
    EXPECT_EQ(firstColumn(items), (std::vector<std::string>{"Anvil", "Inserted", "Vase"}));
    EXPECT_EQ(items->engine()->currentRow(), 2);
}

TEST_F(ChildList, TheParentsButtonCallsTheChildAndRefreshesAfter)
{
    Browse *rooms = open(selectLocationDef());
    ASSERT_NE(rooms, nullptr);
    EXPECT_TRUE(rooms->content()->control(BrowseControl::Select) == nullptr);
    rooms->engine()->scroll(ListScroll::RowDown); // Kitchen
    QCoreApplication::processEvents();
    rooms->content()->controlAs<QPushButton>(BrowseControl::ExtraButtonBase)->click();
    ASSERT_TRUE(waitFor([] { return ItemsSelectLocationThread != 0; }));
    auto *items = qobject_cast<Browse *>(findProcedure(ItemsSelectLocationThread));
    ASSERT_TRUE(waitFor([items] { return items->list() && items->list()->isVisible(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(firstColumn(items), (std::vector<std::string>{"Bowl", "Kettle"}));
    EXPECT_EQ(ItmRom.Rooms.str(), "Kitchen");

    items->content()->controlAs<QPushButton>(BrowseControl::Close)->click();
    EXPECT_TRUE(waitFor([] { return ItemsSelectLocationThread == 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(rooms->engine()->currentRow(), 2);
    EXPECT_TRUE(rooms->content()->control(BrowseControl::List)->isEnabled());
}

} // namespace
} // namespace hk
