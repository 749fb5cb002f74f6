#include "platform/data/olderorder.h"

#include "dictionary/tables.h"
#include "platform/data/collation.h"
#include "platform/data/ownschema.h"
#include "platform/data/schema.h"
#include "platform/data/textsearch.h"

#include <sqlite3.h>

#include <string>

namespace hk
{

namespace
{

// The new table's name until the old one is gone.
constexpr const char *kConverting = "HkConverting";
// Records copied per statement: the progress is told between them.
constexpr int kRowsPerStep = 20000;

int run(sqlite3 *db, const std::string &sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

// The table's definition as stored, normalised; empty when it is not there.
int storedSql(sqlite3 *db, const TableDef &table, std::string &sql)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(
        db, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", -1,
        &st, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_bind_text(st, 1, table.label.c_str(), -1, SQLITE_TRANSIENT);
    sql.clear();
    rc = sqlite3_step(st);
    if (rc == SQLITE_ROW)
        if (const auto *text = sqlite3_column_text(st, 0))
            sql = normaliseSql(reinterpret_cast<const char *>(text));
    sqlite3_finalize(st);
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int integer(sqlite3 *db, const std::string &sql, long long &value)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        value = sqlite3_column_int64(st, 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

struct Work {
    const ConversionProgress &progress;
    long long done = 0, total = 0;
    int step(long long more)
    {
        done += more;
        return !progress || progress(done, total) ? SQLITE_OK : SQLITE_INTERRUPT;
    }
};

// Copies the records in steps of row ids, telling the progress after each.
int copyRecords(sqlite3 *db, const TableDef &table, Work &work)
{
    std::string columns = "rowid";
    for (const FieldDef &f : table.fields)
        columns += ", " + quoteName(f.column);
    const std::string sql = std::string("INSERT INTO ") + kConverting + " (" + columns +
                            ") SELECT " + columns + " FROM " + quoteName(table.label) +
                            " WHERE rowid > ?1 ORDER BY rowid LIMIT " +
                            std::to_string(kRowsPerStep);
    sqlite3_stmt *copy = nullptr, *last = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &copy, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db, (std::string("SELECT max(rowid) FROM ") + kConverting).c_str(),
                                -1, &last, nullptr);
    sqlite3_int64 after = INT64_MIN;
    while (rc == SQLITE_OK) {
        sqlite3_bind_int64(copy, 1, after);
        rc = sqlite3_step(copy);
        sqlite3_reset(copy);
        if (rc != SQLITE_DONE) break;
        const int copied = sqlite3_changes(db);
        if (copied == 0) {
            rc = SQLITE_OK;
            break;
        }
        rc = sqlite3_step(last);
        if (rc == SQLITE_ROW) {
            after = sqlite3_column_int64(last, 0);
            rc = work.step(copied);
        }
        sqlite3_reset(last);
    }
    sqlite3_finalize(copy);
    sqlite3_finalize(last);
    return rc;
}

int convertTable(sqlite3 *db, const TableDef &table, long long records, Work &work)
{
    // The substring index reads the old table by name: it goes first and is
    // made again from the new one.
    std::string sql;
    for (int f : table.searched)
        sql += dropSearchIndexSql(table, f);
    const std::string head = "CREATE TABLE " + quoteName(table.label);
    sql += "CREATE TABLE " + quoteName(kConverting) + createTableSql(table).substr(head.size());
    int rc = run(db, sql);
    if (rc == SQLITE_OK) rc = copyRecords(db, table, work);
    // The old table takes its indexes and triggers along.
    if (rc == SQLITE_OK)
        rc = run(db, "DROP TABLE " + quoteName(table.label) + ";\nALTER TABLE " +
                         quoteName(kConverting) + " RENAME TO " + quoteName(table.label));
    if (rc == SQLITE_OK) rc = createTableCompanions(db, table);
    if (rc == SQLITE_OK) rc = work.step(records);
    return rc;
}

} // namespace

int tablesUnderOlderOrder(sqlite3 *db, std::vector<const TableDef *> &found)
{
    found.clear();
    std::string stored;
    for (int i = 0; i < TableCount; ++i) {
        const TableDef &def = tableDef(TableId(i));
        if (const int rc = storedSql(db, def, stored); rc != SQLITE_OK) return rc;
        // A table without text is the same under every rule.
        if (stored.empty() || stored == normaliseSql(createTableSql(def))) continue;
        for (const char *older : kOlderCollationNames)
            if (stored == normaliseSql(createTableSql(def, older))) {
                found.push_back(&def);
                break;
            }
    }
    return SQLITE_OK;
}

int convertOlderOrder(sqlite3 *db, const ConversionProgress &progress)
{
    std::vector<const TableDef *> tables;
    int rc = tablesUnderOlderOrder(db, tables);
    Work work{progress};
    std::vector<long long> records(tables.size());
    for (std::size_t i = 0; i < tables.size() && rc == SQLITE_OK; ++i) {
        rc = integer(db, "SELECT count(*) FROM " + quoteName(tables[i]->label), records[i]);
        // Each record is copied once and indexed once.
        work.total += 2 * records[i];
    }
    if (rc == SQLITE_OK && !tables.empty()) rc = work.step(0);
    for (std::size_t i = 0; i < tables.size() && rc == SQLITE_OK; ++i)
        rc = convertTable(db, *tables[i], records[i], work);
    return rc;
}

} // namespace hk
