// The SQL functions through which the triggers of a substring index write
// to it: hk_search_add(index, column, rowid, text) and
// hk_search_remove(index, column, rowid, text). A connection that does not
// trust the schema of its file lets a trigger use no virtual table, the
// index included; these functions write to the index through statements of
// their own, within the statement that fired the trigger, and touch nothing
// but a substring index (a table named "…_Text").
#pragma once

struct sqlite3;

namespace hk
{

// Registers both functions on db; returns SQLite's result code.
int registerSearchWriters(sqlite3 *db);

} // namespace hk
