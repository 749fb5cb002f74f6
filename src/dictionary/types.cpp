#include "dictionary/types.h"

#include "dictionary/utf8.h"

#include <cstring>

namespace hk
{

std::string_view trimRight(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && text[end - 1] == ' ')
        --end;
    return text.substr(0, end);
}

namespace detail
{
void assignText(char *data, std::uint16_t &len, std::size_t width, std::string_view text)
{
    std::string_view kept = trimRight(utf8Prefix(text, width));
    // A character is at most 4 bytes, but malformed input may carry longer
    // runs of continuation bytes: never write past the buffer.
    if (kept.size() > 4 * width) kept = kept.substr(0, 4 * width);
    std::memcpy(data, kept.data(), kept.size());
    len = static_cast<std::uint16_t>(kept.size());
}
} // namespace detail

std::optional<std::int64_t> parseCents(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    text = trimRight(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t whole = 0;
    std::int64_t fraction = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    bool seenPoint = false;
    bool seenDigit = false;
    for (char c : text) {
        if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            seenDigit = true;
            if (!seenPoint) {
                if (whole > (INT64_MAX / 100 - 9) / 10) return std::nullopt;
                whole = whole * 10 + (c - '0');
            } else if (fractionDigits < 2) {
                fraction = fraction * 10 + (c - '0');
                ++fractionDigits;
            } else if (fractionDigits == 2) {
                roundUp = c >= '5';
                ++fractionDigits;
            }
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    if (fractionDigits == 1)
        fraction *= 10;
    else if (fractionDigits == 0)
        fraction = 0;
    std::int64_t cents = whole * 100 + fraction + (roundUp ? 1 : 0);
    return negative ? -cents : cents;
}

std::string formatCents(std::int64_t cents)
{
    std::uint64_t magnitude = cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : cents;
    std::string out = std::to_string(magnitude / 100);
    out += '.';
    out += static_cast<char>('0' + magnitude % 100 / 10);
    out += static_cast<char>('0' + magnitude % 10);
    return cents < 0 ? "-" + out : out;
}

} // namespace hk
