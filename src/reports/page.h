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
    float width = 0;    // right-aligned texts end at x + width
    ReportFont font{};
    Align align = Align::Left;
    std::string text{};
};

struct PageRule {
    float x = 0, y = 0, length = 0;
};

// A stored picture, by its attachment's number: the page keeps no pixels,
// the painter reads the thumbnail when it draws the page.
struct PagePicture {
    float x = 0, y = 0, width = 0, height = 0; // the box it is fitted into, mm
    std::int64_t attachment = 0;
};

struct Page {
    std::vector<PageText> texts;
    std::vector<PageRule> rules;
    std::vector<PagePicture> pictures;
};

// The pages as text, one primitive a line, positions to 0.01 mm: what the
// report tests compare with their expected files.
std::string describePages(const std::vector<Page> &pages);

} // namespace hk
