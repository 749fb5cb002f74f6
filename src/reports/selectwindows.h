// The report selection windows of the video and music reports: a select-mode
// list of the cassettes or albums whose choice stays in the table's buffer.
#pragma once

#include "browse/browsedef.h"

namespace hk
{

const BrowseDef &selectVideoCassetteDef(); // RPTSELECTVIDEOCAS
const BrowseDef &selectMusicAlbumDef();    // RPTSELECTMUSICALBUM

} // namespace hk
