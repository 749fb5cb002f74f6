// The item reports: one layout, read straight from Items (all of them, or
// those with a serial number), location by location, or for the location
// chosen in RPTSELECTLOCATION.
#include "platform/data/files.h"
#include "platform/data/view.h"
#include "reports/catalogue/selectwindows.h"
#include "reports/standardbands.h"

#include <stdexcept>

namespace hk
{

namespace
{

enum Optional { Notes = 1, Year = 2 };
enum Totals { AllCount, AllValue, GroupCount, GroupValue };

std::int64_t itemValue()
{
    return Itm.Values.cents();
}

ReportLayout itemLayout(const ReportTexts &texts, bool byLocation, bool selected)
{
    const ReportFont d = Fonts::detail, h = Fonts::heading;
    ReportLayout l;
    l.job = texts.job;
    l.title = titleBand(texts);
    l.pageHeader = pageHeaderBand(
        texts, {textAt(2, 0, "Items/Notes", h), textAt(40, 0, "Quantity", h, Align::Right),
                textAt(65, 0, "Value", h, Align::Right), textAt(77, 0, "Description", h),
                textAt(162, 0, "Serial No/Year", h)});
    // The chosen location stays in its buffer for the whole run.
    if (selected) l.pageHeader.controls.push_back(fieldAt(53, 0, "s30", textOf(ItmRom.Rooms), h));
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
    l.totals = {{TotalKind::Count}, {TotalKind::Sum, itemValue}};
    l.pageFooter = totalsBand({textAt(2, 0, "Total Value of Hearthkeep:", d),
                               totalAt(54, 0, "n12.2B", AllValue, d), textAt(77, 0, "Entries:", d),
                               totalAt(94, 0, "n10", AllCount, d)},
                              12);
    if (byLocation) {
        l.totals.push_back({TotalKind::Count, {}, 0});
        l.totals.push_back({TotalKind::Sum, itemValue, 0});
        GroupDef g;
        g.breakValue = [] { return ItmRom.Rooms.str(); };
        g.header.height = 7;
        g.header.controls = {fieldAt(2, 1, "s30", textOf(ItmRom.Rooms), Fonts::groupField)};
        g.footer = totalsBand({textAt(17, 0, "Value of Items in Location:", d),
                               totalAt(54, 0, "n12.2B", GroupValue, d),
                               textAt(77, 0, "Entries:", d), totalAt(94, 0, "n10", GroupCount, d)},
                              14);
        l.groups.push_back(std::move(g));
    }
    return l;
}

} // namespace

ReportDefinition itemReport(const QString &name)
{
    ReportDefinition r;
    r.name = name;
    r.warningName = "Items";
    r.opens = {&Items};
    r.primary = &Items;
    bool byLocation = false, selected = false;
    if (name == QLatin1String("RPTITEMCOMPLETE")) {
        r.caption = r.texts.job = "Listing of all items";
        r.texts.subtitle = "Complete listing of all items";
        r.texts.heading = "Items listed alphabetically";
        r.source = [] { return std::make_unique<ViewSource>(Items, Itm.DisplayByItem); };
    } else if (name == QLatin1String("RPTITEMALLLOCATION")) {
        byLocation = true;
        r.caption = r.texts.job = "Items from all locations";
        r.texts.subtitle = "Complete listing of all items by location";
        r.texts.heading = "Items from all locations listed alphabetically";
        r.warningName = "ItemsRooms";
        r.opens = {&Items, &ItemsRooms};
        r.primary = &ItemsRooms;
        r.source = [] {
            return std::make_unique<NestedSource>(ItemsRooms, ItmRom.DisplayByRooms, Items,
                                                  Itm.Foreign_Rooms,
                                                  [] { return std::int64_t(ItmRom.RoomsId); });
        };
    } else if (name == QLatin1String("RPTITEMSELLOCATION")) {
        selected = true;
        r.caption = r.texts.job = "Items from selected location";
        r.texts.subtitle = "Listing of items from selected location";
        r.texts.heading = "Items listed alphabetically from:";
        r.warningName = "ItemsRooms";
        r.opens = {&Items, &ItemsRooms};
        r.fixedEstimate = 500;
        r.select = rptSelectLocation;
        // The items of the location left in the buffer by the selection.
        r.source = [] {
            auto s = std::make_unique<ViewSource>(Items, Itm.Foreign_Rooms);
            s->view().range({Value(std::int64_t(ItmRom.RoomsId))});
            return s;
        };
    } else if (name == QLatin1String("RPTITEMSERIALNO")) {
        r.caption = r.texts.job = "Items with serial numbers";
        r.texts.subtitle = "Complete listing of items with Serial Numbers";
        r.texts.heading = "Items with Serial Numbers listed alphabetically";
        r.fixedEstimate = 500;
        r.source = [] {
            auto s = std::make_unique<ViewSource>(Items, Itm.DisplayByItem);
            // A blank serial number is stored empty.
            s->view().filter(View::column(Items, "Itm:SerialNumber") + " <> ''", {});
            return s;
        };
    } else {
        throw std::invalid_argument("not an item report: " + name.toStdString());
    }
    r.scanned = {r.primary};
    r.layout = [byLocation, selected](const ReportTexts &t) {
        return itemLayout(t, byLocation, selected);
    };
    r.optional = {{Notes, [] { return Itm.Notes.empty(); }},
                  {Year, [] { return Itm.ItemYear == 0; }}};
    return r;
}

} // namespace hk
