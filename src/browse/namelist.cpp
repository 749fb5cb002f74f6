#include "browse/namelist.h"

#include "browse/browselayout.h"
#include "dictionary/tables.h"

#include <string>

namespace hk
{

BrowseDef nameListDef(const NameList &list, const char *procedure, const char *title, Long *claim,
                      const ChildButton *child, bool updates)
{
    const std::string noun = list.noun;
    BrowseDef d;
    d.procedure = procedure;
    d.main = list.table;
    d.fields = {FieldRef::of(list.table, list.numberField),
                FieldRef::of(list.table, list.nameField)};
    const std::string number = "44R(1)|M~" + noun + " No~C(0)@n10@#1#";
    const std::string name = "155L(1)|M~" + noun + "~C(0)@s30@#2#";
    d.sorts = {{.number = 2, .key = list.byNumber, .format = number + name},
               {.number = 1, .key = list.byName, .format = name + number}};
    d.tables = {list.table};
    d.claim = claim;

    BrowseLook look;
    look.title = title;
    look.size = QSize(230, 209);
    look.listFormat = number + name;
    look.tabs = {{"Listing by " + noun + " Number", "List " + noun + " by Number", "n10B",
                  list.locateNumberTip, list.numberPrompt},
                 {"Listing by " + noun, "List " + noun + " by Name", "s30", list.locateNameTip}};
    look.selectButton = child == nullptr;
    look.updates = updates;
    if (child) look.extraButtons = {{child->text, child->tip}};
    layOutBrowse(d, look);
    if (child) d.actions = {{BrowseControl::ExtraButtonBase, child->child}};
    return d;
}

} // namespace hk
