// Every list window the program defines, checked against its own row fields:
// a typo in a list format, a column bound to a field its rows do not hold, or
// a picture that does not suit its field fails here, naming the list.
#include "browse/lists/browses.h"
#include "browse/lists/magazines.h"
#include "browse/lists/placement.h"
#include "browse/search.h"
#include "platform/listformat.h"
#include "reports/catalogue/selectwindows.h"

#include <gtest/gtest.h>

#include <set>

namespace hk
{
namespace
{

struct NamedList {
    std::string name;
    const BrowseDef *def;
};

std::vector<NamedList> everyList()
{
    std::vector<NamedList> all;
    auto single = [&](const BrowseDef *d) { all.push_back({d->procedure, d}); };
    auto linked = [&](const LinkedDef &l) {
        all.push_back({l.procedure + ", first list", &l.first});
        all.push_back({l.procedure + ", second list", &l.second});
    };
    for (const BrowseDef *d : browseDefs())
        single(d);
    for (const BrowseDef *d : magazineBrowseDefs())
        single(d);
    for (const BrowseDef *d : selectionDefs())
        single(d);
    single(&searchDescriptionResultDef());
    for (const LinkedDef *l : magazineLinkedDefs())
        linked(*l);
    for (const PlaceDef *p : placeDefs())
        linked(p->linked);
    return all;
}

// The fields a format shows, checking each column on the way.
std::set<int> fieldsShown(const BrowseDef &def, const std::string &text)
{
    std::string error;
    const std::optional<ListFormat> format = ListFormat::parse(text, &error);
    EXPECT_TRUE(format) << text << ": " << error;
    if (!format) return {};
    EXPECT_EQ(ListFormat::parse(format->toString())->columns, format->columns);
    std::set<int> shown;
    for (const ListColumn &c : format->columns) {
        SCOPED_TRACE(c.header);
        EXPECT_GT(c.width, 0);
        EXPECT_FALSE(c.header.empty());
        EXPECT_TRUE(shown.insert(c.field).second) << "field " << c.field << " shown twice";
        const bool bound = c.field >= 1 && c.field <= int(def.fields.size());
        EXPECT_TRUE(bound) << "field " << c.field << " of " << def.fields.size();
        EXPECT_TRUE(c.picture);
        if (!bound || !c.picture) continue;
        const FieldDef &f = def.fields[std::size_t(c.field - 1)].def();
        const Picture &p = *c.picture;
        SCOPED_TRACE(f.label + " through " + p.toString());
        // Text shows whole, through a picture as wide as its field; a decimal
        // amount with its two places; any other number as a whole number, a
        // date or a time.
        if (f.isText()) {
            EXPECT_EQ(p.kind, PictureKind::Text);
            EXPECT_EQ(p.width, f.size);
        } else {
            EXPECT_NE(p.kind, PictureKind::Text);
            EXPECT_EQ(p.decimals, f.type == FieldType::Decimal ? 2 : 0);
            if (f.type == FieldType::Decimal) {
                EXPECT_EQ(p.kind, PictureKind::Number);
            }
        }
    }
    return shown;
}

TEST(ListDefinitions, EveryColumnShowsOneOfItsRowsFieldsThroughAPictureThatSuitsIt)
{
    const std::vector<NamedList> lists = everyList();
    ASSERT_FALSE(lists.empty());
    for (const NamedList &list : lists) {
        SCOPED_TRACE(list.name);
        const BrowseDef &def = *list.def;
        const ControlLayout *control = def.layout.control(def.list);
        ASSERT_TRUE(control && control->kind == ControlKind::List);
        const std::set<int> declared = fieldsShown(def, control->listFormat);
        for (const BrowseSort &sort : def.sorts) {
            if (sort.format.empty()) continue;
            SCOPED_TRACE("tab of sort order " + std::to_string(sort.number));
            // Another order of the same columns.
            EXPECT_EQ(fieldsShown(def, sort.format), declared);
        }
    }
}

} // namespace
} // namespace hk
