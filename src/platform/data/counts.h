// Record counts that the data file keeps for itself. Counting the rows of a
// table reads every page of an index, which takes long on a large table; so
// every table has a row in "HkCounts" that two triggers keep in step with
// each insert and delete, inside the same transaction. A rollback takes the
// count back with the records, a cascade counts each child it removes, and
// another station's writes count as ours do, since the triggers live in the
// file and not in the program.
#pragma once

#include <optional>

struct sqlite3;

namespace hk
{

class DataFile;
struct TableDef;

// Whether the table's count is kept as the schema describes it: both
// triggers are there with their derived SQL, and so is the table's row.
bool countKept(sqlite3 *db, const TableDef &table);

// Inside the caller's transaction: makes the counts table when missing,
// makes the table's triggers afresh and sets its row to the true count.
// Returns SQLite's result code.
int startCount(sqlite3 *db, const TableDef &table);

// On opening a table: makes sure its count is kept, setting it up in a
// transaction of its own when it is not (a file written by an earlier
// version of the program). Gives up quietly when the file cannot be written
// now (another station is writing, or it is read-only): records are then
// counted the slow way until a later opening sets the count up.
void ensureCount(DataFile &file, const TableDef &table);

// The kept count, or nothing when the table's count is not kept.
std::optional<long long> keptCount(DataFile &file, const TableDef &table);

} // namespace hk
