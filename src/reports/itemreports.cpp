// The item reports' layout.
#include "dictionary/files.h"
#include "reports/standardbands.h"

#include <stdexcept>

namespace hk
{

namespace
{

enum Optional { Notes = 1, Year = 2 };
enum Totals { AllCount, AllValue };

ReportLayout itemLayout(const ReportTexts &texts)
{
    const ReportFont d = Fonts::detail, h = Fonts::heading;
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(
        texts, {textAt(2, 0, "Items/Notes", h), textAt(40, 0, "Quantity", h, Align::Right),
                textAt(65, 0, "Value", h, Align::Right), textAt(77, 0, "Description", h),
                textAt(162, 0, "Serial No/Year", h)});
    l.detail.height = 10;
    l.detail.controls = {
        fieldAt(2, 0, "s20", textOf(Itm.Items), d),
        fieldAt(44, 0, "n4B", numberOf(Itm.Quantity), d, Align::Right),
        fieldAt(54, 0, "n10.2B", amountOf(Itm.Values), d, Align::Right),
        fieldAt(77, 0, "s35", textOf(Itm.Description), d),
        fieldAt(162, 0, "s15", textOf(Itm.SerialNumber), d),
        fieldAt(2, 5, "s80", textOf(Itm.Notes), d, Align::Left, Notes),
        fieldAt(178, 5, "n4B", numberOf(Itm.ItemYear), d, Align::Right, Year),
    };
    l.totals = {{TotalKind::Count}, {TotalKind::Sum, [] { return Itm.Values.cents(); }}};
    l.pageFooter = totalsBand({textAt(2, 0, "Total Value of Hearthkeep:", d),
                               totalAt(54, 0, "n12.2B", AllValue, d), textAt(77, 0, "Entries:", d),
                               totalAt(94, 0, "n10", AllCount, d)},
                              12);
    return l;
}

} // namespace

ReportDefinition itemReport(const QString &name)
{
    if (name != QLatin1String("RPTITEMCOMPLETE"))
        throw std::invalid_argument("not an item report: " + name.toStdString());
    ReportDefinition r;
    r.name = name;
    r.caption = r.texts.job = "Listing of all items";
    r.texts.subtitle = "Complete listing of all items";
    r.texts.heading = "Items listed alphabetically";
    r.warningName = "Items";
    r.opens = {&Items};
    r.primary = &Items;
    r.scanned = {&Items};
    r.source = [] { return std::make_unique<ViewSource>(Items, Itm.DisplayByItem); };
    r.layout = itemLayout;
    r.optional = {{Notes, [] { return Itm.Notes.empty(); }},
                  {Year, [] { return Itm.ItemYear == 0; }}};
    return r;
}

} // namespace hk
