#include "browse/distribution.h"

#include "dictionary/types.h"
#include "dictionary/utf8.h"
#include "platform/data/collation.h"

#include <algorithm>
#include <cmath>

namespace hk
{

namespace
{

// A character's place in the alphabet from 1; 0 when it is not a letter.
std::int64_t digitOf(char32_t c)
{
    const std::u32string &alphabet = distributionAlphabet();
    auto it = std::find(alphabet.begin(), alphabet.end(), c);
    return it == alphabet.end() ? 0 : (it - alphabet.begin()) + 1;
}

std::int64_t numberOf(std::u32string_view four, std::int64_t base)
{
    std::int64_t n = 0;
    for (std::size_t i = 0; i < 4; ++i)
        n = n * base + (i < four.size() ? digitOf(four[i]) : 0);
    return n;
}

std::u32string lettersOf(std::int64_t n, std::int64_t base)
{
    const std::u32string &alphabet = distributionAlphabet();
    std::u32string out(4, U' ');
    for (int i = 3; i >= 0; --i) {
        const std::int64_t d = n % base;
        n /= base;
        // A digit 0 stands for a place past the end of the text: a blank.
        out[static_cast<std::size_t>(i)] =
            d == 0 ? U' ' : alphabet[static_cast<std::size_t>(d - 1)];
    }
    return out;
}

std::u32string upper(std::u32string_view text)
{
    std::u32string out(text);
    for (char32_t &c : out)
        c = foldCase(c);
    return out;
}

std::string fieldText(std::u32string text, std::size_t length)
{
    if (text.size() > length) text.resize(length);
    return std::string(trimRight(encodeUtf8(text)));
}

} // namespace

const std::u32string &distributionAlphabet()
{
    static const std::u32string alphabet = [] {
        std::u32string a;
        for (char32_t c = 1; c <= 255; ++c) {
            const bool upperCase =
                (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
            if (upperCase) a += c;
        }
        return a;
    }();
    return alphabet;
}

std::vector<std::int64_t> numericDistribution(std::int64_t low, std::int64_t high)
{
    std::vector<std::int64_t> values(kDistributionSize);
    const double step = static_cast<double>(high - low) / 99.0;
    for (int k = 1; k <= kDistributionSize; ++k) {
        std::int64_t v =
            k == 1 ? low
            : k == kDistributionSize
                ? high
                : static_cast<std::int64_t>(std::trunc(static_cast<double>(low) + step * (k - 1)));
        values[static_cast<std::size_t>(k - 1)] = v;
    }
    return values;
}

std::vector<std::string> textDistribution(std::string_view lowText, std::string_view highText,
                                          int length)
{
    const auto L = static_cast<std::size_t>(std::max(length, 0));
    const std::u32string &alphabet = distributionAlphabet();
    const auto base = static_cast<std::int64_t>(alphabet.size()) + 1;

    std::u32string low = decodeUtf8(trimRight(lowText)).substr(0, L);
    std::u32string high = decodeUtf8(trimRight(highText)).substr(0, L);
    // A short high runs on with the last letter, so that everything that
    // begins like it lies below it.
    if (high.size() < L) high.append(L - high.size() + 1, alphabet.back());
    // The field as stored: blank-padded to its length.
    low.resize(L, U' ');

    std::size_t prefixLength = 0;
    while (prefixLength < L && low[prefixLength] == high[prefixLength])
        ++prefixLength;
    const std::u32string prefix = low.substr(0, prefixLength);
    const std::u32string low4 = upper(std::u32string_view(low).substr(prefixLength, 4));
    const std::u32string high4 = upper(std::u32string_view(high).substr(prefixLength, 4));

    const std::int64_t r = numberOf(low4, base);
    const std::int64_t s = numberOf(high4, base);
    const std::int64_t step = (s - r) / 99;

    std::vector<std::string> values(kDistributionSize);
    for (int k = 1; k <= kDistributionSize; ++k) {
        const std::u32string tail = k == 1                   ? low4
                                    : k == kDistributionSize ? high4
                                                             : lettersOf(r + step * (k - 1), base);
        values[static_cast<std::size_t>(k - 1)] = fieldText(prefix + tail, L);
    }
    return values;
}

int thumbPosition(const std::vector<std::int64_t> &values, std::int64_t value)
{
    for (std::size_t k = 0; k < values.size(); ++k)
        if (values[k] >= value) return k == 0 ? 0 : static_cast<int>(k) + 1;
    return kDistributionSize + 1;
}

int thumbPosition(const std::vector<std::string> &values, std::string_view value)
{
    const std::string wanted = foldText(trimRight(value));
    for (std::size_t k = 0; k < values.size(); ++k)
        if (compareKeyText(values[k], wanted) >= 0) return k == 0 ? 0 : static_cast<int>(k) + 1;
    return kDistributionSize + 1;
}

} // namespace hk
