// The window of a list, made from a short description: every list window has
// the same parts (the list on a sheet of tabs, a locator per tab, the value
// total, displays of the highlighted record, the buttons), placed by one rule.
#pragma once

#include "browse/browsedef.h"

#include <QSize>

#include <string>
#include <vector>

namespace hk
{

struct BrowseLook {
    struct Tab {
        std::string caption;
        std::string tip;
        std::string locatorPicture; // empty: no locator on this tab
        std::string locatorTip;
        std::string locatorPrompt = "&Locate:";
    };
    struct Display {
        std::string prompt;                                   // "Category:"
        std::vector<std::pair<FieldRef, std::string>> fields; // and their pictures
    };
    struct Button {
        std::string text;
        std::string tip;
    };

    std::string title;
    QSize size; // dialog units; also the smallest size the window takes
    std::string listFormat;
    std::vector<Tab> tabs;
    std::string totalLabel; // empty: no value total
    std::string totalPicture = "n12.2B";
    std::vector<Display> displays;
    bool selectButton = false;
    bool updates = true; // Insert, Change and Delete
    std::string insertTip = "Add New Entry";
    // Insert, Change and Delete tell the status bar what they do and say
    // "Click to ..." in their tips (the placement windows).
    bool clickTips = false;
    std::vector<Button> extraButtons; // after Delete, e.g. "&Search"
};

// Control numbers of the parts; tab i (from 0) has its own from tabBase(i).
namespace BrowseControl
{
inline constexpr int List = 1, Select = 2, Insert = 3, Change = 4, Delete = 5, Sheet = 6;
inline constexpr int DisplayBase = 80, ExtraButtonBase = 90, Close = 98, Help = 99;
constexpr int tabBase(int i)
{
    return 10 + 10 * i;
}
constexpr int tab(int i)
{
    return tabBase(i);
}
constexpr int locator(int i)
{
    return tabBase(i) + 2;
}
constexpr int total(int i)
{
    return tabBase(i) + 4;
}
} // namespace BrowseControl

// Builds def.layout from look and gives def the numbers of its controls; the
// sorts must be listed in tab order already.
void layOutBrowse(BrowseDef &def, const BrowseLook &look);

} // namespace hk
