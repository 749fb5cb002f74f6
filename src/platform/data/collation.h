// The text-ordering rule of every key: letters compare without regard to case
// through Latin-1, Latin Extended-A, Greek and Cyrillic ("Küche" equals
// "KÜCHE"), everything else by code point. Registered on every connection
// under kCollationName, which the schema names on each text column.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace hk
{

// Changing the rule means a new name: indexes built under the old one are then
// reported as needing a rebuild.
inline constexpr const char *kCollationName = "HKCASE1";

char32_t foldCase(char32_t c);
// <0, 0, >0 like strcmp, on UTF-8 text under the key rule.
int compareKeyText(std::string_view a, std::string_view b);
// The text in folded form (for case-blind searching).
std::string foldText(std::string_view text);

// Registers the collation, the SQL functions hk_fold(text) and
// hk_has(text, folded needle) (whether the text contains the needle with
// letter case ignored) and the writers of the substring indexes
// (searchwriter.h): everything the data file's schema and the searches name
// beyond SQLite's own.
int registerKeyCollation(sqlite3 *db);

} // namespace hk
