// The magazine archive's two linked windows: Magazine (the magazines, and
// the years of the highlighted one) and BrowseIss:Foreign:MagazineYear (the
// issues of one year, and the articles of the highlighted issue).
#include "browse/lists/magazines.h"
#include "browse/browselayout.h"
#include "browse/linkedbrowse.h"
#include "dictionary/tables.h"

namespace hk
{

Long MagazineThread = 0;
Long BrowseIssThread = 0;

namespace
{

using T = TableId;
namespace C = BrowseControl;

// The first list takes the window's upper part, the second its lower part.
constexpr int Width = 380, FirstHeight = 140, SecondHeight = 130;
constexpr int Height = FirstHeight + SecondHeight;

} // namespace

const LinkedDef &magazineDef()
{
    static const LinkedDef def = [] {
        LinkedDef l;
        l.procedure = "Magazine";
        l.tables = {T::MagName, T::MagYear, T::HearthkpValue};
        l.claim = &MagazineThread;

        BrowseDef &m = l.first;
        m.procedure = l.procedure;
        m.main = T::MagName;
        m.fields = {FieldRef::of(T::MagName, "Mag:MagazineNameId"),
                    FieldRef::of(T::MagName, "MAG:MAGAZINENAME")};
        const std::string byNumber =
            "44R(1)|M~Magazine No~C(0)@n10@#1#195L(1)|M~Magazine~C(0)@s40@#2#";
        const std::string byName =
            "195L(1)|M~Magazine~C(0)@s40@#2#44R(1)|M~Magazine No~C(0)@n10@#1#";
        m.sorts = {{.number = 2, .key = Mag.Primary, .format = byNumber},
                   {.number = 1, .key = Mag.DisplayByName, .format = byName}};
        m.total = FieldRef::of(T::HearthkpValue, "HKV:INVENTORYMAGAZINE");
        BrowseLook ml;
        ml.size = QSize(Width, FirstHeight);
        ml.listFormat = byNumber;
        ml.tabs = {{"Listing by Magazine Number", "List Magazine by Number", "n10B",
                    "Unique Magazine Name Identifier"},
                   {"Listing by Magazine Name", "List Magazine by Name", "s40", "Locate Magazine"}};
        ml.totalLabel = "Total Value of Magazine Collection:";
        layOutBrowse(m, ml);

        BrowseDef &y = l.second;
        y.procedure = l.procedure;
        y.main = T::MagYear;
        y.fields = {FieldRef::of(T::MagYear, "YER:MAGAZINEYEAR")};
        y.sorts = {{.number = 1,
                    .key = Yer.Foreign_MagazineName,
                    .clearsLocator = false,
                    .range = FieldRef::of(T::MagName, "Mag:MagazineNameId")}};
        y.distribution = false;
        BrowseLook yl;
        yl.size = QSize(Width, SecondHeight);
        yl.listFormat = "16C~Year~@n4B@";
        yl.tabs = {{"", "", "", ""}};
        yl.extraButtons = {{"&Select Year", "Select a Year"}};
        layOutBrowse(y, yl);
        y.actions = {
            {C::ExtraButtonBase, [] { return std::make_unique<LinkedBrowse>(browseIssDef()); }}};

        linkLayouts(l, "Browse the Magazine File", QSize(Width, Height), QSize(380, 209));
        const int selectYear = C::ExtraButtonBase + SecondListOffset;
        // No year window opens without a stored year under the highlight.
        l.guards = {{selectYear, T::MagYear}};
        return l;
    }();
    return def;
}

const LinkedDef &browseIssDef()
{
    static const LinkedDef def = [] {
        LinkedDef l;
        l.procedure = "BrowseIss:Foreign:MagazineYear";
        l.tables = {T::MagArticle, T::MagIssue, T::MagName, T::MagYear};
        l.claim = &BrowseIssThread;

        BrowseDef &i = l.first;
        i.procedure = l.procedure;
        i.main = T::MagIssue;
        for (const char *f :
             {"ISS:MAGAZINEISSUE", "ISS:MAGAZINEMONTH", "ISS:VALUES", "ISS:MAGAZINECOMMENTS"})
            i.fields.push_back(FieldRef::of(T::MagIssue, f));
        i.sorts = {{.number = 1,
                    .key = Iss.Foreign_MagazineYear,
                    .range = FieldRef::of(T::MagYear, "YER:MAGAZINEYEARID")}};
        BrowseLook il;
        il.size = QSize(Width, FirstHeight);
        il.listFormat = "35R(1)|M~Issue~C(0)@n4B@42L(1)|M~Month~C(0)@s9@34R(5)~Value~C(0)@n6.2B@";
        il.tabs = {{"Listing by Issues", "List Issue by Number", "n4B", "Locate an Issue"}};
        il.displays = {{"Comments:", {{FieldRef::of(T::MagIssue, "ISS:MAGAZINECOMMENTS"), "s40"}}}};
        layOutBrowse(i, il);

        BrowseDef &a = l.second;
        a.procedure = l.procedure;
        a.main = T::MagArticle;
        for (const char *f : {"ART:ARTICLE", "ART:PAGES", "Art:Comments"})
            a.fields.push_back(FieldRef::of(T::MagArticle, f));
        a.sorts = {{.number = 1,
                    .key = Art.Foreign_MagazineIssue,
                    .range = FieldRef::of(T::MagIssue, "Iss:MagazineIssueId")}};
        a.distribution = false;
        BrowseLook al;
        al.size = QSize(Width, SecondHeight);
        al.listFormat = "170L(1)|M~Article~C(0)@s35@30R|M~Page~C@n3B@140L|M~Comments~C@s35@";
        al.tabs = {{"", "", "s35", "Locate an Article", "&Article:"}};
        layOutBrowse(a, al);

        linkLayouts(l, "Browse the Issue File", QSize(Width, Height), QSize(380, 209));
        // No article is inserted without a stored issue under the highlight.
        l.guards = {{a.insert, T::MagIssue}};
        return l;
    }();
    return def;
}

} // namespace hk
