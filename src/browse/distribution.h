// The key distribution of a list: 100 values of a sort order's locator field
// spread from its lowest to its highest record, which map the scroll bar's
// thumb onto the key range. Built from two records (the first and the last),
// never from a scan.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hk
{

inline constexpr int kDistributionSize = 100;

// The letters a text distribution counts in: every upper-case letter up to
// code 255 that the key rule orders on its own, in the key rule's order.
// The others order as one or two of these (É as E, Æ as AE) and are counted
// as those, so the values rise with the key order; that leaves A to Z.
const std::u32string &distributionAlphabet();

// low for the first value, high for the last, the rest evenly between,
// truncated toward zero.
std::vector<std::int64_t> numericDistribution(std::int64_t low, std::int64_t high);

// Values of a text field of `length` characters: the common prefix of low and
// high followed by four letters read as a number in base (letters + 1),
// stepped evenly from low's four to high's (each read as base capitals).
std::vector<std::string> textDistribution(std::string_view low, std::string_view high, int length);

// The thumb (0 to 101) for a record whose locator field holds value: the
// first place whose value is at or above it; 0 for the first place, 101 when
// none is.
int thumbPosition(const std::vector<std::int64_t> &values, std::int64_t value);
int thumbPosition(const std::vector<std::string> &values, std::string_view value);

} // namespace hk
