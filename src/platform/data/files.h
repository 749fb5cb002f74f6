// The table objects of the program's own station, one per table, each bound
// to its shared record buffer. `Books.Used` is the table's open counter.
#pragma once

#include "dictionary/tables.h"
#include "platform/data/table.h"

namespace hk
{

extern Table MagName, Books, MagCategory, MagArticle, MagYear, MagIssue, BookCategory, ItemsRooms,
    Items, Music, Video, SoftWare, HearthkpValue, MusicNumber, VideoNumber;

Table &table(TableId id);

// Gives the record in the table's buffer the identifier after the highest
// stored one (1 in an empty table) and adds it, keeping every other field as
// the caller set it. Tries three times; returns 0, or the code of the last
// failure so that the caller can ask the user whether to try again.
int autoNumber(Table &table);

} // namespace hk
