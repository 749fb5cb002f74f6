// Text cells that a spreadsheet cannot take for formulas. A spreadsheet runs
// a cell that begins with "=", "+", "-" or "@" (or a tab or carriage return
// before one) as a formula, and a formula can start programs. The export
// writes such a text with an apostrophe in front, which a spreadsheet shows
// as the mark of a text cell; the import takes exactly that apostrophe off
// again. A text that begins with apostrophes before such a character gets
// one more too, so every text comes back as it was, byte for byte. Number
// columns are written as numbers and left alone.
#pragma once

#include <string>
#include <string_view>

namespace hk
{

// The text as the export writes it into its cell.
std::string inertText(std::string_view text);
// The text a cell written by inertText holds.
std::string_view textOfCell(std::string_view cell);

} // namespace hk
