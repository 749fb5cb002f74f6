// The schema the program makes in a data file, as the dictionary derives it,
// and what a file holds beside it. A data file or a backup may come from
// anyone: a trigger or view that the program did not make would run inside
// its own writes and reads, so such code is found, named and kept from
// running before anything is written; and a backup is restored only when
// every object of its schema is one the program makes.
#pragma once

#include "dictionary/tabledef.h"

#include <string>
#include <vector>

struct sqlite3;

namespace hk
{

struct SchemaObject {
    std::string type;  // "table" (also a virtual one), "index", "trigger" or "view"
    std::string name;  // as the file spells it
    std::string table; // the table it belongs to
    std::string sql;   // normalised (normaliseSql)
};

// In the caller's transaction: makes the table with everything that goes
// with it (createTableCompanions). Returns SQLite's result code.
int createTableSchema(sqlite3 *db, const TableDef &table);
// What goes with a table and is derived from its records: the indexes of
// its keys, its substring indexes, its kept count and per-parent figures;
// for a table whose records hold attachments, the attachments' table (when
// missing) and the triggers that take a record's files along with it.
// Made after the records when a table is filled at once.
int createTableCompanions(sqlite3 *db, const TableDef &table);

// Every object of the program's schema with all its tables made, and the
// tables, keys and triggers as earlier versions of the program made them.
const std::vector<SchemaObject> &ownSchema();

// The triggers and views of the file that the program does not make as they
// are. Returns SQLite's result code.
int findForeignCode(sqlite3 *db, std::vector<SchemaObject> &found);

// The objects in words: the trigger "zz" on Books, the view "v".
std::string describeObjects(const std::vector<SchemaObject> &objects);

// Why the file's schema is not wholly the program's, in words for the user
// ("it holds the trigger "zz" on Books, which this program does not make");
// empty when every object in it is one the program makes, whether or not
// all of them are there.
std::string schemaDifference(sqlite3 *db);

} // namespace hk
