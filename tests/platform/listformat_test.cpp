#include "platform/listformat.h"

#include <gtest/gtest.h>

using namespace hk;

// The declared lists' own formats are checked against their fields in
// tests/browse/listdefs_test.cpp; here the reading of each part of a column.
TEST(ListFormat, ReadsEveryPartOfAColumn)
{
    const ListFormat f = ListFormat::of("44R(1)|M~Location No~C(0)@n10@#2#35C~Year~@n4B@"
                                        "170L|~Notes~R(3)@s35@");
    ASSERT_EQ(f.columns.size(), 3u);
    const ListColumn &number = f.columns[0];
    EXPECT_EQ(number.width, 44);
    EXPECT_EQ(number.align, ColumnAlign::Right);
    EXPECT_EQ(number.indent, 1);
    EXPECT_TRUE(number.rightBorder && number.resizable);
    EXPECT_EQ(number.header, "Location No");
    EXPECT_EQ(number.headerAlign, ColumnAlign::Center);
    EXPECT_EQ(number.headerIndent, 0);
    EXPECT_EQ(number.picture, Picture::of("n10"));
    EXPECT_EQ(number.field, 2);
    EXPECT_TRUE(number.explicitField);

    const ListColumn &year = f.columns[1]; // the header takes the column's alignment
    EXPECT_EQ(year.align, ColumnAlign::Center);
    EXPECT_EQ(year.headerAlign, ColumnAlign::Center);
    EXPECT_FALSE(year.rightBorder || year.resizable);
    EXPECT_EQ(year.field, 3); // the one after the previous column's
    EXPECT_FALSE(year.explicitField);

    const ListColumn &notes = f.columns[2];
    EXPECT_TRUE(notes.rightBorder);
    EXPECT_FALSE(notes.resizable);
    EXPECT_EQ(notes.headerAlign, ColumnAlign::Right);
    EXPECT_EQ(notes.headerIndent, 3);
    EXPECT_EQ(ListFormat::parse(f.toString())->columns, f.columns);
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
