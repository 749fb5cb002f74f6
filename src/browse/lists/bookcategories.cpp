// SetupBookCategory, PickBookCategory and SelectBookCategory: the book
// categories by number or name; the same window started from the menu,
// called by the book form, or leading to the books of the highlighted one.
#include "browse/browse.h"
#include "browse/lists/browses.h"
#include "browse/namelist.h"
#include "dictionary/tables.h"

namespace hk
{

Long SetupBookCategoryThread = 0;
Long SelectBookCategoryThread = 0;

namespace
{

const NameList kCategories{TableId::BookCategory,    "BokCat:BookCategoryId",
                           "BOKCAT:BOOKCATEGORY",    BokCat.Primary,
                           BokCat.DisplayByCategory, "Category",
                           "Locate Category Number", "Locate Category of Book"};

} // namespace

const BrowseDef &setupBookCategoryDef()
{
    static const BrowseDef def = nameListDef(kCategories, "SetupBookCategory",
                                             "Setup Book Category File", &SetupBookCategoryThread);
    return def;
}

const BrowseDef &pickBookCategoryDef()
{
    static const BrowseDef def =
        nameListDef(kCategories, "PickBookCategory", "Select Book Category", nullptr);
    return def;
}

const BrowseDef &selectBookCategoryDef()
{
    static const ChildButton books{"&Select Category", "Select a Category", [] {
                                       return std::make_unique<Browse>(booksSelectCategoryDef());
                                   }};
    static const BrowseDef def =
        nameListDef(kCategories, "SelectBookCategory", "Select Book Category",
                    &SelectBookCategoryThread, &books);
    return def;
}

const std::vector<const BrowseDef *> &browseDefs()
{
    static const std::vector<const BrowseDef *> all = {
        &browseBooksDef(),           &browseItemsDef(),         &setupLocationDef(),
        &pickLocationDef(),          &setupBookCategoryDef(),   &pickBookCategoryDef(),
        &selectLocationDef(),        &itemsSelectLocationDef(), &selectBookCategoryDef(),
        &booksSelectCategoryDef(),   &browseSoftwareDef(),      &videoCassetteDef(),
        &videoTitlesOfCassetteDef(), &videoTitleDef(),          &musicAlbumDef(),
        &musicTracksOfAlbumDef(),    &musicTitleDef()};
    return all;
}

void addBrowses(ProcedureCatalogue &catalogue)
{
    for (const BrowseDef *def : browseDefs())
        catalogue[QString::fromStdString(def->procedure)] = [def] {
            return std::make_unique<Browse>(*def);
        };
}

} // namespace hk
