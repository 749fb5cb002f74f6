// The software, video and music forms as data for the form engine. A cassette
// and an album are the same kind of form (a numbered parent with a value), as
// are a title and a track (a child primed from its parent).
#include "dictionary/tables.h"
#include "forms/formdef.h"

namespace hk
{

namespace
{

using C = FormControl;
using T = TableId;

FormDef software()
{
    return {.name = "UpdateSoftWare",
            .table = T::SoftWare,
            .caption = "Update the Software File",
            .width = 363,
            .height = 140,
            .namingField = "SFTWRE:PROGRAMNAME",
            .tables = {T::HearthkpValue, T::SoftWare},
            .fields = {{C::Entry, "&Program Name:", "SFTWRE:PROGRAMNAME", "s30", "Name of Program",
                        "Enter or Edit Name - Maximum 30 Characters", ""},
                       {C::Entry, "&Value:", "SFTWRE:VALUES", "n9.2B", "Value of Software",
                        "Enter or Edit Value - Maximum 5.2 Digits", ""},
                       {C::Display, "Total Value Of Software Collection:", "HKV:INVENTORYDISKS",
                        "n12.2B", "", "", ""},
                       {C::Entry, "V&ersion:", "SFTWRE:VERSION", "s8", "Program Version",
                        "Enter or Edit Version - Maximum 8 Characters", ""},
                       {C::Entry, "&Serial Number:", "SFTWRE:SERIALNUMBER", "s30", "Serial Number",
                        "Enter or Edit Serial Number - Maximum 30 Characters", ""},
                       {C::DropList, "&Media:", "SFTWRE:MEDIA", "", "Software Media",
                        "Select Media", "3 ½|5 ¼|3 ½ + 5 ¼|3 ½ + Cd Rom|Cd Rom"},
                       {C::Entry, "&Disks:", "SFTWRE:NUMBEROFDISKS", "n3B",
                        "Number of Disks in Package", "Enter or Edit Disks - Maximum 3 Digits", ""},
                       {C::Entry, "&Note:", "SFTWRE:NOTES", "s80", "Additional Note",
                        "Enter or Edit Note - Maximum 80 Characters", ""}},
            .required = {{"SFTWRE:PROGRAMNAME", "Please enter Program Name",
                          "Program Name field must be completed before accepted !"}},
            .total = RunningTotal{"SFTWRE:VALUES", "HKV:INVENTORYDISKS"},
            .insertKeys = {{Sftwre.Primary, "Sftwre:Primary"}},
            .photos = true};
}

// The texts in which a cassette and an album differ.
struct NumberedParent {
    const char *name, *caption, *namingField;
    T table;
    int height;
    const char *numberPrompt, *number, *numberMessage, *missingNumber, *missingNumberText;
    const char *title, *titleMessage, *titleTip;
    const char *person, *personPrompt, *personMessage, *personTip, *missingPerson,
        *missingPersonText;
    const char *value, *valueMessage, *totalLabel, *total;
    const char *media, *mediaTip; // null: no media
    const char *year, *yearMessage, *studio, *studioMessage, *licence;
    KeyId primary, byNumber;
    const char *primaryLabel, *byNumberLabel, *duplicatePrefix, *duplicateTitle;
    bool ditto;
};

FormDef numberedParent(const NumberedParent &p)
{
    FormDef d{.name = p.name,
              .table = p.table,
              .caption = p.caption,
              .width = 279,
              .height = p.height,
              .namingField = p.namingField,
              .tables = {T::HearthkpValue, p.table},
              .notesKey = true,
              .recall = p.ditto};
    d.fields = {{C::Entry, p.numberPrompt, p.number, "n10B", p.numberMessage,
                 "Enter or Edit Number - Maximum 8 Digits", ""},
                {C::Entry, "&Title", p.title, "s40", p.titleMessage, p.titleTip, ""},
                {C::Entry, p.personPrompt, p.person, "s25", p.personMessage, p.personTip, ""},
                {C::Entry, "&Value:", p.value, "n6.2B", p.valueMessage,
                 "Enter or Edit Value - Maximum 3.2 Digits", ""},
                {C::Display, p.totalLabel, p.total, "n12.2B", "", "", ""}};
    if (p.media)
        d.fields.push_back({C::DropList, "&Media:", p.media, "", "Media", p.mediaTip,
                            "Cassette|Cd|Lp|Single|Tape"});
    d.fields.push_back({C::Entry, "&Year:", p.year, "n4B", p.yearMessage,
                        "Enter or Edit Year - Maximum 4 Digits", ""});
    d.fields.push_back({C::Entry, "&Studio:", p.studio, "s15", p.studioMessage,
                        "Enter or Edit Studio - Maximum 15 Characters", ""});
    d.fields.push_back({C::Entry, "&Licence No:", p.licence, "s15", "Licence Number",
                        "Enter or Edit Number - Maximum 15 Characters", ""});
    d.required = {
        {p.number, p.missingNumber, p.missingNumberText},
        {p.title, "Please enter Title", "Title field must be completed before accepted !"},
        {p.person, p.missingPerson, p.missingPersonText}};
    d.duplicate = DuplicateCheck{p.byNumber, p.duplicatePrefix, p.duplicateTitle};
    d.total = RunningTotal{p.value, p.total};
    d.insertKeys = {{p.primary, p.primaryLabel}, {p.byNumber, p.byNumberLabel}};
    d.secondNumber = SecondNumber{p.number, p.byNumber};
    d.photos = true;
    return d;
}

FormDef videoNumber()
{
    return numberedParent({.name = "UpdateVideoNumber",
                           .caption = "Update the Video File",
                           .namingField = "VIDNUM:VIDEOTITLE",
                           .table = T::VideoNumber,
                           .height = 140,
                           .numberPrompt = "Video &No:",
                           .number = "VIDNUM:VIDEONUMBER",
                           .numberMessage = "Number of Video Cassette",
                           .missingNumber = "Please enter Video Number",
                           .missingNumberText = "Video field must be completed before accepted !",
                           .title = "VIDNUM:VIDEOTITLE",
                           .titleMessage = "Title of Video",
                           .titleTip = "Enter or Edit Video Title - Maximum 40 Characters",
                           .person = "VIDNUM:VIDEOACTOR",
                           .personPrompt = "&Actor:",
                           .personMessage = "Name of Actor",
                           .personTip = "Enter or Edit Actor - Maximum 25 Characters",
                           .missingPerson = "Please enter Actor",
                           .missingPersonText = "Actor field must be completed before accepted !",
                           .value = "VIDNUM:VALUES",
                           .valueMessage = "Value of Video",
                           .totalLabel = "Total Value Of Video Collection:",
                           .total = "HKV:INVENTORYVIDEO",
                           .media = nullptr,
                           .mediaTip = nullptr,
                           .year = "VIDNUM:VIDEOYEAR",
                           .yearMessage = "Year of Video Release",
                           .studio = "VIDNUM:STUDIO",
                           .studioMessage = "Film Studio",
                           .licence = "VIDNUM:LICENCENUMBER",
                           .primary = VidNum.Primary,
                           .byNumber = VidNum.DisplayByVideoNumber,
                           .primaryLabel = "VidNum:Primary",
                           .byNumberLabel = "Listing by Video Number",
                           .duplicatePrefix = "The Video Cassette Number: ",
                           .duplicateTitle = "Please enter another Video Cassette Number",
                           .ditto = true});
}

FormDef musicNumber()
{
    return numberedParent({.name = "UpdateMusicNumber",
                           .caption = "Update the Music File",
                           .namingField = "MUSNUM:ALBUMTITLE",
                           .table = T::MusicNumber,
                           .height = 154,
                           .numberPrompt = "Album &No:",
                           .number = "MUSNUM:ALBUMNUMBER",
                           .numberMessage = "Number of Album",
                           .missingNumber = "Please enter Album Number",
                           .missingNumberText = "Album field must be completed before accepted !",
                           .title = "MUSNUM:ALBUMTITLE",
                           .titleMessage = "Title of Album",
                           .titleTip = "Enter or Edit Album Title - Maximum 40 Characters",
                           .person = "MUSNUM:ALBUMARTIST",
                           .personPrompt = "&Artist:",
                           .personMessage = "Name of Artist",
                           .personTip = "Enter or Edit Artist - Maximum 25 Characters",
                           .missingPerson = "Please enter Artist",
                           .missingPersonText = "Artist field must be completed before accepted !",
                           .value = "MUSNUM:VALUES",
                           .valueMessage = "Value of Album",
                           .totalLabel = "Total Value Of Music Collection:",
                           .total = "HKV:INVENTORYMUSIC",
                           .media = "MUSNUM:MEDIA",
                           .mediaTip = "Click to Select a Media from Listing",
                           .year = "MUSNUM:MUSICYEAR",
                           .yearMessage = "Year of Album Release",
                           .studio = "MUSNUM:STUDIO",
                           .studioMessage = "Recording Studio",
                           .licence = "MUSNUM:LICENCENUMBER",
                           .primary = MusNum.Primary,
                           .byNumber = MusNum.DisplayByAlbumNumber,
                           .primaryLabel = "MusNum:Primary",
                           .byNumberLabel = "Listing by Album Number",
                           .duplicatePrefix = "The Album Number: ",
                           .duplicateTitle = "Please enter another Album Number",
                           .ditto = false});
}

FormDef video()
{
    return {.name = "UpdateVideo",
            .table = T::Video,
            .caption = "Update the Video Titles File",
            .width = 269,
            .height = 112,
            .namingField = "VID:VIDEOTITLE",
            .tables = {T::Video, T::VideoNumber},
            .fields = {{C::Display, "Video No:", "VIDNUM:VIDEONUMBER", "n10B", "", "", ""},
                       {C::Display, "Video Title:", "VIDNUM:VIDEOTITLE", "s40", "", "", ""},
                       {C::Entry, "&Counter:", "VID:COUNTERSTART", "T4", "Counter Start",
                        "Enter or Edit Counter Start - Maximum 2.2.2 Digits", ""},
                       {C::Entry, "&Title:", "VID:VIDEOTITLE", "s40", "Title of Video",
                        "Enter or Edit Video Title - Maximum 40 Characters", ""},
                       {C::Entry, "&Actor:", "VID:VIDEOACTOR", "s25", "Name of Actor",
                        "Accept or Edit Actor - Maximum 25 Characters", ""}},
            .required = {{"VID:VIDEOTITLE", "Please enter Title",
                          "Title field must be completed before accepted !"},
                         {"VID:VIDEOACTOR", "Please enter Actor",
                          "Actor field must be completed before accepted !"}},
            .insertKeys = {{Vid.Primary, "Vid:Primary"}},
            .primes = {{"VID:VIDEONUMBERID", "VIDNUM:VIDEONUMBERID"},
                       {"VID:VIDEOACTOR", "VIDNUM:VIDEOACTOR"}},
            .parents = {{T::VideoNumber, "VID:VIDEONUMBERID"}}};
}

FormDef music()
{
    return {.name = "UpdateMusic",
            .table = T::Music,
            .caption = "Update the Music Titles File",
            .width = 269,
            .height = 142,
            .namingField = "MUS:MUSICTITLE",
            .tables = {T::Music, T::MusicNumber},
            .fields = {{C::Display, "Album No:", "MUSNUM:ALBUMNUMBER", "n10B", "", "", ""},
                       {C::Display, "Album Title:", "MUSNUM:ALBUMTITLE", "s40", "", "", ""},
                       {C::Entry, "T&rack:", "MUS:MUSICTRACK", "n2B", "Track",
                        "Enter Track - Maximum 2 Digits", ""},
                       {C::Entry, "&Title:", "MUS:MUSICTITLE", "s40", "Music Title",
                        "Enter or Edit Title - Maximum 40 Characters", ""},
                       {C::Entry, "&Artist:", "MUS:MUSICARTIST", "s25", "Name of Artist",
                        "Accept or Edit Artist - Maximum 25 Characters", ""},
                       {C::Option, "&Side", "MUS:TITLESIDE", "", "Side of Title", "", "A|B"}},
            .required = {{"MUS:MUSICTRACK", "Please enter Track",
                          "Track field must be completed before accepted !"},
                         {"MUS:MUSICTITLE", "Please enter Title",
                          "Title field must be completed before accepted !"},
                         {"MUS:MUSICARTIST", "Please enter Artist",
                          "Artist field must be completed before accepted !"}},
            .insertKeys = {{Mus.Primary, "Mus:Primary"}},
            .primes = {{"Mus:MusicNumberId", "MusNum:MusicNumberId"},
                       {"MUS:MUSICARTIST", "MUSNUM:ALBUMARTIST"}},
            .parents = {{T::MusicNumber, "Mus:MusicNumberId"}}};
}

} // namespace

std::vector<FormDef> collectionForms()
{
    return {software(), video(), videoNumber(), music(), musicNumber()};
}

} // namespace hk
