// Reading a table in the order of one of its keys, forward or backward from
// any place, by keyset queries: every read is an indexed range read whose cost
// does not depend on how many records the table holds. Tables use a cursor
// for their own sequential reads; views add lookup joins, a range and a filter.
#pragma once

#include "dictionary/tabledef.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <variant>
#include <vector>

struct sqlite3_stmt;

namespace hk
{

class DataFile;

using Value = std::variant<std::int64_t, std::string>;

// An opaque place in a key order: the key's values and the row id, at most
// kMaxPositionBytes long.
using Position = std::string;
inline constexpr std::size_t kMaxPositionBytes = 512;
inline constexpr int kFileOrder = -1; // order by row id instead of a key

// A lookup table joined one-to-one through its identifier (its first field).
struct Join {
    const TableDef *table;
    void *buffer;
    int mainField; // field of the main table holding the lookup's identifier
};

class Cursor
{
  public:
    Cursor(DataFile &file, const TableDef &table, void *buffer);

    void setOrder(int key); // a key index or kFileOrder
    int order() const { return order_; }
    void setJoins(std::vector<Join> joins);
    // Keep to the records whose first key components equal these values.
    void setRange(std::vector<Value> prefix);
    // Keep to the records for which this SQL condition holds. It names
    // columns as columnRef() spells them and takes ?-parameters bound from
    // params: user text never becomes SQL text.
    void setFilter(std::string sql, std::vector<Value> params);
    static std::string columnRef(const TableDef &table, int field, int join = -1);

    // Next reads from the first record, previous from the last.
    void toStart();
    // Next reads start at the first record at or after the key values in the
    // main buffer; previous reads at the last at or before them.
    void toKeyValues();
    // Reading resumes at (and includes) the record at position.
    bool toPosition(const Position &position);

    // Prepares the reading query, so that a set that cannot be read is
    // reported before the first read.
    int prepare();

    // Reads one record into the buffers; 0 or NoMoreRecords or an error code.
    int next();
    int previous();
    // Reads up to n records in one query, calling each with the buffers filled.
    int fetch(bool forward, int n, const std::function<void()> &each);

    // Reads the record at position into the buffers without moving the cursor.
    int reget(const Position &position);

    // The position of the current record in the cursor's order, from the
    // key values in the buffer and the current row id.
    Position position() const;
    std::int64_t currentRow() const { return currentRow_; }
    void setCurrentRow(std::int64_t row) { currentRow_ = row; }
    void forgetCurrent() { currentRow_ = 0; }

    // Key values of the main buffer for order key, as bindable values.
    std::vector<Value> keyValues(int key) const;

  private:
    enum class Anchor { Start, Keys, Record }; // Start: either end, by direction

    std::string selectFrom() const;
    std::string selectSql(bool forward, Anchor anchor, bool inclusive);
    int bindCommon(sqlite3_stmt *st, int next) const;
    void load(sqlite3_stmt *st);
    void invalidate();
    int step(bool forward);
    std::size_t snapshotSize() const;
    void snapshot(std::vector<unsigned char> &out) const;
    void restore(const std::vector<unsigned char> &in);
    void dropReadAhead();
    static constexpr int kMaxReadAhead = 32;
    std::vector<int> orderFields() const;
    std::size_t rangedFields() const; // leading key components the range fixes
    int anchorSide() const;

    DataFile &file_;
    const TableDef &table_;
    void *buffer_;
    int order_ = 0;
    std::vector<Join> joins_;
    std::vector<Value> range_;
    std::string filter_;
    std::vector<Value> filterParams_;

    Anchor anchor_ = Anchor::Start;
    bool inclusive_ = false;
    std::vector<Value> anchorValues_; // key values (+ row id for Record)
    std::int64_t currentRow_ = 0;

    // Records read past the current one during a scan, as snapshots of the
    // row id and the buffers, valid while the data file's stamp holds.
    std::deque<std::vector<unsigned char>> ahead_;
    bool aheadForward_ = true;
    int streak_ = 0;
    std::uint64_t aheadStamp_ = 0;

    std::array<std::string, 12> sqlCache_; // by direction, anchor and inclusiveness
    std::string regetSql_;
};

// Position encoding shared with views.
Position encodePosition(int key, const std::vector<Value> &values, std::int64_t row);
bool decodePosition(const Position &position, int &key, std::vector<Value> &values,
                    std::int64_t &row);

} // namespace hk
