// The SQL schema of a table, derived from its dictionary entry, and the checks
// that tell whether a stored table still matches it.
#pragma once

#include "dictionary/tabledef.h"

#include <string>

struct sqlite3;

namespace hk
{

std::string quoteName(std::string_view name);
// What a field's CHECK constraint demands of its value: its type, and its
// range or width.
std::string fieldCondition(const FieldDef &f);
// collation: the key rule the text columns name; empty for the current one
// (an earlier one only to recognise a file made under it).
std::string createTableSql(const TableDef &table, std::string_view collation = {});
// How many records of the table break a field's condition. SQLite checks a
// table's constraints in PRAGMA integrity_check only on a connection that may
// write; this asks on any. Returns SQLite's result code.
int countBrokenRecords(sqlite3 *db, const TableDef &table, long long &count);
std::string indexName(const TableDef &table, int key);
// Which records a unique key holds, as an SQL condition on a record; empty
// when it holds them all. A record whose text in the key is blank has no
// name yet (an insert form's placeholder, which its form does not store
// blank) and is left out, so that any number of them may wait at once.
std::string keyCondition(const TableDef &table, int key);
// collation: the rule the text components are ordered by, empty for the
// program's own (an older file's tables name an earlier one).
std::string createIndexSql(const TableDef &table, int key, std::string_view collation = {});
// The index as versions of the program made it before keyCondition: every
// record in it. Still a sound key, made afresh when its table opens.
std::string earlierIndexSql(const TableDef &table, int key, std::string_view collation = {});

// The table of record counts that the data file keeps for itself (one row
// per table, "HkCounts"), and the two triggers per table that keep its row in
// step with every insert and delete, inside the statement's own transaction.
extern const char *const kCountsTable;
std::string createCountsTableSql();
enum class CountTrigger { Insert, Delete };
std::string countTriggerName(const TableDef &table, CountTrigger which);
std::string createCountTriggerSql(const TableDef &table, CountTrigger which);

// SQL text without what does not change its meaning: comments, the blanks
// between words, the letter case of keywords and names. Quoted texts are
// kept as they are; a quoted name stays apart from an unquoted word.
std::string normaliseSql(std::string_view sql);

// 0 when the stored table is defined as the dictionary derives it (its
// columns and their constraints); FileNotFound when the table is not in the
// file; LayoutMismatch otherwise. Other codes come from SQLite.
int checkLayout(sqlite3 *db, const TableDef &table);
// 0 when every key's index is there as the dictionary describes it (or as
// an earlier version made it: `earlier` then tells), with its first and last
// entries in the key rule's order; KeysInvalid otherwise.
int checkKeys(sqlite3 *db, const TableDef &table, bool *earlier = nullptr);

} // namespace hk
