// The print preview: its state as a model (page texts, enabled actions,
// paging, zoom and the grid's geometry) and the window that shows it.
#include "dictionary/globals.h"
#include "platform/windows/layout.h"
#include "reports/previewdialogs.h"
#include "reports/previewmodel.h"
#include "reports/reportpreview.h"
#include "testapp.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

TEST(PreviewModel, GridPagingAndItsTexts)
{
    PreviewModel m(10);
    EXPECT_EQ(m.pageText(), "Page 1 of 10");
    EXPECT_EQ(m.zoomText(), "No Zoom");
    EXPECT_FALSE(m.previousEnabled());
    m.setGrid(2, 2);
    m.jump(9);
    EXPECT_EQ(m.pageText(), "Pages 9-10 of 10");
    EXPECT_FALSE(m.nextEnabled());
    EXPECT_EQ(m.slotPage(2), 10);
    EXPECT_EQ(m.slotPage(3), 0); // past the last page: hidden
    m.previous();
    EXPECT_EQ(m.current(), 5);
    EXPECT_EQ(m.pageText(), "Pages 5-8 of 10");

    m.jump(6);
    EXPECT_TRUE(m.nextEnabled());
    m.next();
    EXPECT_EQ(m.current(), 10); // shows alone in the first slot
    EXPECT_EQ(m.pageText(), "Page 10 of 10");
    m.jump(7);
    EXPECT_FALSE(m.nextEnabled()); // 7 + 4 > 10
    m.previous();
    m.previous();
    EXPECT_EQ(m.current(), 1);
    m.jump(0);
    EXPECT_EQ(m.current(), 1);
    m.jump(99);
    EXPECT_EQ(m.current(), 10);
}

TEST(PreviewModel, ClickingSlotsAndTheZoomedPage)
{
    PreviewModel m(10);
    m.setGrid(2, 2);
    m.jump(5);
    m.clickSlot(3);
    EXPECT_EQ(m.current(), 7);
    EXPECT_EQ(m.zoom(), Zoom::PageWidth);
    EXPECT_EQ(m.slotCount(), 0);
    EXPECT_EQ(m.pageText(), "Page 7 of 10");
    EXPECT_EQ(m.zoomText(), "Zoom (Page Width)");
    EXPECT_DOUBLE_EQ(m.zoomFactor(1200, 800), 1.5);
    m.next();
    EXPECT_EQ(m.current(), 8);
    EXPECT_EQ(m.popupText(), "-No Zoom|-|+Page Width|-50%|-75%|-100%|-200%|-300%");
    m.clickZoomed();
    EXPECT_EQ(m.zoom(), Zoom::None);
    EXPECT_EQ(m.pageText(), "Pages 8-10 of 10");
    // Change Display keeps a zoom; the new grid shows once No Zoom is chosen.
    m.setZoom(Zoom::Percent200);
    m.changeDisplay(3, 1);
    EXPECT_TRUE(m.zoomed());
    m.setZoom(Zoom::None);
    EXPECT_EQ(m.slotCount(), 3);
}

TEST(PreviewModel, GridSlotsKeepThePageRatio)
{
    // 2 x 1 in 400 x 300: w = (400 - 5) / 2 = 197, h = 300 - 2 = 298; a page
    // of ratio 1.5 is narrower than that box, so h = 197 x 1.5 = 295.
    const auto places = PreviewModel::gridSlots(QSize(400, 300), 2, 1, 1.5);
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0], QRect(1, 1, 197, 295));
    EXPECT_EQ(places[1], QRect(201, 1, 197, 295));
    // A tall page in a wide box: w follows h.
    const auto tall = PreviewModel::gridSlots(QSize(400, 100), 1, 1, 2.0);
    EXPECT_EQ(tall[0], QRect(1, 1, 49, 98));
}

class PreviewWindowTest : public ::testing::Test
{
  protected:
    void SetUp() override { test::app(); }
    std::vector<Page> pages(int n)
    {
        std::vector<Page> out(n);
        for (int i = 0; i < n; ++i)
            out[i].texts.push_back({5, 5, 0, {}, Align::Left, "page " + std::to_string(i + 1)});
        return out;
    }
    PageList list(int n) { return PageList(pages(n)); }
};

TEST_F(PreviewWindowTest, OnePageDisablesTheViewMenuAndSpins)
{
    PageList p = list(1);
    PreviewWindow w(p, QStringLiteral("job"));
    w.show();
    w.refresh();
    EXPECT_FALSE(w.viewMenu()->isEnabled());
    EXPECT_FALSE(w.pageSpin()->isEnabled());
    EXPECT_FALSE(w.acrossSpin()->isEnabled());
    EXPECT_FALSE(w.downSpin()->isEnabled());
    EXPECT_EQ(w.zoneText(2), "Page 1 of 1");
    EXPECT_EQ(w.zoneText(3), "No Zoom");
    EXPECT_TRUE(w.action(10)->isChecked());
}

TEST_F(PreviewWindowTest, SpinsMenusAndClicksDriveThePages)
{
    PageList p = list(10);
    PreviewWindow w(p, QStringLiteral("job"));
    w.resize(800, 700);
    w.show();
    w.refresh();
    EXPECT_EQ(w.pageSpin()->statusTip(), "Enter a page number from 1 to 10");
    EXPECT_EQ(w.pageSpin()->maximum(), 10);
    w.acrossSpin()->setValue(2);
    w.downSpin()->setValue(2);
    w.pageSpin()->setValue(5);
    EXPECT_EQ(w.zoneText(2), "Pages 5-8 of 10");
    ASSERT_NE(w.image(203 + 3), nullptr);
    EXPECT_EQ(w.image(203 + 3)->pageNumber(), 7);

    QTest::mouseClick(w.image(203 + 3), Qt::LeftButton);
    EXPECT_EQ(w.zoneText(2), "Page 7 of 10");
    EXPECT_EQ(w.zoneText(3), "Zoom (Page Width)");
    ASSERT_NE(w.image(102), nullptr);
    EXPECT_EQ(w.image(102)->pageNumber(), 7);
    EXPECT_EQ(w.image(203 + 1), nullptr); // the grid is gone while zoomed
    EXPECT_TRUE(w.action(11)->isChecked());

    w.action(5)->trigger(); // Next, zoomed: one page on
    EXPECT_EQ(w.zoneText(2), "Page 8 of 10");
    w.chooseFromPopup(4); // 75%
    EXPECT_EQ(w.zoneText(3), "Zoom (75%)");
    EXPECT_EQ(w.image(102)->width(), int(PageImage::naturalSize().width() * 0.75));
    QTest::mouseClick(w.image(102), Qt::LeftButton);
    EXPECT_EQ(w.zoneText(2), "Pages 8-10 of 10");
    EXPECT_FALSE(w.action(5)->isEnabled());
    w.action(6)->trigger(); // Previous
    EXPECT_EQ(w.zoneText(2), "Pages 4-7 of 10");
}

// Page Up and Down at either end of the report do nothing, whichever of the
// preview's controls has the focus: the page spin would step by ten, the
// zoomed page scroll by a screen.
TEST_F(PreviewWindowTest, PageKeysAtTheEndsDoNothing)
{
    PageList p = list(30);
    PreviewWindow w(p, QStringLiteral("job"));
    w.resize(800, 700);
    w.show();
    w.refresh();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto *area = qobject_cast<QAbstractScrollArea *>(w.centralWidget());
    ASSERT_NE(area, nullptr);
    for (QWidget *focus : {static_cast<QWidget *>(w.pageSpin()), static_cast<QWidget *>(area)}) {
        if (focus == area) w.action(16)->trigger(); // 300%: the page scrolls
        w.pageSpin()->setValue(1);
        focus->setFocus();
        QTest::keyClick(w.windowHandle(), Qt::Key_PageUp);
        EXPECT_EQ(w.zoneText(2), "Page 1 of 30");
        QTest::keyClick(w.windowHandle(), Qt::Key_PageDown); // the key does page
        EXPECT_EQ(w.zoneText(2), "Page 2 of 30");
        w.pageSpin()->setValue(30);
        focus->setFocus();
        const int scrolled = area->verticalScrollBar()->value();
        QTest::keyClick(w.windowHandle(), Qt::Key_PageDown);
        EXPECT_EQ(w.zoneText(2), "Page 30 of 30");
        EXPECT_EQ(area->verticalScrollBar()->value(), scrolled);
        QTest::keyClick(w.windowHandle(), Qt::Key_PageUp);
        EXPECT_EQ(w.zoneText(2), "Page 29 of 30");
    }
}

BuiltWindow *dialogTitled(const QString &title)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<BuiltWindow *>(w);
            b && b->isVisible() && b->windowTitle() == title)
            return b;
    return nullptr;
}

// The jump takes any page of the report, however long, and a typed number
// past either end as that end, not the digits typed before it crossed.
TEST_F(PreviewWindowTest, JumpTakesEveryPageAndClampsBeyondTheEnds)
{
    const struct {
        int count;
        const char *typed;
        int page;
    } cases[] = {{1200, "99999", 1200}, {150000, "123456", 123456}, {1200, "0", 1}};
    for (const auto &c : cases) {
        int page = 7;
        bool done = false;
        auto proc = std::make_unique<JumpToPage>(page, c.count);
        QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
        start(std::move(proc));
        BuiltWindow *jump = nullptr;
        ASSERT_TRUE(test::waitFor([&] { return (jump = dialogTitled("Jump to a Report Page")); }));
        auto *spin = jump->controlAs<QSpinBox>(JumpToPage::PageSpin);
        ASSERT_NE(spin, nullptr);
        spin->setFocus();
        spin->selectAll();
        QTest::keyClicks(spin, c.typed);
        QTest::keyClick(spin, Qt::Key_Return); // OK is the default button
        ASSERT_TRUE(test::waitFor([&] { return done; }));
        EXPECT_EQ(page, c.page) << c.typed << " of " << c.count;
    }
}

// The two dialogs are called procedures: the preview waits for their answer
// without a nested event loop, and Exit answers 2.
TEST_F(PreviewWindowTest, JumpAndChangeDisplayDialogs)
{
    const auto p = pages(10);
    bool done = false;
    auto proc = std::make_unique<ReportPreview>(p, QStringLiteral("job"));
    QObject::connect(proc.get(), &Procedure::done, [&] { done = true; });
    start(std::move(proc));
    PreviewWindow *w = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets())
        if ((w = qobject_cast<PreviewWindow *>(top))) break;
    ASSERT_NE(w, nullptr);

    w->action(7)->trigger();
    BuiltWindow *jump = nullptr;
    ASSERT_TRUE(test::waitFor([&] { return (jump = dialogTitled("Jump to a Report Page")); }));
    EXPECT_FALSE(w->isEnabled()); // the caller waits
    jump->setValue(JumpToPage::PageSpin, std::int64_t{3});
    jump->controlAs<QPushButton>(JumpToPage::OkButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return w->zoneText(2) == "Page 3 of 10"; }));

    w->action(8)->trigger();
    BuiltWindow *display = nullptr;
    ASSERT_TRUE(
        test::waitFor([&] { return (display = dialogTitled("Change the Report Display")); }));
    display->setValue(SelectDisplay::AcrossSpin, std::int64_t{2});
    display->controlAs<QPushButton>(SelectDisplay::OkButton)->click();
    ASSERT_TRUE(test::waitFor([&] { return w->zoneText(2) == "Pages 3-4 of 10"; }));
    EXPECT_TRUE(w->isEnabled());

    GlobalResponse = 0;
    w->action(18)->trigger(); // Exit tool button
    ASSERT_TRUE(test::waitFor([&] { return done; }));
    EXPECT_EQ(GlobalResponse, RequestCancelled);
}

} // namespace
} // namespace hk
