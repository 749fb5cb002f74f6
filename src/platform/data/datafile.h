// One station's connection to the data file. Every table of a station shares
// it, so a transaction covers all of them. The program's own station is
// DataFile::program(): "Hearthkp.Tps" in the current directory.
#pragma once

#include "dictionary/tabledef.h"
#include "platform/data/mount.h"
#include "platform/data/ownschema.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace hk
{

class DataFile
{
  public:
    // probe: tells whether the file lies on a network file system.
    explicit DataFile(std::string path, MountProbe probe = mountOf);
    ~DataFile();
    DataFile(const DataFile &) = delete;
    DataFile &operator=(const DataFile &) = delete;

    static DataFile &program();
    static constexpr const char *kFileName = "Hearthkp.Tps";
    static constexpr int kTransactionTimeoutMs = 2000;

    const std::string &path() const { return path_; }

    // Opens the connection when it is not open yet. Without `create` a missing
    // file gives FileNotFound; with it the file is made. Sets lastError().
    // busyMs: how long to wait for another station's lock meanwhile. A file
    // holding triggers or views that the program does not make is not
    // connected to (FileSystemError): foreignCode() then names them.
    int connect(bool create, const std::string &forTable, int busyMs = kTransactionTimeoutMs);
    // The code found in the file by the last connect; empty when none.
    const std::vector<SchemaObject> &foreignCode() const { return foreign_; }
    // Drops that code from the file, in a transaction of its own, and
    // forgets it. Sets lastError().
    int removeForeignCode();
    // Tables open on this station; the connection closes with the last.
    void retain() { ++users_; }
    void release();
    bool connected() const { return db_ != nullptr; }
    sqlite3 *db() const { return db_; }

    // A prepared statement for sql, kept for reuse; nullptr when it cannot be
    // prepared (lastError() says why).
    sqlite3_stmt *statement(const std::string &sql, const std::string &forTable);
    // How long a read or write waits for another station's lock.
    void setBusyTimeout(int ms);
    // How long a table's open after "Recover=10" waits for another station's
    // lock: 10 s unless set otherwise (tests that hold a lock on purpose).
    static constexpr int kRecoveryWaitMs = 10000;
    int recoveryWait() const { return recoveryWaitMs_; }
    void setRecoveryWait(int ms) { recoveryWaitMs_ = ms; }

    // Transactions are begun, committed and rolled back through Transaction
    // (transaction.h) only. Whether one is open, and which: a number that
    // changes with every transaction begun, 0 when none is open.
    bool inTransaction() const;
    std::uint64_t openTransaction() const;
    // Rolls back whatever transaction is open, whoever began it; lastError()
    // keeps the failure that led here. For work that must not become part of
    // a change half done (rebuilding keys), and for the program's end.
    void abandon();

    // Before the program ends on an error: rolls back whatever is open and
    // closes the connection, so the file and its journal are settled.
    void shutdown();

    // Changes whenever this station writes, and when a read finds another
    // station's commit: what was read under another stamp may be stale.
    std::uint64_t stamp() const;
    void noteChange() { ++changes_; }

  private:
    friend class Transaction;
    // BEGIN IMMEDIATE: waits at most timeoutMs for other stations' writes.
    int begin(int timeoutMs);
    int commit();
    int rollback();
    void disconnect();
    int chooseJournal(const std::string &forTable);

    std::string path_;
    MountProbe probe_;
    sqlite3 *db_ = nullptr;
    int users_ = 0;
    std::uint64_t changes_ = 0;
    std::uint64_t transactions_ = 0; // begun on this connection
    int recoveryWaitMs_ = kRecoveryWaitMs;
    std::unordered_map<std::string, sqlite3_stmt *> statements_;
    std::vector<SchemaObject> foreign_;
};

// Resets and unbinds a cached statement when the scope ends.
class StatementScope
{
  public:
    explicit StatementScope(sqlite3_stmt *st) : st_(st) {}
    ~StatementScope();
    StatementScope(const StatementScope &) = delete;
    StatementScope &operator=(const StatementScope &) = delete;
    sqlite3_stmt *get() const { return st_; }

  private:
    sqlite3_stmt *st_;
};

// Moving field values between a record and a statement.
void bindField(sqlite3_stmt *st, int index, const FieldDef &f, const void *record);
void readField(sqlite3_stmt *st, int column, const FieldDef &f, void *record);

} // namespace hk
