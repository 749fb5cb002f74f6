#include "platform/windows/dialogunits.h"
#include "qtapp.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace hk;

TEST(DialogUnits, ScaleByAQuarterCharacterAcrossAndAnEighthDown)
{
    const DialogUnits du(7, 16); // 7 px average width, 16 px line height
    EXPECT_EQ(du.toPixelsX(4), 7);
    EXPECT_EQ(du.toPixelsY(8), 16);
    EXPECT_EQ(du.toPixels(QSize(358, 154)), QSize(627, 308)); // 626.5 rounds up
    EXPECT_EQ(du.toPixels(QRect(2, 3, 40, 12)), QRect(4, 6, 70, 24));
    EXPECT_EQ(du.toUnits(QSize(627, 308)), QSize(358, 154));
    EXPECT_EQ(du.toUnitsX(0), 0);
    EXPECT_EQ(du.toPixelsX(-4), -7);
}

TEST(DialogUnits, ComeFromTheFontAndGoBackAndForth)
{
    QFont font = hk::test::qtApp().font();
    font.setPixelSize(13);
    const DialogUnits du = DialogUnits::forFont(font);
    const QFontMetricsF m(font);
    EXPECT_DOUBLE_EQ(du.charHeight(), m.height());
    EXPECT_GT(du.charWidth(), 2.0);
    EXPECT_LT(du.charWidth(), m.maxWidth() + 0.001);
    // A bigger font gives bigger windows.
    font.setPixelSize(26);
    EXPECT_GT(DialogUnits::forFont(font).toPixelsX(380), du.toPixelsX(380));
    // Sizes survive the round trip whenever a unit is at least a pixel.
    for (int u : {1, 7, 209, 380})
        EXPECT_EQ(du.toUnitsX(du.toPixelsX(u)), u) << u;
}
