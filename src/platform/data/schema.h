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
std::string createTableSql(const TableDef &table);
// How many records of the table break a field's condition. SQLite checks a
// table's constraints in PRAGMA integrity_check only on a connection that may
// write; this asks on any. Returns SQLite's result code.
int countBrokenRecords(sqlite3 *db, const TableDef &table, long long &count);
std::string indexName(const TableDef &table, int key);
std::string createIndexSql(const TableDef &table, int key);

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
// 0 when every key's index is there as the dictionary describes it, with
// its first and last entries in the key rule's order; KeysInvalid otherwise.
int checkKeys(sqlite3 *db, const TableDef &table);

} // namespace hk
