// The key distribution as written: numeric steps, the text algorithm's
// prefix, letters and padding, and the thumb from a value.
#include "browse/distribution.h"

#include "platform/data/collation.h"

#include <QString>
#include <gtest/gtest.h>

namespace hk
{
namespace
{

TEST(Distribution, NumericSpreadsEvenlyAndTruncates)
{
    auto v = numericDistribution(1, 100);
    ASSERT_EQ(v.size(), 100u);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[99], 100);
    v = numericDistribution(10, 208); // step 2
    EXPECT_EQ(v[50], 110);
    v = numericDistribution(0, 50); // step 0.505...
    EXPECT_EQ(v[2], 1);
    EXPECT_EQ(v[98], 49);
    v = numericDistribution(-50, 0);
    EXPECT_EQ(v[1], -49); // toward zero
    v = numericDistribution(7, 7);
    EXPECT_EQ(v[42], 7);
}

// Accented capitals order as their base letters, so only those have places.
TEST(Distribution, AlphabetIsTheUpperCaseLettersWithPlacesOfTheirOwn)
{
    const auto &a = distributionAlphabet();
    EXPECT_EQ(a.size(), 26u);
    EXPECT_EQ(a.front(), U'A');
    EXPECT_EQ(a.back(), U'Z');
    for (char32_t c : {0xC0, 0xC9, 0xD7, 0xDC, 0xDE}) // À É × Ü Þ
        EXPECT_EQ(a.find(c), std::u32string::npos) << unsigned(c);
}

// The values rise with the key order also through accented letters, so an
// accented name gets a thumb among its unaccented neighbours.
TEST(Distribution, AccentedLettersCountAsTheirBase)
{
    const auto v = textDistribution("\xC3\x89"
                                    "clair",
                                    "Z\xC3\xBCrich", 20); // Éclair, Zürich
    EXPECT_EQ(v[0], "ECLA");
    EXPECT_EQ(v[99], "ZURI");
    for (std::size_t k = 1; k < 100; ++k)
        EXPECT_LE(compareKeyText(v[k - 1], v[k]), 0) << k;
    const int unicode = thumbPosition(v, "\xC3\x9Cn\xC3\xAF"
                                         "code"); // Ünïcode
    EXPECT_GT(unicode, thumbPosition(v, "Tulip"));
    EXPECT_LE(unicode, thumbPosition(v, "Unicorn"));
    EXPECT_LT(thumbPosition(v, "Unicorn"), thumbPosition(v, "Zephyr"));
}

TEST(Distribution, TextKeepsTheCommonPrefixAndStepsTheNextFourLetters)
{
    const auto v = textDistribution("Apple", "Azure", 20);
    // The prefix "A" from low, then upper-cased fours: "PPLE" and "ZURE".
    EXPECT_EQ(v[0], "APPLE");
    EXPECT_EQ(v[99], "AZURE");
    for (std::size_t k = 1; k < 100; ++k)
        EXPECT_LE(v[k - 1], v[k]) << k;
    // Base 27: P=16 P=16 L=12 E=5 and Z=26 U=21 R=18 E=5.
    const long r = ((16 * 27 + 16) * 27 + 12) * 27 + 5;
    const long s = ((26 * 27 + 21) * 27 + 18) * 27 + 5;
    const long n = r + (s - r) / 99 * 49;
    const auto &a = distributionAlphabet();
    std::u32string expected = U"A";
    for (long d : {n / (27 * 27 * 27), n / (27 * 27) % 27, n / 27 % 27, n % 27})
        expected += d ? a[static_cast<std::size_t>(d - 1)] : U' ';
    EXPECT_EQ(v[49], QString::fromUcs4(expected.data(), static_cast<qsizetype>(expected.size()))
                         .trimmed()
                         .toStdString());
}

TEST(Distribution, ShortHighRunsOnWithTheLastLetter)
{
    // "B" is extended with the last letter; low is not: no prefix in common.
    const auto v = textDistribution("A", "B", 20);
    EXPECT_EQ(v[0], "A");
    EXPECT_EQ(v[99], "BZZZ");
    // Equal texts that fill the field: the prefix is all of them.
    const auto same = textDistribution("Same", "Same", 4);
    EXPECT_EQ(same[0], "Same");
    EXPECT_EQ(same[57], "Same");
    // Shorter than the field: they run from the text to the text and last letters.
    const auto shorter = textDistribution("Same", "Same", 20);
    EXPECT_EQ(shorter[0], "Same");
    EXPECT_EQ(shorter[99], "SameZZZZ");
    // Digits are not letters: they count as 0 and come back as blanks.
    const auto digits = textDistribution("1984", "2001", 4);
    EXPECT_EQ(digits[0], "1984");
    EXPECT_EQ(digits[50], "");
}

TEST(Distribution, ThumbIsTheFirstPlaceAtOrAboveTheValue)
{
    const auto n = numericDistribution(1, 100);
    EXPECT_EQ(thumbPosition(n, 1), 0);
    EXPECT_EQ(thumbPosition(n, 50), 50);
    EXPECT_EQ(thumbPosition(n, 101), 101);
    const auto t = textDistribution("Apple", "Azure", 20);
    EXPECT_EQ(thumbPosition(t, "apple"), 0);
    EXPECT_EQ(thumbPosition(t, "azure"), 100);
    EXPECT_EQ(thumbPosition(t, "B"), 101);
    const int middle = thumbPosition(t, "ask");
    EXPECT_GT(middle, 1);
    EXPECT_LT(middle, 100);
}

} // namespace
} // namespace hk
