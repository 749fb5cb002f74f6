#include "reports/selectwindows.h"

#include "browse/browse.h"
#include "browse/namelist.h"
#include "dictionary/tables.h"
#include "browse/parentlists.h"

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

// Named by their settings sections, under which they keep their placement.
const BrowseDef &selectVideoCassetteDef()
{
    static const BrowseDef def =
        parentSelectDef("RptSelectVideoCas", "Select Video Cassette to Print", videoCassetteTabs());
    return def;
}

const BrowseDef &selectMusicAlbumDef()
{
    static const BrowseDef def =
        parentSelectDef("RptSelectMusicAlbum", "Select Music Album to Print", musicAlbumTabs());
    return def;
}

} // namespace hk
