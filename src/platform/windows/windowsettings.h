// Window placements: a window writes its position, size and maximized state
// to its section of the settings file when it closes and reads them back when
// it opens. The section is the name of the procedure that owns the window.
//
// A document window is the frame's sub-window, placed within the document
// area; any other window is a top-level window, placed on the screen. In both
// cases the values are what the window reports and accepts back.
#pragma once

#include <optional>
#include <string_view>

class QWidget;

namespace hk
{

// The program's window settings file (the report library knows it as
// "Hearthkp.Ini"; names match without regard to case).
inline constexpr std::string_view WindowSettingsFile = "HEARTHKP.INI";

// Writes "Maximize" ("Yes"/"No"), "XPosit", "YPosit", "Width" and "Height".
// A maximized window is first taken out of that state so that its normal
// place is written; a minimized one writes nothing.
void SaveWindowSettings(QWidget *window, std::string_view file, std::string_view section);

// Puts the window where the section says. A missing section, or a position of
// 0, leaves it at its designed place; a size of 0 keeps the designed size, and
// a window that cannot be resized only moves.
void RestoreWindowSettings(QWidget *window, std::string_view file, std::string_view section);

// Forgets every window's placement: the keys above, in every section of the
// file, and the sections that held nothing else. Other settings in the file
// (the backup drive, say) stay. How many keys went; nothing when the file
// could not be written.
std::optional<int> ResetWindowSettings(std::string_view file = WindowSettingsFile);

} // namespace hk
