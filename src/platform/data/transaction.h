// A write transaction on one station's file that cannot be left open: what is
// not committed when the scope ends is rolled back. An early return then never
// keeps the write lock, and never leaves a transaction behind for another
// window's write to fall into.
//
// Nesting joins. A Transaction begun while its file has one open becomes part
// of that one: its commit() stores nothing (the outermost commits it) and its
// end leaves the outer one open for its owner to decide. Its rollback() ends
// the whole, outer included: a change made of parts is stored whole or not at
// all, and a part that fails warns the user at once, which must not happen
// while the file is locked. Savepoints would let an outer change go on after a
// part failed; no caller wants that, and the outer's lock would then be held
// while the part's warning waits for the user.
//
// A transaction may end under its owner (a joined part rolled back, a failed
// commit, the program's shutdown): the owner's commit() then fails and its end
// does nothing, so it never touches a transaction begun after its own.
#pragma once

#include "platform/data/datafile.h"

#include <cstdint>

namespace hk
{

class Transaction
{
  public:
    explicit Transaction(DataFile &file) : file_(file) {}
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // BEGIN IMMEDIATE, waiting at most timeoutMs for other stations' writes;
    // or joins the transaction open on the file. A failure is in lastError().
    int begin(int timeoutMs = DataFile::kTransactionTimeoutMs);
    // Stores the work when this is the outermost transaction (a commit that
    // fails rolls back); a joined one leaves that to the outer one. Fails when
    // the transaction has ended meanwhile.
    int commit();
    // Rolls the whole transaction back now, outer included. lastError() keeps
    // the failure that led here, for the warning that follows.
    void rollback();

    // Whether this one's transaction is still open.
    bool open() const { return serial_ != 0 && file_.openTransaction() == serial_; }
    bool joined() const { return serial_ != 0 && !own_; }

  private:
    DataFile &file_;
    std::uint64_t serial_ = 0; // the file's transaction this one belongs to
    bool own_ = false;         // began it, rather than joined it
};

} // namespace hk
