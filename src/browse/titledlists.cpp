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

BrowseDef titledParentDef(const TitledParentList &spec)
{
    BrowseDef d;
    d.procedure = spec.procedure;
    d.tables = {spec.tabs.table, TableId::HearthkpValue};
    d.total = FieldRef::of(TableId::HearthkpValue, spec.total);
    d.claim = spec.claim;

    BrowseLook look;
    useParentTabs(d, look, spec.tabs);
    look.title = spec.title;
    look.totalLabel = spec.totalLabel;
    look.extraButtons = {spec.childButton};
    layOutBrowse(d, look);
    d.actions = {{BrowseControl::ExtraButtonBase, spec.child}};
    return d;
}

BrowseDef titlesOfParentDef(const TitlesOfParentList &spec)
{
    BrowseDef d;
    d.procedure = spec.procedure;
    d.main = spec.table;
    addFields(d, spec.table, spec.fields);
    d.sorts = {{.number = 1, .key = spec.key, .range = FieldRef::of(spec.parent, spec.parentId)}};
    d.tables = {spec.table, spec.parent};
    d.claim = spec.claim;

    BrowseLook look;
    look.title = spec.title;
    look.size = QSize(380, 209);
    look.listFormat = spec.format;
    look.tabs = {spec.tab};
    look.displays = {spec.parentShown};
    layOutBrowse(d, look);
    return d;
}

BrowseDef allTitlesDef(const AllTitlesList &spec)
{
    BrowseDef d;
    d.procedure = spec.procedure;
    d.main = spec.table;
    d.joins = {{spec.parent, spec.parentReference}};
    addFields(d, spec.table, spec.fields);
    // The row carries its parent's fields, shown when it is highlighted.
    for (const auto &[field, picture] : spec.parentShown.fields)
        d.fields.push_back(field);
    d.sorts = {sortOf(2, spec.byTitle), sortOf(1, spec.byPerson)};
    d.tables = {spec.table, spec.parent};
    d.claim = spec.claim;

    BrowseLook look;
    look.title = spec.title;
    look.size = QSize(380, 209);
    look.listFormat = spec.byTitle.format;
    look.tabs = {spec.byTitle.look, spec.byPerson.look};
    look.displays = {spec.parentShown};
    look.updates = false;
    layOutBrowse(d, look);
    return d;
}

} // namespace hk
