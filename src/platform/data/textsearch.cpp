#include "platform/data/textsearch.h"

#include "dictionary/utf8.h"
#include "platform/data/collation.h"
#include "platform/data/datafile.h"
#include "platform/data/fileerror.h"
#include "platform/data/schema.h"
#include "platform/data/table.h"

#include <sqlite3.h>

#include <algorithm>

namespace hk
{

namespace
{

// A search finds its first page one of two ways. It may walk the records in
// key order, testing each, until a page of them matches; or read the
// index's candidates, test those, and sort them. A walk costs a record read
// for every record before the page's last match; candidates cost some six
// times as much each (a read of the record by its row id, and the sort), but
// only for the matches. Where the matches lie in key order is not known
// beforehand; how many there are is estimated from the index, and the
// candidates are read when they are fewer than a seventh of the records.
constexpr long long kCandidateShare = 7;
// The estimate counts the candidates in this many windows of the row ids,
// spread over the table, each this share of it: a cluster of matching
// records added together is met by some of them.
constexpr int kWindows = 8;
constexpr long long kWindowShare = 512;
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

namespace
{

std::int64_t edgeRow(Table &table, bool last)
{
    sqlite3_stmt *st =
        table.file().statement("SELECT rowid FROM " + quoteName(table.def().label) +
                                   " ORDER BY rowid" + (last ? " DESC" : "") + " LIMIT 1",
                               table.storedName());
    if (!st) return 0;
    StatementScope scope(st);
    return sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
}

// How many records the index offers for match: the candidates counted in
// windows of the row ids, scaled to the table. -1 when the index cannot be
// asked.
long long estimateCandidates(Table &table, const std::string &index, const std::string &match)
{
    const std::int64_t first = edgeRow(table, false), last = edgeRow(table, true);
    if (last < first) return 0;
    const std::int64_t span = last - first + 1;
    const std::int64_t width = std::max<std::int64_t>(1, span / kWindowShare);
    sqlite3_stmt *st = table.file().statement("SELECT count(*) FROM " + index + " WHERE " + index +
                                                  " MATCH ?1 AND rowid >= ?2 AND rowid < ?3",
                                              table.storedName());
    if (!st) return -1;
    StatementScope scope(st);
    long long counted = 0;
    std::int64_t sampled = 0;
    for (int w = 0; w < kWindows; ++w) {
        const std::int64_t from = first + span * w / kWindows;
        const std::int64_t to = std::min(from + width, last + 1);
        sqlite3_reset(st);
        sqlite3_bind_text(st, 1, match.data(), static_cast<int>(match.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(st, 2, from);
        sqlite3_bind_int64(st, 3, to);
        if (sqlite3_step(st) != SQLITE_ROW) return -1;
        counted += sqlite3_column_int64(st, 0);
        sampled += to - from;
    }
    return sampled > 0 ? counted * span / sampled : 0;
}

} // namespace

TextCondition containsText(Table &table, int field, std::string_view text, bool ignoreCase)
{
    const TableDef &def = table.def();
    std::string needle(trimRight(text));
    if (ignoreCase) needle = foldText(needle);
    const std::string column = Cursor::columnRef(def, field);
    TextCondition c;
    // Case ignored, the test folds each record's text as it goes.
    c.sql = ignoreCase ? "hk_has(" + column + ", ?)" : "instr(" + column + ", ?) > 0";
    c.params = {Value(needle)};
    if (decodeUtf8(needle).size() < kShortestIndexed) return c;

    // Few candidates: read them through the index (and sort them); many:
    // the test in key order meets a page of matches soon, or at worst reads
    // no more than reading the candidates would have cost.
    const std::string index = quoteName(searchIndexName(def, field));
    const std::string match = phrase(needle);
    const long long candidates = estimateCandidates(table, index, match);
    if (candidates < 0 || candidates * kCandidateShare > table.records()) return c;
    c.sql = "m.rowid IN (SELECT rowid FROM " + index + " WHERE " + index + " MATCH ?) AND " + c.sql;
    c.params.insert(c.params.begin(), Value(match));
    return c;
}

} // namespace hk
