// The one painter of report pages: a left-aligned text is cut at its
// column's width, a whole character at a time, so that it never prints over
// the next column; texts its font lacks are cut the same way.
#include "reports/pagepainter.h"
#include "testapp.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace hk
{
namespace
{

constexpr double kDpi = 300;

// Whether any pixel between the two places (mm from the left) on the line
// at 20 mm is dark.
bool inked(const QImage &image, double fromMm, double toMm)
{
    const int top = int(pagePixels(20, kDpi)), bottom = int(pagePixels(24, kDpi));
    for (int x = int(pagePixels(fromMm, kDpi)); x < int(pagePixels(toMm, kDpi)); ++x)
        for (int y = top; y < bottom; ++y)
            if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
}

TEST(PagePainter, ALongTextIsCutAtItsColumn)
{
    test::app();
    std::string greek;
    for (int i = 0; i < 8; ++i)
        greek += "Κουζίνα ";
    for (const std::string &text : {std::string(60, 'W'), greek}) {
        SCOPED_TRACE(text);
        Page page;
        page.texts.push_back({10, 20, 40, {9, false, false}, Align::Left, text});
        page.texts.push_back({52, 20, 10, {9, false, false}, Align::Left, "1961"});
        QImage image(int(pagePixels(PageArea::width, kDpi)), int(pagePixels(60, kDpi)),
                     QImage::Format_RGB32);
        image.setDotsPerMeterX(int(kDpi / 0.0254));
        image.setDotsPerMeterY(int(kDpi / 0.0254));
        image.fill(Qt::white);
        QPainter painter(&image);
        paintPage(painter, page);
        painter.end();
        EXPECT_TRUE(inked(image, 45, 50));    // the text runs to its column's end
        EXPECT_FALSE(inked(image, 50, 51.9)); // and stops there
        EXPECT_TRUE(inked(image, 52, 60));    // the next column as it was
    }
}

} // namespace
} // namespace hk
