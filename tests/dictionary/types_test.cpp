#include "dictionary/types.h"
#include "dictionary/utf8.h"

#include <gtest/gtest.h>

using namespace hk;

TEST(StringField, KeepsFullWidthCutsLongerAndDropsTrailingBlanks)
{
    String<45> title(std::string(45, 'x'));
    EXPECT_EQ(title.view().size(), 45u);
    title = std::string(50, 'y');
    EXPECT_EQ(title.str(), std::string(45, 'y'));
    title = "Kitchen   ";
    EXPECT_EQ(title.str(), "Kitchen");
    EXPECT_TRUE(title == "Kitchen  ");
}

TEST(StringField, WidthCountsCharactersNotBytes)
{
    String<12> media("3 \xC2\xBD + Cd Rom"); // "3 ½ + Cd Rom": 12 characters, 13 bytes
    EXPECT_EQ(utf8Length(media.view()), 12u);
    EXPECT_EQ(media.view().size(), 13u);
    String<3> cut("K\xC3\xBC\xC3\xBC\x63he"); // never splits a character
    EXPECT_EQ(cut.str(), "K\xC3\xBC\xC3\xBC");
}

TEST(DecimalField, HoldsExactlyItsDigits)
{
    EXPECT_TRUE(Decimal<3>::parse("999.99").has_value());
    EXPECT_FALSE(Decimal<3>::parse("1000.00").has_value());
    EXPECT_FALSE(Decimal<3>::parse("-1000").has_value());
    EXPECT_TRUE(Decimal<4>::parse("99999.99").has_value());
    EXPECT_FALSE(Decimal<4>::parse("100000").has_value());
    EXPECT_TRUE(Decimal<5>::parse("9999999.99").has_value());

    Decimal<3> v = *Decimal<3>::parse("999.98");
    EXPECT_TRUE(v.add(*Decimal<3>::fromCents(1)));
    EXPECT_EQ(v.text(), "999.99");
    EXPECT_FALSE(v.add(*Decimal<3>::fromCents(1)));
    EXPECT_EQ(v.text(), "999.99"); // refused, unchanged
}

TEST(DecimalField, ArithmeticIsExact)
{
    Decimal<5> total;
    auto tenth = *Decimal<3>::parse("0.10");
    for (int i = 0; i < 1000; ++i)
        ASSERT_TRUE(total.add(tenth));
    EXPECT_EQ(total.text(), "100.00");
    EXPECT_EQ(Decimal<3>::parse("1.005")->cents(), 101);
    EXPECT_EQ(Decimal<3>::parse("-.5")->text(), "-0.50");
    EXPECT_FALSE(Decimal<3>::parse("1.2.3").has_value());
    EXPECT_FALSE(Decimal<3>::parse("").has_value());
    EXPECT_FALSE(Decimal<3>::parse("12a").has_value());
}
