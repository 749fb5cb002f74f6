// The windows in which a report that prints one parent's records lets the
// user choose that parent: select-mode lists of the report library that
// leave the chosen record in its table's buffer and answer 1, or 2 when
// closed.
#pragma once

#include "browse/browsedef.h"
#include "platform/windows/procedure.h"

#include <memory>
#include <vector>

namespace hk
{

const BrowseDef &rptSelectLocationDef();
const BrowseDef &rptSelectBookCatDef();
const BrowseDef &rptSelectMagazineDef();
const BrowseDef &rptSelectYearDef();

// RPTSELECTLOCATION and RPTSELECTBOOKCAT, ready to be called.
std::unique_ptr<Procedure> rptSelectLocation();
std::unique_ptr<Procedure> rptSelectBookCat();
const BrowseDef &selectVideoCassetteDef(); // RPTSELECTVIDEOCAS
const BrowseDef &selectMusicAlbumDef();    // RPTSELECTMUSICALBUM
// RPTSELECTMAGAZINE, then (once a magazine is chosen) RPTSELECTYEAR for its
// years: one selection of a magazine and a year, answering 1 only when both
// windows did.
std::unique_ptr<Procedure> rptSelectMagazine();
std::unique_ptr<Procedure> rptSelectMagazineAndYear();

// Every selection list above.
const std::vector<const BrowseDef *> &selectionDefs();

} // namespace hk
