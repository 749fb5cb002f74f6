// The video lists: VideoCassette (the cassettes, calling the titles of one),
// BrowseVid:Foreign:VideoNumber (the titles of one cassette) and VideoTitle
// (every title, view only).
#include "browse/browse.h"
#include "browse/lists/browses.h"
#include "browse/titledlists.h"
#include "dictionary/tables.h"

namespace hk
{

Long VideoCassetteThread = 0, VideoTitleThread = 0, VideoTitlesOfCassetteThread = 0;

namespace
{

BrowseLook::Display cassetteShown()
{
    return {"Video:",
            {{FieldRef::of(TableId::VideoNumber, "VIDNUM:VIDEONUMBER"), "n10B"},
             {FieldRef::of(TableId::VideoNumber, "VIDNUM:VIDEOTITLE"), "s40"}}};
}

} // namespace

const BrowseDef &videoTitlesOfCassetteDef()
{
    static const BrowseDef def = titlesOfParentDef(
        {.procedure = "BrowseVid:Foreign:VideoNumber",
         .title = "Browse the Titles File by Selected Video",
         .table = TableId::Video,
         .parent = TableId::VideoNumber,
         .fields = {"VID:COUNTERSTART", "VID:VIDEOTITLE", "VID:VIDEOACTOR"},
         .tab = {"Listing by Entry", "List Title by Counter", "", ""},
         .key = Vid.Foreign_VideoNumber,
         .parentId = "VidNum:VideoNumberId",
         .format = "44R(1)|M~Counter Start~C(0)@T4@195L(1)|M~Title~C(0)@s40@130L(1)|M~Actor~C(0)"
                   "@s25@",
         .parentShown = cassetteShown(),
         .claim = &VideoTitlesOfCassetteThread});
    return def;
}

const BrowseDef &videoCassetteDef()
{
    static const BrowseDef def = titledParentDef(
        {.procedure = "VideoCassette",
         .title = "Browse the Video File",
         .tabs = videoCassetteTabs(),
         .total = "HKV:INVENTORYVIDEO",
         .totalLabel = "Total Value of Video Collection:",
         .childButton = {"&Select Video", "Select a Video"},
         .child = [] { return std::make_unique<Browse>(videoTitlesOfCassetteDef()); },
         .claim = &VideoCassetteThread});
    return def;
}

const BrowseDef &videoTitleDef()
{
    const std::string counter = "44R(1)|M~Counter Start~C(0)@T4@#1#";
    const std::string title = "195L(1)|M~Title~C(0)@s40@#2#";
    const std::string actor = "130L(1)|M~Actor~C(0)@s25@#3#";
    static const BrowseDef def = allTitlesDef(
        {.procedure = "VideoTitle",
         .title = "Browse the Video Titles File",
         .table = TableId::Video,
         .parent = TableId::VideoNumber,
         .parentReference = "Vid:VideoNumberId",
         .fields = {"VID:COUNTERSTART", "VID:VIDEOTITLE", "VID:VIDEOACTOR"},
         .byTitle = {{"Listing by Title", "List Title by Name", "s40", "Locate Title of Video"},
                     Vid.DisplayByTitle,
                     counter + title + actor},
         .byPerson = {{"Listing by Actor", "List Actor by Name", "s25", "Locate Name of Actor"},
                      Vid.DisplayByActor,
                      counter + actor + title},
         .parentShown = cassetteShown(),
         .claim = &VideoTitleThread});
    return def;
}

} // namespace hk
