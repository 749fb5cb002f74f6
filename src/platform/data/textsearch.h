// Finding records by any part of a text field. Each searched field (the
// dictionary lists them) has a substring index: an FTS5 table with the
// trigram tokenizer over the field, kept in step with the table by triggers,
// so that every change to the table updates it in the same transaction. A
// search narrows the records through that index where it helps and always
// decides by the exact rule: the text, without its trailing blanks, occurs
// as it stands in the field ("50%" finds "50%", "_" finds "_").
#pragma once

#include "dictionary/tabledef.h"
#include "platform/data/cursor.h"

#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace hk
{

class Table;

// The schema of the substring index of one searched field.
std::string searchIndexName(const TableDef &table, int field);
// Creates the index and its triggers; fills it from the table.
std::string createSearchIndexSql(const TableDef &table, int field);
std::string dropSearchIndexSql(const TableDef &table, int field);
// 0 when every searched field of the table has its index; FileNotFound
// when one is missing. Other codes come from SQLite.
int checkSearchIndexes(sqlite3 *db, const TableDef &table);

// A condition for View::filter: the field contains `text` (trailing blanks
// removed) as a literal substring; with ignoreCase both sides are compared
// in folded case. An empty text matches every record.
struct TextCondition {
    std::string sql;
    std::vector<Value> params;
};
TextCondition containsText(Table &table, int field, std::string_view text, bool ignoreCase);

} // namespace hk
