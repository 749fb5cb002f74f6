#include "app/catalogue.h"
#include "browse/lists/browses.h"
#include "forms/formwindow.h"

#include "integrity/tableopen.h"
#include "platform/data/files.h"
#include "platform/windows/layout.h"
#include "programfixture.h"
#include "shell/frame.h"
#include "testapp.h"

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

using namespace hk;

namespace
{

class FormWindowTest : public ProgramTest
{
  protected:
    TablesInUse caller;
    int picks = 0;
    Long choice = 0; // the location the pick list chooses; 0: cancelled

    void SetUp() override
    {
        test::app();
        ProgramTest::SetUp();
        ASSERT_TRUE(caller.use({&HearthkpValue, &Items, &ItemsRooms}));
        ItmRom.RoomsId = 1;
        ItmRom.Rooms = "Kitchen";
        ASSERT_EQ(ItemsRooms.add(), NoError);
        setPickList([this](Procedure &, const std::string &name) -> QCoro::Task<bool> {
            ++picks;
            EXPECT_EQ(name, "PickLocation");
            if (choice) {
                ItmRom.RoomsId = choice;
                ItemsRooms.get(ItmRom.Primary);
            }
            co_return choice != 0;
        });
    }
    void TearDown() override
    {
        caller.release();
        ProgramTest::TearDown();
    }

    // Starts the items form and waits for its window.
    QPointer<FormProcedure> open(Long request)
    {
        GlobalRequest = request;
        auto form = std::make_unique<FormProcedure>(*findForm("UpdateItems"));
        QPointer<FormProcedure> p = form.get();
        start(std::move(form));
        EXPECT_TRUE(test::waitFor([&] { return p && p->form(); }));
        return p;
    }

    void type(FormProcedure &p, const char *field, const char *text)
    {
        PictureEntry *e = p.form()->entry(p.controlOf(field));
        ASSERT_NE(e, nullptr) << field;
        e->setText(QString::fromUtf8(text));
        e->setModified(true);
    }

    void press(FormProcedure &p, int button) { p.form()->controlAs<QPushButton>(button)->click(); }

    void addLamp()
    {
        Itm = ItemsRecord{};
        Itm.ItemsId = 1;
        Itm.Items = "Lamp";
        Itm.RoomsId = 1;
        ASSERT_EQ(Items.add(), NoError);
        ASSERT_EQ(Items.get(Itm.Primary), NoError);
    }
};

// A pick list with a window of its own in the document area, gone at once.
class PassingList : public Procedure
{
  public:
    PassingList() : Procedure(QStringLiteral("PickLocation")) {}

  protected:
    QCoro::Task<> run() override
    {
        auto *w = new QWidget;
        w->setWindowTitle(QStringLiteral("Select Location"));
        openDocument(w);
        QTimer::singleShot(20, this, [this] { window()->close(); });
        co_await untilClosed();
    }
};

} // namespace

TEST_F(FormWindowTest, AnInsertIsCheckedLookedUpAndStored)
{
    Itm = ItemsRecord{};
    QPointer<FormProcedure> p = open(InsertRecord);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->form()->windowTitle(), "New  (New)");
    EXPECT_EQ(p->form()->control(p->controlOf("ITM:VALUES"))->toolTip(),
              "Enter or Edit Value - Maximum 6.2 Digits");

    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(test::waitFor([&] { return !boxes.boxes().empty(); }));
    EXPECT_EQ(boxes.boxes().back().title, "Please enter Item");
    EXPECT_EQ(boxes.boxes().back().text, "Items field must be completed before accepted !");

    type(*p, "ITM:ITEMS", "Lamp");
    type(*p, "Itm:RoomsId", "42"); // no such location: the pick list opens
    type(*p, "ITM:VALUES", "20.00");
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(test::waitFor([&] { return picks == 1; }));
    EXPECT_TRUE(p); // cancelled: the form stays open

    choice = 42; // a choice that still matches nothing
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(test::waitFor([&] { return picks == 2; }));
    ASSERT_TRUE(test::waitFor([&] { return boxes.boxes().size() == 2; }));
    EXPECT_EQ(boxes.boxes().back().title, "Field Contents Error");
    EXPECT_EQ(boxes.boxes().back().text,
              "The value for Unique Rooms Identifier must be found in the ItemsRooms file.");

    choice = 1;
    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(picks, 3);
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(Itm.Items.str(), "Lamp");
    EXPECT_EQ(Itm.RoomsId, 1);
    EXPECT_EQ(Items.records(), 1);
}

// No entry's picture shows a sign: a value typed with a minus is refused
// as the import refuses it, and the value shown stays.
TEST_F(FormWindowTest, AValueBelowZeroIsRefused)
{
    QPointer<FormProcedure> p = open(InsertRecord);
    ASSERT_TRUE(p);
    PictureEntry *value = p->form()->entry(p->controlOf("ITM:VALUES"));
    type(*p, "ITM:VALUES", "20.00");
    ASSERT_TRUE(value->accept());
    type(*p, "ITM:VALUES", "-5.00");
    EXPECT_FALSE(value->accept());
    EXPECT_EQ(value->text(), "20.00");
    EXPECT_EQ(boxes.beeps().size(), 1u);
    press(*p, FormProcedure::CancelButton);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(Items.records(), 0);
}

TEST_F(FormWindowTest, ADeleteShowsTheRecordReadOnlyAndOkDeletes)
{
    Itm = ItemsRecord{};
    Itm.ItemsId = 1;
    Itm.Items = "Lamp";
    Itm.RoomsId = 1;
    ASSERT_EQ(Items.add(), NoError);
    ASSERT_EQ(Items.get(Itm.Primary), NoError);

    QPointer<FormProcedure> p = open(DeleteRecord);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->form()->windowTitle(), "Delete  (Lamp)");
    for (const char *field : {"ITM:ITEMS", "Itm:RoomsId", "ITM:VALUES", "ITM:NOTES"})
        EXPECT_FALSE(p->form()->control(p->controlOf(field))->isEnabled()) << field;
    EXPECT_TRUE(p->form()->control(FormProcedure::OkButton)->isEnabled());

    press(*p, FormProcedure::OkButton);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_TRUE(boxes.boxes().empty()); // no further question
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(Items.records(), 0);
}

TEST_F(FormWindowTest, AnItemWithALocationSkipsItsNumberAfterTheDescription)
{
    Itm = ItemsRecord{};
    Itm.ItemsId = 1;
    Itm.Items = "Lamp";
    Itm.RoomsId = 1;
    ASSERT_EQ(Items.add(), NoError);
    ASSERT_EQ(Items.get(Itm.Primary), NoError);
    QPointer<FormProcedure> p = open(ChangeRecord);
    ASSERT_TRUE(p);
    const int number = p->controlOf("Itm:RoomsId");
    EXPECT_TRUE(p->form()->control(number)->isEnabled());
    type(*p, "Itm:Description", "Brass, with a green shade");
    ASSERT_TRUE(p->form()->entry(p->controlOf("Itm:Description"))->accept());
    EXPECT_FALSE(p->form()->control(number)->isEnabled());
    // The button still changes it.
    EXPECT_TRUE(p->form()->control(number + 1)->isEnabled());
    p->form()->controlAs<QPushButton>(FormProcedure::CancelButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

TEST_F(FormWindowTest, EnterAcceptsEscapeCancelsAndADeleteStartsOnOk)
{
    Itm = ItemsRecord{};
    QPointer<FormProcedure> p = open(InsertRecord);
    ASSERT_TRUE(p);
    QTest::keyClick(p->form()->control(p->controlOf("ITM:NOTES")), Qt::Key_Escape);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(GlobalResponse, RequestCancelled);
    EXPECT_EQ(Items.records(), 0); // the placeholder went with the form

    Itm = ItemsRecord{};
    p = open(InsertRecord);
    ASSERT_TRUE(p);
    p->form()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p->form()));
    QWidget *item = p->form()->control(p->controlOf("ITM:ITEMS"));
    item->setFocus();
    QTest::keyClicks(item, "Lamp");
    QTest::keyClick(item, Qt::Key_Tab);
    QWidget *location = p->form()->control(p->controlOf("Itm:RoomsId"));
    QTest::keyClicks(location, "1");
    QTest::keyClick(location, Qt::Key_Return); // OK is the default button
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(GlobalResponse, RequestCompleted);
    EXPECT_EQ(picks, 0);
    ASSERT_EQ(Items.records(), 1);

    ASSERT_EQ(Items.get(Itm.Primary), NoError);
    p = open(DeleteRecord);
    ASSERT_TRUE(p);
    p->form()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p->form()));
    EXPECT_EQ(QApplication::focusWidget(), p->form()->control(FormProcedure::OkButton));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    EXPECT_EQ(Items.records(), 0);
}

// The look-up button takes no focus, so the entry being typed in is never
// left: a choice must not wipe what it holds.
TEST_F(FormWindowTest, ALookUpKeepsTextTypedInAnEntryNotYetLeft)
{
    choice = 1;
    Itm = ItemsRecord{};
    QPointer<FormProcedure> p = open(InsertRecord);
    ASSERT_TRUE(p);
    QWidget *item = p->form()->control(p->controlOf("ITM:ITEMS"));
    item->setFocus();
    QTest::keyClicks(item, "Lamp");
    QPushButton *lookUp = nullptr;
    for (auto *b : p->form()->findChildren<QPushButton *>())
        if (b->text() == "...") lookUp = b;
    ASSERT_NE(lookUp, nullptr);
    lookUp->click();
    ASSERT_TRUE(test::waitFor([&] { return picks == 1; }));
    ASSERT_TRUE(test::waitFor([&] {
        const PictureValue chosen = p->form()->value(p->controlOf("Itm:RoomsId"));
        const auto *number = std::get_if<std::int64_t>(&chosen);
        return number && *number == 1;
    }));
    EXPECT_EQ(p->form()->entry(p->controlOf("ITM:ITEMS"))->text(), "Lamp");
    press(*p, FormProcedure::CancelButton);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
}

TEST_F(FormWindowTest, APickListGivesTheFocusBackToTheForm)
{
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    area.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&area));
    setDocumentArea(&area);
    setPickList([this](Procedure &caller, const std::string &) -> QCoro::Task<bool> {
        ++picks;
        co_await caller.call(std::make_unique<PassingList>());
        if (choice) {
            ItmRom.RoomsId = choice;
            ItemsRooms.get(ItmRom.Primary);
        }
        co_return choice != 0;
    });
    addLamp();
    QPointer<FormProcedure> p = open(ChangeRecord);
    ASSERT_TRUE(p);
    auto *sub = qobject_cast<QMdiSubWindow *>(p->window());
    ASSERT_NE(sub, nullptr);
    QWidget *lookup = p->form()->control(p->controlOf("Itm:RoomsId"));

    for (Long chosen : {Long(0), Long(1)}) {
        choice = chosen;
        lookup->setFocus();
        const int before = picks;
        QTest::keyClicks(lookup, "9");
        QTest::keyClick(lookup, Qt::Key_Tab); // no location 19: the pick list opens
        ASSERT_TRUE(test::waitFor([&] { return picks > before; }));
        // Typing goes on where it was left, or after the lookup once chosen.
        QWidget *expected = chosen ? p->form()->control(p->controlOf("ITM:QUANTITY")) : lookup;
        ASSERT_TRUE(test::waitFor([&] {
            return area.activeSubWindow() == sub && QApplication::focusWidget() == expected;
        })) << "choice "
            << chosen;
    }
    EXPECT_EQ(p->form()->value(p->controlOf("Itm:RoomsId")), PictureValue{std::int64_t{1}});
    press(*p, FormProcedure::CancelButton);
    ASSERT_TRUE(test::waitFor([&] { return !p; }));
    setDocumentArea(nullptr);
}

namespace
{

QAction *menuEntry(QMainWindow &frame, const QString &text)
{
    for (QAction *top : frame.menuBar()->actions())
        for (QAction *a : top->menu() ? top->menu()->actions() : QList<QAction *>())
            if (a->text() == text) return a;
    return nullptr;
}

// The running procedure of that name with a window, if any.
Procedure *running(const QString &name)
{
    for (Long id = 1; id < 500; ++id)
        if (Procedure *p = findProcedure(id); p && p->name() == name && p->window()) return p;
    return nullptr;
}

} // namespace

TEST_F(FormWindowTest, ExitWhileAnInsertFormAwaitsItsPickListLeavesNothingBehind)
{
    // The program as the user runs it: the items list calls its form, the
    // form calls the location pick list, and then File > Exit is chosen.
    test::giveOwner();
    registerForms();
    setPickList([](Procedure &caller, const std::string &name) -> QCoro::Task<bool> {
        GlobalRequest = SelectRecord;
        co_await caller.call(programProcedures().at(QString::fromStdString(name))());
        co_return GlobalResponse == RequestCompleted;
    });
    const Long mainId =
        start(std::make_unique<Main>(programProcedures(), std::chrono::minutes(10)));
    auto *frame = qobject_cast<QMainWindow *>(findProcedure(mainId)->window());
    ASSERT_NE(frame, nullptr);
    QObject::connect(findProcedure(mainId), &Procedure::done, qApp, &QApplication::quit);

    menuEntry(*frame, "Browse &Items")->trigger();
    Procedure *list = nullptr;
    ASSERT_TRUE(test::waitFor([&] { return (list = running("BrowseItems")); }));
    for (QPushButton *b : list->window()->findChildren<QPushButton *>())
        if (b->text() == "&Insert") b->click();
    QPointer<FormProcedure> form;
    ASSERT_TRUE(test::waitFor([&] {
        return (form = qobject_cast<FormProcedure *>(running("UpdateItems"))) && form->form();
    }));
    EXPECT_EQ(Items.records(), 1); // the placeholder
    form->form()->controlAs<QPushButton>(form->controlOf("Itm:RoomsId") + 1)->click();
    ASSERT_TRUE(test::waitFor([&] { return running("PickLocation"); }));

    // As the program runs: the event loop ends when the frame is done.
    QTimer::singleShot(0, frame, [frame] { menuEntry(*frame, "E&xit")->trigger(); });
    QApplication::exec();
    test::waitFor([&] { return !form && !running("PickLocation"); });
    EXPECT_FALSE(findProcedure(mainId));
    EXPECT_EQ(Items.records(), 0);
}
