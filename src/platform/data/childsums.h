// The number of children of one parent and the sum of one of their numeric
// fields, read by the data file in one statement over the children's
// reference index, so that a placement window's figures stay exact without
// the program reading every child.
#pragma once

#include <cstdint>
#include <optional>

namespace hk
{

class DataFile;
struct TableDef;

struct ChildSum {
    long long count = 0;
    std::int64_t sum = 0; // in the field's own units (hundredths for decimals)
};

// Children of `table` whose field `link` holds `parent`; `summed` is the
// field added up, -1 for none. Nothing when the file cannot answer now.
std::optional<ChildSum> childSum(DataFile &file, const TableDef &table, int link,
                                 std::int64_t parent, int summed);

// A number that changes whenever this station or another one has written to
// the file, for figures kept until the data under them changes; -1 when the
// file is not open.
long long fileVersion(DataFile &file);

} // namespace hk
