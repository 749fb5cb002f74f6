// SetupLocation, PickLocation and SelectLocation: the locations by number or
// name; the same window started from the menu, called by the item form to
// choose one, or leading to the items of the highlighted location.
#include "browse/browse.h"
#include "browse/lists/browses.h"
#include "browse/namelist.h"
#include "dictionary/tables.h"

namespace hk
{

Long SetupLocationThread = 0;
Long SelectLocationThread = 0;

namespace
{

const NameList kLocations{
    TableId::ItemsRooms,   "ItmRom:RoomsId", "ITMROM:ROOMS",  ItmRom.Primary,
    ItmRom.DisplayByRooms, "Location",       "Locate Number", "Locate the Location of Item"};

} // namespace

const BrowseDef &setupLocationDef()
{
    static const BrowseDef def =
        nameListDef(kLocations, "SetupLocation", "Setup Location File", &SetupLocationThread);
    return def;
}

const BrowseDef &pickLocationDef()
{
    // Always called to select, so never refused for another window.
    static const BrowseDef def =
        nameListDef(kLocations, "PickLocation", "Select Location", nullptr);
    return def;
}

const BrowseDef &selectLocationDef()
{
    static const ChildButton items{"&Select Location", "Select a Location", [] {
                                       return std::make_unique<Browse>(itemsSelectLocationDef());
                                   }};
    static const BrowseDef def =
        nameListDef(kLocations, "SelectLocation", "Select Location", &SelectLocationThread, &items);
    return def;
}

} // namespace hk
