#include "integrity/checked.h"

#include "integrity/rules.h"
#include "integrity/tableopen.h"
#include "integrity/warnings.h"
#include "platform/data/fileerror.h"
#include "platform/data/files.h"
#include "platform/data/transaction.h"
#include "platform/data/view.h"
#include "platform/messages.h"

#include <vector>

namespace hk
{

namespace
{

std::int64_t identifierOf(const Table &t)
{
    return field::integer(t.def().fields[0], t.buffer());
}

// The children of one parent identifier, as row ids, collected before any of
// them is rewritten: rewriting the reference moves a record within the very
// key being read, and each must be visited exactly once.
int collectChildren(const RelationDef &r, std::int64_t parentId, std::vector<std::int64_t> &rows)
{
    Table &child = table(r.child);
    View view(child, r.childKey);
    view.range({parentId});
    int code = view.open();
    while (code == NoError)
        code = view.fetch(true, 256, [&] { rows.push_back(view.currentRow()); });
    return code == NoMoreRecords ? NoError : code;
}

// Whether the parent identifier has at least one child (0/1), or an error.
int hasChildren(const RelationDef &r, std::int64_t parentId, bool &found)
{
    Table &child = table(r.child);
    View view(child, r.childKey);
    view.range({parentId});
    int code = view.open();
    if (code == NoError) code = view.next();
    found = code == NoError;
    return code == NoMoreRecords || code == NoError ? NoError : code;
}

// Uses the parent's child tables for the length of one call.
class ChildrenInUse
{
  public:
    explicit ChildrenInUse(TableId parent)
    {
        for (const auto &rule : rulesFor(parent)) {
            Table &t = table(rule.relation->child);
            bool seen = false;
            for (Table *u : used_)
                seen = seen || u == &t;
            if (!seen && UseTable(t)) used_.push_back(&t);
        }
    }
    ~ChildrenInUse()
    {
        for (auto it = used_.rbegin(); it != used_.rend(); ++it)
            ReleaseTable(**it);
    }

  private:
    std::vector<Table *> used_;
};

const std::string &labelOf(TableId id)
{
    return tableDef(id).label;
}

// Deletes every child of the parent, or refuses when one exists. False
// (with the transaction rolled back and its warning shown) on failure.
bool applyDeleteRule(Transaction &txn, const RelationRule &rule, std::int64_t parentId)
{
    const RelationDef &r = *rule.relation;
    const std::string &child = labelOf(r.child);
    if (rule.onDelete == Rule::Restrict) {
        bool found = false;
        if (hasChildren(r, parentId, found) != NoError) {
            RollBackAndWarn(txn, 35, child);
            return false;
        }
        if (found) {
            RollBackAndWarn(txn, 13, child);
            return false;
        }
        return true;
    }
    std::vector<std::int64_t> rows;
    if (collectChildren(r, parentId, rows) != NoError) {
        RollBackAndWarn(txn, 35, child);
        return false;
    }
    Table &t = table(r.child);
    for (std::int64_t row : rows) {
        int code = t.regetRow(row);
        // Read inside the transaction: what a list watched earlier is stale.
        if (code == NoError) t.setCurrent(row, t.buffer());
        if (code == NoError) code = t.remove();
        if (code != NoError) {
            RollBackAndWarn(txn, code == RecordNotFound ? 35 : 17, child);
            return false;
        }
    }
    return true;
}

// Carries a changed identifier into the children, or refuses the change.
bool applyUpdateRule(Transaction &txn, const RelationRule &rule, Table &parent, std::int64_t before,
                     std::int64_t after)
{
    const RelationDef &r = *rule.relation;
    const std::string &child = labelOf(r.child);
    if (rule.onUpdate == Rule::Restrict) {
        bool found = false;
        if (hasChildren(r, before, found) != NoError) {
            RollBackAndWarn(txn, 35, child);
            return false;
        }
        if (found) {
            RollBackAndWarn(txn, 12, child);
            field::setInteger(parent.def().fields[r.parentField], parent.buffer(), before);
            return false;
        }
        return true;
    }
    std::vector<std::int64_t> rows;
    if (collectChildren(r, before, rows) != NoError) {
        RollBackAndWarn(txn, 35, child);
        return false;
    }
    Table &t = table(r.child);
    const FieldDef &reference = t.def().fields[r.childField];
    for (std::int64_t row : rows) {
        int code = t.regetRow(row);
        if (code == NoError) {
            t.setCurrent(row, t.buffer());
            field::setInteger(reference, t.buffer(), after);
            code = t.put();
        }
        if (code != NoError) {
            RollBackAndWarn(txn, code == RecordNotFound ? 35 : 15, child);
            field::setInteger(reference, t.buffer(), after);
            return false;
        }
    }
    return true;
}

} // namespace

NotedKey NoteKeyBeforeChange(const Table &t)
{
    return identifierOf(t);
}

int DeleteRecordChecked(Table &t)
{
    const TableId id = t.def().id;
    const std::string &label = labelOf(id);
    Transaction txn(t.file());
    const Position position = t.position(KeyId{id, 0});
    ChildrenInUse children(id);

    if (txn.begin() != NoError) {
        CaptureFileError();
        WarnUser(34, label, "Delete");
        return NotDeleted;
    }
    // Work on the record as it is stored now, and only when that is the
    // version the caller showed: another station may have changed it.
    if (int code = t.reget(position); code != NoError) {
        RollBackAndWarn(txn, 35, label);
        return code == RecordNotFound ? RecordGone : NotDeleted;
    }
    if (!t.matchesWatched()) {
        setError(ChangedByOther, t.storedName());
        RollBackAndWarn(txn, 15, "Record Changed by Another Station");
        t.setCurrent(t.currentRow(), t.buffer()); // the version shown from now on
        return ChangedElsewhere;
    }
    const std::int64_t parentId = identifierOf(t);
    for (const auto &rule : rulesFor(id))
        if (!applyDeleteRule(txn, rule, parentId)) return NotDeleted;

    if (t.reget(position) != NoError || t.remove() != NoError || txn.commit() != NoError) {
        RollBackAndWarn(txn, 17, label);
        return NotDeleted;
    }
    return Deleted;
}

int UpdateRecordChecked(Table &t, bool offerRecall, NotedKey before)
{
    const TableId id = t.def().id;
    const std::string &label = labelOf(id);
    Transaction txn(t.file());
    ChildrenInUse children(id);

    if (txn.begin() != NoError) {
        CaptureFileError();
        WarnUser(34, label, "Update");
        return NotUpdated;
    }
    const Position position = t.position(KeyId{id, 0});
    const std::int64_t after = identifierOf(t);

    if (int code = t.put(); code != NoError) {
        txn.rollback();
        CaptureFileError();
        if (code == ChangedByOther) {
            // The stored version replaces the buffer, unless it is gone too.
            t.watch();
            code = t.reget(position);
            if (code != NoError) CaptureFileError();
        }
        if (code == RecordNotFound) {
            WarnUser(35, label);
            return RecordGone;
        }
        if (code != NoError) {
            WarnUser(15, label);
            return NotUpdated;
        }
        if (offerRecall)
            WarnUser(38);
        else
            WarnUser(15, "Record Changed by Another Station");
        return ChangedElsewhere;
    }
    // Without a noted identifier there is no change of it to carry along.
    if (before && *before != after) {
        for (const auto &rule : rulesFor(id)) {
            if (!applyUpdateRule(txn, rule, t, *before, after)) return NotUpdated;
        }
    }
    if (txn.commit() != NoError) {
        RollBackAndWarn(txn, 15, label);
        return NotUpdated;
    }
    return Updated;
}

} // namespace hk
