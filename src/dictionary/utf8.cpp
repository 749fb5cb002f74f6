#include "dictionary/utf8.h"

namespace hk
{

namespace
{
bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}
} // namespace

std::size_t utf8Length(std::string_view text)
{
    std::size_t n = 0;
    for (unsigned char c : text)
        n += !isContinuation(c);
    return n;
}

std::string_view utf8Prefix(std::string_view text, std::size_t chars)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[i]))) {
            if (seen == chars) return text.substr(0, i);
            ++seen;
        }
    }
    return text;
}

bool validUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        int more = 0;
        char32_t cp = b;
        if (b < 0x80) {
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            more = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            more = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            more = 3;
            cp = b & 0x07;
        } else {
            return false;
        }
        if (i + std::size_t(more) >= text.size()) return false;
        for (int k = 1; k <= more; ++k) {
            const auto n = static_cast<unsigned char>(text[i + std::size_t(k)]);
            if (!isContinuation(n)) return false;
            cp = (cp << 6) | (n & 0x3F);
        }
        // Overlong forms, surrogates and values beyond Unicode are not text.
        static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += std::size_t(more) + 1;
    }
    return true;
}

std::u32string decodeUtf8(std::string_view text)
{
    std::u32string out;
    auto *p = reinterpret_cast<const unsigned char *>(text.data());
    auto *end = p + text.size();
    while (p < end)
        out += nextCodePoint(p, end);
    return out;
}

std::string encodeUtf8(std::u32string_view text)
{
    std::string out;
    for (char32_t c : text)
        appendUtf8(c, out);
    return out;
}

} // namespace hk
