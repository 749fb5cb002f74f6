#include "platform/data/textsearch.h"

#include "platform/data/collation.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"
#include "platform/data/table.h"

#include <sqlite3.h>

namespace hk
{

namespace
{

// Up to this many candidates from the index are read and sorted; more than
// that and the records are taken in key order and tested one by one, which
// finds a page quickly because matches are then frequent.
constexpr int kMostCandidates = 1000;
// The trigram index can only find texts of at least three characters.
constexpr std::size_t kShortestIndexed = 3;

const char *suffix(SearchTrigger which)
{
    return which == SearchTrigger::Add      ? "add"
           : which == SearchTrigger::Remove ? "remove"
                                            : "change";
}

// The call that adds the row as it is (NEW) or removes it as it was (OLD).
std::string writerCall(const TableDef &table, int field, const char *row)
{
    const std::string &column = table.fields.at(static_cast<std::size_t>(field)).column;
    const bool add = std::string_view(row) == "new";
    return std::string("SELECT ") + (add ? "hk_search_add('" : "hk_search_remove('") +
           searchIndexName(table, field) + "', '" + column + "', " + row + ".rowid, " + row + "." +
           quoteName(column) + ");";
}

// The text as one FTS5 phrase: quoted, with its quotes doubled.
std::string phrase(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

} // namespace

std::string searchIndexName(const TableDef &table, int field)
{
    return table.label + "_" + table.fields.at(static_cast<std::size_t>(field)).column + "_Text";
}

std::string searchTriggerName(const TableDef &table, int field, SearchTrigger which)
{
    return searchIndexName(table, field) + "_" + suffix(which);
}

std::string searchTriggerSql(const TableDef &table, int field, SearchTrigger which)
{
    const std::string head = "CREATE TRIGGER " + quoteName(searchTriggerName(table, field, which));
    const std::string base = quoteName(table.label);
    const std::string column = quoteName(table.fields.at(static_cast<std::size_t>(field)).column);
    switch (which) {
    case SearchTrigger::Add:
        return head + " AFTER INSERT ON " + base + " BEGIN " + writerCall(table, field, "new") +
               " END";
    case SearchTrigger::Remove:
        return head + " AFTER DELETE ON " + base + " BEGIN " + writerCall(table, field, "old") +
               " END";
    case SearchTrigger::Change:
        break;
    }
    return head + " AFTER UPDATE OF " + column + " ON " + base + " BEGIN " +
           writerCall(table, field, "old") + " " + writerCall(table, field, "new") + " END";
}

std::string earlierSearchTriggerSql(const TableDef &table, int field, SearchTrigger which)
{
    const std::string index = quoteName(searchIndexName(table, field));
    const std::string column = quoteName(table.fields.at(static_cast<std::size_t>(field)).column);
    const std::string base = quoteName(table.label);
    const std::string add =
        "INSERT INTO " + index + " (rowid, " + column + ") VALUES (new.rowid, new." + column + ");";
    const std::string remove = "INSERT INTO " + index + " (" + index + ", rowid, " + column +
                               ") VALUES ('delete', old.rowid, old." + column + ");";
    const std::string head = "CREATE TRIGGER " + quoteName(searchTriggerName(table, field, which));
    switch (which) {
    case SearchTrigger::Add:
        return head + " AFTER INSERT ON " + base + " BEGIN " + add + " END";
    case SearchTrigger::Remove:
        return head + " AFTER DELETE ON " + base + " BEGIN " + remove + " END";
    case SearchTrigger::Change:
        break;
    }
    return head + " AFTER UPDATE OF " + column + " ON " + base + " BEGIN " + remove + " " + add +
           " END";
}

std::string searchTableSql(const TableDef &table, int field)
{
    return "CREATE VIRTUAL TABLE " + quoteName(searchIndexName(table, field)) + " USING fts5(" +
           quoteName(table.fields.at(static_cast<std::size_t>(field)).column) +
           ", content=" + quoteName(table.label) + ", content_rowid='rowid', tokenize='trigram')";
}

std::string createSearchIndexSql(const TableDef &table, int field)
{
    const std::string index = quoteName(searchIndexName(table, field));
    std::string sql = searchTableSql(table, field) + ";\n";
    for (SearchTrigger which : kSearchTriggers)
        sql += searchTriggerSql(table, field, which) + ";\n";
    return sql + "INSERT INTO " + index + " (" + index + ") VALUES ('rebuild');\n";
}

std::string dropSearchIndexSql(const TableDef &table, int field)
{
    std::string sql;
    for (SearchTrigger which : kSearchTriggers)
        sql +=
            "DROP TRIGGER IF EXISTS " + quoteName(searchTriggerName(table, field, which)) + ";\n";
    return sql + "DROP TABLE IF EXISTS " + quoteName(searchIndexName(table, field)) + ";\n";
}

int checkSearchIndexes(sqlite3 *db, const TableDef &table)
{
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT type, name, sql FROM sqlite_master WHERE (type = 'table' "
                                "AND name = ?1) OR (type = 'trigger' AND tbl_name = ?2)",
                                -1, &st, nullptr);
    if (rc != SQLITE_OK) return setSqliteError(db, rc, table.storedName());
    bool all = true;
    for (int field : table.searched) {
        // The index and its three triggers as this program makes them: a
        // trigger of an earlier making is made afresh.
        std::vector<std::string> wanted{normaliseSql(searchTableSql(table, field))};
        for (SearchTrigger which : kSearchTriggers)
            wanted.push_back(normaliseSql(searchTriggerSql(table, field, which)));
        const std::string name = searchIndexName(table, field);
        sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, table.label.c_str(), -1, SQLITE_TRANSIENT);
        std::size_t found = 0;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            const auto *sql = reinterpret_cast<const char *>(sqlite3_column_text(st, 2));
            const std::string stored = normaliseSql(sql ? sql : "");
            for (const std::string &w : wanted)
                if (w == stored) ++found;
        }
        sqlite3_reset(st);
        if (rc != SQLITE_DONE) {
            sqlite3_finalize(st);
            return setSqliteError(db, rc, table.storedName());
        }
        all = all && found == wanted.size();
    }
    sqlite3_finalize(st);
    return setError(all ? NoError : FileNotFound, table.storedName());
}

TextCondition containsText(Table &table, int field, std::string_view text, bool ignoreCase)
{
    const TableDef &def = table.def();
    std::string needle(trimRight(text));
    if (ignoreCase) needle = foldText(needle);
    const std::string column = Cursor::columnRef(def, field);
    TextCondition c;
    c.sql = ignoreCase ? "instr(hk_fold(" + column + "), ?) > 0" : "instr(" + column + ", ?) > 0";
    c.params = {Value(needle)};
    if (decodeUtf8(needle).size() < kShortestIndexed) return c;

    // Few candidates: read them through the index (and sort them); many:
    // the plain test in key order meets a page of matches soon.
    const std::string index = quoteName(searchIndexName(def, field));
    const std::string candidates = "SELECT rowid FROM " + index + " WHERE " + index + " MATCH ?";
    sqlite3_stmt *st = table.file().statement("SELECT count(*) FROM (" + candidates + " LIMIT " +
                                                  std::to_string(kMostCandidates) + ")",
                                              table.storedName());
    if (!st) return c; // no index to ask: the plain test still decides
    StatementScope scope(st);
    const std::string match = phrase(needle);
    sqlite3_bind_text(st, 1, match.data(), static_cast<int>(match.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(st) != SQLITE_ROW || sqlite3_column_int(st, 0) >= kMostCandidates) return c;
    c.sql = "m.rowid IN (" + candidates + ") AND " + c.sql;
    c.params.insert(c.params.begin(), Value(match));
    return c;
}

} // namespace hk
