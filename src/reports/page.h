// A finished report page as drawing primitives: texts and rules placed in
// millimetres from the paper's top left corner. Pages are what the preview
// shows and what reaches the printer; they are never kept as bitmaps.
#pragma once

#include "reports/reportlayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hk
{

struct PageText {
    float x = 0, y = 0; // top left of the text's line, mm
    // The text's column: a left-aligned text is cut at x + width (0: never),
    // a right-aligned one ends there.
    float width = 0;
    ReportFont font{};
    Align align = Align::Left;
    std::string text{};
};

struct PageRule {
    float x = 0, y = 0, length = 0;
};

// A stored picture: an attachment's thumbnail as the file holds it
// (encoded, a few kilobytes), decoded only as the page is painted, which may
// be on another thread than the one that reads the data file.
struct PagePicture {
    float x = 0, y = 0, width = 0, height = 0; // the box it is fitted into, mm
    std::int64_t attachment = 0;
    std::string bytes;
};

struct Page {
    std::vector<PageText> texts;
    std::vector<PageRule> rules;
    std::vector<PagePicture> pictures;
};

// The pages as text, one primitive a line, positions to 0.01 mm: what the
// report tests compare with their expected files.
std::string describePages(const std::vector<Page> &pages);
std::string describePage(const Page &page, int number);

} // namespace hk
