// SetupLocation and PickLocation: the locations by number or name; the same
// window started from the menu, or called by the item form to choose one.
#include "browse/browses.h"
#include "browse/namelist.h"
#include "dictionary/tables.h"

namespace hk
{

Long SetupLocationThread = 0;

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

} // namespace hk
