// The program's list windows, each a definition fed to the one browse
// engine, and their entries in the procedure catalogue.
#pragma once

#include "browse/browsedef.h"
#include "shell/catalogue.h"

namespace hk
{

const BrowseDef &browseBooksDef();
const BrowseDef &browseItemsDef();
const BrowseDef &setupLocationDef();
const BrowseDef &pickLocationDef();
const BrowseDef &setupBookCategoryDef();
const BrowseDef &pickBookCategoryDef();
const BrowseDef &selectLocationDef();
const BrowseDef &itemsSelectLocationDef();
const BrowseDef &selectBookCategoryDef();
const BrowseDef &booksSelectCategoryDef();

// The one-window claims of the lists started from the menu.
extern Long BrowseBooksThread, BrowseItemsThread, SetupLocationThread, SetupBookCategoryThread,
    SelectLocationThread, ItemsSelectLocationThread, SelectBookCategoryThread,
    BooksSelectCategoryThread;

void addBrowses(ProcedureCatalogue &catalogue);

} // namespace hk
