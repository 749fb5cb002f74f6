// The three lists of a collection whose parent records carry titles (video
// cassettes with their titles, music albums with their tracks): the parent
// list on three tabs with a button for the parent's titles, the titles of one
// parent, and every title on two tabs, view only. Video and music are data
// for these builders.
#pragma once

#include "browse/parentlists.h"

namespace hk
{

struct TitledParentList {
    const char *procedure, *title;
    const ParentTabs &tabs;
    const char *total, *totalLabel;
    BrowseLook::Button childButton;
    ProcedureFactory child;
    Long *claim;
};

struct TitlesOfParentList {
    const char *procedure, *title;
    TableId table, parent;
    std::vector<const char *> fields;
    BrowseLook::Tab tab; // without a locator
    KeyId key;           // led by the parent's identifier
    const char *parentId;
    std::string format;
    BrowseLook::Display parentShown;
    Long *claim;
};

struct AllTitlesList {
    const char *procedure, *title;
    TableId table, parent;
    const char *parentReference; // the titles' field holding the parent's identifier
    std::vector<const char *> fields;
    TitledTab byTitle, byPerson;
    BrowseLook::Display parentShown;
    Long *claim;
};

BrowseDef titledParentDef(const TitledParentList &entry);
BrowseDef titlesOfParentDef(const TitlesOfParentList &entry);
BrowseDef allTitlesDef(const AllTitlesList &entry);

} // namespace hk
