// A data file made under an earlier key rule (kOlderCollationNames). Its text
// columns name that rule in their tables' CREATE TABLE text, which SQLite
// cannot change in place: each such table is made afresh under the current
// rule, its records copied over with their row ids, and the old table
// dropped; its indexes, substring indexes, kept count and figures and their
// triggers are then made anew, as a restore makes them. Nothing else of the
// file is taken as the program's: a table that differs from the dictionary
// in anything but the rule's name is not converted (and then refuses to open
// as before).
#pragma once

#include "dictionary/tabledef.h"

#include <functional>
#include <vector>

struct sqlite3;

namespace hk
{

// The tables of the file that are laid out as the dictionary derives them
// but under an earlier rule. Returns SQLite's result code.
int tablesUnderOlderOrder(sqlite3 *db, std::vector<const TableDef *> &found);

// Hears the work done so far of all of it (records copied and indexed);
// false stops the conversion.
using ConversionProgress = std::function<bool(long long done, long long total)>;

// In the caller's write transaction: converts every table that
// tablesUnderOlderOrder finds. Returns SQLite's result code (SQLITE_INTERRUPT
// when progress stopped it); on failure the caller rolls back, which leaves
// the file as it was.
int convertOlderOrder(sqlite3 *db, const ConversionProgress &progress = {});

} // namespace hk
