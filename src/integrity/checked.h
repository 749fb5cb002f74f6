// Deleting a record and writing back a changed one, with the rules of its
// relations, as one transaction: either everything is done and committed, or
// nothing is and the user is told why. Every table but HearthkpValue has
// them; a table without children frames its single write alone. Called
// inside an open transaction, they work within it and leave the commit to the
// caller; a failure rolls the whole transaction back.
#pragma once

#include <cstdint>
#include <optional>

namespace hk
{

class Table;

// The identifier a record had before the change, as the caller noted it.
// Empty: nothing was noted, and a change of it is not carried along.
using NotedKey = std::optional<std::int64_t>;

// The identifier in the table's buffer, for the caller to keep as the one
// before its change and to hand to UpdateRecordChecked. The caller (a form)
// keeps it: another window of the same table cannot overwrite it.
NotedKey NoteKeyBeforeChange(const Table &table);

// What became of a checked delete or write. Zero is success, so that a
// delete's result reads as "failed" when it is not zero.
enum CheckedResult {
    Updated = 0,
    Deleted = 0,
    NotUpdated = 1, // refused or failed; a warning was shown
    NotDeleted = 1,
    ChangedElsewhere = 2, // another station changed it first; see below
    RecordGone = 3,       // another station deleted it; warning 35 was shown
    StillReferenced = 4,  // records refer to it; warning 13 was shown
};

// Deletes the table's current record, provided it is still stored as it was
// read when the table watches it (see Table::setCurrent). ChangedElsewhere:
// nothing was deleted, the buffer holds the stored version and the table
// watches it, so that a second attempt deletes that version.
int DeleteRecordChecked(Table &table);

// Writes the buffer back over the current record and carries a change of the
// identifier noted in `before` into the children. ChangedElsewhere: nothing
// was written, the buffer now holds the stored version and the table is
// watched. offerRecall picks the wording that points to the Ditto button.
int UpdateRecordChecked(Table &table, bool offerRecall, NotedKey before = {});

// Removes the placeholder an insert form added (row `row`, identifier
// `identifier`, noted as this station's) and its note. Whatever refers to it
// was entered meanwhile by a user who took it for a record, so no relation
// cascades into it: while any child refers to it, the removal is refused with
// warning 13 naming the first such child table (StillReferenced) and the
// placeholder stays, noted, for its form to complete. Deleted also when
// another station has removed it already; NotDeleted after warning 17 (or 35).
int DeletePlaceholderChecked(Table &table, std::int64_t row, std::int64_t identifier);

} // namespace hk
