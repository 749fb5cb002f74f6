// The music lists: MusicAlbum (the albums, calling the tracks of one),
// BrowseMus:Foreign:MusicAlbum (the tracks of one album) and MusicTitle
// (every track, view only).
#include "browse/browse.h"
#include "browse/lists/browses.h"
#include "browse/titledlists.h"
#include "dictionary/tables.h"

namespace hk
{

Long MusicAlbumThread = 0, MusicTitleThread = 0, MusicTracksOfAlbumThread = 0;

namespace
{

BrowseLook::Display albumShown()
{
    return {"Album:",
            {{FieldRef::of(TableId::MusicNumber, "MUSNUM:ALBUMNUMBER"), "n10B"},
             {FieldRef::of(TableId::MusicNumber, "MUSNUM:ALBUMTITLE"), "s40"}}};
}

} // namespace

const BrowseDef &musicTracksOfAlbumDef()
{
    static const BrowseDef def = titlesOfParentDef(
        {.procedure = "BrowseMus:Foreign:MusicAlbum",
         .title = "Browse the Titles File by Selected Album",
         .table = TableId::Music,
         .parent = TableId::MusicNumber,
         .fields = {"MUS:MUSICTRACK", "MUS:MUSICTITLE", "MUS:MUSICARTIST", "MUS:TITLESIDE"},
         .tab = {"Listing by Titles", "List Title by Track", "", ""},
         .key = Mus.Foreign_MusicAlbum,
         .parentId = "MusNum:MusicNumberId",
         .format = "24R(1)|M~Track~C(0)@n2B@195L(1)|M~Title~C(0)@s40@130L(1)|M~Artist~C(0)@s25@"
                   "20L(2)|M~Side~C(0)@s1@",
         .parentShown = albumShown(),
         .claim = &MusicTracksOfAlbumThread});
    return def;
}

const BrowseDef &musicAlbumDef()
{
    static const BrowseDef def =
        titledParentDef({.procedure = "MusicAlbum",
                         .title = "Browse the Music File",
                         .tabs = musicAlbumTabs(),
                         .total = "HKV:INVENTORYMUSIC",
                         .totalLabel = "Total Value of Music Collection:",
                         .childButton = {"&Select Album", "Select an Album"},
                         .child = [] { return std::make_unique<Browse>(musicTracksOfAlbumDef()); },
                         .claim = &MusicAlbumThread});
    return def;
}

const BrowseDef &musicTitleDef()
{
    const std::string track = "24R(1)|M~Track~C(0)@n2B@#1#";
    const std::string title = "195L(1)|M~Title~C(0)@s40@#2#";
    const std::string artist = "130L(1)|M~Artist~C(0)@s25@#3#";
    const std::string side = "20L(1)|M~Side~C(0)@s1@#4#";
    static const BrowseDef def = allTitlesDef(
        {.procedure = "MusicTitle",
         .title = "Browse the Music Titles File",
         .table = TableId::Music,
         .parent = TableId::MusicNumber,
         .parentReference = "Mus:MusicNumberId",
         .fields = {"MUS:MUSICTRACK", "MUS:MUSICTITLE", "MUS:MUSICARTIST", "MUS:TITLESIDE"},
         .byTitle = {{"Listing by Title", "List Title by Name", "s40", "Locate Music Title"},
                     Mus.DisplayByTitle,
                     track + title + artist + side},
         .byPerson = {{"Listing by Artist", "List Artist by Name", "s25", "Locate Name of Artist"},
                      Mus.DisplayByArtist,
                      track + artist + title + side},
         .parentShown = albumShown(),
         .claim = &MusicTitleThread});
    return def;
}

} // namespace hk
