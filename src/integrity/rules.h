// What happens to a parent's children when the parent is deleted or its
// identifier changes: carried along (cascade) or refused while they exist.
#pragma once

#include "dictionary/tabledef.h"

#include <vector>

namespace hk
{

enum class Rule { Cascade, Restrict };

struct RelationRule {
    const RelationDef *relation; // parent, child, fields and the child's key
    Rule onDelete;
    Rule onUpdate;
};

// The rules of a parent's relations, in the order its children are handled;
// empty for a table without children.
const std::vector<RelationRule> &rulesFor(TableId parent);

} // namespace hk
