#include "shell/commands.h"

namespace hk
{

namespace
{

constexpr const char *printIcon = ":/icons/PRINT.svg";

constexpr MenuDef menus[] = {
    {"&File", ""},
    {"&Edit", ""},
    {"&Setup", "Setup and Maintenance"},
    {"&Items", "Items in Household"},
    {"&Books", "Collection of Books"},
    {"S&oftware", "Collection of Software"},
    {"&Video", "Collection of Video Cassette"},
    {"&Music", "Collection of Music Album"},
    {"M&agazine", "Collection of Magazines"},
    {"&Reports", "Print Inventory Listing"},
    {"&Reports/&Items", "Report of Items"},
    {"&Reports/&Books", "Report of Book Collection"},
    {"&Reports/&Software", "Report of Software Collection"},
    {"&Reports/&Video", "Report of Video Collection"},
    {"&Reports/&Music", "Report of Music Collection"},
    {"&Reports/M&agazines", "Report of Magazine Collection"},
    {"&Window", "Create and Arrange windows"},
    {"&Help", "Windows Help"},
};

using C = Command;

constexpr MenuEntry entries[] = {
    {"&File", "&Summary", "Summary of Inventory Listing", C::Start, "FileSummary"},
    {"&File", "&Data Backup", "Backup Data Files", C::Call, "CopyFile"},
    {"&File", nullptr, nullptr, C::Separator},
    {"&File", "&Export Collection\u2026", "Export a collection to a CSV file", C::Start,
     "ExportCollection"},
    {"&File", "&Import Collection\u2026", "Import a collection from a CSV file", C::Start,
     "ImportCollection"},
    {"&File", "Restore &Backup\u2026", "Put a backup of the data file back", C::Call,
     "RestoreBackup"},
    {"&File", nullptr, nullptr, C::Separator},
    {"&File", "P&rint Setup...", "Setup Printer", C::PrintSetup, nullptr, printIcon},
    {"&File", "E&xit", "Exit Hearthkeep", C::Exit},

    {"&Edit", "Cu&t", "Remove item to Windows Clipboard", C::Cut},
    {"&Edit", "&Copy", "Copy item to Windows Clipboard", C::Copy},
    {"&Edit", "&Paste", "Paste contents of Windows Clipboard", C::Paste},

    {"&Setup", "&Owner Address", "Alter Address Information", C::Start, "EditOwnerAddress"},
    {"&Setup", "Restore &Setting", "Restore Default Setting", C::Start, "RestoreDefault"},
    {"&Setup", nullptr, nullptr, C::Separator},
    {"&Setup", "&Location", "Setup Location File", C::Start, "SetupLocation"},
    {"&Setup", "&Book Category", "Setup Book Category", C::Start, "SetupBookCategory"},
    {"&Setup", "&Article Category", "Setup Article Category", C::Start, "SetupArticleCategory"},

    {"&Items", "Browse &Items", "Browse Items Listing", C::Start, "BrowseItems"},
    {"&Items", "Items by &Location", "Browse Items by Selected Location", C::Start,
     "SelectLocation"},
    {"&Items", "&Place Items", "Place Items in Locations", C::Start, "PlaceItems"},

    {"&Books", "Browse &Books", "Browse Book Collection", C::Start, "BrowseBooks"},
    {"&Books", "Books by &Category", "Browse Books by Selected Category", C::Start,
     "SelectBookCategory"},
    {"&Books", "&Place Books", "Place Books in Category", C::Start, "PlaceBooks"},

    {"S&oftware", "Browse &Software", "Browse Software Collection", C::Start, "BrowseSoftware"},

    {"&Video", "Browse &Video", "Browse Video Cassette Collection", C::Start, "VideoCassette"},
    {"&Video", "Browse &Titles", "Browse Video Titles", C::Start, "VideoTitle"},

    {"&Music", "Browse &Album", "Browse Album Collection", C::Start, "MusicAlbum"},
    {"&Music", "Browse &Titles", "Browse Music Titles", C::Start, "MusicTitle"},

    {"M&agazine", "Browse &Magazine", "Browse Magazine Collection", C::Start, "Magazine"},
    {"M&agazine", "Browse &Articles", "Browse Article Listing", C::Start, "MagazineArticle"},
    {"M&agazine", "Articles by &Category", "Browse Articles by Selected Category", C::Start,
     "SelectArticleCategory"},
    {"M&agazine", "&Place Articles", "Place Articles in Category", C::Start, "PlaceArticles"},

    {"&Reports/&Items", "Complete &Items", "Complete Items Listing", C::Start, "RPTITEMCOMPLETE"},
    {"&Reports/&Items", "Items by &Location", "Items by Location", C::Start, "RPTITEMALLLOCATION"},
    {"&Reports/&Items", "Items by &Selected Location", "Items by Selected Location", C::Start,
     "RPTITEMSELLOCATION"},
    {"&Reports/&Items", "Items with Serial &Numbers", "Items with Serial Numbers", C::Start,
     "RPTITEMSERIALNO"},
    {"&Reports/&Items", "Insurance In&ventory", "Items with their photos for an insurer", C::Start,
     "RPTITEMINSURANCE"},

    {"&Reports/&Books", "Books by &Author", "Books by Author", C::Start, "RPTBOOKAUTHOR"},
    {"&Reports/&Books", "Books by &Title", "Books by Title", C::Start, "RPTBOOKTITLE"},
    {"&Reports/&Books", "Books by &Category", "Books by Category", C::Start, "RPTBOOKALLCAT"},
    {"&Reports/&Books", "Books by &Selected Category", "Books by Selected Category", C::Start,
     "RPTBOOKSELCATEGORY"},

    {"&Reports/&Software", "&Software", "Software by Program Name", C::Start, "RPTSOFTWARE"},

    {"&Reports/&Video", "Video &Cassette", "Video by Cassette", C::Start, "RPTVIDEOCASSETTE"},
    {"&Reports/&Video", "Video Cassette &w/Titles", "Video Cassette with Titles", C::Start,
     "RPTVIDEOCASSTITLES"},
    {"&Reports/&Video", "Video &Titles", "Video by Titles", C::Start, "RPTVIDEOTITLES"},
    {"&Reports/&Video", "Video &Actor", "Video by Actor", C::Start, "RPTVIDEOACTOR"},
    {"&Reports/&Video", "Video by &Selected Cassette", "Video by Selected Cassette", C::Start,
     "RPTVIDEOSELCASSETTE"},

    {"&Reports/&Music", "Music &Album", "Music by Album", C::Start, "RPTMUSICALBUM"},
    {"&Reports/&Music", "Music Album &w/Titles", "Music Album with Titles", C::Start,
     "RPTMUSICALBUMTITLES"},
    {"&Reports/&Music", "Music &Titles", "Music by Titles", C::Start, "RPTMUSICTITLE"},
    {"&Reports/&Music", "Music A&rtists", "Music by Artists", C::Start, "RPTMUSICARTIST"},
    {"&Reports/&Music", "Music by &Selected Album", "Music by Selected Album", C::Start,
     "RPTMUSICSELALBUM"},

    {"&Reports/M&agazines", "&Magazines", "Magazine Collection", C::Start, "RPTMAGAZINECOLLECTION"},
    {"&Reports/M&agazines", "Magazines &w/Articles", "Magazines with Articles", C::Start,
     "RPTMAGAZINEARTICLES"},
    {"&Reports/M&agazines", "&Articles by Selected Magazine", "Articles from Selected Magazine",
     C::Start, "RPTMAGSELECTARTICLE"},
    {"&Reports/M&agazines", "Articles by Selected &Year",
     "Articles from Selected Magazine and Year", C::Start, "RPTMAGSELYEARARTICLE"},
    {"&Reports/M&agazines", "&Complete Article Listing", "Complete Listing of all Articles",
     C::Start, "RPTMAGARTICLECOMPLETE"},

    {"&Window", "T&ile", "Make all open windows visible", C::Tile},
    {"&Window", "&Cascade", "Stack all open windows", C::Cascade},
    {"&Window", "&Arrange Icons", "Align all window icons", C::ArrangeIcons},

    {"&Help", "&Contents", "View the contents of the help file", C::HelpContents},
    {"&Help", "&Search for Help On...", "Search for help on a subject", C::HelpSearch},
    {"&Help", "&How to Use Help", "How to use Windows Help", C::HelpOnHelp},
    {"&Help", "&About", "Hearthkeep", C::Start, "AboutHearthkeep"},
};

constexpr ToolButton buttons[] = {
    {"Exit Hearthkeep", C::Exit, nullptr, ":/icons/EXITS.svg"},
    {"Setup Printer", C::PrintSetup, nullptr, printIcon},
    {"Place Items in Locations", C::Start, "PlaceItems", ":/icons/PLACRECS.svg"},
    {"Place Books in Category", C::Start, "PlaceBooks", ":/icons/PLACRECS.svg"},
    {"Browse Item Listing", C::Start, "BrowseItems", ":/icons/ITEMS.svg"},
    {"Browse Items by Selected Location", C::Start, "SelectLocation", ":/icons/BRWCAT.svg"},
    {"Browse Book Collection", C::Start, "BrowseBooks", ":/icons/BOOKS.svg"},
    {"Browse Books by Selected Category", C::Start, "SelectBookCategory", ":/icons/BRWCAT.svg"},
    {"Browse Software Collection", C::Start, "BrowseSoftware", ":/icons/SOFTWARE.svg"},
    {"Browse Album Collection", C::Start, "MusicAlbum", ":/icons/MUSICNO.svg"},
    {"Browse Music Titles", C::Start, "MusicTitle", ":/icons/MUSIC.svg"},
    {"Browse Article Listing", C::Start, "MagazineArticle", ":/icons/ARTICLES.svg"},
    {"Browse Articles by Selected Category", C::Start, "SelectArticleCategory",
     ":/icons/BRWCAT.svg"},
    {"Place Articles in Category", C::Start, "PlaceArticles", ":/icons/PLACRECS.svg"},
    {"Browse Magazine Collection", C::Start, "Magazine", ":/icons/MAGAZINE.svg"},
    {"Browse Video Titles", C::Start, "VideoTitle", ":/icons/VIDEO.svg"},
    {"Browse Video Cassette Collection", C::Start, "VideoCassette", ":/icons/VIDEONO.svg"},
};

} // namespace

std::span<const MenuDef> frameMenus()
{
    return menus;
}
std::span<const MenuEntry> frameMenuEntries()
{
    return entries;
}
std::span<const ToolButton> frameToolButtons()
{
    return buttons;
}

} // namespace hk
