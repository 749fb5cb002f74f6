#include "reports/standardbands.h"

#include "dictionary/globals.h"

namespace hk
{

Band titleBand(const ReportTexts &texts, double height)
{
    Band b;
    b.height = height > 0 ? height : 126;
    b.controls = {
        textAt(141, 7, "Date:", Fonts::titleLine),
        fieldAt(
            160, 7, "D5", [date = std::int64_t(PrintDate)] { return PictureValue{date}; },
            Fonts::titleLine, Align::Right),
        textAt(70, 93, "Hearthkeep", Fonts::product),
        textAt(70, 103, texts.subtitle, Fonts::subtitle),
        // The owner as the report found it when it started.
        fieldAt(
            44, 112, "s25", [name = texts.ownerName] { return PictureValue{name}; },
            Fonts::titleLine),
        fieldAt(
            44, 120, "s55", [address = texts.ownerAddress] { return PictureValue{address}; },
            Fonts::titleLine),
    };
    return b;
}

Band pageHeaderBand(const ReportTexts &texts, std::vector<ReportControl> columnHeadings)
{
    Band b;
    b.height = 15;
    b.controls = {
        textAt(2, 0, texts.heading, Fonts::heading),
        textAt(162, 0, "Page No:", Fonts::heading),
        // Four figures wide; longer numbers run on to the left.
        pageNumberAt(178, 0, "n4", Fonts::pageNumber),
    };
    for (ReportControl &c : columnHeadings) {
        c.y = 6;
        b.controls.push_back(std::move(c));
    }
    b.controls.push_back(ruleAt(11));
    return b;
}

Band totalsBand(std::vector<ReportControl> totals, double height)
{
    Band b;
    b.height = height;
    b.controls.push_back(ruleAt(2));
    for (ReportControl &c : totals) {
        c.y = 4;
        b.controls.push_back(std::move(c));
    }
    b.controls.push_back(ruleAt(10));
    return b;
}

} // namespace hk
