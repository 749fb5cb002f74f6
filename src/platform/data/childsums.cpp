#include "platform/data/childsums.h"

#include "dictionary/tabledef.h"
#include "platform/data/datafile.h"
#include "platform/data/schema.h"

#include <sqlite3.h>

#include <string>

namespace hk
{

std::optional<ChildSum> childSum(DataFile &file, const TableDef &table, int link,
                                 std::int64_t parent, int summed)
{
    // sum() of integer hundredths stays exact; total() would go through
    // floating point.
    const std::string sum =
        summed < 0 ? std::string("0")
                   : "coalesce(sum(" +
                         quoteName(table.fields.at(static_cast<std::size_t>(summed)).column) +
                         "), 0)";
    const std::string sql =
        "SELECT count(*), " + sum + " FROM " + quoteName(table.label) + " WHERE " +
        quoteName(table.fields.at(static_cast<std::size_t>(link)).column) + " = ?";
    sqlite3_stmt *st = file.statement(sql, table.label);
    if (!st) return std::nullopt;
    StatementScope scope(st);
    sqlite3_bind_int64(st, 1, parent);
    if (sqlite3_step(st) != SQLITE_ROW) return std::nullopt;
    return ChildSum{sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1)};
}

long long fileVersion(DataFile &file)
{
    sqlite3 *db = file.db();
    if (!db) return -1;
    // Another station's commit moves data_version; this station's own
    // writes move its change count.
    sqlite3_stmt *st = file.statement("PRAGMA data_version", "");
    long long version = -1;
    if (st) {
        StatementScope scope(st);
        if (sqlite3_step(st) == SQLITE_ROW) version = sqlite3_column_int64(st, 0);
    }
    return (version << 32) ^ sqlite3_total_changes64(db);
}

} // namespace hk
