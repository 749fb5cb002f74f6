// A record buffer of any table, owned by whoever holds it and shared with no
// window: what a whole-collection export or import reads and writes through.
#pragma once

#include "dictionary/tabledef.h"

#include <cstddef>
#include <vector>

namespace hk
{

struct RecordBuffer {
    explicit RecordBuffer(const TableDef &t)
        : storage((t.recordSize + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t))
    {
        t.clear(data());
    }
    void *data() { return storage.data(); }
    const void *data() const { return storage.data(); }
    std::vector<std::max_align_t> storage;
};

} // namespace hk
