// SearchComments and SearchCommentsResult: the articles whose comments
// contain a text, in comment order, with their magazine, issue and year.
#include "browse/browselayout.h"
#include "browse/lists/magazines.h"
#include "browse/search.h"
#include "dictionary/tables.h"

namespace hk
{

Long SearchCommentsResultThread = 0;

const SearchKind &commentSearch()
{
    static const SearchKind kind{
        "SearchComments", "No Comments did match the requested search string (",
        FieldRef::of(TableId::MagArticle, "Art:Comments"), &searchCommentsResultDef};
    return kind;
}

const BrowseDef &searchCommentsResultDef()
{
    static const BrowseDef def = [] {
        using T = TableId;
        BrowseDef d;
        d.procedure = "SearchCommentsResult";
        d.main = T::MagArticle;
        d.joins = {{T::MagName, "ART:MAGAZINENAMEID"},
                   {T::MagIssue, "Art:MagazineIssueId"},
                   {T::MagYear, "ART:MAGAZINEYEARID"}};
        for (const char *f : {"Art:Comments", "ART:ARTICLE", "ART:PAGES"})
            d.fields.push_back(FieldRef::of(T::MagArticle, f));
        for (const char *f : {"MAG:MAGAZINENAME", "ISS:MAGAZINEMONTH", "YER:MAGAZINEYEAR"})
            d.fields.push_back(findField(f));
        d.sorts = {{.number = 1, .key = Art.DisplayByComments}};
        d.tables = {T::MagArticle, T::MagCategory, T::MagIssue, T::MagName, T::MagYear};
        d.claim = &SearchCommentsResultThread;

        BrowseLook look;
        look.title = "Search Result on Comments";
        look.size = QSize(380, 209);
        look.listFormat = "170L(1)|M~Comments~C(0)@s35@170L(1)|M~Article~C@s35@35R(1)|M~Page~C(0)"
                          "@n3B@";
        look.tabs = {{"Listing by Comment", "List Article by Name", "", ""}};
        look.displays = {{"Magazine:",
                          {{FieldRef::of(T::MagName, "Mag:MagazineNameId"), "n10"},
                           {FieldRef::of(T::MagName, "MAG:MAGAZINENAME"), "s40"}}},
                         {"Issue and Year:",
                          {{FieldRef::of(T::MagIssue, "ISS:MAGAZINEMONTH"), "s9"},
                           {FieldRef::of(T::MagYear, "YER:MAGAZINEYEAR"), "n4B"}}}};
        look.updates = false;
        layOutBrowse(d, look);
        return searchResultDef(commentSearch(), std::move(d));
    }();
    return def;
}

} // namespace hk
