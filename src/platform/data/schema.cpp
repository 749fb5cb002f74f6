#include "platform/data/schema.h"

#include "platform/data/collation.h"
#include "platform/data/fileerror.h"

#include <algorithm>
#include <sqlite3.h>
#include <vector>

namespace hk
{

std::string quoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string fieldCondition(const FieldDef &f)
{
    const std::string c = quoteName(f.column);
    if (f.isText())
        return "typeof(" + c + ") = 'text' AND length(" + c + ") <= " + std::to_string(f.size) +
               " AND length(" + c + ") = length(rtrim(" + c + ", ' '))";
    // A decimal is stored as hundredths.
    const ValueRange range = valueRange(f);
    return "typeof(" + c + ") = 'integer' AND " + c + " BETWEEN " + std::to_string(range.least) +
           " AND " + std::to_string(range.most);
}

static std::string columnSql(const FieldDef &f)
{
    const std::string c = quoteName(f.column);
    return c +
           (f.isText() ? std::string(" TEXT NOT NULL DEFAULT '' COLLATE ") + kCollationName
                       : std::string(" INTEGER NOT NULL DEFAULT 0")) +
           " CHECK (" + fieldCondition(f) + ")";
}

int countBrokenRecords(sqlite3 *db, const TableDef &table, long long &count)
{
    std::string sql = "SELECT count(*) FROM " + quoteName(table.label) + " WHERE NOT (";
    for (std::size_t i = 0; i < table.fields.size(); ++i)
        sql += (i ? ") OR NOT (" : "") + fieldCondition(table.fields[i]);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, (sql + ")").c_str(), -1, &st, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        count = sqlite3_column_int64(st, 0);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

std::string createTableSql(const TableDef &table)
{
    std::string sql = "CREATE TABLE " + quoteName(table.label) + " (\n";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        sql += "  " + columnSql(table.fields[i]);
        sql += i + 1 < table.fields.size() ? ",\n" : "\n";
    }
    return sql + ")";
}

std::string indexName(const TableDef &table, int key)
{
    std::string name = table.keys.at(key).label;
    for (char &c : name)
        if (c == ':') c = '_';
    return name;
}

std::string createIndexSql(const TableDef &table, int key)
{
    const KeyDef &k = table.keys.at(key);
    std::string sql = k.unique() ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
    sql += quoteName(indexName(table, key)) + " ON " + quoteName(table.label) + " (";
    for (std::size_t i = 0; i < k.components.size(); ++i) {
        const FieldDef &f = table.fields[k.components[i]];
        if (i) sql += ", ";
        sql += quoteName(f.column);
        if (f.isText()) sql += std::string(" COLLATE ") + kCollationName;
    }
    return sql + ")";
}

const char *const kCountsTable = "HkCounts";

std::string createCountsTableSql()
{
    return std::string("CREATE TABLE IF NOT EXISTS ") + kCountsTable +
           " (TableLabel TEXT PRIMARY KEY NOT NULL, Records INTEGER NOT NULL) WITHOUT ROWID";
}

std::string countTriggerName(const TableDef &table, CountTrigger which)
{
    return table.label + (which == CountTrigger::Insert ? "_CountInsert" : "_CountDelete");
}

std::string createCountTriggerSql(const TableDef &table, CountTrigger which)
{
    const bool insert = which == CountTrigger::Insert;
    std::string label = "'";
    for (char c : table.label)
        label += c == '\'' ? std::string("''") : std::string(1, c);
    label += "'";
    return "CREATE TRIGGER " + quoteName(countTriggerName(table, which)) +
           (insert ? " AFTER INSERT ON " : " AFTER DELETE ON ") + quoteName(table.label) +
           " BEGIN UPDATE " + kCountsTable + " SET Records = Records " + (insert ? "+" : "-") +
           " 1 WHERE TableLabel = " + label + "; END";
}

std::string normaliseSql(std::string_view sql)
{
    std::string out;
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    auto word = [](char c) {
        return c == '_' || c == '$' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
               (c >= 'a' && c <= 'z') || static_cast<unsigned char>(c) >= 0x80;
    };
    std::size_t i = 0;
    const std::size_t n = sql.size();
    while (i < n) {
        const char c = sql[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        if (sql.substr(i, 2) == "--") {
            const std::size_t end = sql.find('\n', i);
            i = end == std::string_view::npos ? n : end + 1;
            continue;
        }
        if (sql.substr(i, 2) == "/*") {
            const std::size_t end = sql.find("*/", i + 2);
            i = end == std::string_view::npos ? n : end + 2;
            continue;
        }
        if (!out.empty()) out += ' ';
        if (c == '\'') {
            // A string literal, as it stands.
            std::size_t j = i + 1;
            for (; j < n; ++j) {
                if (sql[j] != '\'') continue;
                if (j + 1 < n && sql[j + 1] == '\'') {
                    ++j; // a doubled quote within the text
                    continue;
                }
                break;
            }
            out += sql.substr(i, std::min(j + 1, n) - i);
            i = j + 1;
        } else if (c == '"' || c == '[' || c == '`') {
            // A quoted name, in one quoting and letter case.
            const char close = c == '[' ? ']' : c;
            std::string name;
            std::size_t j = i + 1;
            for (; j < n; ++j) {
                if (sql[j] == close) {
                    if (close != ']' && j + 1 < n && sql[j + 1] == close) {
                        name += close;
                        ++j;
                        continue;
                    }
                    break;
                }
                name += sql[j];
            }
            out += '"';
            for (char d : name) {
                if (d == '"') out += '"';
                out += upper(d);
            }
            out += '"';
            i = j + 1;
        } else if (word(c)) {
            while (i < n && word(sql[i]))
                out += upper(sql[i++]);
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

int checkLayout(sqlite3 *db, const TableDef &table)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(
        db, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", -1,
        &st, nullptr);
    if (rc != SQLITE_OK) return setSqliteError(db, rc, table.storedName());
    sqlite3_bind_text(st, 1, table.label.c_str(), -1, SQLITE_TRANSIENT);
    rc = sqlite3_step(st);
    std::string stored;
    if (rc == SQLITE_ROW)
        if (const auto *sql = sqlite3_column_text(st, 0))
            stored = normaliseSql(reinterpret_cast<const char *>(sql));
    sqlite3_finalize(st);
    if (rc == SQLITE_DONE) return setError(FileNotFound, table.storedName());
    if (rc != SQLITE_ROW) return setSqliteError(db, rc, table.storedName());
    // The whole definition: a table with the right columns but without
    // their constraints would take values that no record can hold.
    if (stored != normaliseSql(createTableSql(table)))
        return setError(LayoutMismatch, table.storedName());
    return setError(NoError, table.storedName());
}

namespace
{

// How many entries at each end of an index are looked at when a table opens.
constexpr int kOrderSample = 32;

// <0, 0, >0: row a against row b, column by column under the key rule, the
// row id (the last column) deciding between equals.
int compareRows(sqlite3_stmt *a, const std::vector<sqlite3_value *> &b, int columns)
{
    for (int c = 0; c < columns; ++c) {
        sqlite3_value *x = sqlite3_column_value(a, c);
        sqlite3_value *y = b[static_cast<std::size_t>(c)];
        int r;
        if (sqlite3_value_type(x) == SQLITE_TEXT && sqlite3_value_type(y) == SQLITE_TEXT) {
            r = compareKeyText({reinterpret_cast<const char *>(sqlite3_value_text(x)),
                                static_cast<std::size_t>(sqlite3_value_bytes(x))},
                               {reinterpret_cast<const char *>(sqlite3_value_text(y)),
                                static_cast<std::size_t>(sqlite3_value_bytes(y))});
        } else {
            const auto i = sqlite3_value_int64(x), j = sqlite3_value_int64(y);
            r = i < j ? -1 : i > j ? 1 : 0;
        }
        if (r != 0) return r;
    }
    return 0;
}

// Reads the first (or last) entries of a key's index in the order it stores
// them and tells whether that is the key rule's order. An index built by
// another program under another ordering has its entries out of place, which
// the SQL of the index does not show.
int sampleInOrder(sqlite3 *db, const TableDef &table, int key, bool fromEnd, bool &inOrder)
{
    const KeyDef &k = table.keys.at(key);
    std::string columns, order;
    for (int c : k.components) {
        columns += quoteName(table.fields[c].column) + ", ";
        order += quoteName(table.fields[c].column) + (fromEnd ? " DESC, " : ", ");
    }
    const std::string sql = "SELECT " + columns + "rowid FROM " + quoteName(table.label) +
                            " INDEXED BY " + quoteName(indexName(table, key)) + " ORDER BY " +
                            order + (fromEnd ? "rowid DESC" : "rowid") + " LIMIT " +
                            std::to_string(kOrderSample);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    if (rc != SQLITE_OK) return setSqliteError(db, rc, table.storedName());
    const int n = static_cast<int>(k.components.size()) + 1;
    std::vector<sqlite3_value *> previous;
    inOrder = true;
    while (inOrder && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (!previous.empty()) {
            const int r = compareRows(st, previous, n);
            inOrder = fromEnd ? r < 0 : r > 0;
        }
        for (sqlite3_value *v : previous)
            sqlite3_value_free(v);
        previous.clear();
        for (int c = 0; c < n; ++c)
            previous.push_back(sqlite3_value_dup(sqlite3_column_value(st, c)));
    }
    for (sqlite3_value *v : previous)
        sqlite3_value_free(v);
    sqlite3_finalize(st);
    if (inOrder && rc != SQLITE_DONE) return setSqliteError(db, rc, table.storedName());
    return NoError;
}

} // namespace

int checkKeys(sqlite3 *db, const TableDef &table)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(
        db, "SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?1 AND tbl_name = ?2",
        -1, &st, nullptr);
    if (rc != SQLITE_OK) return setSqliteError(db, rc, table.storedName());
    bool valid = true;
    for (std::size_t k = 0; k < table.keys.size() && valid; ++k) {
        std::string name = indexName(table, static_cast<int>(k));
        sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, table.label.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
        if (rc == SQLITE_ROW) {
            auto *stored = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
            valid = stored && normaliseSql(createIndexSql(table, static_cast<int>(k))) ==
                                  normaliseSql(stored);
        } else if (rc == SQLITE_DONE) {
            valid = false;
        } else {
            sqlite3_finalize(st);
            return setSqliteError(db, rc, table.storedName());
        }
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    for (std::size_t k = 0; k < table.keys.size() && valid; ++k) {
        for (bool fromEnd : {false, true}) {
            if (!valid) break;
            if (int code = sampleInOrder(db, table, static_cast<int>(k), fromEnd, valid);
                code != NoError)
                return code;
        }
    }
    return setError(valid ? NoError : KeysInvalid, table.storedName());
}

} // namespace hk
