// Deleting a record and writing back a changed one, with the rules of its
// relations, as one transaction: either everything is done and committed, or
// nothing is and the user is told why. Every table but HearthkpValue has
// them; a table without children frames its single write alone. Called
// inside an open transaction, they work within it and leave the commit to the
// caller; a failure rolls the whole transaction back.
#pragma once

namespace hk
{

class Table;

// Notes the identifier in the table's buffer as the one before the change;
// the next UpdateRecordChecked carries a change of it into the children.
void NoteKeyBeforeChange(Table &table);

// Deletes the table's current record. True when it failed: then nothing was
// deleted and a warning was shown.
bool DeleteRecordChecked(Table &table);

enum UpdateResult { Updated = 0, NotUpdated = 1, ChangedElsewhere = 2 };
// Writes the buffer back over the current record. ChangedElsewhere: another
// station changed it first; nothing was written, the buffer now holds the
// stored version and the table is watched. offerRecall picks the wording
// that points to the Ditto button.
int UpdateRecordChecked(Table &table, bool offerRecall);

} // namespace hk
