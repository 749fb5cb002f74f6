#include "platform/data/counts.h"

#include "dictionary/tabledef.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"

#include <sqlite3.h>
#include <string>

namespace hk
{

namespace
{

std::string rowSql()
{
    return std::string("SELECT Records FROM ") + kCountsTable + " WHERE TableLabel = ?";
}

// Runs one statement with the table's label bound to its first parameter.
int runWithLabel(sqlite3 *db, const std::string &sql, const TableDef &table, bool &row)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_bind_text(st, 1, table.label.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(st);
    row = rc == SQLITE_ROW;
    sqlite3_finalize(st);
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

} // namespace

bool countKept(sqlite3 *db, const TableDef &table)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(
            db,
            "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND "
            "tbl_name = ?1 AND ((name = ?2 AND sql = ?3) OR (name = ?4 AND sql = ?5))",
            -1, &st, nullptr) != SQLITE_OK)
        return false;
    int i = 1;
    auto bind = [&](const std::string &text) {
        sqlite3_bind_text(st, i++, text.c_str(), -1, SQLITE_TRANSIENT);
    };
    bind(table.label);
    for (CountTrigger which : {CountTrigger::Insert, CountTrigger::Delete}) {
        bind(countTriggerName(table, which));
        bind(createCountTriggerSql(table, which));
    }
    const bool both = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) == 2;
    sqlite3_finalize(st);
    bool row = false;
    return both && runWithLabel(db, rowSql(), table, row) == SQLITE_OK && row;
}

int startCount(sqlite3 *db, const TableDef &table)
{
    std::string sql = createCountsTableSql() + ";\n";
    for (CountTrigger which : {CountTrigger::Insert, CountTrigger::Delete})
        sql += "DROP TRIGGER IF EXISTS " + quoteName(countTriggerName(table, which)) + ";\n";
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    bool row = false;
    // The triggers come after the count, in the same transaction: no write
    // of another station can fall between the two.
    if (rc == SQLITE_OK)
        rc = runWithLabel(db,
                          std::string("INSERT OR REPLACE INTO ") + kCountsTable +
                              " (TableLabel, Records) VALUES (?1, (SELECT count(*) FROM " +
                              quoteName(table.label) + "))",
                          table, row);
    for (CountTrigger which : {CountTrigger::Insert, CountTrigger::Delete})
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, createCountTriggerSql(table, which).c_str(), nullptr, nullptr,
                              nullptr);
    return rc;
}

void ensureCount(DataFile &file, const TableDef &table)
{
    sqlite3 *db = file.db();
    if (!db || countKept(db, table)) return;
    Transaction txn(file);
    if (txn.begin() != NoError) return;
    // Another station may have set it up while this one waited for the lock.
    if ((countKept(db, table) ? SQLITE_OK : startCount(db, table)) == SQLITE_OK) txn.commit();
}

std::optional<long long> keptCount(DataFile &file, const TableDef &table)
{
    sqlite3 *db = file.db();
    if (!db) return std::nullopt;
    // Prepared afresh when the counts table is missing, so that it is found
    // once another station has made it.
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, rowSql().c_str(), -1, &st, nullptr) != SQLITE_OK)
        return std::nullopt;
    sqlite3_bind_text(st, 1, table.label.c_str(), -1, SQLITE_TRANSIENT);
    std::optional<long long> count;
    if (sqlite3_step(st) == SQLITE_ROW) count = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return count;
}

} // namespace hk
