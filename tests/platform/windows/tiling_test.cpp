// Window > Tile with windows that cannot shrink below their design: a grid
// for small windows, a single column for wide ones, and none pushed out of
// the document area.
#include "platform/windows/tiling.h"

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

} // namespace
} // namespace hk
