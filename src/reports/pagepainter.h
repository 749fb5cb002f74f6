// The one painter of report pages, used by the preview, the printer and PDF
// output alike, and the routine that sends pages to a printer.
#pragma once

#include "reports/page.h"

#include <vector>

class QPainter;
class QString;
class QPrinter;

namespace hk
{

// Draws page onto the painter's device with 1 mm = device dots per inch / 25.4,
// under whatever transform the painter carries (the preview scales it).
void paintPage(QPainter &painter, const Page &page);

// The size of a page in device pixels at the given resolution.
double pagePixels(double mm, double dpi);

// Prints pages[from-1 .. to-1] (1-based, clamped to the pages there are; 0, 0
// means all) as one job named `job`. False when the printer cannot start.
bool printPages(QPrinter &printer, const std::vector<Page> &pages, const QString &job, int from = 0,
                int to = 0);

} // namespace hk
