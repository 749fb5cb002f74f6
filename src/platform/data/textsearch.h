// Finding records by any part of a text field. Each searched field (the
// dictionary lists them) has a substring index: an FTS5 table with the
// trigram tokenizer over the field, kept in step with the table by triggers,
// so that every change to the table updates it in the same transaction. The
// triggers write through the functions of searchwriter.h, since a connection
// that does not trust the file's schema lets no trigger use the index itself. A
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
std::string searchTableSql(const TableDef &table, int field);
enum class SearchTrigger { Add, Remove, Change };
inline constexpr SearchTrigger kSearchTriggers[] = {SearchTrigger::Add, SearchTrigger::Remove,
                                                    SearchTrigger::Change};
std::string searchTriggerName(const TableDef &table, int field, SearchTrigger which);
std::string searchTriggerSql(const TableDef &table, int field, SearchTrigger which);
// The trigger as earlier versions of the program made it, writing to the
// index itself: still the program's own, and made afresh at opening.
std::string earlierSearchTriggerSql(const TableDef &table, int field, SearchTrigger which);
// Creates the index and its triggers; fills it from the table.
std::string createSearchIndexSql(const TableDef &table, int field);
std::string dropSearchIndexSql(const TableDef &table, int field);
// 0 when every searched field of the table has its index with the triggers
// as this program makes them; FileNotFound when one is missing or made
// otherwise. Other codes come from SQLite.
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
