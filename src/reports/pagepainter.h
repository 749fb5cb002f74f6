// The one painter of report pages, used by the preview, the printer and PDF
// output alike, and the routine that sends pages to a printer.
#pragma once

#include "reports/page.h"

#include <vector>

#include <QString>

class QPainter;
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

// Writes every page to a PDF file at `file`, titled `job`, through the same
// painter; the text stays text. An existing file is replaced only once the
// new one is complete. Empty on success, else the reason it failed.
QString savePdf(const QString &file, const std::vector<Page> &pages, const QString &job);

} // namespace hk
