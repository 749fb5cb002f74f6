// The text-ordering rule of every key. Two passes: first every letter as its
// base capital (É as E, ß as SS, Æ as AE, Ø as O: all of Latin-1, Latin
// Extended-A and the Greek tonos), everything else by its upper-case code
// point; between texts equal there, the accented form after its base (then
// case-blind code points decide, accented letters after every other). Letter case never counts:
// "Küche" equals "KÜCHE" through Latin-1, Latin Extended-A, Greek and Cyrillic. The rule is this
// file's own, so the order cannot change under the program with a library. Registered on every
// connection under kCollationName, which the schema names on each text column.
#pragma once

#include <array>
#include <string>
#include <string_view>

struct sqlite3;

namespace hk
{

// Changing the rule means a new name: indexes built under the old one are then
// reported as needing a rebuild, and a file whose tables name an older one is
// converted when it opens (olderorder.h).
inline constexpr const char *kCollationName = "HKCASE2";
// Names of earlier rules, still registered (under their own order) so that
// a file made with one can be read and converted, also by the stock shell.
// HKCASE1: case-blind code points, the second pass alone.
inline constexpr std::array<const char *, 1> kOlderCollationNames = {"HKCASE1"};

char32_t foldCase(char32_t c);
// <0, 0, >0 like strcmp, on UTF-8 text under the key rule.
int compareKeyText(std::string_view a, std::string_view b);
// <0, 0, >0 on case-blind code points alone: the whole of the rule HKCASE1.
int compareFoldedText(std::string_view a, std::string_view b);
// The text as the key rule's first pass reads it: letters as their base
// capitals ("Straße" as "STRASSE"), the rest folded as foldCase folds it.
std::u32string baseLetters(std::string_view text);
// The text in folded form (for case-blind searching). Only letter case goes:
// a case-blind search for "cafe" does not find "Café".
std::string foldText(std::string_view text);

// Registers the collation (and the older ones), the SQL functions
// hk_fold(text) and hk_has(text, folded needle) (whether the text contains
// the needle with letter case ignored) and the writers of the substring
// indexes (searchwriter.h): everything the data file's schema and the
// searches name beyond SQLite's own.
int registerKeyCollation(sqlite3 *db);

} // namespace hk
