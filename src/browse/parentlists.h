// The sort orders of the parents that carry titles (video cassettes, music
// albums): by number, by title and by person, each with its locator and its
// list format. The collection's list window and the report's selection window
// show the same three tabs.
#pragma once

#include "browse/browselayout.h"

namespace hk
{

struct TitledTab {
    BrowseLook::Tab look;
    KeyId key;
    std::string format;
};

struct ParentTabs {
    TableId table;
    std::vector<const char *> fields; // as the formats number them
    TitledTab byNumber, byTitle, byPerson;
};

const ParentTabs &videoCassetteTabs();
const ParentTabs &musicAlbumTabs();

// The window's sorts and look for the three tabs: the second and third tabs
// are sort orders 1 and 2, the first 3.
void useParentTabs(BrowseDef &def, BrowseLook &look, const ParentTabs &tabs);

// A report's window to choose one parent: select mode, no form.
BrowseDef parentSelectDef(const char *procedure, const char *title, const ParentTabs &tabs);

} // namespace hk
