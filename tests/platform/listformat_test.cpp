#include "platform/listformat.h"

#include <gtest/gtest.h>

#include <map>

using namespace hk;

namespace
{

// One column as expected: width, alignment, indent, border, resizable,
// header, header alignment, header indent, picture, field shown.
struct Col {
    int width;
    char align;
    int indent;
    bool border;
    bool resizable;
    const char *header;
    char headerAlign;
    int headerIndent;
    const char *picture;
    int field;
};

struct Quoted {
    const char *user; // the window (and tab) that declares the format
    const char *format;
    std::vector<Col> columns;
    const char *sameAs; // a format quoted again: the columns of that user's
};

// Every list format the program's windows declare, as they declare them.
const std::vector<Quoted> kFormats = {
    {"SetupLocation, by number",
     "44R(1)|M~Location No~C(0)@n10@#1#155L(1)|M~Location~C(0)@s30@#2#",
     {{44, 'R', 1, true, true, "Location No", 'C', 0, "n10", 1},
      {155, 'L', 1, true, true, "Location", 'C', 0, "s30", 2}},
     nullptr},
    {"SetupLocation, by name",
     "155L(1)|M~Location~C(0)@s30@#2#44R(1)|M~Location No~C(0)@n10@#1#",
     {{155, 'L', 1, true, true, "Location", 'C', 0, "s30", 2},
      {44, 'R', 1, true, true, "Location No", 'C', 0, "n10", 1}},
     nullptr},
    {"SetupBookCategory, by number",
     "44R(1)|M~Category No~C(0)@n10@#1#155L(1)|M~Category~C(0)@s30@#2#",
     {{44, 'R', 1, true, true, "Category No", 'C', 0, "n10", 1},
      {155, 'L', 1, true, true, "Category", 'C', 0, "s30", 2}},
     nullptr},
    {"SetupBookCategory, by name",
     "155L(1)|M~Category~C(0)@s30@#2#44R(1)|M~Category No~C(0)@n10@#1#",
     {{155, 'L', 1, true, true, "Category", 'C', 0, "s30", 2},
      {44, 'R', 1, true, true, "Category No", 'C', 0, "n10", 1}},
     nullptr},
    {"BrowseItems",
     "105L(1)|M~Item~C(0)@s20@170L(1)|M~Description~C(0)@s35@35R(1)|M~Quantity~C(0)@n4B@44R(1)|M~"
     "Value~C(0)@n10.2B@35R(1)|M~Year~C(0)@n4B@75L(1)|M~Serial "
     "Number~C(0)@s15@80L(1)|M~Note~C(0)@s80@",
     {{105, 'L', 1, true, true, "Item", 'C', 0, "s20", 1},
      {170, 'L', 1, true, true, "Description", 'C', 0, "s35", 2},
      {35, 'R', 1, true, true, "Quantity", 'C', 0, "n4B", 3},
      {44, 'R', 1, true, true, "Value", 'C', 0, "n10.2B", 4},
      {35, 'R', 1, true, true, "Year", 'C', 0, "n4B", 5},
      {75, 'L', 1, true, true, "Serial Number", 'C', 0, "s15", 6},
      {80, 'L', 1, true, true, "Note", 'C', 0, "s80", 7}},
     nullptr},
    {"BrowseBooks, by title",
     "220L(1)|M~Title~C(0)@s45@#1#130L(1)|M~Author~C(0)@s25@#2#44R(1)|M~Value~C(0)@n9.2B@#3#35R(1)|"
     "M~Pages~C(0)@n4B@#4#130L(1)|M~Publication~C(0)@s25@#5#105L(1)|M~Isbn "
     "Number~C(0)@s20@#6#35C|M~Year~@n4B@#7#40L(1)|M~Cover~C(0)@s9@#8#",
     {{220, 'L', 1, true, true, "Title", 'C', 0, "s45", 1},
      {130, 'L', 1, true, true, "Author", 'C', 0, "s25", 2},
      {44, 'R', 1, true, true, "Value", 'C', 0, "n9.2B", 3},
      {35, 'R', 1, true, true, "Pages", 'C', 0, "n4B", 4},
      {130, 'L', 1, true, true, "Publication", 'C', 0, "s25", 5},
      {105, 'L', 1, true, true, "Isbn Number", 'C', 0, "s20", 6},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 7},
      {40, 'L', 1, true, true, "Cover", 'C', 0, "s9", 8}},
     nullptr},
    {"BrowseBooks, by author",
     "130L(1)|M~Author~C(0)@s25@#2#220L(1)|M~Title~C(0)@s45@#1#44R(1)|M~Value~C(0)@n9.2B@#3#35R(1)|"
     "M~Pages~C(0)@n4B@#4#130L(1)|M~Publication~C(0)@s25@#5#105L(1)|M~Isbn "
     "Number~C(0)@s20@#6#35C|M~Year~@n4B@#7#40L(1)|M~Cover~C(0)@s9@#8#",
     {{130, 'L', 1, true, true, "Author", 'C', 0, "s25", 2},
      {220, 'L', 1, true, true, "Title", 'C', 0, "s45", 1},
      {44, 'R', 1, true, true, "Value", 'C', 0, "n9.2B", 3},
      {35, 'R', 1, true, true, "Pages", 'C', 0, "n4B", 4},
      {130, 'L', 1, true, true, "Publication", 'C', 0, "s25", 5},
      {105, 'L', 1, true, true, "Isbn Number", 'C', 0, "s20", 6},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 7},
      {40, 'L', 1, true, true, "Cover", 'C', 0, "s9", 8}},
     nullptr},
    {"BrowseSoftware",
     "155L(1)|M~Program "
     "Name~C(0)@s30@44R(1)|M~Value~C(0)@n9.2B@40L(1)|M~Version~C(0)@s8@110L(1)|M~Serial "
     "Number~C(0)@s30@52L(1)|M~Media~C(0)@s12@24R(1)|M~Disks~C(0)@n3B@80L(1)|M~Note~C(0)@s80@",
     {{155, 'L', 1, true, true, "Program Name", 'C', 0, "s30", 1},
      {44, 'R', 1, true, true, "Value", 'C', 0, "n9.2B", 2},
      {40, 'L', 1, true, true, "Version", 'C', 0, "s8", 3},
      {110, 'L', 1, true, true, "Serial Number", 'C', 0, "s30", 4},
      {52, 'L', 1, true, true, "Media", 'C', 0, "s12", 5},
      {24, 'R', 1, true, true, "Disks", 'C', 0, "n3B", 6},
      {80, 'L', 1, true, true, "Note", 'C', 0, "s80", 7}},
     nullptr},
    {"VideoCassette, by number",
     "44R(1)|M~Number~C(0)@n10B@#1#195L(1)|M~Video "
     "Title~C(0)@s40@#2#130L(1)|M~Actor~C(0)@s25@#3#34R(1)|M~Value~C(0)@n6.2B@#4#35C|M~Year~@n4B@#"
     "5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~Licence No~C(0)@s15@#7#",
     {{44, 'R', 1, true, true, "Number", 'C', 0, "n10B", 1},
      {195, 'L', 1, true, true, "Video Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Actor", 'C', 0, "s25", 3},
      {34, 'R', 1, true, true, "Value", 'C', 0, "n6.2B", 4},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 5},
      {75, 'L', 1, true, true, "Studio", 'C', 0, "s15", 6},
      {75, 'L', 1, true, true, "Licence No", 'C', 0, "s15", 7}},
     nullptr},
    {"VideoCassette, by title",
     "195L(1)|M~Video "
     "Title~C(0)@s40@#2#130L(1)|M~Actor~C(0)@s25@#3#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C("
     "0)@n6.2B@#4#35C|M~Year~@n4B@#5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~Licence No~C(0)@s15@#7#",
     {{195, 'L', 1, true, true, "Video Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Actor", 'C', 0, "s25", 3},
      {44, 'R', 1, true, true, "Number", 'C', 0, "n10B", 1},
      {34, 'R', 1, true, true, "Value", 'C', 0, "n6.2B", 4},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 5},
      {75, 'L', 1, true, true, "Studio", 'C', 0, "s15", 6},
      {75, 'L', 1, true, true, "Licence No", 'C', 0, "s15", 7}},
     nullptr},
    {"VideoCassette, by actor",
     "130L(1)|M~Actor~C(0)@s25@#3#195L(1)|M~Video "
     "Title~C(0)@s40@#2#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C(0)@n6.2B@#4#35C|M~Year~@n4B@#"
     "5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~Licence No~C(0)@s15@#7#",
     {{130, 'L', 1, true, true, "Actor", 'C', 0, "s25", 3},
      {195, 'L', 1, true, true, "Video Title", 'C', 0, "s40", 2},
      {44, 'R', 1, true, true, "Number", 'C', 0, "n10B", 1},
      {34, 'R', 1, true, true, "Value", 'C', 0, "n6.2B", 4},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 5},
      {75, 'L', 1, true, true, "Studio", 'C', 0, "s15", 6},
      {75, 'L', 1, true, true, "Licence No", 'C', 0, "s15", 7}},
     nullptr},
    {"BrowseVid:Foreign:VideoNumber",
     "44R(1)|M~Counter Start~C(0)@T4@195L(1)|M~Title~C(0)@s40@130L(1)|M~Actor~C(0)@s25@",
     {{44, 'R', 1, true, true, "Counter Start", 'C', 0, "T4", 1},
      {195, 'L', 1, true, true, "Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Actor", 'C', 0, "s25", 3}},
     nullptr},
    {"VideoTitle, by title",
     "44R(1)|M~Counter Start~C(0)@T4@#1#195L(1)|M~Title~C(0)@s40@#2#130L(1)|M~Actor~C(0)@s25@#3#",
     {{44, 'R', 1, true, true, "Counter Start", 'C', 0, "T4", 1},
      {195, 'L', 1, true, true, "Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Actor", 'C', 0, "s25", 3}},
     nullptr},
    {"VideoTitle, by actor",
     "44R(1)|M~Counter Start~C(0)@T4@#1#130L(1)|M~Actor~C(0)@s25@#3#195L(1)|M~Title~C(0)@s40@#2#",
     {{44, 'R', 1, true, true, "Counter Start", 'C', 0, "T4", 1},
      {130, 'L', 1, true, true, "Actor", 'C', 0, "s25", 3},
      {195, 'L', 1, true, true, "Title", 'C', 0, "s40", 2}},
     nullptr},
    {"MusicAlbum, by number",
     "44R(1)|M~Number~C(0)@n10B@#1#195L(1)|M~Album "
     "Title~C(0)@s40@#2#130L(1)|M~Artist~C(0)@s25@#3#34R(1)|M~Value~C(0)@n6.2B@#4#40L(1)|M~Media~C("
     "0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~Studio~C(0)@s15@#7#75L(1)|M~Licence No~C(0)@s15@#8#",
     {{44, 'R', 1, true, true, "Number", 'C', 0, "n10B", 1},
      {195, 'L', 1, true, true, "Album Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Artist", 'C', 0, "s25", 3},
      {34, 'R', 1, true, true, "Value", 'C', 0, "n6.2B", 4},
      {40, 'L', 1, true, true, "Media", 'C', 0, "s8", 5},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 6},
      {75, 'L', 1, true, true, "Studio", 'C', 0, "s15", 7},
      {75, 'L', 1, true, true, "Licence No", 'C', 0, "s15", 8}},
     nullptr},
    {"MusicAlbum, by title",
     "195L(1)|M~Album "
     "Title~C(0)@s40@#2#130L(1)|M~Artist~C(0)@s25@#3#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C("
     "0)@n6.2B@#4#40L(1)|M~Media~C(0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~Studio~C(0)@s15@#7#75L(1)|"
     "M~Licence No~C(0)@s15@#8#",
     {{195, 'L', 1, true, true, "Album Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Artist", 'C', 0, "s25", 3},
      {44, 'R', 1, true, true, "Number", 'C', 0, "n10B", 1},
      {34, 'R', 1, true, true, "Value", 'C', 0, "n6.2B", 4},
      {40, 'L', 1, true, true, "Media", 'C', 0, "s8", 5},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 6},
      {75, 'L', 1, true, true, "Studio", 'C', 0, "s15", 7},
      {75, 'L', 1, true, true, "Licence No", 'C', 0, "s15", 8}},
     nullptr},
    {"MusicAlbum, by artist",
     "130L(1)|M~Artist~C(0)@s25@#3#195L(1)|M~Album "
     "Title~C(0)@s40@#2#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C(0)@n6.2B@#4#40L(1)|M~Media~C("
     "0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~Studio~C(0)@s15@#7#75L(1)|M~Licence No~C(0)@s15@#8#",
     {{130, 'L', 1, true, true, "Artist", 'C', 0, "s25", 3},
      {195, 'L', 1, true, true, "Album Title", 'C', 0, "s40", 2},
      {44, 'R', 1, true, true, "Number", 'C', 0, "n10B", 1},
      {34, 'R', 1, true, true, "Value", 'C', 0, "n6.2B", 4},
      {40, 'L', 1, true, true, "Media", 'C', 0, "s8", 5},
      {35, 'C', 0, true, true, "Year", 'C', 0, "n4B", 6},
      {75, 'L', 1, true, true, "Studio", 'C', 0, "s15", 7},
      {75, 'L', 1, true, true, "Licence No", 'C', 0, "s15", 8}},
     nullptr},
    {"BrowseMus:Foreign:MusicAlbum",
     "24R(1)|M~Track~C(0)@n2B@195L(1)|M~Title~C(0)@s40@130L(1)|M~Artist~C(0)@s25@20L(2)|M~Side~C(0)"
     "@s1@",
     {{24, 'R', 1, true, true, "Track", 'C', 0, "n2B", 1},
      {195, 'L', 1, true, true, "Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Artist", 'C', 0, "s25", 3},
      {20, 'L', 2, true, true, "Side", 'C', 0, "s1", 4}},
     nullptr},
    {"MusicTitle, by title",
     "24R(1)|M~Track~C(0)@n2B@#1#195L(1)|M~Title~C(0)@s40@#2#130L(1)|M~Artist~C(0)@s25@#3#20L(1)|M~"
     "Side~C(0)@s1@#4#",
     {{24, 'R', 1, true, true, "Track", 'C', 0, "n2B", 1},
      {195, 'L', 1, true, true, "Title", 'C', 0, "s40", 2},
      {130, 'L', 1, true, true, "Artist", 'C', 0, "s25", 3},
      {20, 'L', 1, true, true, "Side", 'C', 0, "s1", 4}},
     nullptr},
    {"MusicTitle, by artist",
     "24R(1)|M~Track~C(0)@n2B@#1#130L(1)|M~Artist~C(0)@s25@#3#195L(1)|M~Title~C(0)@s40@#2#20L(1)|M~"
     "Side~C(0)@s1@#4#",
     {{24, 'R', 1, true, true, "Track", 'C', 0, "n2B", 1},
      {130, 'L', 1, true, true, "Artist", 'C', 0, "s25", 3},
      {195, 'L', 1, true, true, "Title", 'C', 0, "s40", 2},
      {20, 'L', 1, true, true, "Side", 'C', 0, "s1", 4}},
     nullptr},
    {"MagazineArticle",
     "170L(1)|M~Article~C@s35@35R(1)|M~Page~C(0)@n3B@170L(1)~Comments~C(0)@s35@",
     {{170, 'L', 1, true, true, "Article", 'C', 0, "s35", 1},
      {35, 'R', 1, true, true, "Page", 'C', 0, "n3B", 2},
      {170, 'L', 1, false, false, "Comments", 'C', 0, "s35", 3}},
     nullptr},
    {"Magazine, names by number",
     "44R(1)|M~Magazine No~C(0)@n10@#1#195L(1)|M~Magazine~C(0)@s40@#2#",
     {{44, 'R', 1, true, true, "Magazine No", 'C', 0, "n10", 1},
      {195, 'L', 1, true, true, "Magazine", 'C', 0, "s40", 2}},
     nullptr},
    {"Magazine, names by name",
     "195L(1)|M~Magazine~C(0)@s40@#2#44R(1)|M~Magazine No~C(0)@n10@#1#",
     {{195, 'L', 1, true, true, "Magazine", 'C', 0, "s40", 2},
      {44, 'R', 1, true, true, "Magazine No", 'C', 0, "n10", 1}},
     nullptr},
    {"Magazine, years",
     "16C~Year~@n4B@",
     {{16, 'C', 0, false, false, "Year", 'C', 0, "n4B", 1}},
     nullptr},
    {"Magazine, issues",
     "35R(1)|M~Issue~C(0)@n4B@42L(1)|M~Month~C(0)@s9@34R(5)~Value~C(0)@n6.2B@",
     {{35, 'R', 1, true, true, "Issue", 'C', 0, "n4B", 1},
      {42, 'L', 1, true, true, "Month", 'C', 0, "s9", 2},
      {34, 'R', 5, false, false, "Value", 'C', 0, "n6.2B", 3}},
     nullptr},
    {"Magazine, articles",
     "170L(1)|M~Article~C(0)@s35@30R|M~Page~C@n3B@140L|M~Comments~C@s35@",
     {{170, 'L', 1, true, true, "Article", 'C', 0, "s35", 1},
      {30, 'R', 0, true, true, "Page", 'C', 0, "n3B", 2},
      {140, 'L', 0, true, true, "Comments", 'C', 0, "s35", 3}},
     nullptr},
    {"SearchDescriptionResult",
     "170L(1)|M~Description~C(0)@s35@170L(1)|M~Item~C(0)@s20@35R(1)|M~Quantity~C(0)@n4B@44R(1)|M~"
     "Value~C(0)@n10.2B@35R(1)|M~Year~C(0)@n4B@75L(1)|M~Serial "
     "Number~C(0)@s15@80L(1)|M~Note~C(0)@s80@",
     {{170, 'L', 1, true, true, "Description", 'C', 0, "s35", 1},
      {170, 'L', 1, true, true, "Item", 'C', 0, "s20", 2},
      {35, 'R', 1, true, true, "Quantity", 'C', 0, "n4B", 3},
      {44, 'R', 1, true, true, "Value", 'C', 0, "n10.2B", 4},
      {35, 'R', 1, true, true, "Year", 'C', 0, "n4B", 5},
      {75, 'L', 1, true, true, "Serial Number", 'C', 0, "s15", 6},
      {80, 'L', 1, true, true, "Note", 'C', 0, "s80", 7}},
     nullptr},
    {"SearchCommentsResult",
     "170L(1)|M~Comments~C(0)@s35@170L(1)|M~Article~C@s35@35R(1)|M~Page~C(0)@n3B@",
     {{170, 'L', 1, true, true, "Comments", 'C', 0, "s35", 1},
      {170, 'L', 1, true, true, "Article", 'C', 0, "s35", 2},
      {35, 'R', 1, true, true, "Page", 'C', 0, "n3B", 3}},
     nullptr},
    {"PlaceItems, locations",
     "155L(1)~Location~C(0)@s30@",
     {{155, 'L', 1, false, false, "Location", 'C', 0, "s30", 1}},
     nullptr},
    {"PlaceBooks, categories",
     "155L(1)~Category~C(0)@s30@",
     {{155, 'L', 1, false, false, "Category", 'C', 0, "s30", 1}},
     nullptr},
    {"PlaceArticles, categories", "155L(1)~Category~C(0)@s30@", {}, "PlaceBooks, categories"},
    {"PlaceItems, items",
     "105L(1)|M~Item~C(0)@s20@170L(1)|M~Description~C(0)@s35@",
     {{105, 'L', 1, true, true, "Item", 'C', 0, "s20", 1},
      {170, 'L', 1, true, true, "Description", 'C', 0, "s35", 2}},
     nullptr},
    {"PlaceBooks, books",
     "220L(1)|M~Title~C(0)@s45@130L(1)|M~Author~C(0)@s25@44R(1)|M~Value~C(0)@n9.2B@",
     {{220, 'L', 1, true, true, "Title", 'C', 0, "s45", 1},
      {130, 'L', 1, true, true, "Author", 'C', 0, "s25", 2},
      {44, 'R', 1, true, true, "Value", 'C', 0, "n9.2B", 3}},
     nullptr},
    {"PlaceArticles, articles",
     "170L(1)|M~Article~C(0)@s35@24R(1)|M~Page~C(0)@n3B@170L(1)~Comments~C(0)@s35@",
     {{170, 'L', 1, true, true, "Article", 'C', 0, "s35", 1},
      {24, 'R', 1, true, true, "Page", 'C', 0, "n3B", 2},
      {170, 'L', 1, false, false, "Comments", 'C', 0, "s35", 3}},
     nullptr},
    {"RPTSELECTLOCATION, by number",
     "44R(1)|M~Location No~C(0)@n10@#1#155L(1)|M~Location~C(0)@s30@#2#",
     {},
     "SetupLocation, by number"},
    {"RPTSELECTLOCATION, by name",
     "155L(1)|M~Location~C(0)@s30@#2#44R(1)|M~Location No~C(0)@n10@#1#",
     {},
     "SetupLocation, by name"},
    {"RPTSELECTBOOKCAT, by number",
     "44R(1)|M~Category No~C(0)@n10@#1#155L(1)|M~Category~C(0)@s30@#2#",
     {},
     "SetupBookCategory, by number"},
    {"RPTSELECTBOOKCAT, by name",
     "155L(1)|M~Category~C(0)@s30@#2#44R(1)|M~Category No~C(0)@n10@#1#",
     {},
     "SetupBookCategory, by name"},
    {"RPTSELECTVIDEOCAS, by number",
     "44R(1)|M~Number~C(0)@n10B@#1#195L(1)|M~Video "
     "Title~C(0)@s40@#2#130L(1)|M~Actor~C(0)@s25@#3#34R(1)|M~Value~C(0)@n6.2B@#4#35C|M~Year~@n4B@#"
     "5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~Licence No~C(0)@s15@#7#",
     {},
     "VideoCassette, by number"},
    {"RPTSELECTVIDEOCAS, by title",
     "195L(1)|M~Video "
     "Title~C(0)@s40@#2#130L(1)|M~Actor~C(0)@s25@#3#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C("
     "0)@n6.2B@#4#35C|M~Year~@n4B@#5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~Licence No~C(0)@s15@#7#",
     {},
     "VideoCassette, by title"},
    {"RPTSELECTVIDEOCAS, by actor",
     "130L(1)|M~Actor~C(0)@s25@#3#195L(1)|M~Video "
     "Title~C(0)@s40@#2#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C(0)@n6.2B@#4#35C|M~Year~@n4B@#"
     "5#75L(1)|M~Studio~C(0)@s15@#6#75L(1)|M~Licence No~C(0)@s15@#7#",
     {},
     "VideoCassette, by actor"},
    {"RPTSELECTMUSICALBUM, by number",
     "44R(1)|M~Number~C(0)@n10B@#1#195L(1)|M~Album "
     "Title~C(0)@s40@#2#130L(1)|M~Artist~C(0)@s25@#3#34R(1)|M~Value~C(0)@n6.2B@#4#40L(1)|M~Media~C("
     "0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~Studio~C(0)@s15@#7#75L(1)|M~Licence No~C(0)@s15@#8#",
     {},
     "MusicAlbum, by number"},
    {"RPTSELECTMUSICALBUM, by title",
     "195L(1)|M~Album "
     "Title~C(0)@s40@#2#130L(1)|M~Artist~C(0)@s25@#3#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C("
     "0)@n6.2B@#4#40L(1)|M~Media~C(0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~Studio~C(0)@s15@#7#75L(1)|"
     "M~Licence No~C(0)@s15@#8#",
     {},
     "MusicAlbum, by title"},
    {"RPTSELECTMUSICALBUM, by artist",
     "130L(1)|M~Artist~C(0)@s25@#3#195L(1)|M~Album "
     "Title~C(0)@s40@#2#44R(1)|M~Number~C(0)@n10B@#1#34R(1)|M~Value~C(0)@n6.2B@#4#40L(1)|M~Media~C("
     "0)@s8@#5#35C|M~Year~@n4B@#6#75L(1)|M~Studio~C(0)@s15@#7#75L(1)|M~Licence No~C(0)@s15@#8#",
     {},
     "MusicAlbum, by artist"},
    {"RPTSELECTMAGAZINE, by number",
     "44R(1)|M~Magazine No~C(0)@n10@#1#195L(1)|M~Magazine~C(0)@s40@#2#",
     {},
     "Magazine, names by number"},
    {"RPTSELECTMAGAZINE, by name",
     "195L(1)|M~Magazine~C(0)@s40@#2#44R(1)|M~Magazine No~C(0)@n10@#1#",
     {},
     "Magazine, names by name"},
    {"RPTSELECTYEAR",
     "80C~Year~@n4B@",
     {{80, 'C', 0, false, false, "Year", 'C', 0, "n4B", 1}},
     nullptr},
};

char letter(ColumnAlign a)
{
    return "LRCD"[static_cast<int>(a)];
}

} // namespace

TEST(ListFormat, EveryDeclaredFormatReadsIntoItsColumns)
{
    std::map<std::string, const Quoted *> byUser;
    for (const auto &q : kFormats)
        byUser[q.user] = &q;
    for (const auto &q : kFormats) {
        SCOPED_TRACE(q.user);
        const Quoted &expected = q.sameAs ? *byUser.at(q.sameAs) : q;
        if (q.sameAs) {
            EXPECT_STREQ(q.format, expected.format);
        }
        std::string error;
        auto format = ListFormat::parse(q.format, &error);
        ASSERT_TRUE(format) << error;
        ASSERT_EQ(format->columns.size(), expected.columns.size());
        for (std::size_t i = 0; i < expected.columns.size(); ++i) {
            const Col &e = expected.columns[i];
            const ListColumn &c = format->columns[i];
            SCOPED_TRACE(e.header);
            EXPECT_EQ(c.width, e.width);
            EXPECT_EQ(letter(c.align), e.align);
            EXPECT_EQ(c.indent, e.indent);
            EXPECT_EQ(c.rightBorder, e.border);
            EXPECT_EQ(c.resizable, e.resizable);
            EXPECT_EQ(c.header, e.header);
            EXPECT_EQ(letter(c.headerAlign), e.headerAlign);
            EXPECT_EQ(c.headerIndent, e.headerIndent);
            ASSERT_TRUE(c.picture);
            EXPECT_EQ(*c.picture, Picture::of(e.picture));
            EXPECT_EQ(c.field, e.field);
        }
        EXPECT_EQ(ListFormat::parse(format->toString())->columns, format->columns);
    }
}

TEST(ListFormat, FieldsFollowOnWhereNotNumbered)
{
    // Extra fields that modifiers bring (style, colours, icon, tree, tip)
    // are skipped by the next column's field.
    auto f = ListFormat::of("20L~A~@s5@20LY~B~@s5@20L*~C~@s5@20LI~D~@s5@#9#20LT~E~@s5@20LP~F~@s5@"
                            "20L~G~@s5@");
    std::vector<int> fields;
    for (const auto &c : f.columns)
        fields.push_back(c.field);
    EXPECT_EQ(fields, (std::vector<int>{1, 2, 4, 9, 11, 13, 15}));
    EXPECT_EQ(f.columnOfField(9), 3);
    EXPECT_EQ(f.columnOfField(3), -1);
}

TEST(ListFormat, ReadsTheLesserModifiers)
{
    auto f = ListFormat::of("12D(3)_F/?~H~R(2)#4#");
    const ListColumn &c = f.columns.front();
    EXPECT_EQ(c.align, ColumnAlign::Decimal);
    EXPECT_EQ(c.indent, 3);
    EXPECT_TRUE(c.underline && c.fixed && c.lastOnLine && c.locator);
    EXPECT_FALSE(c.rightBorder || c.resizable);
    EXPECT_EQ(c.headerAlign, ColumnAlign::Right);
    EXPECT_EQ(c.headerIndent, 2);
    EXPECT_FALSE(c.picture);
    EXPECT_EQ(c.field, 4);
}

TEST(ListFormat, RefusesBadTextSayingWhere)
{
    const std::vector<std::pair<const char *, const char *>> bad = {
        {"", "at least one column"},
        {"L(1)~A~", "position 0: a column starts with its width"},
        {"20L(x)~A~", "indent"},
        {"20L~A", "unclosed header"},
        {"20L~A~@s5", "unclosed picture"},
        {"20L~A~@q5@", "position 6: unknown picture 'q5'"},
        {"20L~A~@s5@#0#", "field number"},
        {"20L~A~@s5@#x#", "field number"},
        {"20LR~A~", "position 3: alignment 'R' out of place"},
        {"20L~A~~B~", "a second header"},
        {"20LQ~A~", "position 3: unknown modifier 'Q'"},
    };
    for (const auto &[text, message] : bad) {
        std::string error;
        EXPECT_FALSE(ListFormat::parse(text, &error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << text << ": " << error;
    }
    EXPECT_THROW(ListFormat::of("20L~A"), std::invalid_argument);
}
