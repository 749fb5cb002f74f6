// The windows in which a report that prints one parent's records lets the
// user choose that parent: select-mode lists of the report library that
// leave the chosen record in its table's buffer and answer 1, or 2 when
// closed.
#pragma once

#include "browse/browsedef.h"
#include "platform/procedure.h"

#include <memory>

namespace hk
{

const BrowseDef &rptSelectLocationDef();
const BrowseDef &rptSelectBookCatDef();

// RPTSELECTLOCATION and RPTSELECTBOOKCAT, ready to be called.
std::unique_ptr<Procedure> rptSelectLocation();
std::unique_ptr<Procedure> rptSelectBookCat();

} // namespace hk
