#include "platform/data/datafile.h"

#include "platform/data/connection.h"
#include "platform/data/fileerror.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"

#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <sys/stat.h>

namespace hk
{

DataFile::DataFile(std::string path, MountProbe probe)
    : path_(std::move(path)), probe_(std::move(probe))
{
}

DataFile::~DataFile()
{
    disconnect();
}

DataFile &DataFile::program()
{
    static DataFile file(kFileName);
    return file;
}

int DataFile::connect(bool create, const std::string &forTable, int busyMs)
{
    if (db_) return setError(NoError, forTable);
    struct stat info;
    if (!create && ::stat(path_.c_str(), &info) != 0) {
        // Only a file that is not there may be created; one that cannot be
        // reached (a folder without permission, say) is an error of its own.
        const int os = errno;
        if (os == ENOENT) return setError(FileNotFound, forTable);
        return setDriverError(FileSystemError, os,
                              std::string("cannot reach the data file: ") + std::strerror(os),
                              forTable);
    }
    foreign_.clear();
    olderOrder_ = false;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    int rc = openConnection(path_, flags, &db_);
    if (rc != SQLITE_OK) {
        int code = setSqliteError(db_, rc, forTable);
        sqlite3_close(db_);
        db_ = nullptr;
        return code;
    }
    setBusyTimeout(busyMs);
    // Pages are read at random when lists jump about a large table: keep
    // plenty of them (the cache grows only as pages are read).
    sqlite3_exec(db_, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    // Reading the schema tells at once whether this is a database at all,
    // and whether it holds code that is not the program's: such code would
    // run inside the program's own writes, so nothing is written until it
    // is gone.
    rc = findForeignCode(db_, foreign_);
    if (rc == SQLITE_OK && !foreign_.empty()) {
        setBusyTimeout(kTransactionTimeoutMs);
        disconnect();
        return setDriverError(FileSystemError, SQLITE_AUTH,
                              "the data file holds " + describeObjects(foreign_) +
                                  ", which this program does not make",
                              forTable);
    }
    // Its tables name an earlier key rule: none of them opens until the file
    // is converted.
    std::vector<const TableDef *> older;
    if (rc == SQLITE_OK) rc = tablesUnderOlderOrder(db_, older);
    if (rc == SQLITE_OK && !older.empty()) {
        olderOrder_ = true;
        setBusyTimeout(kTransactionTimeoutMs);
        disconnect();
        return setDriverError(FileSystemError, SQLITE_SCHEMA,
                              "the data file was made under an earlier order of names and is "
                              "converted before it is used",
                              forTable);
    }
    if (rc == SQLITE_OK && !sqlite3_db_readonly(db_, "main")) {
        int code = chooseJournal(forTable);
        setBusyTimeout(kTransactionTimeoutMs);
        if (code != NoError) {
            disconnect();
            return code;
        }
        return setError(NoError, forTable);
    }
    setBusyTimeout(kTransactionTimeoutMs);
    if (rc != SQLITE_OK) {
        int code = setSqliteError(db_, rc, forTable);
        disconnect();
        return code;
    }
    return setError(NoError, forTable);
}

namespace
{

// One text answer of a pragma, or empty.
std::string pragmaText(sqlite3 *db, const char *sql)
{
    std::string answer;
    sqlite3_exec(
        db, sql,
        [](void *out, int, char **value, char **) {
            if (value[0]) *static_cast<std::string *>(out) = value[0];
            return 0;
        },
        &answer, nullptr);
    return answer;
}

} // namespace

int DataFile::chooseJournal(const std::string &forTable)
{
    int rc = SQLITE_OK;
    const bool wal = pragmaText(db_, "PRAGMA journal_mode") == "wal";
    if (probe_ && probe_(path_) == Mount::Network) {
        // The write-ahead log needs memory shared on one host: over a network
        // only the rollback journal is safe. Leaving WAL needs the file to
        // ourselves; while another station has it open it stays as it is,
        // and this station does not use it.
        if (wal) rc = sqlite3_exec(db_, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        if (wal && ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED))
            return setDriverError(FileSystemError, rc,
                                  "on a network drive the data file must leave WAL mode, which "
                                  "waits until the other stations close it",
                                  forTable);
    } else if (wal || pragmaText(db_, "PRAGMA page_count") == "0") {
        // WAL lets reading windows and reports go on while a form writes. A
        // file that a station on another machine took out of WAL stays out:
        // switching it back would lead that station into WAL over the network.
        rc = sqlite3_exec(db_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db_, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    if ((rc & 0xFF) == SQLITE_READONLY) rc = SQLITE_OK;
    return rc == SQLITE_OK ? setError(NoError, forTable) : setSqliteError(db_, rc, forTable);
}

namespace
{

// A connection of the repair's own holding the write lock, on which nothing
// of the file's own code runs; what it does not commit is rolled back.
struct OwnWriter {
    OwnWriter(const std::string &path, int busyMs)
    {
        rc = openConnection(path, SQLITE_OPEN_READWRITE, &db);
        if (rc == SQLITE_OK) {
            sqlite3_busy_timeout(db, busyMs);
            rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        }
    }
    ~OwnWriter()
    {
        if (db && !sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    OwnWriter(const OwnWriter &) = delete;
    OwnWriter &operator=(const OwnWriter &) = delete;
    void commit()
    {
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    sqlite3 *db = nullptr;
    int rc;
};

} // namespace

int DataFile::removeForeignCode()
{
    const std::string name = path_.substr(path_.rfind('/') + 1);
    OwnWriter w(path_, kTransactionTimeoutMs);
    // What is there now, which another station may have changed meanwhile.
    std::vector<SchemaObject> found;
    if (w.rc == SQLITE_OK) w.rc = findForeignCode(w.db, found);
    for (const SchemaObject &o : found) {
        if (w.rc != SQLITE_OK) break;
        const std::string sql =
            (o.type == "view" ? "DROP VIEW " : "DROP TRIGGER ") + quoteName(o.name);
        w.rc = sqlite3_exec(w.db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    w.commit();
    const int code = w.rc == SQLITE_OK ? setError(NoError, name) : setSqliteError(w.db, w.rc, name);
    if (code == NoError) foreign_.clear();
    return code;
}

int DataFile::convertOlderOrder(const ConversionProgress &progress)
{
    const std::string name = path_.substr(path_.rfind('/') + 1);
    OwnWriter w(path_, recoveryWaitMs_);
    // Nothing of anyone else's may run inside the conversion: what is there
    // now, which another station may have changed meanwhile.
    std::vector<SchemaObject> found;
    if (w.rc == SQLITE_OK) w.rc = findForeignCode(w.db, found);
    if (w.rc == SQLITE_OK && !found.empty()) w.rc = SQLITE_AUTH;
    // Another station may have converted the file meanwhile: then there is
    // nothing left to do.
    if (w.rc == SQLITE_OK) w.rc = hk::convertOlderOrder(w.db, progress);
    w.commit();
    const int code = w.rc == SQLITE_OK ? setError(NoError, name)
                     : found.empty()
                         ? setSqliteError(w.db, w.rc, name)
                         : setDriverError(FileSystemError, w.rc,
                                          "the data file holds " + describeObjects(found) +
                                              ", which this program does not make",
                                          name);
    if (code == NoError) olderOrder_ = false;
    return code;
}

void DataFile::release()
{
    if (users_ > 0 && --users_ == 0) disconnect();
}

void DataFile::disconnect()
{
    for (auto &[sql, st] : statements_)
        sqlite3_finalize(st);
    statements_.clear();
    if (db_) {
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

sqlite3_stmt *DataFile::statement(const std::string &sql, const std::string &forTable)
{
    if (!db_) {
        setError(FileNotOpen, forTable);
        return nullptr;
    }
    if (auto it = statements_.find(sql); it != statements_.end()) return it->second;
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
        setSqliteError(db_, rc, forTable);
        return nullptr;
    }
    statements_.emplace(sql, st);
    return st;
}

void DataFile::setBusyTimeout(int ms)
{
    if (db_) sqlite3_busy_timeout(db_, ms);
}

int DataFile::begin(int timeoutMs)
{
    ++changes_;
    // A transaction that ended on its own (SQLite rolls back after some
    // failures) left what it wrote in memory.
    if (!inTransaction()) rereadAfterRollback();
    if (!db_) return setError(FileNotOpen);
    setBusyTimeout(timeoutMs);
    int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    setBusyTimeout(kTransactionTimeoutMs);
    if (rc != SQLITE_OK) return setSqliteError(db_, rc, {});
    ++transactions_;
    return setError(NoError);
}

int DataFile::commit()
{
    ++changes_;
    if (!db_) return setError(FileNotOpen);
    int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        int code = setSqliteError(db_, rc, {});
        // A commit that cannot finish must not leave the transaction hanging.
        if (!sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        if (!inTransaction()) rereadAfterRollback();
        return code;
    }
    rereads_.clear();
    return setError(NoError);
}

int DataFile::rollback()
{
    ++changes_;
    if (!db_) return setError(FileNotOpen);
    if (sqlite3_get_autocommit(db_)) {
        rereadAfterRollback();
        return setError(NoError);
    }
    int rc = sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    const int code = rc == SQLITE_OK ? setError(NoError) : setSqliteError(db_, rc, {});
    if (!inTransaction()) rereadAfterRollback();
    return code;
}

void DataFile::rereadAfterRollback()
{
    if (rereads_.empty()) return;
    // The reads do not change what the caller is about to be told.
    const FileError failure = lastError();
    auto pending = std::move(rereads_);
    rereads_.clear();
    for (auto &[what, reread] : pending)
        reread();
    setDriverError(failure.code, failure.driverCode, failure.driverMessage, failure.file);
    setErrorKey(failure.key);
}

void DataFile::abandon()
{
    if (!inTransaction()) return;
    const FileError failure = lastError();
    rollback();
    setDriverError(failure.code, failure.driverCode, failure.driverMessage, failure.file);
    setErrorKey(failure.key);
}

void DataFile::shutdown()
{
    // Insert forms still open will never close now: their placeholders go
    // along, after whatever was half-done is rolled back.
    if (db_) {
        rereads_.clear(); // nothing is shown any more
        rollback();
        removeOwnPlaceholders(*this);
    }
    disconnect();
    users_ = 0;
}

std::uint64_t DataFile::stamp() const
{
    // The version the connection saw at its last read: another station's
    // commit shows here from the next read that goes to the file. Asking
    // the file itself would cost a read of its own on every step.
    unsigned int version = 0;
    if (db_) sqlite3_file_control(db_, "main", SQLITE_FCNTL_DATA_VERSION, &version);
    return (static_cast<std::uint64_t>(version) << 32) ^ changes_;
}

bool DataFile::inTransaction() const
{
    return db_ && !sqlite3_get_autocommit(db_);
}

std::uint64_t DataFile::openTransaction() const
{
    return inTransaction() ? transactions_ : 0;
}

StatementScope::~StatementScope()
{
    if (st_) {
        sqlite3_reset(st_);
        sqlite3_clear_bindings(st_);
    }
}

void bindField(sqlite3_stmt *st, int index, const FieldDef &f, const void *record)
{
    if (f.isText()) {
        std::string_view t = field::text(f, record);
        sqlite3_bind_text(st, index, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    } else {
        sqlite3_bind_int64(st, index, field::integer(f, record));
    }
}

void readField(sqlite3_stmt *st, int column, const FieldDef &f, void *record)
{
    if (f.isText()) {
        auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
        field::setText(
            f, record,
            t ? std::string_view(t, static_cast<std::size_t>(sqlite3_column_bytes(st, column)))
              : std::string_view());
    } else {
        field::setInteger(f, record, sqlite3_column_int64(st, column));
    }
}

} // namespace hk
