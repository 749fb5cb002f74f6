// The one painter of report pages, used by the preview, the printer and PDF
// output alike.
#pragma once

#include "reports/page.h"

#include <QString>

#include <map>
#include <memory>
#include <tuple>

class QFontMetricsF;
class QPaintDevice;
class QPainter;

namespace hk
{

// Draws pages onto the painter's device with 1 mm = device dots per inch /
// 25.4, under whatever transform the painter carries (the preview scales it).
// A left-aligned text is cut at its column's width, a whole character at a
// time. The fonts and their measures are kept from page to page.
class PagePainter
{
  public:
    PagePainter();
    ~PagePainter();
    PagePainter(const PagePainter &) = delete;
    PagePainter &operator=(const PagePainter &) = delete;

    void paint(QPainter &painter, const Page &page);

  private:
    struct DeviceFont;
    // The font, its weight and slant, and the device's resolution and kind.
    using FontKey = std::tuple<int, bool, bool, int, int, int>;
    DeviceFont &font(const ReportFont &f, QPaintDevice *device);
    std::map<FontKey, std::unique_ptr<DeviceFont>> fonts_;
};

// One page with a painter of its own.
void paintPage(QPainter &painter, const Page &page);

// The size of a page in device pixels at the given resolution.
double pagePixels(double mm, double dpi);

// The longest beginning of text no wider than `width` in these metrics.
QString cutToWidth(const QString &text, const QFontMetricsF &metrics, double width);

} // namespace hk
