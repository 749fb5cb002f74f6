// The globals shared by the program and the report library. Each is defined
// once, in libhkprints. Globals named `Glo:Name` live in the struct `Glo` as
// `Glo.Name`, following the same rule as record fields (`Bok:BookTitle` is
// `Bok.BookTitle`).
#pragma once

#include "dictionary/types.h"

namespace hk
{

// What a caller asks of the procedure it starts or calls.
enum Request : Long {
    RequestNone = 0,
    InsertRecord = 1,
    ChangeRecord = 2,
    DeleteRecord = 3,
    SelectRecord = 4
};
// What the called procedure answers.
enum Response : Long { RequestCompleted = 1, RequestCancelled = 2 };

extern Long GlobalRequest;
extern Long GlobalResponse;
extern Long VCRRequest;

struct ShellGlobals {
    Long MainThreadNo = 0;       // procedure id of the frame; notices are posted to it
    Byte Ignorecase = 0;         // 1: a text search ignores letter case
    String<35> SearchString;     // text to search for
    String<64> IniFile;          // full path of the window-settings file
    String<1023> SourceFileName; // data file to back up
    String<1023> TargetFileName; // the backup copy
    // Sizes in bytes, wide enough for today's disks and data files.
    std::int64_t DiskSize = 0; // backup disk size
    std::int64_t DiskFree = 0; // free space on the backup disk
    std::int64_t FileSize = 0; // size of the data file
    Long FileDate = 0;           // date of the data file
    Long FileTime = 0;           // time of the data file
};
extern ShellGlobals Glo;

extern String<25> OwnerName;
extern String<55> OwnerAddress;
extern Long PrintDate; // date printed on reports; each report sets it when it starts

// Record counts for the summary, in the order of its panels.
extern Long EntryItems, EntryLocations, EntryBooks, EntryBooksCategory, EntrySoftware, EntryVideo,
    EntryVideoTitle, EntryMusic, EntryMusicTitle, EntryMagazine, EntryMagazineArticles,
    EntryMagazineCategory;
extern Long SubTotalEntries, TotalEntries;
// Wider than the six DECIMAL(5) running totals they add up, so that no sum
// is ever cut short.
extern Decimal<6> SubTotalValue, TotalValue;

// What the library does when it is loaded: blank the search text and the
// owner's details, zero the request, response and navigation codes.
void clearSharedGlobals();

} // namespace hk
