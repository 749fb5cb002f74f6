#include "platform/data/childsums.h"

#include "dictionary/tabledef.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"
#include "platform/data/transaction.h"

#include <sqlite3.h>

#include <array>
#include <string>

namespace hk
{

namespace
{

constexpr const char *kSumsTable = "HkChildSums";

enum class SumTrigger { Insert, Delete, Update };
constexpr std::array kTriggers{SumTrigger::Insert, SumTrigger::Delete, SumTrigger::Update};

bool kept(const TableDef &table)
{
    return table.perParent.by >= 0;
}

std::string literal(const std::string &text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string column(const TableDef &table, int field)
{
    return quoteName(table.fields.at(static_cast<std::size_t>(field)).column);
}

std::string triggerName(const TableDef &table, SumTrigger which)
{
    const char *tail = which == SumTrigger::Insert   ? "_SumInsert"
                       : which == SumTrigger::Delete ? "_SumDelete"
                                                     : "_SumUpdate";
    return table.label + tail;
}

// The parent and the value of the row as it is (NEW) or was (OLD).
std::string parentOf(const TableDef &table, const char *row)
{
    return std::string(row) + "." + column(table, table.perParent.by);
}

std::string valueOf(const TableDef &table, const char *row)
{
    return table.perParent.summed < 0
               ? std::string("0")
               : std::string(row) + "." + column(table, table.perParent.summed);
}

// The parent's row is nearly always there: it is updated, and made only
// when the update found none.
std::string addRow(const TableDef &table)
{
    return std::string("UPDATE ") + kSumsTable + " SET Records = Records + 1, Total = Total + " +
           valueOf(table, "NEW") + " WHERE TableLabel = " + literal(table.label) +
           " AND Parent = " + parentOf(table, "NEW") + "; INSERT INTO " + kSumsTable +
           " (TableLabel, Parent, Records, Total) SELECT " + literal(table.label) + ", " +
           parentOf(table, "NEW") + ", 1, " + valueOf(table, "NEW") + " WHERE changes() = 0; ";
}

std::string takeRow(const TableDef &table)
{
    return std::string("UPDATE ") + kSumsTable + " SET Records = Records - 1, Total = Total - " +
           valueOf(table, "OLD") + " WHERE TableLabel = " + literal(table.label) +
           " AND Parent = " + parentOf(table, "OLD") + "; ";
}

std::string triggerSql(const TableDef &table, SumTrigger which)
{
    const std::string head = "CREATE TRIGGER " + quoteName(triggerName(table, which));
    const std::string on = " ON " + quoteName(table.label);
    switch (which) {
    case SumTrigger::Insert:
        return head + " AFTER INSERT" + on + " BEGIN " + addRow(table) + "END";
    case SumTrigger::Delete:
        return head + " AFTER DELETE" + on + " BEGIN " + takeRow(table) + "END";
    case SumTrigger::Update:
        break;
    }
    // A move, or a changed value: out of the old parent's figures, into the
    // new one's.
    std::string of = column(table, table.perParent.by);
    std::string when = parentOf(table, "OLD") + " IS NOT " + parentOf(table, "NEW");
    if (table.perParent.summed >= 0) {
        of += ", " + column(table, table.perParent.summed);
        when += " OR " + valueOf(table, "OLD") + " IS NOT " + valueOf(table, "NEW");
    }
    return head + " AFTER UPDATE OF " + of + on + " WHEN " + when + " BEGIN " + takeRow(table) +
           addRow(table) + "END";
}

// Counts the sums table and the table's three triggers as they must be:
// 4 when all are there. The first parameter is bound to the table's label.
std::string keptSql(const TableDef &table)
{
    std::string sql =
        std::string("SELECT count(*) AS n FROM sqlite_master WHERE (type = 'table' AND "
                    "name = '") +
        kSumsTable + "') OR (type = 'trigger' AND tbl_name = ?1 AND (";
    for (std::size_t i = 0; i < kTriggers.size(); ++i) {
        if (i) sql += " OR ";
        sql += "(name = " + literal(triggerName(table, kTriggers[i])) +
               " AND sql = " + literal(triggerSql(table, kTriggers[i])) + ")";
    }
    return sql + "))";
}

int run(sqlite3 *db, const std::string &sql)
{
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

} // namespace

bool childSumsKept(sqlite3 *db, const TableDef &table)
{
    if (!kept(table)) return false;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, keptSql(table).c_str(), -1, &st, nullptr) != SQLITE_OK) return false;
    sqlite3_bind_text(st, 1, table.label.c_str(), -1, SQLITE_TRANSIENT);
    const bool all = sqlite3_step(st) == SQLITE_ROW && sqlite3_column_int(st, 0) == 4;
    sqlite3_finalize(st);
    return all;
}

int startChildSums(sqlite3 *db, const TableDef &table)
{
    if (!kept(table)) return SQLITE_OK;
    std::string sql = std::string("CREATE TABLE IF NOT EXISTS ") + kSumsTable +
                      " (TableLabel TEXT NOT NULL, Parent INTEGER NOT NULL, Records INTEGER NOT "
                      "NULL, Total INTEGER NOT NULL, PRIMARY KEY (TableLabel, Parent)) "
                      "WITHOUT ROWID;\n";
    for (SumTrigger which : kTriggers)
        sql += "DROP TRIGGER IF EXISTS " + quoteName(triggerName(table, which)) + ";\n";
    // The figures come before the triggers, in the same transaction: no
    // write of another station can fall between the two.
    const std::string by = column(table, table.perParent.by);
    sql += std::string("DELETE FROM ") + kSumsTable +
           " WHERE TableLabel = " + literal(table.label) + ";\nINSERT INTO " + kSumsTable +
           " (TableLabel, Parent, Records, Total) SELECT " + literal(table.label) + ", " + by +
           ", count(*), " +
           (table.perParent.summed < 0
                ? std::string("0")
                : "coalesce(sum(" + column(table, table.perParent.summed) + "), 0)") +
           " FROM " + quoteName(table.label) + " GROUP BY " + by + ";\n";
    for (SumTrigger which : kTriggers)
        sql += triggerSql(table, which) + ";\n";
    return run(db, sql);
}

void ensureChildSums(DataFile &file, const TableDef &table)
{
    sqlite3 *db = file.db();
    if (!db || !kept(table) || childSumsKept(db, table)) return;
    Transaction txn(file);
    if (txn.begin() != NoError) return;
    // Another station may have set them up while this one waited for the lock.
    if ((childSumsKept(db, table) ? SQLITE_OK : startChildSums(db, table)) == SQLITE_OK)
        txn.commit();
}

namespace
{

// The kept figures, read in one statement with the check that they are kept
// (one snapshot for both); nothing when they are not.
std::optional<ChildSum> keptSum(DataFile &file, const TableDef &table, std::int64_t parent)
{
    const std::string sql = "SELECT k.n, coalesce(s.Records, 0), coalesce(s.Total, 0) FROM (" +
                            keptSql(table) + ") AS k LEFT JOIN " + kSumsTable +
                            " AS s ON s.TableLabel = ?1 AND s.Parent = ?2";
    // Looked for each time, so that the sums table of another station's
    // making is found once it is there.
    if (sqlite3_table_column_metadata(file.db(), "main", kSumsTable, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::nullopt;
    sqlite3_stmt *st = file.statement(sql, table.label);
    if (!st) return std::nullopt;
    StatementScope scope(st);
    sqlite3_bind_text(st, 1, table.label.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(st, 2, parent);
    if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int(st, 0) != 4) return std::nullopt;
    return ChildSum{sqlite3_column_int64(st, 1), sqlite3_column_int64(st, 2)};
}

} // namespace

std::optional<ChildSum> childSum(DataFile &file, const TableDef &table, int link,
                                 std::int64_t parent, int summed)
{
    if (!file.db()) return std::nullopt;
    if (table.perParent.by == link && (summed < 0 || summed == table.perParent.summed))
        if (std::optional<ChildSum> figures = keptSum(file, table, parent)) {
            if (summed < 0) figures->sum = 0;
            return figures;
        }
    // sum() of integer hundredths stays exact; total() would go through
    // floating point.
    const std::string sum =
        summed < 0 ? std::string("0") : "coalesce(sum(" + column(table, summed) + "), 0)";
    const std::string sql = "SELECT count(*), " + sum + " FROM " + quoteName(table.label) +
                            " WHERE " + column(table, link) + " = ?";
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
