// Moving children to another parent, several at once: every write is
// checked against the version the user saw, and all are made in one
// transaction or none is.
#pragma once

#include "platform/data/cursor.h"

#include <cstdint>
#include <vector>

namespace hk
{

class Table;
struct FieldDef;

// A child as it was read for a move: its row and its record as read.
struct MovedChild {
    std::int64_t row = 0;
    std::vector<unsigned char> asRead;
};

// The children at these positions as stored now; those gone are left out.
// The table's buffer is left holding the last one read.
std::vector<MovedChild> readChildren(Table &children, const std::vector<Position> &positions);

// The same children as stored now, after another station changed them.
void rereadChildren(Table &children, std::vector<MovedChild> &moved);

// Sets `link` of every child to `parent`, each written back through its
// integrity routine as it was read, in one transaction. Updated, or the
// result of the first write that failed: its warning was shown and the
// whole transaction rolled back.
int moveChildren(Table &children, const FieldDef &link, std::int64_t parent,
                 const std::vector<MovedChild> &moved);

} // namespace hk
