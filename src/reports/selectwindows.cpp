#include "reports/selectwindows.h"

#include "browse/parentlists.h"

namespace hk
{

// Named by their settings sections, under which they keep their placement.
const BrowseDef &selectVideoCassetteDef()
{
    static const BrowseDef def =
        parentSelectDef("RptSelectVideoCas", "Select Video Cassette to Print", videoCassetteTabs());
    return def;
}

const BrowseDef &selectMusicAlbumDef()
{
    static const BrowseDef def =
        parentSelectDef("RptSelectMusicAlbum", "Select Music Album to Print", musicAlbumTabs());
    return def;
}

} // namespace hk
