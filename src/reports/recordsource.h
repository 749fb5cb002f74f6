// Where a report's records come from: one table read in the order of a key
// through a view, or a parent table with each parent's children attached
// through their foreign key. Reads fill the shared record buffers. A mark
// taken on a record reads it again later, and the reads go on from there:
// that is how a page is drawn again without the pages before it.
#pragma once

#include "platform/data/view.h"

#include <functional>
#include <memory>
#include <string>

namespace hk
{

class Table;

class RecordSource
{
  public:
    virtual ~RecordSource() = default;
    // Sets the order and stands before the first record: 0 or the error.
    virtual int open() = 0;
    // 0, NoMoreRecords (33) or another error code.
    virtual int next() = 0;
    // How many records the reads may deliver: the records of the table each
    // read stands on, which is what progress is measured against.
    virtual long long records() const = 0;
    // Where the record last delivered stands.
    virtual std::string mark() const = 0;
    // Opens the source on the record of a mark, read again into the buffers
    // as next() delivered it; next() goes on after it. 0 or the error.
    virtual int resume(const std::string &mark) = 0;
};

// One table (with its lookup joins) in the order of a key.
class ViewSource : public RecordSource
{
  public:
    ViewSource(Table &table, KeyId order);
    View &view() { return view_; }
    int open() override { return view_.open(); }
    int next() override { return view_.next(); }
    long long records() const override;
    std::string mark() const override { return view_.position(); }
    int resume(const std::string &mark) override;

  private:
    Table &table_;
    View view_;
};

// Every parent in its order, each followed by its children in the order of
// the children's foreign key. A parent without children yields no record,
// or, when childless parents are kept, one with the child's buffer cleared.
class NestedSource : public RecordSource
{
  public:
    NestedSource(Table &parent, KeyId parentOrder, Table &child, KeyId childKey,
                 std::function<std::int64_t()> parentId, bool keepChildless = false);
    int open() override;
    int next() override;
    // The children: a parent alone delivers none.
    long long records() const override;
    std::string mark() const override;
    int resume(const std::string &mark) override;

  private:
    Table &childTable_;
    View parent_;
    View child_;
    std::function<std::int64_t()> parentId_;
    bool keepChildless_;
    bool childOpen_ = false;
    bool childSeen_ = false;
};

} // namespace hk
