// Records read down a hierarchy of any depth: the top table in its order,
// under each of its records the children through their foreign key, under
// each child its own children, and so on. Only records of the deepest level
// are delivered, with every parent above them in its buffer; a parent
// without children yields none.
#pragma once

#include "reports/recordsource.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hk
{

struct ChainLevel {
    Table *table;
    KeyId key;
    // The parent's identifier that ranges this level; at the top, the
    // selected record's, or empty for all records.
    std::function<std::int64_t()> parentId{};
    // Lookups attached through their Primary key: (table, this table's field).
    std::vector<std::pair<Table *, std::string>> joins{};
};

class ChainSource : public RecordSource
{
  public:
    explicit ChainSource(std::vector<ChainLevel> levels);
    int open() override;
    int next() override;
    // The deepest level's records: that is what each read delivers.
    long long records() const override;
    std::string mark() const override;
    int resume(const std::string &mark) override;
    View &top() { return *views_.front(); }

  private:
    std::vector<ChainLevel> levels_;
    std::vector<std::unique_ptr<View>> views_;
    std::size_t open_ = 0; // levels standing on a record, from the top
};

} // namespace hk
