#include "platform/messages.h"
#include "platform/windows/layout.h"
#include "qtapp.h"

#include "dictionary/types.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeView>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <map>

using namespace hk;

namespace
{

enum : int {
    Sheet1 = 1,
    TabGeneral,
    TabMore,
    ItemPrompt,
    ItemEntry,
    ValueEntry,
    CounterEntry,
    TotalDisplay,
    NotePrompt,
    NoteEntry,
    KindOption,
    KindNew,
    KindUsed,
    CoverList,
    BookList,
    OkButton,
    CancelButton,
    IgnoreCheck,
};

WindowLayout itemsForm()
{
    WindowLayout w;
    w.title = "Update the Items File";
    w.size = QSize(358, 154);
    w.kind = WindowKind::Dialog;
    using K = ControlKind;
    w.controls = {
        {.id = Sheet1, .kind = K::Sheet, .design = {4, 4, 350, 124}},
        {.id = TabGeneral, .kind = K::Tab, .parent = Sheet1, .text = "General"},
        {.id = ItemPrompt,
         .kind = K::Prompt,
         .design = {12, 24, 40, 10},
         .parent = TabGeneral,
         .text = "&Item:"},
        {.id = ItemEntry,
         .kind = K::Entry,
         .design = {60, 24, 84, 10},
         .parent = TabGeneral,
         .tip = "Enter or Edit Item - Maximum 20 Characters",
         .message = "Name of Item",
         .picture = "s20"},
        {.id = ValueEntry,
         .kind = K::Entry,
         .design = {60, 38, 48, 10},
         .parent = TabGeneral,
         .tip = "Enter or Edit Value - Maximum 6.2 Digits",
         .message = "Value of Item",
         .picture = "n10.2B"},
        {.id = CounterEntry,
         .kind = K::Entry,
         .design = {60, 52, 40, 10},
         .parent = TabGeneral,
         .picture = "T4"},
        {.id = TotalDisplay,
         .kind = K::Display,
         .design = {160, 38, 60, 10},
         .parent = TabGeneral,
         .picture = "n12.2B",
         .flags = FlagRight},
        {.id = KindOption,
         .kind = K::Option,
         .design = {160, 52, 80, 30},
         .parent = TabGeneral,
         .text = "Kind"},
        {.id = KindNew,
         .kind = K::Radio,
         .design = {164, 60, 40, 10},
         .parent = KindOption,
         .text = "New"},
        {.id = KindUsed,
         .kind = K::Radio,
         .design = {164, 70, 40, 10},
         .parent = KindOption,
         .text = "Used"},
        {.id = CoverList,
         .kind = K::DropList,
         .design = {60, 66, 60, 0},
         .parent = TabGeneral,
         .items = {"Hard Cover", "Paperback"}},
        {.id = TabMore, .kind = K::Tab, .parent = Sheet1, .text = "More", .tip = "More details"},
        {.id = NotePrompt,
         .kind = K::Prompt,
         .design = {12, 24, 40, 10},
         .parent = TabMore,
         .text = "&Note:"},
        {.id = NoteEntry,
         .kind = K::Entry,
         .design = {60, 24, 200, 10},
         .parent = TabMore,
         .message = "Additional Note",
         .picture = "s80"},
        {.id = BookList,
         .kind = K::List,
         .design = {12, 40, 300, 60},
         .parent = TabMore,
         .tip = "Browsing Records",
         .listFormat =
             "220L(1)|M~Title~C(0)@s45@130L(1)|M~Author~C(0)@s25@44R(1)~Value~C(0)@n9.2B@"},
        {.id = OkButton,
         .kind = K::Button,
         .design = {250, 134, 45, 14},
         .text = "OK",
         .tip = "Click to Accept",
         .message = "Accept",
         .flags = FlagDefault},
        {.id = CancelButton,
         .kind = K::Button,
         .design = {300, 134, 45, 14},
         .text = "Cancel",
         .flags = FlagDisabled},
        {.id = IgnoreCheck,
         .kind = K::Check,
         .design = {12, 134, 60, 10},
         .text = "Ignore Case",
         .flags = FlagHidden},
    };
    return w;
}

class LayoutTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        test::qtApp();
        setMessageService(&messages_);
        window_ = BuiltWindow::build(itemsForm(), DialogUnits(8, 16)); // 2 px a unit each way
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }
    void TearDown() override
    {
        window_.reset();
        setMessageService(nullptr);
    }
    // Types text into an entry as the user would and leaves it with Tab.
    void typeInto(int id, const QString &text)
    {
        PictureEntry *e = window_->entry(id);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

    ScriptedMessageService messages_;
    std::unique_ptr<BuiltWindow> window_;
};

} // namespace

TEST_F(LayoutTest, PlacesEveryControlFromItsDesignInDialogUnits)
{
    EXPECT_EQ(window_->windowTitle(), "Update the Items File");
    EXPECT_EQ(window_->size(), QSize(716, 308));
    EXPECT_EQ(window_->minimumSize(), QSize(716, 308)); // the design size is the least
    EXPECT_EQ(window_->control(ItemEntry)->geometry(), QRect(120, 48, 168, 20));
    EXPECT_EQ(window_->designRect(OkButton), QRect(500, 268, 90, 28));
    EXPECT_EQ(window_->control(CoverList)->height(),
              window_->control(CoverList)->sizeHint().height()); // height 0: natural

    EXPECT_EQ(window_->control(ItemEntry)->toolTip(), "Enter or Edit Item - Maximum 20 Characters");
    EXPECT_EQ(window_->control(ItemEntry)->statusTip(), "Name of Item");
    EXPECT_EQ(window_->controlAs<QLabel>(ItemPrompt)->buddy(), window_->control(ItemEntry));
    EXPECT_TRUE(window_->controlAs<QPushButton>(OkButton)->isDefault());
    EXPECT_FALSE(window_->control(CancelButton)->isEnabled());
    EXPECT_TRUE(window_->isControlHidden(IgnoreCheck));
    EXPECT_EQ(window_->controlAs<QComboBox>(CoverList)->count(), 2);

    auto *sheet = window_->controlAs<QTabWidget>(Sheet1);
    EXPECT_EQ(sheet->tabText(1), "More");
    EXPECT_EQ(sheet->tabToolTip(1), "More details");

    auto *list = window_->controlAs<QTreeView>(BookList);
    ASSERT_EQ(list->model()->columnCount(), 3);
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), "Author");
    EXPECT_EQ(list->header()->sectionSize(0), 440);
    EXPECT_EQ(list->header()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(list->header()->sectionResizeMode(2), QHeaderView::Fixed);

    const WindowLayout bad = {"Bad",
                              QSize(10, 10),
                              WindowKind::Dialog,
                              true,
                              {},
                              {{1, ControlKind::Button}, {1, ControlKind::Check}}};
    EXPECT_THROW(BuiltWindow::build(bad, DialogUnits(8, 16)), std::invalid_argument);
    const WindowLayout orphan = {
        "Orphan", QSize(10, 10), WindowKind::Dialog, true, {}, {{1, ControlKind::Entry, {}, 7}}};
    EXPECT_THROW(BuiltWindow::build(orphan, DialogUnits(8, 16)), std::invalid_argument);
}

TEST_F(LayoutTest, ShowsOnlyTheCurrentTabsControls)
{
    EXPECT_TRUE(window_->control(ItemEntry)->isVisible());
    EXPECT_TRUE(window_->control(KindUsed)->isVisible());
    EXPECT_FALSE(window_->control(NoteEntry)->isVisible());
    window_->selectTab(TabMore);
    EXPECT_FALSE(window_->control(ItemEntry)->isVisible());
    EXPECT_FALSE(window_->control(KindUsed)->isVisible());
    EXPECT_TRUE(window_->control(NoteEntry)->isVisible());
    window_->selectTab(TabGeneral);
    window_->hideControl(KindOption); // hides its radios with it
    EXPECT_FALSE(window_->control(KindNew)->isVisible());
    window_->unhideControl(KindOption);
    EXPECT_TRUE(window_->control(KindNew)->isVisible());
    window_->unhideControl(IgnoreCheck);
    EXPECT_TRUE(window_->control(IgnoreCheck)->isVisible());
}

TEST_F(LayoutTest, ControlsShowAndGiveBackValues)
{
    window_->setValue(ValueEntry, Hundredths{123450});
    EXPECT_EQ(window_->entry(ValueEntry)->text(), "1,234.50");
    window_->setValue(TotalDisplay, Hundredths{0});
    EXPECT_EQ(window_->controlAs<QLabel>(TotalDisplay)->text(), "");
    window_->setValue(TotalDisplay, Hundredths{9876543});
    EXPECT_EQ(window_->controlAs<QLabel>(TotalDisplay)->text(), "98,765.43");
    EXPECT_EQ(window_->value(TotalDisplay), PictureValue{Hundredths{9876543}});
    window_->setValue(KindOption, std::int64_t{2});
    EXPECT_TRUE(window_->controlAs<QRadioButton>(KindUsed)->isChecked());
    window_->controlAs<QRadioButton>(KindNew)->click();
    EXPECT_EQ(window_->value(KindOption), PictureValue{std::int64_t{1}});
    window_->setValue(CoverList, std::string("Paperback"));
    EXPECT_EQ(window_->value(CoverList), PictureValue{std::string("Paperback")});
    window_->setValue(IgnoreCheck, std::int64_t{1});
    EXPECT_TRUE(window_->controlAs<QCheckBox>(IgnoreCheck)->isChecked());
}

TEST_F(LayoutTest, AnEntryTakesTypedTextThatFitsItsPicture)
{
    std::vector<PictureValue> taken;
    QObject::connect(window_->entry(ValueEntry), &PictureEntry::accepted,
                     [&](const PictureValue &v) { taken.push_back(v); });
    typeInto(ValueEntry, "1234.5");
    EXPECT_EQ(window_->value(ValueEntry), PictureValue{Hundredths{123450}});
    EXPECT_EQ(window_->entry(ValueEntry)->text(), "1,234.50");
    EXPECT_EQ(taken.size(), 1u);
    typeInto(CounterEntry, "1:30");
    EXPECT_EQ(window_->entry(CounterEntry)->text(), "01:30:00");
    EXPECT_TRUE(messages_.beeps().empty());
}

TEST_F(LayoutTest, AnEntryRefusesTextThatDoesNotFitAndKeepsTheFocus)
{
    window_->setValue(ValueEntry, Hundredths{250});
    int refusals = 0;
    QObject::connect(window_->entry(ValueEntry), &PictureEntry::rejected, [&] { ++refusals; });
    typeInto(ValueEntry, "12x");
    EXPECT_EQ(messages_.beeps().size(), 1u);
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(window_->entry(ValueEntry)->text(), "2.50"); // the value, shown again
    EXPECT_EQ(window_->value(ValueEntry), PictureValue{Hundredths{250}});
    EXPECT_EQ(QApplication::focusWidget(), window_->control(ValueEntry));

    // A value that fits the picture but not its field is refused the same way.
    window_->entry(ValueEntry)->setAcceptor([](const PictureValue &v) {
        return Decimal<4>::fits(std::get<Hundredths>(v).cents);
    });
    typeInto(ValueEntry, "123456.78");
    EXPECT_EQ(messages_.beeps().size(), 2u);
    EXPECT_EQ(window_->entry(ValueEntry)->text(), "2.50");
    EXPECT_EQ(QApplication::focusWidget(), window_->control(ValueEntry));
}

TEST_F(LayoutTest, AcceptingAllStopsAtTheFirstEntryThatRefuses)
{
    EXPECT_EQ(window_->acceptAll(), 0);
    auto *counter = window_->entry(CounterEntry);
    counter->setText("25:00");
    counter->setModified(true);
    EXPECT_EQ(window_->acceptAll(), CounterEntry);
    EXPECT_EQ(counter->text(), "00:00:00");
    EXPECT_EQ(window_->acceptAll(), 0); // nothing new typed since
}

TEST_F(LayoutTest, TellsTheStatusMessageOfTheFocusedControl)
{
    QStringList shown;
    QObject::connect(window_.get(), &BuiltWindow::statusMessage,
                     [&](const QString &m) { shown << m; });
    window_->control(ValueEntry)->setFocus();
    window_->control(OkButton)->setFocus();
    EXPECT_EQ(shown, (QStringList{"Value of Item", "Accept"}));
}

TEST_F(LayoutTest, TextEntriesCountCharactersAndNeverSplitOne)
{
    // Outside the Basic Multilingual Plane a character takes two UTF-16 units.
    const QString grin = QString::fromUtf8("\xF0\x9F\x98\x80");
    PictureEntry entry(Picture::of("s3"));
    entry.insert(grin + grin + grin);
    entry.insert(QStringLiteral("x")); // a fourth character does not go in
    ASSERT_TRUE(entry.accept());
    EXPECT_EQ(entry.value(), PictureValue{(grin + grin + grin).toStdString()});

    entry.clear();
    entry.insert(QStringLiteral("ab") + grin + grin); // the second would not fit whole
    EXPECT_EQ(entry.text(), QString());
    entry.insert(QStringLiteral("ab") + grin);
    ASSERT_TRUE(entry.accept());
    EXPECT_EQ(entry.value(), PictureValue{(QStringLiteral("ab") + grin).toStdString()});
}

namespace
{

enum : int { NamePrompt = 1, NameEntry, PriceEntry, NotesText, InsertButton, Ok, Cancel };

WindowLayout keyedDialog()
{
    using K = ControlKind;
    WindowLayout w;
    w.title = "Keys";
    w.size = QSize(200, 100);
    w.kind = WindowKind::Dialog;
    w.controls = {
        {.id = NamePrompt, .kind = K::Prompt, .design = {4, 4, 30, 10}, .text = "&Name:"},
        {.id = NameEntry, .kind = K::Entry, .design = {40, 4, 60, 10}, .picture = "s5"},
        {.id = PriceEntry,
         .kind = K::Entry,
         .design = {40, 18, 60, 10},
         .tip = "Enter or Edit Value - Maximum 5.2 Digits",
         .message = "Value of Book",
         .picture = "n9.2B"},
        {.id = NotesText, .kind = K::Text, .design = {4, 32, 150, 30}},
        {.id = InsertButton, .kind = K::Button, .design = {4, 80, 40, 14}, .text = "&Insert"},
        {.id = Ok,
         .kind = K::Button,
         .design = {100, 80, 40, 14},
         .text = "OK",
         .flags = FlagDefault},
        {.id = Cancel,
         .kind = K::Button,
         .design = {150, 80, 40, 14},
         .text = "Cancel",
         .flags = FlagCancel},
    };
    return w;
}

} // namespace

TEST_F(LayoutTest, EnterEscapeAndAccessKeysPressTheWindowsButtons)
{
    window_.reset();
    auto w = BuiltWindow::build(keyedDialog(), DialogUnits(8, 16));
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    std::map<int, int> pressed;
    for (int id : {InsertButton, Ok, Cancel})
        QObject::connect(w->controlAs<QPushButton>(id), &QPushButton::clicked,
                         [&pressed, id] { ++pressed[id]; });
    QStringList status;
    QObject::connect(w.get(), &BuiltWindow::statusMessage, [&](const QString &m) { status << m; });

    PictureEntry *name = w->entry(NameEntry);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("Lamp"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(pressed[Ok], 1);
    EXPECT_EQ(w->value(NameEntry), PictureValue{std::string("Lamp")}); // taken first

    QWidget *notes = w->control(NotesText);
    notes->setFocus();
    QTest::keyClick(notes, Qt::Key_Return); // a new line, not OK
    EXPECT_EQ(pressed[Ok], 1);

    w->control(Cancel)->setFocus();
    QTest::keyClick(w->control(Cancel), Qt::Key_Return); // the focused button
    EXPECT_EQ(pressed[Cancel], 1);
    QTest::keyClick(name, Qt::Key_Escape);
    EXPECT_EQ(pressed[Cancel], 2);
    EXPECT_EQ(pressed[Ok], 1);

    QTest::keyClick(notes, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(pressed[InsertButton], 1);
    QTest::keyClick(w->control(InsertButton), Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), name);

    // Numbers stand right; a refused number says why on the status bar.
    PictureEntry *price = w->entry(PriceEntry);
    EXPECT_TRUE(price->alignment() & Qt::AlignRight);
    EXPECT_FALSE(name->alignment() & Qt::AlignRight);
    price->setFocus();
    QTest::keyClicks(price, QStringLiteral("123456"));
    QTest::keyClick(price, Qt::Key_Return);
    EXPECT_EQ(pressed[Ok], 1);
    EXPECT_EQ(messages_.beeps().size(), 1u);
    ASSERT_FALSE(status.isEmpty());
    EXPECT_EQ(status.back(), "Value of Book: Enter or Edit Value - Maximum 5.2 Digits");
    EXPECT_EQ(QApplication::focusWidget(), price);
}

TEST(ListColumns, ShowTheirWholeHeadingAndTheLastFillsTheListWithoutSideScrolling)
{
    test::qtApp();
    QTreeView view;
    view.resize(400, 200);
    view.show();
    const DialogUnits units(8, 16); // 2 px a unit
    // Eight pixels for a counter under the heading "Counter Start", a wide
    // title, then a narrow last column.
    applyListFormat(&view,
                    ListFormat::of("4R~Counter Start~@n4@#1#100L~Title~@s20@#2#10L~Year~@n4@#3#"),
                    units);
    QHeaderView *h = view.header();
    EXPECT_GE(h->sectionSize(0), h->fontMetrics().horizontalAdvance("Counter Start"));
    EXPECT_EQ(h->sectionSize(1), 200);
    EXPECT_EQ(h->sectionPosition(2) + h->sectionSize(2), view.viewport()->width());

    // Too wide for the list: the last column gives way down to its heading.
    QTreeView wide;
    wide.resize(400, 200);
    wide.show();
    applyListFormat(&wide, ListFormat::of("150L~Title~@s20@#1#150L~Author~@s20@#2#"), units);
    h = wide.header();
    EXPECT_EQ(h->sectionSize(0), 300);
    EXPECT_EQ(h->sectionSize(0) + h->sectionSize(1), wide.viewport()->width());
    EXPECT_GE(h->sectionSize(1), h->fontMetrics().horizontalAdvance("Author"));

    // A short last column just past the edge ("Side" after a wide title):
    // the title gives a little, and the heading shows whole.
    QTreeView tracks;
    tracks.resize(400, 200);
    tracks.show();
    applyListFormat(&tracks, ListFormat::of("190L~Title~@s40@#1#40L~Side~@s1@#2#"), units);
    h = tracks.header();
    EXPECT_GE(h->sectionSize(1), h->sectionSizeHint(1));
    EXPECT_LE(h->sectionPosition(1) + h->sectionSize(1), tracks.viewport()->width());
    EXPECT_GE(h->sectionSize(0), 3 * 380 / 4);

    // Too much to give: the column that would be cut at the edge starts at
    // it, whole once scrolled to.
    QTreeView many;
    many.resize(400, 200);
    many.show();
    applyListFormat(&many, ListFormat::of("100L~Title~@s20@#1#150L~Actor~@s30@#2#60R~Year~@n4@#3#"),
                    units);
    h = many.header();
    EXPECT_EQ(h->sectionPosition(1), many.viewport()->width());
}

TEST(AccessKeys, AKeyTwoListsShareGoesToTheListHoldingTheFocus)
{
    test::qtApp();
    WindowLayout layout;
    layout.title = "Two lists";
    layout.size = QSize(200, 80);
    using K = ControlKind;
    layout.controls = {
        {.id = 1, .kind = K::Entry, .design = {4, 4, 80, 12}, .picture = "s10", .group = 1},
        {.id = 2, .kind = K::Button, .design = {4, 20, 40, 14}, .text = "&Insert", .group = 1},
        {.id = 3, .kind = K::Entry, .design = {100, 4, 80, 12}, .picture = "s10", .group = 2},
        {.id = 4, .kind = K::Button, .design = {100, 20, 40, 14}, .text = "&Insert", .group = 2},
        {.id = 5, .kind = K::Button, .design = {100, 60, 40, 14}, .text = "&Close"},
    };
    auto w = BuiltWindow::build(layout, DialogUnits(8, 16));
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    std::map<int, int> pressed;
    for (int id : {2, 4, 5})
        QObject::connect(w->controlAs<QPushButton>(id), &QPushButton::clicked,
                         [&pressed, id] { ++pressed[id]; });

    w->control(3)->setFocus();
    QTest::keyClick(w->control(3), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(pressed[4], 1);
    EXPECT_EQ(pressed[2], 0);
    w->control(1)->setFocus();
    QTest::keyClick(w->control(1), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(pressed[2], 1);
    // The window's own command answers from either list.
    QTest::keyClick(w->control(1), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(pressed[5], 1);
    // The focused list's command that cannot act now keeps its key: the
    // other list's does not act in its place.
    w->setControlEnabled(4, false);
    w->control(3)->setFocus();
    QTest::keyClick(w->control(3), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(pressed[2], 1);
    EXPECT_EQ(pressed[4], 1);
}

TEST(Keys, ArrowsChooseInAnOptionAndEscapeClosesAWindowWithoutCancel)
{
    test::qtApp();
    WindowLayout layout;
    layout.title = "Side";
    layout.size = QSize(120, 60);
    layout.kind = WindowKind::Dialog;
    using K = ControlKind;
    layout.controls = {
        {.id = 1, .kind = K::Option, .design = {4, 4, 100, 30}, .text = "Side"},
        {.id = 2, .kind = K::Radio, .design = {10, 16, 30, 10}, .parent = 1, .text = "A"},
        {.id = 3, .kind = K::Radio, .design = {50, 16, 30, 10}, .parent = 1, .text = "B"},
        {.id = 4, .kind = K::Button, .design = {4, 40, 40, 14}, .text = "Ok"},
    };
    auto owned = BuiltWindow::build(layout, DialogUnits(8, 16));
    QPointer<BuiltWindow> w = owned.release();
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QWidget *a = w->control(2);
    a->setFocus();
    EXPECT_EQ(w->value(1), PictureValue{std::int64_t{0}}); // nothing chosen yet
    QTest::keyClick(a, Qt::Key_Right);
    EXPECT_EQ(w->value(1), PictureValue{std::int64_t{2}});
    EXPECT_EQ(QApplication::focusWidget(), w->control(3));
    QTest::keyClick(w->control(3), Qt::Key_Down); // round the end
    EXPECT_EQ(w->value(1), PictureValue{std::int64_t{1}});
    QTest::keyClick(a, Qt::Key_Up);
    EXPECT_EQ(w->value(1), PictureValue{std::int64_t{2}});

    QTest::keyClick(w->control(4), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&w] { return w.isNull(); }, 2000));
}
