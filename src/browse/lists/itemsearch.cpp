// SearchItemDescription and SearchDescriptionResult: the items whose
// description contains a text, in description order, with their location.
#include "browse/browselayout.h"
#include "browse/search.h"
#include "dictionary/tables.h"

namespace hk
{

Long SearchDescriptionResultThread = 0;

const SearchKind &itemSearch()
{
    static const SearchKind kind{
        "SearchItemDescription", "No Descriptions did match the requested search string (",
        FieldRef::of(TableId::Items, "Itm:Description"), &searchDescriptionResultDef};
    return kind;
}

const BrowseDef &searchDescriptionResultDef()
{
    static const BrowseDef def = [] {
        using T = TableId;
        BrowseDef d;
        d.procedure = "SearchDescriptionResult";
        d.main = T::Items;
        d.joins = {{T::ItemsRooms, "Itm:RoomsId"}};
        for (const char *f : {"Itm:Description", "ITM:ITEMS", "ITM:QUANTITY", "ITM:VALUES",
                              "ITM:ITEMYEAR", "Itm:SerialNumber", "ITM:NOTES"})
            d.fields.push_back(FieldRef::of(T::Items, f));
        d.fields.push_back(FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS"));
        d.sorts = {{.number = 1, .key = Itm.DisplayByDescription}};
        d.tables = {T::Items, T::ItemsRooms};
        d.claim = &SearchDescriptionResultThread;

        BrowseLook look;
        look.title = "Search Result on Description";
        look.size = QSize(380, 209);
        look.listFormat =
            "170L(1)|M~Description~C(0)@s35@170L(1)|M~Item~C(0)@s20@35R(1)|M~Quantity~C(0)@n4B@"
            "44R(1)|M~Value~C(0)@n10.2B@35R(1)|M~Year~C(0)@n4B@75L(1)|M~Serial Number~C(0)@s15@"
            "80L(1)|M~Note~C(0)@s80@";
        look.tabs = {{"List by Description", "", "", ""}};
        look.displays = {{"Location:",
                          {{FieldRef::of(T::ItemsRooms, "ItmRom:RoomsId"), "n10"},
                           {FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS"), "s30"},
                           {FieldRef::of(T::Items, "ITM:NOTES"), "s80"}}}};
        look.updates = false;
        layOutBrowse(d, look);
        return searchResultDef(itemSearch(), std::move(d));
    }();
    return def;
}

} // namespace hk
