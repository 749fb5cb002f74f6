#include "platform/picture.h"

#include <gtest/gtest.h>

using namespace hk;

namespace
{

struct Shown {
    PictureValue value;
    const char *picture;
    const char *text;
};

struct Typed {
    const char *text;
    const char *picture;
    std::optional<PictureValue> value; // nothing: refused
};

PictureValue whole(std::int64_t v)
{
    return PictureValue{v};
}
PictureValue cents(std::int64_t c)
{
    return PictureValue{Hundredths{c}};
}
PictureValue text(const char *s)
{
    return PictureValue{std::string(s)};
}

class PictureTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        SystemFormats f;
        f.shortDate = "dd/MM/yyyy";
        f.longDate = "d MMMM yyyy";
        f.shortTime = "HH:mm";
        f.longTime = "HH:mm:ss";
        f.pivotYear = 2025; // two-digit years run from 1945 to 2044
        setSystemFormats(f);
    }

    static void expectShown(const std::vector<Shown> &cases)
    {
        for (const auto &c : cases)
            EXPECT_EQ(format(c.value, c.picture), c.text) << "picture " << c.picture;
    }
    static void expectTyped(const std::vector<Typed> &cases)
    {
        for (const auto &c : cases)
            EXPECT_EQ(parse(c.text, c.picture), c.value)
                << "\"" << c.text << "\" in picture " << c.picture;
    }
};

} // namespace

TEST_F(PictureTest, ReadsPicturesAndRefusesUnknownOnes)
{
    auto p = Picture::fromString("@N$12.2-B");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->kind, PictureKind::Number);
    EXPECT_EQ(p->width, 12);
    EXPECT_EQ(p->decimals, 2);
    EXPECT_TRUE(p->grouping && p->currency && p->blankWhenZero);
    EXPECT_EQ(p->sign, SignStyle::Trailing);
    EXPECT_EQ(p->toString(), "N$12.2-B");
    EXPECT_TRUE(p->takesNegative);
    EXPECT_EQ(Picture::of("n-9.2B").toString(), "n-9.2B");
    EXPECT_FALSE(Picture::of("n9.2B").takesNegative);
    for (const char *good : {"s45", "n10.2B", "n4B", "T4", "T4B", "D5", "d17", "t8", "N3", "n-9"})
        EXPECT_TRUE(Picture::fromString(good)) << good;
    for (const char *bad :
         {"", "@", "s", "s0", "n", "n9.3", "n9.2X", "D19", "T9", "x10", "s4B", "n10..2", "D"})
        EXPECT_FALSE(Picture::fromString(bad)) << bad;
    EXPECT_THROW(Picture::of("q7"), std::invalid_argument);
}

TEST_F(PictureTest, ShowsText)
{
    expectShown({
        {text("Kitchen   "), "s30", "Kitchen"},
        {text("abcdefgh"), "s5", "abcde"},
        {text("3 \xC2\xBD + Cd Rom!"), "s12", "3 \xC2\xBD + Cd Rom"}, // widths count characters
        {text("ab   cd"), "s4", "ab"},
        {whole(42), "s5", "42"},
        {cents(-150), "s8", "-1.50"},
    });
}

TEST_F(PictureTest, ShowsNumbers)
{
    expectShown({
        {whole(0), "n10", "0"},
        {whole(0), "n4B", ""},
        {whole(1997), "n4B", "1997"},
        {whole(12345), "n4B", "####"},
        {whole(-123), "n4", "-123"},
        {whole(-1234), "n4", "####"},
        {cents(0), "n12.2", "0.00"},
        {cents(0), "n12.2B", ""},
        {cents(123456), "n9.2B", "1,234.56"},
        // Both spellings group thousands, and the separators take places.
        {cents(9999999), "n9.2B", "99,999.99"},
        {cents(10000000), "n9.2B", "#########"},
        {cents(99999999), "n10.2B", "999,999.99"},
        {whole(99999999), "n10", "99,999,999"},
        {whole(100000000), "n10", "##########"},
        {whole(1000), "n4", "1000"}, // four digits keep their places
        {cents(123456), "N12.2B", "1,234.56"},
        {cents(123456789012), "N12.2", "############"},
        {cents(12345678901), "N12.2", "############"}, // 123,456,789.01
        {cents(9999999), "N10.2", "99,999.99"},
        {cents(-9999999), "N10.2", "-99,999.99"},
        {cents(199), "n6.1", "2.0"},
        {cents(-5), "n6", "0"}, // rounds to zero, shown without a minus
        {cents(250), "n4", "3"},
        {cents(-250), "n4", "-3"},
        {whole(1234567), "N9", "1,234,567"},
        {cents(150), "n$10.2", "$1.50"},
        {cents(-150), "n$10.2", "-$1.50"},
        {cents(-150), "n10.2-", "1.50-"},
        {whole(7), "N3", "7"},
        {text("12.5"), "n6.2", "12.50"},
    });
}

TEST_F(PictureTest, TakesTypedNumbers)
{
    expectTyped({
        {"1997", "n4B", whole(1997)},
        {"  42 ", "n4B", whole(42)},
        {"", "n4B", whole(0)},
        {"12345", "n4B", std::nullopt}, // five digits in four places
        {"-999", "n-4B", whole(-999)},
        {"-1000", "n-4B", std::nullopt}, // the minus needs a place too
        {"-1", "n4B", std::nullopt},     // no sign in the picture: none typed
        {"-5.00", "n9.2B", std::nullopt},
        {"(5.00)", "n9.2", std::nullopt},
        {"5.00-", "n9.2", std::nullopt},
        {"-0", "n4B", whole(0)},
        {"12a", "n4B", std::nullopt},
        {"1.5", "n4B", std::nullopt}, // no decimals in a whole number
        {"2.00", "n4B", whole(2)},
        {"-", "n4B", std::nullopt},
        {"1234.5", "n9.2B", cents(123450)},
        {".25", "n9.2B", cents(25)},
        {"1,234.56", "n10.2B", cents(123456)},
        {"1.234", "n10.2B", std::nullopt}, // a third decimal is lost
        {"1.230", "n10.2B", cents(123)},
        {"123456.78", "n10.2B", cents(12345678)},
        {"1234567.89", "n10.2B", std::nullopt}, // 1,234,567.89: twelve places
        {"99999.99", "n9.2B", cents(9999999)},
        {"99,999.99", "n9.2B", cents(9999999)},
        {"100000", "n9.2B", std::nullopt},
        {"12345678.9", "n10.2B", std::nullopt}, // shows as 12345678.90: eleven places
        {"123,456.78", "N10.2B", cents(12345678)},
        {"1234567.8", "N10.2B", std::nullopt}, // shows as 1,234,567.80: eleven places
        {"(5.00)", "n-9.2", cents(-500)},
        {"5.00-", "n9.2-", cents(-500)},
        {"$3.10", "n$10.2", cents(310)},
        {"1,,2", "n9", std::nullopt},
        {"1 2", "n9", std::nullopt},
    });
}

TEST_F(PictureTest, DayNumbersCountFromTheLastDaysOf1800)
{
    EXPECT_EQ(dateNumber(1801, 1, 1), kFirstDate);
    EXPECT_EQ(dateNumber(2000, 1, 1), 72687);
    EXPECT_EQ(dateNumber(2024, 2, 29), 81512);
    EXPECT_EQ(dateNumber(9999, 12, 31), kLastDate);
    EXPECT_FALSE(dateNumber(2023, 2, 29));
    EXPECT_FALSE(dateNumber(1800, 12, 31));
    EXPECT_EQ(calendarDate(81512), (CalendarDate{2024, 2, 29}));
    EXPECT_FALSE(calendarDate(3));
    for (std::int64_t d = kFirstDate; d < kLastDate; d += 997)
        EXPECT_EQ(dateNumber(calendarDate(d)->year, calendarDate(d)->month, calendarDate(d)->day),
                  d);
}

TEST_F(PictureTest, ShowsDates)
{
    const PictureValue day = whole(58015); // 31 October 1959
    expectShown({
        {day, "D1", "10/31/59"},
        {day, "D2", "10/31/1959"},
        {day, "D3", "Oct 31, 1959"},
        {day, "D4", "October 31, 1959"},
        {day, "D5", "31/10/59"},
        {day, "D6", "31/10/1959"},
        {day, "D7", "31 Oct 59"},
        {day, "D8", "31 Oct 1959"},
        {day, "D9", "59/10/31"},
        {day, "D10", "1959/10/31"},
        {day, "D11", "591031"},
        {day, "D12", "19591031"},
        {day, "D13", "10/59"},
        {day, "D14", "10/1959"},
        {day, "D15", "59/10"},
        {day, "D16", "1959/10"},
        {day, "d17", "31/10/1959"},
        {day, "D18", "31 October 1959"},
        {whole(0), "D5", ""},
        {whole(0), "D5B", ""},
        {whole(-3), "D6", "##########"},
    });
}

TEST_F(PictureTest, TakesTypedDates)
{
    expectTyped({
        {"31/10/59", "D5", whole(58015)},
        {"31/10/1959", "D5", whole(58015)},
        {"31.10.59", "D5", whole(58015)},
        {"29/02/24", "D5", whole(81512)},
        {"29/02/23", "D5", std::nullopt},
        {"32/01/24", "D5", std::nullopt},
        {"10/31/59", "D5", std::nullopt},
        {"10/31/59", "D1", whole(58015)},
        {"1/1/44", "D5", dateNumber(2044, 1, 1)},
        {"1/1/45", "D5", dateNumber(1945, 1, 1)},
        {"oct 31, 1959", "D3", whole(58015)},
        {"31 October 1959", "D8", whole(58015)},
        {"31 Foo 1959", "D8", std::nullopt},
        {"591031", "D11", whole(58015)},
        {"19591031", "D12", whole(58015)},
        {"10/1959", "D14", dateNumber(1959, 10, 1)},
        {"31/10/1959", "d17", whole(58015)},
        {"", "D5", whole(0)},
        {"31/10", "D5", std::nullopt},
        {"31/10/59/1", "D5", std::nullopt},
        {"1/1/1800", "D6", std::nullopt},
    });
}

TEST_F(PictureTest, ShowsTimes)
{
    const PictureValue t = whole(*timeValue(17, 5, 9)); // 17:05:09
    expectShown({
        {t, "T1", "17:05"},
        {t, "T2", "1705"},
        {t, "T3", "5:05PM"},
        {t, "T4", "17:05:09"},
        {t, "T5", "170509"},
        {t, "T6", "5:05:09PM"},
        {t, "T7", "17:05"},
        {t, "t8", "17:05:09"},
        {t, "T4B", "17:05:09"},
        {whole(1), "T4B", "00:00:00"},
        {whole(0), "T4B", ""},
        {whole(0), "T4", "00:00:00"},
        {whole(*timeValue(0, 30, 0)), "T3", "12:30AM"},
        {whole(kLastTime + 1), "T4", "########"},
    });
}

TEST_F(PictureTest, TakesTypedTimes)
{
    expectTyped({
        {"1:02:03", "T4", whole(*timeValue(1, 2, 3))},
        {"01:02", "T4", whole(*timeValue(1, 2, 0))},
        {"7", "T4", whole(*timeValue(7, 0, 0))},
        {"010203", "T4", whole(*timeValue(1, 2, 3))},
        {"00:00:00", "T4B", whole(1)},
        {"", "T4B", whole(0)},
        {"24:00:00", "T4", std::nullopt},
        {"1:60:00", "T4", std::nullopt},
        {"123:00", "T4", std::nullopt}, // two digits per part at most
        {"1:2:3:4", "T4", std::nullopt},
        {"1:x", "T4", std::nullopt},
        {"5:30PM", "T3", whole(*timeValue(17, 30, 0))},
        {"12:15 am", "T3", whole(*timeValue(0, 15, 0))},
        {"13:00PM", "T3", std::nullopt},
    });
}

TEST_F(PictureTest, TakesTypedTextUpToItsWidth)
{
    expectTyped({
        {"Kitchen  ", "s7", text("Kitchen")},
        {"  Attic", "s30", text("  Attic")},
        {"K\xC3\xBC\x63he", "s5", text("K\xC3\xBC\x63he")},
        {"Kitchens", "s7", std::nullopt},
        {"", "s1", text("")},
    });
}

TEST_F(PictureTest, WhatIsShownIsTakenBackUnchanged)
{
    const std::vector<std::pair<PictureValue, const char *>> cases = {
        {cents(12345678), "N12.2B"}, {cents(-4250), "n-9.2B"}, {whole(2024), "n4B"},
        {whole(81512), "D5"},        {whole(81512), "d17"},    {whole(*timeValue(1, 2, 3)), "T4"},
        {whole(0), "n10B"},          {text("Bath"), "s30"},
    };
    for (const auto &[value, pic] : cases)
        EXPECT_EQ(parse(format(value, pic), pic), value) << pic;
}
