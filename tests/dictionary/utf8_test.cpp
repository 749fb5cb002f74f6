#include "dictionary/utf8.h"

#include <gtest/gtest.h>

using namespace hk;

TEST(Utf8, EveryCodePointGoesToBytesAndBackAsOneCharacter)
{
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue; // surrogates are no characters
        const std::string bytes = encodeUtf8(std::u32string(1, c));
        ASSERT_TRUE(validUtf8(bytes)) << std::hex << std::uint32_t(c);
        ASSERT_EQ(utf8Length(bytes), 1u) << std::hex << std::uint32_t(c);
        ASSERT_EQ(decodeUtf8(bytes), std::u32string(1, c)) << std::hex << std::uint32_t(c);
    }
}

TEST(Utf8, BytesThatAreNoTextAreToldApart)
{
    for (const char *bad : {"\x80", "a\xC3", "\xC3(", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
                            "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xFF"})
        EXPECT_FALSE(validUtf8(bad)) << bad;
    // Malformed bytes still decode, each standing for itself.
    EXPECT_EQ(decodeUtf8("a\x80z"), (std::u32string{U'a', 0x80, U'z'}));
}

TEST(Utf8, APrefixCountsCharactersAndNeverSplitsOne)
{
    const std::string text = "3 \u00BD \u20AC\U0001F600!";
    EXPECT_EQ(utf8Length(text), 7u);
    for (std::size_t n = 0; n <= 8; ++n) {
        const std::string_view cut = utf8Prefix(text, n);
        EXPECT_TRUE(validUtf8(cut)) << n;
        EXPECT_EQ(utf8Length(cut), std::min<std::size_t>(n, 7)) << n;
    }
}
