#include "dictionary/globals.h"

namespace hk
{

Long GlobalRequest = 0;
Long GlobalResponse = 0;
Long VCRRequest = 0;
ShellGlobals Glo;
String<25> OwnerName;
String<55> OwnerAddress;
Long PrintDate = 0;
Long EntryItems = 0, EntryLocations = 0, EntryBooks = 0, EntryBooksCategory = 0, EntrySoftware = 0,
     EntryVideo = 0, EntryVideoTitle = 0, EntryMusic = 0, EntryMusicTitle = 0, EntryMagazine = 0,
     EntryMagazineArticles = 0, EntryMagazineCategory = 0;
Long SubTotalEntries = 0, TotalEntries = 0;
Decimal<6> SubTotalValue, TotalValue;

void clearSharedGlobals()
{
    Glo.SearchString.clear();
    OwnerName.clear();
    OwnerAddress.clear();
    GlobalRequest = 0;
    GlobalResponse = 0;
    VCRRequest = 0;
}

namespace
{
// Runs when libhkprints is loaded, before the program's main().
const bool clearedAtLoad = (clearSharedGlobals(), true);
} // namespace

} // namespace hk
