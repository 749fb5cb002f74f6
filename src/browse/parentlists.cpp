#include "browse/parentlists.h"

#include "dictionary/tables.h"

namespace hk
{

namespace
{

ParentTabs parentTabs(TableId table, std::vector<const char *> fields,
                      std::array<BrowseLook::Tab, 3> looks, std::array<KeyId, 3> keys,
                      const std::string &number, const std::string &title,
                      const std::string &person, const std::string &rest)
{
    return {table,
            std::move(fields),
            {looks[0], keys[0], number + title + person + rest},
            {looks[1], keys[1], title + person + number + rest},
            {looks[2], keys[2], person + title + number + rest}};
}

} // namespace

const ParentTabs &videoCassetteTabs()
{
    static const ParentTabs tabs = parentTabs(
        TableId::VideoNumber,
        {"VIDNUM:VIDEONUMBER", "VIDNUM:VIDEOTITLE", "VIDNUM:VIDEOACTOR", "VIDNUM:VALUES",
         "VIDNUM:VIDEOYEAR", "VIDNUM:STUDIO", "VIDNUM:LICENCENUMBER"},
        {BrowseLook::Tab{"Listing by Video Number", "List Video by Number", "n10B",
                         "Locate Number of Video Cassette"},
         {"Listing by Video Title", "List Video by Title", "s40", "Locate Title of Video"},
         {"Listing by Actor", "List Video by Actor", "s25", "Locate Name of Actor"}},
        {VidNum.DisplayByVideoNumber, VidNum.DisplayByVideoTitle, VidNum.DisplayByVideoActor},
        "44R(1)|M~Number~C(0)@n10B@#1#", "195L(1)|M~Video Title~C(0)@s40@#2#",
        "130L(1)|M~Actor~C(0)@s25@#3#",
        "34R(1)|M~Value~C(0)@n6.2B@#4#35C|M~Year~@n4B@#5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~"
        "Licence No~C(0)@s15@#7#");
    return tabs;
}

const ParentTabs &musicAlbumTabs()
{
    static const ParentTabs tabs = parentTabs(
        TableId::MusicNumber,
        {"MUSNUM:ALBUMNUMBER", "MUSNUM:ALBUMTITLE", "MUSNUM:ALBUMARTIST", "MUSNUM:VALUES",
         "MUSNUM:MEDIA", "MUSNUM:MUSICYEAR", "MUSNUM:STUDIO", "MUSNUM:LICENCENUMBER"},
        {BrowseLook::Tab{"Listing by Album Number", "List Album by Number", "n10B",
                         "Locate Number of Album"},
         {"Listing by Album Title", "List Album by Title", "s40", "Locate Title of Album"},
         {"Listing by Artist", "List Album by Artist", "s25", "Locate Name of Artist"}},
        {MusNum.DisplayByAlbumNumber, MusNum.DisplayByAlbumTitle, MusNum.DisplayByAlbumArtist},
        "44R(1)|M~Number~C(0)@n10B@#1#", "195L(1)|M~Album Title~C(0)@s40@#2#",
        "130L(1)|M~Artist~C(0)@s25@#3#",
        "34R(1)|M~Value~C(0)@n6.2B@#4#40L(1)|M~Media~C(0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~"
        "Studio~C(0)@s15@#7#75L(1)|M~Licence No~C(0)@s15@#8#");
    return tabs;
}

void useParentTabs(BrowseDef &d, BrowseLook &look, const ParentTabs &tabs)
{
    d.main = tabs.table;
    for (const char *f : tabs.fields)
        d.fields.push_back(FieldRef::of(tabs.table, f));
    auto sort = [](int number, const TitledTab &t) {
        return BrowseSort{.number = number, .key = t.key, .format = t.format};
    };
    d.sorts = {sort(3, tabs.byNumber), sort(1, tabs.byTitle), sort(2, tabs.byPerson)};
    look.size = QSize(380, 209);
    look.listFormat = tabs.byNumber.format;
    look.tabs = {tabs.byNumber.look, tabs.byTitle.look, tabs.byPerson.look};
}

BrowseDef parentSelectDef(const char *procedure, const char *title, const ParentTabs &tabs)
{
    BrowseDef d;
    d.procedure = procedure;
    d.tables = {tabs.table};
    BrowseLook look;
    useParentTabs(d, look, tabs);
    look.title = title;
    look.selectButton = true;
    look.updates = false;
    layOutBrowse(d, look);
    return d;
}

} // namespace hk
