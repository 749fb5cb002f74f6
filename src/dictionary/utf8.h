// UTF-8 text, a character being a code point: counting and cutting it without
// splitting a character, telling whether bytes are text at all, and the step
// between bytes and code points. Everything that looks inside UTF-8 text goes
// through these.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace hk
{

// Characters in text: bytes that are not continuation bytes (the same count
// SQLite's length() gives).
std::size_t utf8Length(std::string_view text);
// The first `chars` characters of text, never splitting a character.
std::string_view utf8Prefix(std::string_view text, std::size_t chars);
// Whether text is well-formed UTF-8: no stray or missing continuation bytes,
// overlong forms, surrogates or values beyond Unicode.
bool validUtf8(std::string_view text);

// The code point at p, advancing p past it; a malformed byte stands for
// itself. Inline: the key comparison runs it for every character it reads.
inline char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char b = *p++;
    if (b < 0x80) return b;
    const int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = extra == 3 ? b & 0x07 : extra == 2 ? b & 0x0F : extra == 1 ? b & 0x1F : b;
    for (int i = 0; i < extra && p < end && (*p & 0xC0) == 0x80; ++i)
        c = (c << 6) | (*p++ & 0x3F);
    return c;
}

// Appends code point c to out.
inline void appendUtf8(char32_t c, std::string &out)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Whole texts to code points and back; malformed bytes stand for themselves.
std::u32string decodeUtf8(std::string_view text);
std::string encodeUtf8(std::u32string_view text);

} // namespace hk
