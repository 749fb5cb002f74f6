#include "platform/data/ownschema.h"

#include "dictionary/tables.h"
#include "platform/data/attachments.h"
#include "platform/data/childsums.h"
#include "platform/data/collation.h"
#include "platform/data/connection.h"
#include "platform/data/counts.h"
#include "platform/data/placeholders.h"
#include "platform/data/schema.h"
#include "platform/data/textsearch.h"

#include <sqlite3.h>
#include <strings.h>

#include <functional>
#include <stdexcept>

namespace hk
{

namespace
{

std::string text(sqlite3_stmt *st, int column)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, column));
    return t ? t : "";
}

bool sameName(const std::string &a, const std::string &b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// Calls `each` with every object of the file's schema but SQLite's own
// (whose names begin with "sqlite_"); SQLite's result code.
int eachObject(sqlite3 *db, const char *types,
               const std::function<void(const SchemaObject &)> &each)
{
    const std::string sql = std::string("SELECT type, name, tbl_name, sql FROM sqlite_master "
                                        "WHERE type IN (") +
                            types + ") AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'";
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        each({text(st, 0), text(st, 1), text(st, 2), normaliseSql(text(st, 3))});
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

// The program's object of that type and name, if any.
const SchemaObject *ownNamed(const SchemaObject &o)
{
    for (const SchemaObject &own : ownSchema())
        if (own.type == o.type && sameName(own.name, o.name)) return &own;
    return nullptr;
}

bool isOwn(const SchemaObject &o)
{
    for (const SchemaObject &own : ownSchema())
        if (own.type == o.type && sameName(own.name, o.name) && sameName(own.table, o.table) &&
            own.sql == o.sql)
            return true;
    return false;
}

std::string described(const SchemaObject &o)
{
    std::string words = "the " + o.type + " \"" + o.name + "\"";
    if (o.type == "trigger" || o.type == "index") words += " on " + o.table;
    return words;
}

} // namespace

int createTableCompanions(sqlite3 *db, const TableDef &table)
{
    std::string sql;
    for (std::size_t k = 0; k < table.keys.size(); ++k)
        sql += createIndexSql(table, static_cast<int>(k)) + ";\n";
    for (int f : table.searched)
        sql += createSearchIndexSql(table, f);
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = startCount(db, table);
    if (rc == SQLITE_OK) rc = startChildSums(db, table);
    if (rc == SQLITE_OK && ownsAttachments(table.id)) rc = startAttachments(db, table);
    return rc;
}

int createTableSchema(sqlite3 *db, const TableDef &table)
{
    const int rc = sqlite3_exec(db, createTableSql(table).c_str(), nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? createTableCompanions(db, table) : rc;
}

const std::vector<SchemaObject> &ownSchema()
{
    // Made once, by making every table in a database in memory and reading
    // its schema back: also the tables that SQLite makes for a substring
    // index are then exactly as this SQLite makes them.
    static const std::vector<SchemaObject> all = [] {
        sqlite3 *db = nullptr;
        int rc = openConnection(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &db);
        for (int i = 0; i < TableCount && rc == SQLITE_OK; ++i)
            rc = createTableSchema(db, tableDef(TableId(i)));
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(db, placeholdersTableSql(), nullptr, nullptr, nullptr);
        std::vector<SchemaObject> objects;
        if (rc == SQLITE_OK)
            rc = eachObject(db, "'table', 'index', 'trigger', 'view'",
                            [&](const SchemaObject &o) { objects.push_back(o); });
        const std::string why = rc == SQLITE_OK ? "" : sqlite3_errmsg(db);
        sqlite3_close(db);
        if (rc != SQLITE_OK) throw std::logic_error("the program's schema cannot be made: " + why);
        for (int i = 0; i < TableCount; ++i) {
            const TableDef &t = tableDef(TableId(i));
            for (std::size_t k = 0; k < t.keys.size(); ++k)
                if (!keyCondition(t, static_cast<int>(k)).empty())
                    objects.push_back({"index", indexName(t, static_cast<int>(k)), t.label,
                                       normaliseSql(earlierIndexSql(t, static_cast<int>(k)))});
            // Tables and keys as the version before made them (its key rule
            // differs, and its keys hold every record), until they are
            // converted.
            for (const char *older : kOlderCollationNames) {
                objects.push_back(
                    {"table", t.label, t.label, normaliseSql(createTableSql(t, older))});
                for (std::size_t k = 0; k < t.keys.size(); ++k)
                    objects.push_back(
                        {"index", indexName(t, static_cast<int>(k)), t.label,
                         normaliseSql(earlierIndexSql(t, static_cast<int>(k), older))});
            }
            for (int f : t.searched)
                for (SearchTrigger which : kSearchTriggers)
                    objects.push_back({"trigger", searchTriggerName(t, f, which), t.label,
                                       normaliseSql(earlierSearchTriggerSql(t, f, which))});
        }
        return objects;
    }();
    return all;
}

int findForeignCode(sqlite3 *db, std::vector<SchemaObject> &found)
{
    found.clear();
    return eachObject(db, "'trigger', 'view'", [&](const SchemaObject &o) {
        if (!isOwn(o)) found.push_back(o);
    });
}

std::string describeObjects(const std::vector<SchemaObject> &objects)
{
    constexpr std::size_t kNamed = 5;
    std::string words;
    for (std::size_t i = 0; i < objects.size() && i < kNamed; ++i) {
        if (i) words += i + 1 == objects.size() ? " and " : ", ";
        words += described(objects[i]);
    }
    if (objects.size() > kNamed)
        words += " and " + std::to_string(objects.size() - kNamed) + " more";
    return words;
}

std::string schemaDifference(sqlite3 *db)
{
    std::string why;
    const int rc =
        eachObject(db, "'table', 'index', 'trigger', 'view'", [&](const SchemaObject &o) {
            if (!why.empty() || isOwn(o)) return;
            why = ownNamed(o) ? "its " + o.type + " \"" + o.name +
                                    "\" is not defined as this program defines it"
                              : "it holds " + described(o) + ", which this program does not make";
        });
    if (rc != SQLITE_OK) return std::string("its schema cannot be read: ") + sqlite3_errmsg(db);
    return why;
}

} // namespace hk
