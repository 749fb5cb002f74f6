#include "platform/data/table.h"

#include "dictionary/tables.h"
#include "platform/data/attachments.h"
#include "platform/data/childsums.h"
#include "platform/data/counts.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/ownschema.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"
#include "platform/data/textsearch.h"
#include "platform/data/transaction.h"

#include <cstring>
#include <sqlite3.h>
#include <strings.h>

namespace hk
{

Table::Table(TableId id, void *buffer, DataFile *file)
    : def_(tableDef(id)), buffer_(buffer), file_(file ? *file : DataFile::program()),
      cursor_(file_, def_, buffer)
{
}

int Table::requireOpen()
{
    return open_ ? setError(NoError, storedName()) : setError(FileNotOpen, storedName());
}

int Table::open()
{
    if (open_) return setError(AlreadyOpen, storedName());
    int code = file_.connect(false, storedName());
    if (code != NoError) return code;
    file_.retain();
    if (recoverMs_) {
        file_.setBusyTimeout(recoverMs_);
        recoverMs_ = 0;
    }
    code = checkLayout(file_.db(), def_);
    bool earlierKeys = false;
    if (code == NoError) code = checkKeys(file_.db(), def_, &earlierKeys);
    if (code == NoError && !def_.searched.empty() &&
        checkSearchIndexes(file_.db(), def_) == FileNotFound)
        code = buildSearchIndexes(); // a file from before the searches had them
    // The attachments' table is checked with its owners, and set up for a
    // file from before attachments.
    if (code == NoError && ownsAttachments(def_.id)) code = ensureAttachments(file_, def_);
    file_.setBusyTimeout(DataFile::kTransactionTimeoutMs);
    if (code != NoError) {
        FileError error = lastError();
        file_.release();
        setDriverError(error.code, error.driverCode, error.driverMessage, storedName());
        return error.code;
    }
    // Keys as an earlier version made them hold blank names unique too, so
    // that two insert forms could not wait at once: made afresh, or at a
    // later opening when the file cannot be written now.
    if (earlierKeys) buildKeys();
    open_ = true;
    cursor_.setOrder(def_.hasIdentifier() ? 0 : kFileOrder);
    ensureCount(file_, def_);
    ensureChildSums(file_, def_);
    // What a station that ended mid-insert left behind goes before anyone reads.
    if (def_.hasIdentifier()) removeDeadPlaceholders(file_, def_);
    return setError(NoError, storedName());
}

int Table::changeSchema(bool createFile, const std::function<int(sqlite3 *)> &work)
{
    int code = file_.connect(createFile, storedName());
    if (code != NoError) return code;
    file_.retain();
    {
        // Inside a caller's transaction the change is part of it.
        Transaction txn(file_);
        code = txn.begin();
        if (code == NoError) code = work(file_.db());
        if (code == NoError) {
            const FileError done = lastError();
            code = txn.commit();
            if (code == NoError) setDriverError(done.code, done.driverCode, done.driverMessage, {});
        }
    } // not committed: rolled back, keeping the failure
    const FileError result = lastError();
    setDriverError(result.code, result.driverCode, result.driverMessage, storedName());
    file_.release();
    return code;
}

int Table::runSql(sqlite3 *db, const std::string &sql)
{
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? setError(NoError, storedName()) : setSqliteError(db, rc, storedName());
}

int Table::create()
{
    return changeSchema(true, [this](sqlite3 *db) {
        int code = checkLayout(db, def_);
        if (code != FileNotFound) return code;
        // Only a missing table is made: an existing one, whatever its state,
        // is never replaced.
        const int rc = createTableSchema(db, def_);
        return rc == SQLITE_OK ? setError(NoError, storedName())
                               : setSqliteError(db, rc, storedName());
    });
}

int Table::buildKeys()
{
    return changeSchema(false, [this](sqlite3 *db) {
        std::string sql;
        for (std::size_t k = 0; k < def_.keys.size(); ++k)
            sql += "DROP INDEX IF EXISTS " + quoteName(indexName(def_, static_cast<int>(k))) +
                   ";\n" + createIndexSql(def_, static_cast<int>(k)) + ";\n";
        for (int f : def_.searched)
            sql += dropSearchIndexSql(def_, f) + createSearchIndexSql(def_, f);
        return runSql(db, sql);
    });
}

int Table::buildSearchIndexes()
{
    return changeSchema(false, [this](sqlite3 *db) {
        std::string sql;
        for (int f : def_.searched)
            sql += dropSearchIndexSql(def_, f) + createSearchIndexSql(def_, f);
        return runSql(db, sql);
    });
}

int Table::close()
{
    if (!open_) return setError(FileNotOpen, storedName());
    open_ = false;
    watched_.clear();
    watchNext_ = false;
    cursor_.forgetCurrent();
    file_.release();
    return setError(NoError, storedName());
}

int Table::send(std::string_view text)
{
    auto is = [&](const char *s) {
        return text.size() == std::strlen(s) && strncasecmp(text.data(), s, text.size()) == 0;
    };
    if (is("Recover=10")) {
        recoverMs_ = file_.recoveryWait();
        return setError(NoError, storedName());
    }
    if (is("QUICKSCAN=on") || is("QUICKSCAN=off")) return setError(NoError, storedName());
    return setDriverError(FileSystemError, 0, "Unknown driver string: " + std::string(text),
                          storedName());
}

long long Table::records()
{
    if (requireOpen() != NoError) return 0;
    if (std::optional<long long> kept = keptCount(file_, def_)) {
        setError(NoError, storedName());
        return *kept;
    }
    sqlite3_stmt *st =
        file_.statement("SELECT count(*) FROM " + quoteName(def_.label), storedName());
    if (!st) return 0;
    StatementScope scope(st);
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW) {
        setSqliteError(file_.db(), rc, storedName());
        return 0;
    }
    setError(NoError, storedName());
    return sqlite3_column_int64(st, 0);
}

int Table::set(KeyId key)
{
    if (requireOpen() != NoError) return lastError().code;
    cursor_.setOrder(key.index);
    return setError(NoError, storedName());
}

int Table::setByKey(KeyId key)
{
    if (requireOpen() != NoError) return lastError().code;
    if (cursor_.order() != key.index) cursor_.setOrder(key.index);
    cursor_.toKeyValues();
    return setError(NoError, storedName());
}

int Table::setByFileOrder()
{
    if (requireOpen() != NoError) return lastError().code;
    cursor_.setOrder(kFileOrder);
    return setError(NoError, storedName());
}

Position Table::position(KeyId key) const
{
    return encodePosition(key.index, cursor_.keyValues(key.index), cursor_.currentRow());
}

int Table::reset(const Position &position)
{
    if (requireOpen() != NoError) return lastError().code;
    int key;
    std::vector<Value> values;
    std::int64_t row;
    if (!decodePosition(position, key, values, row)) return setError(RecordNotFound, storedName());
    if (cursor_.order() != key) cursor_.setOrder(key);
    cursor_.toPosition(position);
    return setError(NoError, storedName());
}

int Table::afterRead(int code)
{
    if (code == NoError && watchNext_) {
        watchNext_ = false;
        watchedRow_ = cursor_.currentRow();
        watched_.assign(static_cast<unsigned char *>(buffer_),
                        static_cast<unsigned char *>(buffer_) + def_.recordSize);
    }
    return code;
}

int Table::reget(const Position &position)
{
    if (requireOpen() != NoError) return lastError().code;
    return afterRead(cursor_.reget(position));
}

int Table::regetRow(std::int64_t row)
{
    return reget(encodePosition(kFileOrder, {}, row));
}

int Table::next()
{
    if (requireOpen() != NoError) return lastError().code;
    return afterRead(cursor_.next());
}

int Table::previous()
{
    if (requireOpen() != NoError) return lastError().code;
    return afterRead(cursor_.previous());
}

int Table::get(KeyId key)
{
    if (requireOpen() != NoError) return lastError().code;
    const KeyDef &k = def_.keys.at(key.index);
    std::string sql = "SELECT rowid FROM " + quoteName(def_.label) + " WHERE ";
    for (std::size_t i = 0; i < k.components.size(); ++i)
        sql += (i ? " AND " : "") + quoteName(def_.fields[k.components[i]].column) + " = ?";
    sql += " ORDER BY ";
    for (int c : k.components)
        sql += quoteName(def_.fields[c].column) + ", ";
    sql += "rowid LIMIT 1";
    sqlite3_stmt *st = file_.statement(sql, storedName());
    if (!st) return lastError().code;
    std::int64_t row = 0;
    {
        StatementScope scope(st);
        for (std::size_t i = 0; i < k.components.size(); ++i)
            bindField(st, static_cast<int>(i) + 1, def_.fields[k.components[i]], buffer_);
        int rc = sqlite3_step(st);
        if (rc == SQLITE_DONE) return setError(RecordNotFound, storedName());
        if (rc != SQLITE_ROW) return setSqliteError(file_.db(), rc, storedName());
        row = sqlite3_column_int64(st, 0);
    }
    return afterRead(cursor_.reget(encodePosition(kFileOrder, {}, row)));
}

int Table::clashes(int key, bool &clash)
{
    clash = false;
    const KeyDef &k = def_.keys.at(key);
    if (!k.unique()) return NoError;
    std::string sql = "SELECT 1 FROM " + quoteName(def_.label) + " WHERE ";
    for (std::size_t i = 0; i < k.components.size(); ++i)
        sql += (i ? " AND " : "") + quoteName(def_.fields[k.components[i]].column) + " = ?";
    sql += " AND rowid <> ?";
    if (const std::string held = keyCondition(def_, key); !held.empty())
        sql += " AND (" + held + ")";
    sql += " LIMIT 1";
    sqlite3_stmt *st = file_.statement(sql, storedName());
    if (!st) return lastError().code;
    StatementScope scope(st);
    for (std::size_t i = 0; i < k.components.size(); ++i)
        bindField(st, static_cast<int>(i) + 1, def_.fields[k.components[i]], buffer_);
    // The current record may keep its own values.
    sqlite3_bind_int64(st, static_cast<int>(k.components.size()) + 1, cursor_.currentRow());
    int rc = sqlite3_step(st);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return setSqliteError(file_.db(), rc, storedName());
    clash = rc == SQLITE_ROW;
    return NoError;
}

int Table::findDuplicateKey(int &found)
{
    found = -1;
    for (std::size_t k = 0; k < def_.keys.size(); ++k) {
        bool clash;
        if (int code = clashes(static_cast<int>(k), clash); code != NoError) return code;
        if (clash) {
            found = static_cast<int>(k);
            break;
        }
    }
    return NoError;
}

bool Table::duplicate(KeyId key)
{
    bool clash = false;
    return requireOpen() == NoError && clashes(key.index, clash) == NoError && clash;
}

bool Table::duplicate()
{
    int found;
    return requireOpen() == NoError && findDuplicateKey(found) == NoError && found >= 0;
}

void Table::noteDuplicateKey()
{
    FileError error = lastError();
    int key = -1;
    findDuplicateKey(key);
    setDriverError(error.code, error.driverCode, error.driverMessage, storedName());
    if (key >= 0) setErrorKey(def_.keys[key].label);
}

int Table::add()
{
    if (requireOpen() != NoError) return lastError().code;
    std::string sql = "INSERT INTO " + quoteName(def_.label) + " (";
    std::string values;
    for (std::size_t i = 0; i < def_.fields.size(); ++i) {
        sql += (i ? ", " : "") + quoteName(def_.fields[i].column);
        values += i ? ", ?" : "?";
    }
    sql += ") VALUES (" + values + ")";
    sqlite3_stmt *st = file_.statement(sql, storedName());
    if (!st) return lastError().code;
    int rc;
    {
        StatementScope scope(st);
        for (std::size_t i = 0; i < def_.fields.size(); ++i)
            bindField(st, static_cast<int>(i) + 1, def_.fields[i], buffer_);
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) {
        int code = setSqliteError(file_.db(), rc, storedName());
        if (code == DuplicateKey) {
            // A new record clashes with any stored one, the current included.
            std::int64_t saved = cursor_.currentRow();
            cursor_.forgetCurrent();
            noteDuplicateKey();
            cursor_.setCurrentRow(saved);
        }
        return code;
    }
    file_.noteChange();
    cursor_.setCurrentRow(sqlite3_last_insert_rowid(file_.db()));
    return setError(NoError, storedName());
}

int Table::put()
{
    if (requireOpen() != NoError) return lastError().code;
    if (!watched_.empty() && watchedRow_ == cursor_.currentRow())
        return putIfUnchanged(watched_.data());
    return putIfUnchanged(nullptr);
}

int Table::putIfUnchanged(const void *asRead)
{
    if (requireOpen() != NoError) return lastError().code;
    if (cursor_.currentRow() == 0) return setError(NoMoreRecords, storedName());
    std::string sql = "UPDATE " + quoteName(def_.label) + " SET ";
    for (std::size_t i = 0; i < def_.fields.size(); ++i)
        sql += (i ? ", " : "") + quoteName(def_.fields[i].column) + " = ?";
    sql += " WHERE rowid = ?";
    const int n = static_cast<int>(def_.fields.size());
    if (asRead)
        // Exact comparison: a change of letter case by another station is a change.
        for (const auto &f : def_.fields)
            sql += " AND " + quoteName(f.column) + (f.isText() ? " = ? COLLATE BINARY" : " = ?");
    sqlite3_stmt *st = file_.statement(sql, storedName());
    if (!st) return lastError().code;
    int rc;
    {
        StatementScope scope(st);
        for (int i = 0; i < n; ++i)
            bindField(st, i + 1, def_.fields[i], buffer_);
        sqlite3_bind_int64(st, n + 1, cursor_.currentRow());
        if (asRead)
            for (int i = 0; i < n; ++i)
                bindField(st, n + 2 + i, def_.fields[i], asRead);
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) {
        int code = setSqliteError(file_.db(), rc, storedName());
        if (code == DuplicateKey) noteDuplicateKey();
        return code;
    }
    if (sqlite3_changes(file_.db()) == 0) return whyUnchanged(asRead != nullptr);
    file_.noteChange();
    if (!watched_.empty() && watchedRow_ == cursor_.currentRow())
        std::memcpy(watched_.data(), buffer_, def_.recordSize); // our own write is no conflict
    return setError(NoError, storedName());
}

int Table::whyUnchanged(bool checked)
{
    if (!checked) return setError(RecordNotFound, storedName());
    sqlite3_stmt *st = file_.statement(
        "SELECT 1 FROM " + quoteName(def_.label) + " WHERE rowid = ?", storedName());
    if (!st) return lastError().code;
    StatementScope scope(st);
    sqlite3_bind_int64(st, 1, cursor_.currentRow());
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) return setError(ChangedByOther, storedName());
    if (rc == SQLITE_DONE) return setError(RecordNotFound, storedName());
    return setSqliteError(file_.db(), rc, storedName());
}

bool Table::matchesWatched() const
{
    if (watched_.empty() || watchedRow_ != cursor_.currentRow()) return true;
    for (const auto &f : def_.fields)
        if (!field::equal(f, buffer_, watched_.data())) return false;
    return true;
}

int Table::remove()
{
    if (requireOpen() != NoError) return lastError().code;
    if (cursor_.currentRow() == 0) return setError(NoMoreRecords, storedName());
    const bool checked = !watched_.empty() && watchedRow_ == cursor_.currentRow();
    std::string sql = "DELETE FROM " + quoteName(def_.label) + " WHERE rowid = ?";
    if (checked)
        for (const auto &f : def_.fields)
            sql += " AND " + quoteName(f.column) + (f.isText() ? " = ? COLLATE BINARY" : " = ?");
    sqlite3_stmt *st = file_.statement(sql, storedName());
    if (!st) return lastError().code;
    int rc;
    {
        StatementScope scope(st);
        sqlite3_bind_int64(st, 1, cursor_.currentRow());
        if (checked)
            for (std::size_t i = 0; i < def_.fields.size(); ++i)
                bindField(st, static_cast<int>(i) + 2, def_.fields[i], watched_.data());
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) return setSqliteError(file_.db(), rc, storedName());
    if (sqlite3_changes(file_.db()) == 0) return whyUnchanged(checked);
    file_.noteChange();
    if (checked) watched_.clear();
    cursor_.forgetCurrent();
    return setError(NoError, storedName());
}

void Table::setCurrent(std::int64_t row, const void *asRead)
{
    cursor_.setCurrentRow(row);
    watchNext_ = false;
    if (asRead) {
        watchedRow_ = row;
        watched_.assign(static_cast<const unsigned char *>(asRead),
                        static_cast<const unsigned char *>(asRead) + def_.recordSize);
    } else {
        watched_.clear();
    }
}

int Table::watch()
{
    if (requireOpen() != NoError) return lastError().code;
    watchNext_ = true;
    return setError(NoError, storedName());
}

} // namespace hk
