// The article categories (set up from the menu, or picked by the article
// form) and the view-only article lists: all articles by title, or those of
// one category.
#include "browse/browse.h"
#include "browse/browselayout.h"
#include "browse/lists/magazines.h"
#include "browse/namelist.h"
#include "browse/search.h"
#include "dictionary/tables.h"

namespace hk
{

Long SetupArticleCategoryThread = 0;
Long MagazineArticleThread = 0;
Long ArticlesSelectCategoryThread = 0;
Long SelectArticleCategoryThread = 0;

namespace
{

using T = TableId;

const NameList kCategories{T::MagCategory,
                           "Cat:MagazineCategoryId",
                           "CAT:MAGAZINECATEGORY",
                           Cat.Primary,
                           Cat.DisplayByMagazineCategory,
                           "Category",
                           "Locate Category Number",
                           "Locate a Category",
                           "&Locate No:"};

// An article list: by title, or by title within the category in the
// MagCategory buffer; with its magazine, issue month and year beneath.
BrowseDef articleList(const char *procedure, const char *title, Long *claim, bool byCategory)
{
    BrowseDef d;
    d.procedure = procedure;
    d.main = T::MagArticle;
    d.joins = {{T::MagName, "ART:MAGAZINENAMEID"},
               {T::MagIssue, "Art:MagazineIssueId"},
               {T::MagYear, "ART:MAGAZINEYEARID"}};
    for (const char *f : {"ART:ARTICLE", "ART:PAGES", "Art:Comments"})
        d.fields.push_back(FieldRef::of(T::MagArticle, f));
    for (FieldRef f : {FieldRef::of(T::MagName, "MAG:MAGAZINENAME"),
                       FieldRef::of(T::MagIssue, "ISS:MAGAZINEMONTH"),
                       FieldRef::of(T::MagYear, "YER:MAGAZINEYEAR")})
        d.fields.push_back(f);
    BrowseSort s{.number = 1, .key = Art.DisplayByArticles};
    if (byCategory) {
        s.key = Art.Foreign_MagazineCategory;
        s.range = FieldRef::of(T::MagCategory, "Cat:MagazineCategoryId");
    }
    d.sorts = {s};
    d.tables = {T::MagArticle, T::MagName, T::MagIssue, T::MagYear};
    if (byCategory) d.tables.insert(d.tables.begin() + 1, T::MagCategory);
    d.claim = claim;

    BrowseLook look;
    look.title = title;
    look.size = QSize(380, 209);
    look.listFormat = "170L(1)|M~Article~C@s35@35R(1)|M~Page~C(0)@n3B@170L(1)~Comments~C(0)@s35@";
    look.tabs = {{"Listing by Article", "List Article by Name", "s35", "Locate an Article"}};
    look.updates = false;
    look.displays = {{"Magazine:",
                      {{FieldRef::of(T::MagName, "Mag:MagazineNameId"), "n10"},
                       {FieldRef::of(T::MagName, "MAG:MAGAZINENAME"), "s40"}}},
                     {"Issue and Year:",
                      {{FieldRef::of(T::MagIssue, "ISS:MAGAZINEMONTH"), "s9"},
                       {FieldRef::of(T::MagYear, "YER:MAGAZINEYEAR"), "n4B"}}}};
    if (!byCategory) look.extraButtons = {{"&Search", "Search Comments"}};
    layOutBrowse(d, look);
    if (!byCategory)
        d.actions = {{BrowseControl::ExtraButtonBase,
                      [] { return std::make_unique<SearchWindow>(commentSearch()); }, false}};
    return d;
}

} // namespace

const BrowseDef &setupArticleCategoryDef()
{
    static const BrowseDef def =
        nameListDef(kCategories, "SetupArticleCategory", "Setup Article Category File",
                    &SetupArticleCategoryThread);
    return def;
}

const BrowseDef &pickMagazineCategoryDef()
{
    static const BrowseDef def =
        nameListDef(kCategories, "PickMagazineCategory", "Select Article Category", nullptr);
    return def;
}

const BrowseDef &magazineArticleDef()
{
    static const BrowseDef def =
        articleList("MagazineArticle", "Browse the Articles File", &MagazineArticleThread, false);
    return def;
}

const BrowseDef &articlesSelectCategoryDef()
{
    static const BrowseDef def =
        articleList("ArticlesSelectCategory", "Browse the Articles File by Category",
                    &ArticlesSelectCategoryThread, true);
    return def;
}

const BrowseDef &selectArticleCategoryDef()
{
    static const ChildButton articles{
        "&Select Category", "Select a Category",
        [] { return std::make_unique<Browse>(articlesSelectCategoryDef()); }};
    static const BrowseDef def =
        nameListDef(kCategories, "SelectArticleCategory", "Select Article Category",
                    &SelectArticleCategoryThread, &articles);
    return def;
}

const std::vector<const BrowseDef *> &magazineBrowseDefs()
{
    static const std::vector<const BrowseDef *> all = {
        &setupArticleCategoryDef(),  &pickMagazineCategoryDef(),   &magazineArticleDef(),
        &selectArticleCategoryDef(), &articlesSelectCategoryDef(), &searchCommentsResultDef()};
    return all;
}

const std::vector<const LinkedDef *> &magazineLinkedDefs()
{
    static const std::vector<const LinkedDef *> all = {&magazineDef(), &browseIssDef()};
    return all;
}

void addMagazineBrowses(ProcedureCatalogue &catalogue)
{
    for (const BrowseDef *def : magazineBrowseDefs())
        catalogue[QString::fromStdString(def->procedure)] = [def] {
            return std::make_unique<Browse>(*def);
        };
    for (const LinkedDef *def : magazineLinkedDefs())
        catalogue[QString::fromStdString(def->procedure)] = [def] {
            return std::make_unique<LinkedBrowse>(*def);
        };
}

} // namespace hk
