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
    sqlite3 *db = file.db();
    if (!db) return std::nullopt;
    const std::string sum =
        summed < 0
            ? std::string("0")
            : "total(" + quoteName(table.fields.at(static_cast<std::size_t>(summed)).column) + ")";
    const std::string sql =
        "SELECT count(*), " + sum + " FROM " + quoteName(table.label) + " WHERE " +
        quoteName(table.fields.at(static_cast<std::size_t>(link)).column) + " = ?";
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return std::nullopt;
    sqlite3_bind_int64(st, 1, parent);
    std::optional<ChildSum> out;
    if (sqlite3_step(st) == SQLITE_ROW)
        out = ChildSum{sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1)};
    sqlite3_finalize(st);
    return out;
}

} // namespace hk
