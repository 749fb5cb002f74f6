#include "reports/catalogue/selectwindows.h"

#include "browse/browse.h"
#include "browse/namelist.h"
#include "browse/parentlists.h"
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

// ------------------------------------------------------------ magazines

#include "browse/browselayout.h"
#include "dictionary/globals.h"
#include "platform/data/files.h"

namespace hk
{

namespace
{

// The selection windows close with Cancel: closing chooses nothing.
void closeIsCancel(BrowseDef &d)
{
    for (ControlLayout &c : d.layout.controls)
        if (c.id == d.close) c.text = "Cancel";
}

// Calls the magazine window and, when it answers 1, the years of the chosen
// magazine.
class SelectMagazineAndYear : public Procedure
{
  public:
    SelectMagazineAndYear() : Procedure(QStringLiteral("RPTSELECTMAGAZINE")) {}

  protected:
    QCoro::Task<> run() override
    {
        GlobalRequest = SelectRecord;
        co_await call(rptSelectMagazine());
        if (GlobalResponse != RequestCompleted) {
            GlobalResponse = RequestCancelled;
            co_return;
        }
        // The year list opens on the chosen magazine's first year, and in
        // select mode: otherwise it could not choose.
        MagYear.def().clear(MagYear.buffer());
        GlobalRequest = SelectRecord;
        co_await call(std::make_unique<Browse>(rptSelectYearDef()));
        if (GlobalResponse != RequestCompleted) GlobalResponse = RequestCancelled;
    }
};

} // namespace

const BrowseDef &rptSelectMagazineDef()
{
    static const BrowseDef def = [] {
        BrowseDef d =
            nameListDef({TableId::MagName, "Mag:MagazineNameId", "MAG:MAGAZINENAME", Mag.Primary,
                         Mag.DisplayByName, "Magazine", "", ""},
                        "RptSelectMagazine", "Select Magazine to Print", nullptr, nullptr, false);
        // Magazine names are longer than the names the shared list is made for.
        const std::string number = "44R(1)|M~Magazine No~C(0)@n10@#1#";
        const std::string name = "195L(1)|M~Magazine~C(0)@s40@#2#";
        d.sorts.at(0).format = number + name;
        d.sorts.at(1).format = name + number;
        for (ControlLayout &c : d.layout.controls) {
            if (c.id == d.list) c.listFormat = number + name;
            if (c.id == d.sorts.at(1).locator) c.picture = "s40";
        }
        closeIsCancel(d);
        return d;
    }();
    return def;
}

const BrowseDef &rptSelectYearDef()
{
    static const BrowseDef def = [] {
        BrowseDef d;
        d.procedure = "RptSelectYear";
        d.main = TableId::MagYear;
        d.fields = {FieldRef::of(TableId::MagYear, "YER:MAGAZINEYEAR")};
        d.sorts = {{.number = 1,
                    .key = Yer.Foreign_MagazineName,
                    .range = FieldRef::of(TableId::MagName, "Mag:MagazineNameId")}};
        d.tables = {TableId::MagName, TableId::MagYear};
        BrowseLook look;
        look.title = "Select Year to Print";
        look.size = QSize(230, 209);
        look.listFormat = "80C~Year~@n4B@";
        look.tabs = {{"Listing by Year", "", "n4B", "Locate a Year"}};
        look.selectButton = true;
        look.updates = false;
        layOutBrowse(d, look);
        closeIsCancel(d);
        return d;
    }();
    return def;
}

std::unique_ptr<Procedure> rptSelectMagazine()
{
    return std::make_unique<Browse>(rptSelectMagazineDef());
}

std::unique_ptr<Procedure> rptSelectMagazineAndYear()
{
    return std::make_unique<SelectMagazineAndYear>();
}

const std::vector<const BrowseDef *> &selectionDefs()
{
    static const std::vector<const BrowseDef *> all = {
        &rptSelectLocationDef(), &rptSelectBookCatDef(),  &selectVideoCassetteDef(),
        &selectMusicAlbumDef(),  &rptSelectMagazineDef(), &rptSelectYearDef()};
    return all;
}

} // namespace hk
