// The lists of a parent table that is a number and a name (locations, book
// categories): one window, sorted by number or by name, started from the
// Setup menu or called to pick one.
#pragma once

#include "browse/browsedef.h"

namespace hk
{

struct NameList {
    TableId table;
    const char *numberField; // "ItmRom:RoomsId"
    const char *nameField;   // "ITMROM:ROOMS"
    KeyId byNumber, byName;
    const char *noun; // "Location": column headings and tab texts
    const char *locateNumberTip, *locateNameTip;
    const char *numberPrompt = "&Locate:"; // the locator's prompt on the number tab
};

// A parent list's button that calls the child list of the highlighted record.
struct ChildButton {
    const char *text; // "&Select Location"
    const char *tip;
    ProcedureFactory child;
};

// Without a child button the list has a Select button for select mode;
// without updates it has no Insert, Change and Delete (a list that only
// chooses).
BrowseDef nameListDef(const NameList &list, const char *procedure, const char *title, Long *claim,
                      const ChildButton *child = nullptr, bool updates = true);

} // namespace hk
