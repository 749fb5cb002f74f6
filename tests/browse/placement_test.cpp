// The placement windows as the user meets them (offscreen, on a real data
// file): a child dropped on another parent's row moves there and leaves the
// old parent's list at once, with the figures following; a drop on its own
// parent, on no row, or with another drag's identifier writes nothing.
#include "browse/browsefixture.h"
#include "browse/listcontrol.h"
#include "browse/lists/browses.h"
#include "browse/lists/placement.h"
#include "forms/formwindow.h"
#include "testapp.h"

#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <cstring>
#include <sqlite3.h>

namespace hk
{
namespace
{

using test::waitFor;

// The window with the user's drag stood in for: what happens between the
// start of the drag and the drop, then the drop itself.
class Dragging : public Placement
{
  public:
    using Placement::Placement;
    std::function<void()> meanwhile;
    QPoint dropAt;

  protected:
    void runDrag(QDrag &) override
    {
        if (meanwhile) meanwhile();
        drop(DragIdentifier, dropAt);
    }
};

class Place : public test::BrowseData
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
        waitFor([] {
            return PlaceItemsThread == 0 && PlaceBooksThread == 0 && PlaceArticlesThread == 0;
        });
        BrowseData::TearDown();
    }

    static void addLocation(Long id, const std::string &name)
    {
        ItmRom = ItemsRoomsRecord{};
        ItmRom.RoomsId = id;
        ItmRom.Rooms = name;
        ASSERT_EQ(ItemsRooms.add(), NoError);
    }
    static void addItem(Long id, const std::string &name, Long room, std::int64_t cents)
    {
        Itm = ItemsRecord{};
        Itm.ItemsId = id;
        Itm.Items = name;
        Itm.Description = "desc " + name;
        Itm.RoomsId = room;
        Itm.Quantity = 3;
        Itm.Values = *Decimal<5>::fromCents(cents);
        Itm.SerialNumber = "SN" + std::to_string(id);
        ASSERT_EQ(Items.add(), NoError);
    }
    static ItemsRecord stored(Long id)
    {
        Itm = ItemsRecord{};
        Itm.ItemsId = id;
        EXPECT_EQ(Items.get(Itm.Primary), NoError);
        return Itm;
    }

    Placement *open(const PlaceDef &def) { return open(std::make_unique<Placement>(def)); }
    Placement *open(std::unique_ptr<Placement> window)
    {
        const Long id = start(std::move(window));
        auto *w = qobject_cast<Placement *>(findProcedure(id));
        if (w) waitFor([w] { return w->firstList() && w->firstList()->isVisible(); });
        settle();
        return w;
    }
    static void settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
    // A drop as the toolkit delivers it to the parent list.
    static void dropOn(Placement *w, QPoint at, const char *identifier = DragIdentifier)
    {
        QMimeData mime;
        mime.setData(DragMimeType, QByteArray(identifier));
        QWidget *port = w->firstList()->view()->viewport();
        QDragEnterEvent enter(at, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(port, &enter);
        QDropEvent drop(QPointF(at), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(port, &drop);
        settle();
    }
    static QPoint rowAt(Placement *w, int row)
    {
        QTreeView *v = w->firstList()->view();
        return v->visualRect(v->model()->index(row, 0)).center();
    }
    static QPoint childAt(Placement *w, int row)
    {
        QTreeView *v = w->secondList()->view();
        return v->visualRect(v->model()->index(row, 0)).center();
    }
    // Ctrl+click on each of these child rows (from 0), then a drag from the
    // first of them.
    static void chooseAndDrag(Placement *w, std::initializer_list<int> rows)
    {
        QWidget *port = w->secondList()->view()->viewport();
        for (int r : rows)
            QTest::mouseClick(port, Qt::LeftButton, Qt::ControlModifier, childAt(w, r));
        settle();
        const QPoint from = childAt(w, *rows.begin());
        QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(port, from + QPoint(0, 3 * QApplication::startDragDistance()));
        QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, from);
        settle();
    }
    std::unique_ptr<Dragging> dragging(QPoint target = {})
    {
        auto w = std::make_unique<Dragging>(placeItemsDef());
        w->dropAt = target;
        return w;
    }
    static std::vector<std::string> children(Placement *w)
    {
        std::vector<std::string> out;
        for (const BrowseRow &r : w->secondEngine()->rows())
            out.push_back(std::get<std::string>(r.values.at(0)));
        return out;
    }
    std::int64_t shown(Placement *w, int id)
    {
        const PictureValue v = w->content()->value(id);
        if (auto *h = std::get_if<Hundredths>(&v)) return h->cents;
        return std::get<std::int64_t>(v);
    }
};

TEST_F(Place, DropOnAnotherLocationMovesOnlyTheLinkAndRefillsTheList)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    addItem(11, "Rug", 1, 1000);
    const ItemsRecord before = stored(10);
    Hkv = HearthkpValueRecord{};
    Hkv.InventoryItems = *Decimal<5>::fromCents(3500);
    ASSERT_EQ(HearthkpValue.add(), NoError);
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    const PlaceDef &d = placeItemsDef();
    EXPECT_EQ(children(w), (std::vector<std::string>{"Lamp", "Rug"}));
    EXPECT_EQ(shown(w, d.countDisplay), 2);
    EXPECT_EQ(shown(w, d.sumDisplay), 3500);
    const std::int64_t total = shown(w, d.linked.first.sorts[0].total);

    dropOn(w, rowAt(w, 1)); // the highlighted Lamp onto Kitchen
    EXPECT_TRUE(messages.boxes().empty());
    ItemsRecord after = stored(10);
    EXPECT_EQ(after.RoomsId, 2);
    after.RoomsId = before.RoomsId;
    EXPECT_EQ(std::memcmp(&after, &before, sizeof before), 0) << "other fields changed";
    EXPECT_EQ(children(w), (std::vector<std::string>{"Rug"}));
    EXPECT_EQ(shown(w, d.countDisplay), 1);
    EXPECT_EQ(shown(w, d.sumDisplay), 1000);
    EXPECT_EQ(total, 3500);
    EXPECT_EQ(shown(w, d.linked.first.sorts[0].total), total);
}

// The figures are kept while the list scrolls, but another station's new
// item shows in them once the window reads its page again.
TEST_F(Place, AnotherStationsItemReachesTheFigures)
{
    addLocation(1, "Attic");
    addItem(10, "Lamp", 1, 2500);
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    const PlaceDef &d = placeItemsDef();
    EXPECT_EQ(shown(w, d.countDisplay), 1);

    DataFile other(DataFile::program().path());
    ItemsRecord r{};
    Table items(TableId::Items, &r, &other);
    ASSERT_EQ(items.open(), NoError);
    r.ItemsId = 11;
    r.RoomsId = 1;
    r.Items = "Rug";
    r.Values = *Decimal<5>::fromCents(1000);
    ASSERT_EQ(items.add(), NoError);
    ASSERT_EQ(items.close(), NoError);

    post(w->id(), Notice::gainFocus());
    EXPECT_TRUE(test::waitFor([&] { return shown(w, d.countDisplay) == 2; }));
    EXPECT_EQ(shown(w, d.sumDisplay), 3500);
}

// Side by side, no button lies over another and no control starts outside
// the window.
TEST_F(Place, ControlsOfBothListsStayApartAndInside)
{
    for (const PlaceDef *d : {&placeItemsDef(), &placeBooksDef(), &placeArticlesDef()}) {
        const auto &controls = d->linked.layout.controls;
        for (std::size_t i = 0; i < controls.size(); ++i) {
            EXPECT_GE(controls[i].design.left(), 0) << controls[i].text;
            for (std::size_t j = i + 1; j < controls.size(); ++j)
                if (controls[i].kind == ControlKind::Button &&
                    controls[j].kind == ControlKind::Button) {
                    EXPECT_FALSE(controls[i].design.intersects(controls[j].design))
                        << controls[i].text << " / " << controls[j].text;
                }
        }
    }
}

TEST_F(Place, DropsWithoutATargetWriteNothing)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp  ", 1, 2500);
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);

    dropOn(w, rowAt(w, 0)); // its own location
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].title, "Please select another location");
    EXPECT_EQ(messages.boxes()[0].text, "This item: Lamp is already in the Attic location !");

    const QTreeView *v = w->firstList()->view();
    dropOn(w, QPoint(5, v->viewport()->height() - 2)); // below the last row
    dropOn(w, rowAt(w, 1), "Other");                   // another drag
    EXPECT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(stored(10).RoomsId, 1);
}

TEST_F(Place, WithoutLocationsADropAsksForOne)
{
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    dropOn(w, QPoint(5, 5));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].title, "Change location");
    EXPECT_EQ(messages.boxes()[0].text, "You must create a location first!");
}

TEST_F(Place, ARefusedMoveOffersRetryAndLeavesTheItemWhereItWas)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    ASSERT_EQ(sqlite3_exec(Items.file().db(),
                           "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON Items "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    messages.answer(ButtonOk);  // the write's own warning
    messages.answer(ButtonYes); // warning 16: try again; the second time, the default (Cancel)
    dropOn(w, rowAt(w, 1));
    int retries = 0;
    for (const MessageRequest &m : messages.boxes())
        if (m.text.find("try to save again") != std::string::npos) ++retries;
    EXPECT_EQ(retries, 2);
    sqlite3_exec(Items.file().db(), "DROP TRIGGER temp.refuse", nullptr, nullptr, nullptr);
    EXPECT_EQ(stored(10).RoomsId, 1);
    EXPECT_EQ(children(w), (std::vector<std::string>{"Lamp"}));
}

TEST_F(Place, BooksMoveBetweenCategories)
{
    addCategory(1, "Cookery");
    addCategory(2, "Garden");
    addBook(10, "Soups", "Cook", 1);
    Placement *w = open(placeBooksDef());
    ASSERT_TRUE(w);
    dropOn(w, rowAt(w, 0));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].text, "This book: Soups is already in the Cookery category !");
    dropOn(w, rowAt(w, 1));
    Bok = BooksRecord{};
    Bok.BooksId = 10;
    ASSERT_EQ(Books.get(Bok.Primary), NoError);
    EXPECT_EQ(Bok.BookCategoryId, 2);
    EXPECT_TRUE(children(w).empty());
}

TEST_F(Place, ArticlesAreOnlyMovedNeverEdited)
{
    TablesInUse mags{&MagName, &MagYear, &MagIssue, &MagArticle, &MagCategory};
    ASSERT_TRUE(mags.ok());
    for (Long id : {1, 2}) {
        Cat = MagCategoryRecord{};
        Cat.MagazineCategoryId = id;
        Cat.MagazineCategory = id == 1 ? "Cars" : "Travel";
        ASSERT_EQ(MagCategory.add(), NoError);
    }
    Art = MagArticleRecord{};
    Art.MagazineArticleId = 5;
    Art.Article = "Road trips";
    Art.MagazineCategoryId = 1;
    ASSERT_EQ(MagArticle.add(), NoError);
    Placement *w = open(placeArticlesDef());
    ASSERT_TRUE(w);
    QStringList buttons;
    for (const QPushButton *b : w->content()->findChildren<QPushButton *>())
        buttons << b->text();
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("Close"), QStringLiteral("Help")}));
    dropOn(w, rowAt(w, 1));
    Art = MagArticleRecord{};
    Art.MagazineArticleId = 5;
    ASSERT_EQ(MagArticle.get(Art.Primary), NoError);
    EXPECT_EQ(Art.MagazineCategoryId, 2);
}

// The highlighted item and two more chosen with Ctrl+click, dragged to the
// kitchen: all three move, each only in its location; the figures follow.
TEST_F(Place, SeveralChosenChildrenMoveTogether)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    addItem(11, "Rug", 1, 1000);
    addItem(12, "Vase", 1, 300);
    addItem(13, "Wok", 1, 700);
    std::vector<ItemsRecord> before;
    for (Long id : {10, 11, 13})
        before.push_back(stored(id));
    auto made = dragging();
    Dragging *w = made.get();
    ASSERT_TRUE(open(std::move(made)));
    w->dropAt = rowAt(w, 1);
    chooseAndDrag(w, {1, 3});
    EXPECT_TRUE(messages.boxes().empty());
    EXPECT_EQ(children(w), (std::vector<std::string>{"Vase"}));
    EXPECT_EQ(shown(w, placeItemsDef().countDisplay), 1);
    for (ItemsRecord b : before) {
        ItemsRecord after = stored(b.ItemsId);
        EXPECT_EQ(after.RoomsId, 2);
        after.RoomsId = b.RoomsId;
        EXPECT_EQ(std::memcmp(&after, &b, sizeof b), 0) << "other fields of " << b.ItemsId;
    }
}

// One of the chosen items refused by the file: none of them moves.
TEST_F(Place, ASeveralMoveRefusedHalfWayLeavesEveryChildWhereItWas)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    addItem(11, "Rug", 1, 1000);
    addItem(12, "Vase", 1, 300);
    ASSERT_EQ(sqlite3_exec(Items.file().db(),
                           "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON Items "
                           "WHEN NEW.ItemsId = 12 BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    auto made = dragging();
    Dragging *w = made.get();
    ASSERT_TRUE(open(std::move(made)));
    w->dropAt = rowAt(w, 1);
    chooseAndDrag(w, {1, 2}); // the refused Vase comes last
    sqlite3_exec(Items.file().db(), "DROP TRIGGER temp.refuse", nullptr, nullptr, nullptr);
    ASSERT_FALSE(messages.boxes().empty());
    EXPECT_EQ(messages.boxes().back().title, "Record Update Error");
    for (Long id : {10, 11, 12})
        EXPECT_EQ(stored(id).RoomsId, 1) << id;
    EXPECT_EQ(children(w), (std::vector<std::string>{"Lamp", "Rug", "Vase"}));
}

// Another station changes a dragged item before the drop: warning 16, and
// no item moves.
TEST_F(Place, AnItemChangedElsewhereDuringTheDragEndsInItsWarning)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    addItem(11, "Rug", 1, 1000);
    auto made = dragging();
    Dragging *w = made.get();
    ASSERT_TRUE(open(std::move(made)));
    w->dropAt = rowAt(w, 1);
    w->meanwhile = [] {
        DataFile other(DataFile::program().path());
        ASSERT_EQ(other.connect(false, "Items"), NoError);
        ASSERT_EQ(sqlite3_exec(other.db(), "UPDATE Items SET Quantity = 9 WHERE ItemsId = 11",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    };
    chooseAndDrag(w, {1});
    int warnings16 = 0;
    for (const MessageRequest &m : messages.boxes())
        if (m.text.find("try to save again") != std::string::npos) ++warnings16;
    EXPECT_EQ(warnings16, 1);
    EXPECT_EQ(stored(10).RoomsId, 1);
    EXPECT_EQ(stored(11).RoomsId, 1);
    EXPECT_EQ(stored(11).Quantity, 9);
}

TEST_F(Place, SeveralAlreadyThereAreNamedInOneMessage)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    addItem(11, "Rug", 1, 1000);
    auto made = dragging();
    Dragging *w = made.get();
    ASSERT_TRUE(open(std::move(made)));
    w->dropAt = rowAt(w, 0);
    chooseAndDrag(w, {1});
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].text,
              "These items: Lamp, Rug are already in the Attic location !");
}

// "Move to…" from the keyboard: Shift+F10 opens the child list's popup, the
// pick list gives the parent, and the chosen items move as a drop there
// would move them, with the same message for those already there.
TEST_F(Place, MoveToAsksThePickListForTheParent)
{
    addLocation(1, "Attic");
    addLocation(2, "Kitchen");
    addItem(10, "Lamp", 1, 2500);
    addItem(11, "Rug", 1, 1000);
    addItem(12, "Vase", 1, 300);
    std::vector<std::string> asked;
    Long choice = 0;
    setPickList([&](Procedure &, const std::string &name) -> QCoro::Task<bool> {
        asked.push_back(name);
        if (choice) {
            ItmRom = ItemsRoomsRecord{};
            ItmRom.RoomsId = choice;
            ItemsRooms.get(ItmRom.Primary);
        }
        co_return choice != 0;
    });
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    QWidget *port = w->secondList()->view()->viewport();
    QTest::mouseClick(port, Qt::LeftButton, Qt::ControlModifier, childAt(w, 2));
    settle();
    auto moveTo = [&](Long pick) {
        choice = pick;
        QTest::keyClick(w->secondList()->view(), Qt::Key_F10, Qt::ShiftModifier);
        QAction *entry = nullptr;
        for (QMenu *m : w->content()->findChildren<QMenu *>())
            for (QAction *a : m->actions())
                if (m->isVisible() && a->text() == QStringLiteral("&Move to…")) entry = a;
        ASSERT_TRUE(entry);
        ASSERT_TRUE(entry->isEnabled());
        entry->trigger();
        settle();
    };

    moveTo(0); // the pick list cancelled
    moveTo(1); // their own location
    EXPECT_EQ(asked, (std::vector<std::string>{"PickLocation", "PickLocation"}));
    ASSERT_EQ(messages.boxes().size(), 1u);
    EXPECT_EQ(messages.boxes()[0].text,
              "These items: Lamp, Vase are already in the Attic location !");
    EXPECT_EQ(children(w), (std::vector<std::string>{"Lamp", "Rug", "Vase"}));

    QTest::mouseClick(port, Qt::LeftButton, Qt::NoModifier, childAt(w, 0));
    QTest::mouseClick(port, Qt::LeftButton, Qt::ControlModifier, childAt(w, 2));
    settle();
    moveTo(2);
    EXPECT_EQ(children(w), (std::vector<std::string>{"Rug"}));
    EXPECT_EQ(stored(10).RoomsId, 2);
    EXPECT_EQ(stored(12).RoomsId, 2);
    EXPECT_EQ(shown(w, placeItemsDef().countDisplay), 1);
}

TEST_F(Place, BothListsSayTheyAreBrowsedInTheStatusBar)
{
    addLocation(1, "Attic");
    addItem(10, "Lamp", 1, 2500);
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    w->window()->activateWindow();
    QSignalSpy said(w->content(), &BuiltWindow::statusMessage);
    for (PagedList *l : {w->secondList(), w->firstList()}) {
        said.clear();
        l->view()->setFocus();
        ASSERT_TRUE(waitFor([&] { return !said.isEmpty(); }));
        EXPECT_EQ(said.last().at(0).toString(), QStringLiteral("Browsing Records"));
    }
}

// The list commands of a placement window say "Click to ..." in their tips
// and what they do in the status bar.
TEST_F(Place, CommandButtonsTipAndTellTheStatusBar)
{
    addLocation(1, "Attic");
    Placement *w = open(placeItemsDef());
    ASSERT_TRUE(w);
    w->window()->activateWindow();
    QSignalSpy said(w->content(), &BuiltWindow::statusMessage);
    const std::vector<std::pair<QString, QString>> expected = {
        {"&Insert", "Add New Entry"},
        {"&Change", "Change Highlighted Entry"},
        {"&Delete", "Delete Highlighted Entry"}};
    for (const auto &[caption, message] : expected) {
        std::vector<QPushButton *> buttons;
        for (QPushButton *b : w->content()->findChildren<QPushButton *>())
            if (b->text() == caption) buttons.push_back(b);
        ASSERT_EQ(buttons.size(), 2u) << caption.toStdString(); // under each list
        for (QPushButton *b : buttons) {
            EXPECT_EQ(b->toolTip(), "Click to " + message);
            if (!b->isEnabled()) continue;
            said.clear();
            b->setFocus();
            ASSERT_TRUE(waitFor([&] { return !said.isEmpty(); }));
            EXPECT_EQ(said.last().at(0).toString(), message);
        }
    }
}

} // namespace
} // namespace hk
