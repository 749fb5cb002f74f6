// SetupLocation and PickLocation: the locations by number or name; the same
// window started from the menu, or called by the item form to choose one.
#include "browse/browselayout.h"
#include "browse/browses.h"
#include "dictionary/tables.h"

namespace hk
{

Long SetupLocationThread = 0;

namespace
{

BrowseDef locationList(const char *procedure, const char *title, Long *claim)
{
    using T = TableId;
    BrowseDef d;
    d.procedure = procedure;
    d.main = T::ItemsRooms;
    d.fields = {FieldRef::of(T::ItemsRooms, "ItmRom:RoomsId"),
                FieldRef::of(T::ItemsRooms, "ITMROM:ROOMS")};
    const std::string byNumber = "44R(1)|M~Location No~C(0)@n10@#1#155L(1)|M~Location~C(0)@s30@#2#";
    const std::string byName = "155L(1)|M~Location~C(0)@s30@#2#44R(1)|M~Location No~C(0)@n10@#1#";
    d.sorts = {{.number = 2, .key = ItmRom.Primary, .format = byNumber},
               {.number = 1, .key = ItmRom.DisplayByRooms, .format = byName}};
    d.tables = {T::ItemsRooms};
    d.claim = claim;

    BrowseLook look;
    look.title = title;
    look.size = QSize(230, 209);
    look.listFormat = byNumber;
    look.tabs = {
        {"Listing by Location Number", "List Location by Number", "n10B", "Locate Number"},
        {"Listing by Location", "List Location by Name", "s30", "Locate the Location of Item"}};
    look.selectButton = true;
    layOutBrowse(d, look);
    return d;
}

} // namespace

const BrowseDef &setupLocationDef()
{
    static const BrowseDef def =
        locationList("SetupLocation", "Setup Location File", &SetupLocationThread);
    return def;
}

const BrowseDef &pickLocationDef()
{
    // Always called to select, so never refused for another window.
    static const BrowseDef def = locationList("PickLocation", "Select Location", nullptr);
    return def;
}

} // namespace hk
