#include "integrity/rules.h"

#include "dictionary/tables.h"

#include <array>
#include <stdexcept>

namespace hk
{

namespace
{

struct RuleSpec {
    TableId parent;
    TableId child;
    Rule onDelete;
    Rule onUpdate;
};

// In the order children are handled: the first refusal stops the rest.
constexpr RuleSpec kRules[] = {
    {TableId::VideoNumber, TableId::Video, Rule::Cascade, Rule::Cascade},
    {TableId::MusicNumber, TableId::Music, Rule::Cascade, Rule::Cascade},
    {TableId::MagIssue, TableId::MagArticle, Rule::Cascade, Rule::Cascade},
    {TableId::MagYear, TableId::MagArticle, Rule::Restrict, Rule::Cascade},
    {TableId::MagYear, TableId::MagIssue, Rule::Restrict, Rule::Cascade},
    {TableId::MagName, TableId::MagArticle, Rule::Restrict, Rule::Restrict},
    {TableId::MagName, TableId::MagIssue, Rule::Restrict, Rule::Restrict},
    {TableId::MagName, TableId::MagYear, Rule::Restrict, Rule::Restrict},
    {TableId::MagCategory, TableId::MagArticle, Rule::Restrict, Rule::Cascade},
    {TableId::ItemsRooms, TableId::Items, Rule::Restrict, Rule::Cascade},
    {TableId::BookCategory, TableId::Books, Rule::Restrict, Rule::Cascade},
};

const RelationDef &relationOf(TableId parent, TableId child)
{
    for (const auto &r : relations())
        if (r.parent == parent && r.child == child) return r;
    throw std::logic_error("no relation from " + tableDef(parent).label + " to " +
                           tableDef(child).label);
}

} // namespace

const std::vector<RelationRule> &rulesFor(TableId parent)
{
    static const auto all = [] {
        std::array<std::vector<RelationRule>, TableCount> byParent;
        for (const auto &r : kRules)
            byParent[static_cast<int>(r.parent)].push_back(
                {&relationOf(r.parent, r.child), r.onDelete, r.onUpdate});
        return byParent;
    }();
    return all[static_cast<int>(parent)];
}

} // namespace hk
