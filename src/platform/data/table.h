// A table of the data file as the program uses it: open and close, reads in
// any key order, writes from its record buffer, duplicate checks, and the
// watch that detects another station's change. Every operation returns a
// result code (0 = success, see fileerror.h) and records it in lastError().
#pragma once

#include "dictionary/tabledef.h"
#include "platform/data/cursor.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace hk
{

class DataFile;

class Table
{
  public:
    // `file` is the station the table belongs to; the program's own by default.
    Table(TableId id, void *buffer, DataFile *file = nullptr);
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    const TableDef &def() const { return def_; }
    void *buffer() const { return buffer_; }
    DataFile &file() const { return file_; }
    std::string storedName() const { return def_.storedName(); }

    Long Used = 0; // procedures holding the table open

    // Opens the table for reading and writing, shared with other stations.
    // FileNotFound when the file or table is missing, LayoutMismatch when the
    // stored columns differ, KeysInvalid when an index does, AlreadyOpen when
    // open already (a success).
    int open();
    // Makes the table with all its keys (and the data file when missing).
    int create();
    // Drops and rebuilds every index of the table.
    int buildKeys();
    int close();
    bool isOpen() const { return open_; }
    // "Recover=10": the next open waits up to 10 s (the file's recoveryWait())
    // for another station's lock. "QUICKSCAN=on"/"QUICKSCAN=off" brackets
    // sequential scans; every read here is an indexed range read already, so
    // it is accepted as is.
    int send(std::string_view driverString);

    // The number of records, as the data file keeps it (see counts.h).
    long long records();

    // Sequential reads in the order of a key (or of the file).
    int set(KeyId key);      // next from the first, previous from the last
    int setByKey(KeyId key); // from the key values in the buffer
    int setByFileOrder();
    Position position(KeyId key) const; // of the current record
    int reset(const Position &position);
    int reget(const Position &position);
    // Reads the record with this row id and makes it the current record.
    int regetRow(std::int64_t row);
    int next();
    int previous();

    // The record whose key values equal those in the buffer.
    int get(KeyId key);
    // Whether writing the buffer would duplicate this unique key, or any.
    bool duplicate(KeyId key);
    bool duplicate();

    int add();
    // Put and remove of a watched record fail with ChangedByOther when
    // another station changed it since, and with RecordNotFound when another
    // station deleted it.
    int put();
    int remove();

    // The next record read is remembered; a later put or remove fails with
    // ChangedByOther when the stored record no longer equals it.
    int watch();
    // Records cannot be locked across stations here; a hold watches.
    int hold() { return watch(); }
    // Put checked against a version the caller kept (a form's own copy).
    int putIfUnchanged(const void *asRead);
    // Whether the buffer, read from the current record, still equals the
    // version watched for it; true when the record is not watched.
    bool matchesWatched() const;

    // The row id of the current record (0: none).
    std::int64_t currentRow() const { return cursor_.currentRow(); }
    // Makes the record with this row id current again for put and remove,
    // watched as `asRead` holds it when given: a window that keeps its own
    // copy of a record returns to it after others have read the table.
    void setCurrent(std::int64_t row, const void *asRead);

  private:
    int requireOpen();
    // Runs a change of the table's schema in a transaction of its own.
    int changeSchema(bool createFile, const std::function<int(sqlite3 *)> &work);
    int runSql(sqlite3 *db, const std::string &sql);
    // Makes the substring indexes of the searched fields afresh.
    int buildSearchIndexes();
    int afterRead(int code);
    // After a checked write touched no row: was the row changed or deleted?
    int whyUnchanged(bool checked);
    int clashes(int key, bool &clash);
    int findDuplicateKey(int &key);
    void noteDuplicateKey(); // names the clashing key in lastError()

    const TableDef &def_;
    void *buffer_;
    DataFile &file_;
    bool open_ = false;
    int recoverMs_ = 0;
    Cursor cursor_;
    bool watchNext_ = false;
    std::int64_t watchedRow_ = 0;
    std::vector<unsigned char> watched_; // the record as read when watched
};

} // namespace hk
