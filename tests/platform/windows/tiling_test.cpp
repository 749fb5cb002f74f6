// Window > Tile with windows that cannot shrink below their design: a grid
// for small windows, a single column for wide ones, and none pushed out of
// the document area.
#include "platform/windows/tiling.h"
#include "qtapp.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

const QRect Area(0, 0, 1000, 800);

TEST(Tiling, SmallWindowsShareAGridAndTheLastRowSharesTheWidth)
{
    const std::vector<QSize> small(3, QSize(100, 100));
    EXPECT_EQ(tileGrid(Area, small),
              (std::vector<QRect>{{0, 0, 500, 400}, {500, 0, 500, 400}, {0, 400, 1000, 400}}));
}

TEST(Tiling, WideWindowsStackAndLargeOnesStayInsideTheArea)
{
    EXPECT_EQ(tileGrid(Area, std::vector<QSize>(2, QSize(700, 300))),
              (std::vector<QRect>{{0, 0, 1000, 400}, {0, 400, 1000, 400}}));

    // Larger than any cell: each keeps its least size, overlapping a
    // neighbour, and lies wholly inside the area.
    const std::vector<QRect> big = tileGrid(Area, std::vector<QSize>(3, QSize(700, 500)));
    ASSERT_EQ(big.size(), 3u);
    for (const QRect &r : big) {
        EXPECT_GE(r.width(), 700);
        EXPECT_GE(r.height(), 500);
        EXPECT_TRUE(Area.contains(r))
            << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
    }
    EXPECT_NE(big[0].topLeft(), big[2].topLeft());
}

TEST(Tiling, ThirteenLargeWindowsKeepEveryTitleBarInView)
{
    constexpr int title = 24;
    const QRect area(0, 0, 1000, 650);
    const std::vector<QRect> places =
        tileGrid(area, std::vector<QSize>(13, QSize(720, 400)), title);
    ASSERT_EQ(places.size(), 13u);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const QRect bar(places[i].topLeft(), QSize(places[i].width(), title));
        EXPECT_TRUE(area.contains(bar)) << i;
        for (std::size_t j = i + 1; j < places.size(); ++j)
            EXPECT_FALSE(places[j].intersects(bar)) << j << " covers the title of " << i;
    }
}

// In the frame's document area: the click on each window's title lands on
// that window, whichever was active.
TEST(Tiling, EveryTiledWindowCanBeReachedByItsTitle)
{
    test::qtApp();
    QMdiArea area;
    area.resize(1000, 650);
    area.show();
    std::vector<QMdiSubWindow *> windows;
    for (int i = 0; i < 13; ++i) {
        auto *content = new QWidget;
        content->setMinimumSize(700, 380);
        QMdiSubWindow *sub = area.addSubWindow(content);
        sub->setWindowTitle(QStringLiteral("Window %1").arg(i));
        sub->show();
        windows.push_back(sub);
    }
    area.setActiveSubWindow(windows[3]);
    tileWindows(&area);
    QCoreApplication::processEvents();
    for (QMdiSubWindow *sub : windows) {
        const QPoint onTitle = sub->geometry().topLeft() + QPoint(sub->width() / 2, 8);
        EXPECT_TRUE(area.viewport()->rect().contains(onTitle)) << sub->windowTitle().toStdString();
        QWidget *hit = area.viewport()->childAt(onTitle);
        while (hit && !qobject_cast<QMdiSubWindow *>(hit))
            hit = hit->parentWidget();
        EXPECT_EQ(hit, sub) << sub->windowTitle().toStdString();
    }
    EXPECT_EQ(area.activeSubWindow(), windows[3]);
}

} // namespace
} // namespace hk
