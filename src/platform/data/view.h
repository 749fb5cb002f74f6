// A read-only record set over an open table: its records in the order of one
// key, each joined to its lookup records through their identifier, kept to a
// range of the key and a filter. Reads fill the record buffers of the main and
// lookup tables, as the lists and reports expect.
#pragma once

#include "platform/data/cursor.h"

namespace hk
{

class Table;

class View
{
  public:
    View(Table &main, KeyId order);

    // The lookup table's record whose identifier equals mainField's value.
    View &join(Table &lookup, std::string_view mainFieldLabel);
    View &range(std::vector<Value> prefix);
    // Adds a condition; a record is read when all of them hold.
    View &filter(std::string sql, std::vector<Value> params);
    static std::string column(const Table &table, std::string_view fieldLabel, int join = -1);

    // Checks that the view can be read and stands at its start.
    int open();
    void close() { opened_ = false; }

    // Next reads from the first record, previous from the last.
    void toStart() { cursor_.toStart(); }
    // From the key values in the main table's buffer.
    void toKeyValues() { cursor_.toKeyValues(); }
    bool reset(const Position &position) { return cursor_.toPosition(position); }

    int next();
    int previous();
    int fetch(bool forward, int n, const std::function<void()> &each);
    int reget(const Position &position);
    Position position() const { return cursor_.position(); }
    std::int64_t currentRow() const { return cursor_.currentRow(); }

  private:
    int requireOpen();

    Table &main_;
    Cursor cursor_;
    std::vector<Table *> lookups_;
    std::vector<Join> joins_;
    std::string filter_;
    std::vector<Value> filterParams_;
    bool opened_ = false;
};

} // namespace hk
