// The program's list windows, each a definition fed to the one browse
// engine, and their entries in the procedure catalogue.
#pragma once

#include "browse/browsedef.h"
#include "platform/windows/procedure.h"

#include <string>
#include <vector>

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
const BrowseDef &browseSoftwareDef();
const BrowseDef &videoCassetteDef();
const BrowseDef &videoTitlesOfCassetteDef();
const BrowseDef &videoTitleDef();
const BrowseDef &musicAlbumDef();
const BrowseDef &musicTracksOfAlbumDef();
const BrowseDef &musicTitleDef();

// The one-window claims of the lists started from the menu.
extern Long BrowseBooksThread, BrowseItemsThread, SetupLocationThread, SetupBookCategoryThread,
    SelectLocationThread, ItemsSelectLocationThread, SelectBookCategoryThread,
    BooksSelectCategoryThread;
extern Long BrowseSoftwareThread, VideoCassetteThread, VideoTitleThread,
    VideoTitlesOfCassetteThread;
extern Long MusicAlbumThread, MusicTitleThread, MusicTracksOfAlbumThread;

// Every list above, each a procedure of its own name; addBrowses registers
// them all.
const std::vector<const BrowseDef *> &browseDefs();
void addBrowses(ProcedureCatalogue &catalogue);

// The list window of that procedure name (those of addBrowses and
// addMagazineBrowses), as a form calls it to pick a record; empty when none.
ProcedureFactory listProcedure(const QString &name);

// Calls the list window `name` in select mode to choose a record into its
// table's buffer; true when one was chosen. Tests replace what it does.
using PickList = std::function<QCoro::Task<bool>(Procedure &caller, const std::string &name)>;
void setPickList(PickList pick);
QCoro::Task<bool> pickFromList(Procedure &caller, const std::string &name);

} // namespace hk
