// The number of children of one parent and the sum of one of their numeric
// fields. A table whose dictionary entry names a per-parent grouping has
// them kept by the file itself: one row per parent in "HkChildSums", kept in
// step by three triggers inside each insert's, delete's and update's own
// transaction, so that a rollback takes them back and another station's
// writes count as ours do. Otherwise the file counts and adds up the
// children over their reference index.
#pragma once

#include <cstdint>
#include <optional>

struct sqlite3;

namespace hk
{

class DataFile;
struct TableDef;

struct ChildSum {
    long long count = 0;
    std::int64_t sum = 0; // in the field's own units (hundredths for decimals)
};

// Whether the table's per-parent figures are kept as its dictionary entry
// describes them: the triggers are there with their derived SQL.
bool childSumsKept(sqlite3 *db, const TableDef &table);

// Inside the caller's transaction: makes the sums table when missing, makes
// the table's triggers afresh and sets its rows to the true figures.
// Returns SQLite's result code; SQLITE_OK at once for a table with none.
int startChildSums(sqlite3 *db, const TableDef &table);

// On opening a table: sets its per-parent figures up in a transaction of its
// own when they are not kept (a file written by an earlier version). Gives up
// quietly when the file cannot be written now; the figures are then read the
// slow way until a later opening sets them up.
void ensureChildSums(DataFile &file, const TableDef &table);

// Children of `table` whose field `link` holds `parent`; `summed` is the
// field added up, -1 for none. Nothing when the file cannot answer now.
std::optional<ChildSum> childSum(DataFile &file, const TableDef &table, int link,
                                 std::int64_t parent, int summed);

// A number that changes whenever this station or another one has written to
// the file, for figures kept until the data under them changes; -1 when the
// file is not open.
long long fileVersion(DataFile &file);

} // namespace hk
