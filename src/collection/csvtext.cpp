#include "collection/csvtext.h"

namespace hk
{

namespace
{

// Whether a spreadsheet could take a cell beginning so for a formula, once
// any apostrophes in front are passed.
bool formulaLike(std::string_view text)
{
    const std::size_t first = text.find_first_not_of('\'');
    if (first == std::string_view::npos) return false;
    switch (text[first]) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string inertText(std::string_view text)
{
    return formulaLike(text) ? "'" + std::string(text) : std::string(text);
}

std::string_view textOfCell(std::string_view cell)
{
    // Only a cell the export marked: an apostrophe, then what made it mark it.
    return cell.starts_with('\'') && formulaLike(cell.substr(1)) ? cell.substr(1) : cell;
}

} // namespace hk
