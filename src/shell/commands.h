// The frame's menu and toolbar as data: one row per menu, entry and button,
// in the order they appear. The frame builds its menus and toolbar from these
// tables and nothing else.
#pragma once

#include <span>

namespace hk
{

// What choosing an entry does.
enum class Command {
    Separator,
    Start,      // start the named procedure beside the others
    Call,       // call the named procedure; the frame waits for it
    PrintSetup, // the printer set-up dialog
    Exit,       // close the frame
    Cut,        // clipboard commands on the focused entry
    Copy,
    Paste,
    Tile, // arrange the document windows
    Cascade,
    ArrangeIcons, // line up the minimised document windows
    HelpContents,
    HelpSearch,
    HelpOnHelp,
};

// A menu or sub-menu. `path` names it by its texts, a sub-menu after its
// menu: "&Reports/&Items".
struct MenuDef {
    const char *path;
    const char *tip; // empty: none
};

struct MenuEntry {
    const char *menu; // path of the menu it belongs to
    const char *text; // null for a separator
    const char *tip;
    Command command;
    const char *procedure = nullptr; // for Start and Call
    const char *icon = nullptr;      // resource name, or null
};

struct ToolButton {
    const char *tip; // also the button's only text
    Command command;
    const char *procedure;
    const char *icon;
};

std::span<const MenuDef> frameMenus();
std::span<const MenuEntry> frameMenuEntries();
std::span<const ToolButton> frameToolButtons();

// The menu whose open document windows are listed at its end.
inline constexpr const char *windowMenuPath = "&Window";

} // namespace hk
