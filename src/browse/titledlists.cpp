#include "browse/titledlists.h"

#include "dictionary/tables.h"

namespace hk
{

namespace
{

void addFields(BrowseDef &d, TableId table, const std::vector<const char *> &fields)
{
    for (const char *f : fields)
        d.fields.push_back(FieldRef::of(table, f));
}

BrowseSort sortOf(int number, const TitledTab &tab)
{
    return {.number = number, .key = tab.key, .format = tab.format};
}

} // namespace

BrowseDef titledParentDef(const TitledParentList &entry)
{
    BrowseDef d;
    d.procedure = entry.procedure;
    d.tables = {entry.tabs.table, TableId::HearthkpValue};
    d.total = FieldRef::of(TableId::HearthkpValue, entry.total);
    d.claim = entry.claim;

    BrowseLook look;
    useParentTabs(d, look, entry.tabs);
    look.title = entry.title;
    look.totalLabel = entry.totalLabel;
    look.extraButtons = {entry.childButton};
    layOutBrowse(d, look);
    d.actions = {{BrowseControl::ExtraButtonBase, entry.child}};
    return d;
}

BrowseDef titlesOfParentDef(const TitlesOfParentList &entry)
{
    BrowseDef d;
    d.procedure = entry.procedure;
    d.main = entry.table;
    addFields(d, entry.table, entry.fields);
    d.sorts = {
        {.number = 1, .key = entry.key, .range = FieldRef::of(entry.parent, entry.parentId)}};
    d.tables = {entry.table, entry.parent};
    d.claim = entry.claim;

    BrowseLook look;
    look.title = entry.title;
    look.size = QSize(380, 209);
    look.listFormat = entry.format;
    look.tabs = {entry.tab};
    look.displays = {entry.parentShown};
    layOutBrowse(d, look);
    return d;
}

BrowseDef allTitlesDef(const AllTitlesList &entry)
{
    BrowseDef d;
    d.procedure = entry.procedure;
    d.main = entry.table;
    d.joins = {{entry.parent, entry.parentReference}};
    addFields(d, entry.table, entry.fields);
    // The row carries its parent's fields, shown when it is highlighted.
    for (const auto &[field, picture] : entry.parentShown.fields)
        d.fields.push_back(field);
    d.sorts = {sortOf(2, entry.byTitle), sortOf(1, entry.byPerson)};
    d.tables = {entry.table, entry.parent};
    d.claim = entry.claim;

    BrowseLook look;
    look.title = entry.title;
    look.size = QSize(380, 209);
    look.listFormat = entry.byTitle.format;
    look.tabs = {entry.byTitle.look, entry.byPerson.look};
    look.displays = {entry.parentShown};
    look.updates = false;
    layOutBrowse(d, look);
    return d;
}

} // namespace hk
