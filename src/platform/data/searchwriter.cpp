#include "platform/data/searchwriter.h"

#include "platform/data/sqliteapi.h"

#include <string>
#include <string_view>

namespace hk
{

namespace
{

// A name the program gives: letters, digits and underscores only, so that
// it needs no quoting beyond the quotes put around it.
bool plainName(std::string_view name)
{
    if (name.empty()) return false;
    for (char c : name)
        if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
              (c >= 'a' && c <= 'z')))
            return false;
    return true;
}

std::string_view textOf(sqlite3_value *v)
{
    const auto *t = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return t ? std::string_view(t, static_cast<std::size_t>(sqlite3_value_bytes(v)))
             : std::string_view();
}

// Adds (remove false) or removes the text of one row in the index. The
// index reads nothing from its table: the text comes with the call, as the
// row is or was.
void write(sqlite3_context *ctx, sqlite3_value **argv, bool remove)
{
    const std::string index(textOf(argv[0])), column(textOf(argv[1]));
    if (!plainName(index) || !plainName(column) || !index.ends_with("_Text")) {
        sqlite3_result_error(ctx, "not a substring index", -1);
        return;
    }
    const std::string sql =
        remove ? "INSERT INTO \"" + index + "\" (\"" + index + "\", rowid, \"" + column +
                     "\") VALUES ('delete', ?1, ?2)"
               : "INSERT INTO \"" + index + "\" (rowid, \"" + column + "\") VALUES (?1, ?2)";
    sqlite3 *db = sqlite3_context_db_handle(ctx);
    sqlite3_stmt *st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_value(st, 1, argv[2]);
        sqlite3_bind_value(st, 2, argv[3]);
        rc = sqlite3_step(st);
    }
    if (rc != SQLITE_DONE) {
        // The statement's failure becomes the trigger's, with its code.
        sqlite3_result_error(ctx, sqlite3_errmsg(db), -1);
        sqlite3_result_error_code(ctx, rc == SQLITE_OK ? SQLITE_ERROR : rc);
    } else {
        sqlite3_result_null(ctx);
    }
    sqlite3_finalize(st);
}

void add(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    write(ctx, argv, false);
}

void remove(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    write(ctx, argv, true);
}

} // namespace

int registerSearchWriters(sqlite3 *db)
{
    // Innocuous: usable in the program's triggers on a connection that does
    // not trust the schema; they reach only substring indexes.
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_function(db, "hk_search_add", 4, flags, nullptr, add, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function(db, "hk_search_remove", 4, flags, nullptr, remove, nullptr,
                                     nullptr);
    return rc;
}

} // namespace hk
