// BrowseItems: the household items by name, or only those with a serial
// number, with their location and the inventory's value.
#include "browse/browselayout.h"
#include "browse/browses.h"
#include "dictionary/files.h"
#include "dictionary/tables.h"
#include "platform/data/view.h"

namespace hk
{

Long BrowseItemsThread = 0;

const BrowseDef &browseItemsDef()
{
    static const BrowseDef def = [] {
        using T = TableId;
        BrowseDef d;
        d.procedure = "BrowseItems";
        d.main = T::Items;
        d.joins = {{T::ItemsRooms, "Itm:RoomsId"}};
        for (const char *f : {"ITM:ITEMS", "Itm:Description", "ITM:QUANTITY", "ITM:VALUES",
                              "ITM:ITEMYEAR", "Itm:SerialNumber", "ITM:NOTES"})
            d.fields.push_back(FieldRef::of(T::Items, f));
        d.fields.push_back(FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS"));
        // A blank serial number is stored empty: trailing blanks never are.
        auto withSerial = [](View &v) {
            v.filter(View::column(Items, "Itm:SerialNumber") + " <> ''", {});
        };
        d.sorts = {{.number = 2, .key = Itm.DisplayByItem},
                   {.number = 1, .key = Itm.DisplayBySerialNumbers, .filter = withSerial}};
        d.tables = {T::ItemsRooms, T::Items, T::HearthkpValue};
        d.total = FieldRef::of(T::HearthkpValue, "HKV:INVENTORYITEMS");
        d.claim = &BrowseItemsThread;

        BrowseLook look;
        look.title = "Browse the Items File";
        look.size = QSize(380, 209);
        look.listFormat = "105L(1)|M~Item~C(0)@s20@170L(1)|M~Description~C(0)@s35@35R(1)|M~"
                          "Quantity~C(0)@n4B@44R(1)|M~Value~C(0)@n10.2B@35R(1)|M~Year~C(0)@n4B@"
                          "75L(1)|M~Serial Number~C(0)@s15@80L(1)|M~Note~C(0)@s80@";
        look.tabs = {
            {"Listing by Items", "List Item by Name", "s20", "Locate Item"},
            {"Listing of Items with Serial Numbers", "List Item by Name", "s20", "Locate Item"}};
        look.totalLabel = "Total Value of Inventory:";
        look.displays = {{"Location:",
                          {{FieldRef::of(T::ItemsRooms, "ItmRom:RoomsId"), "n10"},
                           {FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS"), "s30"}}}};
        look.insertTip = "Add a New Entry";
        // Starts the description search, which is not built yet.
        look.extraButtons = {{"&Search", "Search Description"}};
        layOutBrowse(d, look);
        d.unbuilt = {BrowseControl::ExtraButtonBase};
        return d;
    }();
    return def;
}

} // namespace hk
