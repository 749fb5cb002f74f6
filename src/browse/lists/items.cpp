// BrowseItems: the household items by name, or only those with a serial
// number, with their location and the inventory's value; and
// ItemsSelectLocation, the same list kept to one location, called from
// SelectLocation.
#include "browse/browse.h"
#include "browse/browselayout.h"
#include "browse/lists/browses.h"
#include "browse/search.h"
#include "dictionary/tables.h"
#include "platform/data/files.h"
#include "platform/data/view.h"

namespace hk
{

Long BrowseItemsThread = 0;
Long ItemsSelectLocationThread = 0;

namespace
{

BrowseDef itemsDef(bool ofLocation)
{
    using T = TableId;
    BrowseDef d;
    d.procedure = ofLocation ? "ItemsSelectLocation" : "BrowseItems";
    d.main = T::Items;
    d.marksAttachments = true; // a camera beside a record with photos
    if (!ofLocation) d.joins = {{T::ItemsRooms, "Itm:RoomsId"}};
    for (const char *f : {"ITM:ITEMS", "Itm:Description", "ITM:QUANTITY", "ITM:VALUES",
                          "ITM:ITEMYEAR", "Itm:SerialNumber", "ITM:NOTES"})
        d.fields.push_back(FieldRef::of(T::Items, f));
    if (!ofLocation) d.fields.push_back(FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS"));
    // A blank serial number is stored empty: trailing blanks never are.
    auto withSerial = [](View &v) {
        v.filter(View::column(Items, "Itm:SerialNumber") + " <> ''", {});
    };
    if (ofLocation) {
        // Both tabs keep to the location in the ItemsRooms buffer: by the
        // key on the first, by a filter on the second.
        const FieldRef location = FieldRef::of(T::ItemsRooms, "ItmRom:RoomsId");
        d.sorts = {{.number = 2, .key = Itm.Foreign_Rooms, .range = location},
                   {.number = 1,
                    .key = Itm.DisplayByItem,
                    .filter = withSerial,
                    .range = location,
                    .rangeField = FieldRef::of(T::Items, "Itm:RoomsId")}};
        d.claim = &ItemsSelectLocationThread;
    } else {
        d.sorts = {{.number = 2, .key = Itm.DisplayByItem},
                   {.number = 1, .key = Itm.DisplayBySerialNumbers, .filter = withSerial}};
        d.claim = &BrowseItemsThread;
    }
    d.tables = {T::ItemsRooms, T::Items, T::HearthkpValue};
    d.total = FieldRef::of(T::HearthkpValue, "HKV:INVENTORYITEMS");

    BrowseLook look;
    look.title = ofLocation ? "Browse the Items File by Location" : "Browse the Items File";
    look.size = QSize(380, 209);
    look.listFormat = "105L(1)|M~Item~C(0)@s20@170L(1)|M~Description~C(0)@s35@35R(1)|M~"
                      "Quantity~C(0)@n4B@44R(1)|M~Value~C(0)@n10.2B@35R(1)|M~Year~C(0)@n4B@"
                      "75L(1)|M~Serial Number~C(0)@s15@80L(1)|M~Note~C(0)@s80@";
    look.tabs = {{"Listing by Items", ofLocation ? "" : "List Item by Name", "s20", "Locate Item"},
                 {"Listing of Items with Serial Numbers", ofLocation ? "" : "List Item by Name",
                  "s20", "Locate Item"}};
    look.totalLabel = "Total Value of Inventory:";
    look.displays = {{"Location:",
                      {{FieldRef::of(T::ItemsRooms, "ItmRom:RoomsId"), "n10"},
                       {FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS"), "s30"}}}};
    look.insertTip = "Add a New Entry";
    if (!ofLocation) look.extraButtons = {{"&Search", "Search Description"}};
    layOutBrowse(d, look);
    if (!ofLocation)
        d.actions = {{BrowseControl::ExtraButtonBase,
                      [] { return std::make_unique<SearchWindow>(itemSearch()); }, false}};
    return d;
}

} // namespace

const BrowseDef &browseItemsDef()
{
    static const BrowseDef def = itemsDef(false);
    return def;
}

const BrowseDef &itemsSelectLocationDef()
{
    static const BrowseDef def = itemsDef(true);
    return def;
}

} // namespace hk
