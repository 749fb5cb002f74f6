#include "reports/selectwindows.h"

#include "browse/browse.h"
#include "browse/namelist.h"
#include "dictionary/tables.h"

namespace hk
{

const BrowseDef &rptSelectLocationDef()
{
    static const BrowseDef def = nameListDef(
        {TableId::ItemsRooms, "ItmRom:RoomsId", "ITMROM:ROOMS", ItmRom.Primary,
         ItmRom.DisplayByRooms, "Location", "Locate Number", "Locate the Location of Item"},
        "RptSelectLocation", "Select Location to Print", nullptr, nullptr, false);
    return def;
}

const BrowseDef &rptSelectBookCatDef()
{
    static const BrowseDef def = nameListDef(
        {TableId::BookCategory, "BokCat:BookCategoryId", "BOKCAT:BOOKCATEGORY", BokCat.Primary,
         BokCat.DisplayByCategory, "Category", "Locate Category Number", "Locate Category of Book"},
        "RptSelectBookCat", "Select Book Category to Print", nullptr, nullptr, false);
    return def;
}

std::unique_ptr<Procedure> rptSelectLocation()
{
    return std::make_unique<Browse>(rptSelectLocationDef());
}

std::unique_ptr<Procedure> rptSelectBookCat()
{
    return std::make_unique<Browse>(rptSelectBookCatDef());
}

} // namespace hk
