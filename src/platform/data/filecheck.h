// Checking a data file, or a backup, without changing it: SQLite's own
// integrity check (every page, every index entry in the key rule's order,
// every record against its table's constraints), the schema against the
// program's, the kept totals against the sums of their records, placeholders
// whose stations have gone, the kept counts and per-parent figures against
// the records they stand for, and the photos and documents against their
// table's rules and the records they belong to.
#pragma once

#include "dictionary/tables.h"

#include <string>
#include <vector>

namespace hk
{

// A running total kept in HearthkpValue and the field it adds up.
struct KeptTotal {
    FieldRef total; // "HKV:INVENTORYBOOKS"
    FieldRef value; // "BOK:BOOKVALUE"
};

struct FileCheck {
    struct Line {
        bool ok;
        std::string text;
    };
    bool opened = false;     // false: the file could not be read as a data file
    std::vector<Line> lines; // what was checked, in order
    bool ok() const;
};

FileCheck checkDataFile(const std::string &path, const std::vector<KeptTotal> &totals);

} // namespace hk
