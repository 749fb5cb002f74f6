// PlaceItems, PlaceBooks and PlaceArticles: the placement window fed with
// each collection's parents, children and texts.
#include "browse/browselayout.h"
#include "browse/lists/placement.h"

namespace hk
{

Long PlaceItemsThread = 0;
Long PlaceBooksThread = 0;
Long PlaceArticlesThread = 0;

namespace
{

using T = TableId;

// Parents take the left part of the window, their children the rest.
constexpr int LeftWidth = 170, RightWidth = 290, Height = 209;

struct Texts {
    std::string procedure, title;
    std::string tab, tabTip;
    std::string parentPrompt, parentPicture, parentTip;
    std::string childPrompt, childPicture, childTip;
    std::string countLabel, sumLabel, totalLabel;
    const char *total = nullptr; // the field of HearthkpValue shown, if any
    // The child field added up under the right list, with the count beside
    // it; nullptr for no figures.
    const char *summed = nullptr;
};

struct Lists {
    T parent;
    const char *parentId;
    const char *parentName;
    KeyId parentKey;
    std::string parentFormat;
    T child;
    const char *childLink;
    const char *childName;
    KeyId childKey;
    std::vector<const char *> childFields;
    std::string childFormat;
};

// Both lists and the window around them. Without figures, `displays` are
// the right list's joined fields.
PlaceDef makePlace(const Texts &t, const Lists &l, const PlaceMessages &m, std::vector<T> tables,
                   Long *claim, bool updates, std::vector<BrowseLook::Display> displays = {})
{
    PlaceDef p;
    LinkedDef &d = p.linked;
    d.procedure = t.procedure;
    d.tables = std::move(tables);
    d.claim = claim;

    BrowseDef &a = d.first;
    a.procedure = t.procedure;
    a.main = l.parent;
    a.fields = {FieldRef::of(l.parent, l.parentName)};
    a.sorts = {{.number = 1, .key = l.parentKey, .format = l.parentFormat}};
    BrowseLook al;
    al.size = QSize(LeftWidth, Height);
    al.listFormat = l.parentFormat;
    al.tabs = {{t.tab, t.tabTip, t.parentPicture, t.parentTip, t.parentPrompt}};
    al.updates = updates;
    if (t.total) {
        a.total = FieldRef::of(T::HearthkpValue, t.total);
        al.totalLabel = t.totalLabel;
    }
    layOutBrowse(a, al);

    BrowseDef &b = d.second;
    b.procedure = t.procedure;
    b.main = l.child;
    for (const char *f : l.childFields)
        b.fields.push_back(FieldRef::of(l.child, f));
    b.sorts = {{.number = 1, .key = l.childKey, .range = FieldRef::of(l.parent, l.parentId)}};
    b.distribution = false;
    BrowseLook bl;
    bl.size = QSize(RightWidth, Height);
    bl.listFormat = l.childFormat;
    bl.tabs = {{"", "", t.childPicture, t.childTip, t.childPrompt}};
    bl.updates = updates;
    if (t.summed)
        displays = {{t.countLabel, {{FieldRef::of(l.child, l.childLink), "n6B"}}},
                    {t.sumLabel, {{FieldRef::of(l.child, t.summed), "n10.2B"}}}};
    bl.displays = std::move(displays);
    layOutBrowse(b, bl);

    // Both lists tell the status bar what the user is doing in them.
    for (BrowseDef *list : {&a, &b})
        for (ControlLayout &c : list->layout.controls)
            if (c.id == list->list) c.message = "Browsing Records";
    linkSideBySide(d, t.title, QSize(LeftWidth + RightWidth, Height), QSize(380, 209));
    if (t.summed) {
        // The count and sum displays are the window's own, not fields of a
        // record; their controls are known once both lists share the window.
        p.countDisplay = b.displays.at(0).control;
        p.sumDisplay = b.displays.at(1).control;
        p.summed = FieldRef::of(l.child, t.summed).field;
        b.displays.clear();
    }
    p.parentId = FieldRef::of(l.parent, l.parentId);
    p.parentName = FieldRef::of(l.parent, l.parentName);
    p.childLink = FieldRef::of(l.child, l.childLink);
    p.childName = FieldRef::of(l.child, l.childName);
    p.messages = m;
    return p;
}

} // namespace

const PlaceDef &placeItemsDef()
{
    static const PlaceDef def = [] {
        const Texts t{"PlaceItems",
                      "Place Items in Location",
                      "Listing by Items",
                      "List Items by Name",
                      "&Location:",
                      "s30",
                      "Enter Location to Locate - Maximum 30 Characters",
                      "I&tem:",
                      "s20",
                      "Enter Item to Locate - Maximum 20 Characters",
                      "No. of Items in Location:",
                      "Value of Items:",
                      "Total Value of Inventory:",
                      "HKV:INVENTORYITEMS",
                      "ITM:VALUES"};
        const Lists l{T::ItemsRooms,
                      "ItmRom:RoomsId",
                      "ITMROM:ROOMS",
                      ItmRom.DisplayByRooms,
                      "155L(1)~Location~C(0)@s30@",
                      T::Items,
                      "Itm:RoomsId",
                      "ITM:ITEMS",
                      Itm.Foreign_Rooms,
                      {"ITM:ITEMS", "ITM:DESCRIPTION"},
                      "105L(1)|M~Item~C(0)@s20@170L(1)|M~Description~C(0)@s35@"};
        const PlaceMessages m{"Change location",
                              "You must create a location first!",
                              "Please select another location",
                              "This item: ",
                              "These items: ",
                              " location !",
                              "PickLocation"};
        return makePlace(t, l, m, {T::HearthkpValue, T::Items, T::ItemsRooms}, &PlaceItemsThread,
                         true);
    }();
    return def;
}

const PlaceDef &placeBooksDef()
{
    static const PlaceDef def = [] {
        const Texts t{"PlaceBooks",
                      "Place Books in Category",
                      "Listing by Title",
                      "List Title by Name",
                      "C&ategory:",
                      "s30",
                      "Enter Category of Book to Locate - Maximum 30 Characters",
                      "&Title:",
                      "s45",
                      "Enter Title of Book to Locate - Maximum 45 Characters",
                      "No. of Books in Category:",
                      "Value of Books:",
                      "Total Value of Collection:",
                      "HKV:INVENTORYBOOKS",
                      "BOK:BOOKVALUE"};
        const Lists l{
            T::BookCategory,
            "BokCat:BookCategoryId",
            "BOKCAT:BOOKCATEGORY",
            BokCat.DisplayByCategory,
            "155L(1)~Category~C(0)@s30@",
            T::Books,
            "Bok:BookCategoryId",
            "BOK:BOOKTITLE",
            Bok.Foreign_BookCategory,
            {"BOK:BOOKTITLE", "BOK:BOOKAUTHOR", "BOK:BOOKVALUE"},
            "220L(1)|M~Title~C(0)@s45@130L(1)|M~Author~C(0)@s25@44R(1)|M~Value~C(0)@n9.2B@"};
        const PlaceMessages m{"Change category",
                              "You must create categories first!",
                              "Please select another category",
                              "This book: ",
                              "These books: ",
                              " category !",
                              "PickBookCategory"};
        return makePlace(t, l, m, {T::HearthkpValue, T::Books, T::BookCategory}, &PlaceBooksThread,
                         true);
    }();
    return def;
}

const PlaceDef &placeArticlesDef()
{
    static const PlaceDef def = [] {
        const Texts t{"PlaceArticles",
                      "Place Articles in Category",
                      "Listed by Article",
                      "List Article by Name",
                      "&Category:",
                      "s30",
                      "Enter a Category to Locate - Maximum 30 Characters",
                      "&Article:",
                      "s35",
                      "Enter an Article to Locate - Maximum 35 Characters",
                      "",
                      "",
                      ""};
        const Lists l{
            T::MagCategory,
            "Cat:MagazineCategoryId",
            "CAT:MAGAZINECATEGORY",
            Cat.DisplayByMagazineCategory,
            "155L(1)~Category~C(0)@s30@",
            T::MagArticle,
            "Art:MagazineCategoryId",
            "ART:ARTICLE",
            Art.Foreign_MagazineCategory,
            {"ART:ARTICLE", "ART:PAGES", "Art:Comments"},
            "170L(1)|M~Article~C(0)@s35@24R(1)|M~Page~C(0)@n3B@170L(1)~Comments~C(0)@s35@"};
        const PlaceMessages m{"Change category",
                              "You must create categories first!",
                              "Please select another category",
                              "This article: ",
                              "These articles: ",
                              " category !",
                              "PickMagazineCategory"};
        // Articles are made in the magazine windows and only moved here.
        PlaceDef p =
            makePlace(t, l, m, {T::MagArticle, T::MagCategory, T::MagIssue, T::MagName, T::MagYear},
                      &PlaceArticlesThread, false,
                      {{"Magazine:", {{FieldRef::of(T::MagName, "MAG:MAGAZINENAME"), "s40"}}},
                       {"Issue and Year:",
                        {{FieldRef::of(T::MagIssue, "ISS:MAGAZINEMONTH"), "s9"},
                         {FieldRef::of(T::MagYear, "YER:MAGAZINEYEAR"), "n4B"}}}});
        BrowseDef &b = p.linked.second;
        b.joins = {{T::MagName, "ART:MAGAZINENAMEID"},
                   {T::MagIssue, "Art:MagazineIssueId"},
                   {T::MagYear, "ART:MAGAZINEYEARID"}};
        for (FieldRef f : {FieldRef::of(T::MagName, "MAG:MAGAZINENAME"),
                           FieldRef::of(T::MagIssue, "ISS:MAGAZINEMONTH"),
                           FieldRef::of(T::MagYear, "YER:MAGAZINEYEAR")})
            b.fields.push_back(f);
        return p;
    }();
    return def;
}

} // namespace hk

namespace hk
{

const std::vector<const PlaceDef *> &placeDefs()
{
    static const std::vector<const PlaceDef *> all = {&placeItemsDef(), &placeBooksDef(),
                                                      &placeArticlesDef()};
    return all;
}

void addPlacementWindows(std::map<QString, ProcedureFactory> &catalogue)
{
    for (const PlaceDef *def : placeDefs())
        catalogue[QString::fromStdString(def->linked.procedure)] = [def] {
            return std::make_unique<Placement>(*def);
        };
}

} // namespace hk
