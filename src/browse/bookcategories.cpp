// SetupBookCategory and PickBookCategory: the book categories by number or
// name; the same window started from the menu, or called by the book form.
#include "browse/browse.h"
#include "browse/browselayout.h"
#include "browse/browses.h"
#include "dictionary/tables.h"

namespace hk
{

Long SetupBookCategoryThread = 0;

namespace
{

BrowseDef categoryList(const char *procedure, const char *title, Long *claim)
{
    using T = TableId;
    BrowseDef d;
    d.procedure = procedure;
    d.main = T::BookCategory;
    d.fields = {FieldRef::of(T::BookCategory, "BokCat:BookCategoryId"),
                FieldRef::of(T::BookCategory, "BOKCAT:BOOKCATEGORY")};
    const std::string byNumber = "44R(1)|M~Category No~C(0)@n10@#1#155L(1)|M~Category~C(0)@s30@#2#";
    const std::string byName = "155L(1)|M~Category~C(0)@s30@#2#44R(1)|M~Category No~C(0)@n10@#1#";
    d.sorts = {{.number = 2, .key = BokCat.Primary, .format = byNumber},
               {.number = 1, .key = BokCat.DisplayByCategory, .format = byName}};
    d.tables = {T::BookCategory};
    d.claim = claim;

    BrowseLook look;
    look.title = title;
    look.size = QSize(230, 209);
    look.listFormat = byNumber;
    look.tabs = {
        {"Listing by Category Number", "List Category by Number", "n10B", "Locate Category Number"},
        {"Listing by Category", "List Category by Name", "s30", "Locate Category of Book"}};
    look.selectButton = true;
    layOutBrowse(d, look);
    return d;
}

} // namespace

const BrowseDef &setupBookCategoryDef()
{
    static const BrowseDef def =
        categoryList("SetupBookCategory", "Setup Book Category File", &SetupBookCategoryThread);
    return def;
}

const BrowseDef &pickBookCategoryDef()
{
    static const BrowseDef def = categoryList("PickBookCategory", "Select Book Category", nullptr);
    return def;
}

void addBrowses(ProcedureCatalogue &catalogue)
{
    for (const BrowseDef *def :
         {&browseBooksDef(), &browseItemsDef(), &setupLocationDef(), &pickLocationDef(),
          &setupBookCategoryDef(), &pickBookCategoryDef()})
        catalogue[QString::fromStdString(def->procedure)] = [def] {
            return std::make_unique<Browse>(*def);
        };
}

} // namespace hk
