// Window > Tile for windows that cannot be made smaller than their design:
// a grid chosen so that the windows cover least beyond their cells, and a
// window larger than its cell kept inside the document area, overlapping its
// neighbour rather than pushed out where the area would have to scroll.
#pragma once

#include <QRect>
#include <QSize>

#include <vector>

class QMdiArea;

namespace hk
{

// The places of windows with least sizes `least`, in order, row by row; the
// last row's windows share the whole width. Given the height of a window's
// title bar, a window that would cover the title bar of one before it is
// moved down until it does not: stacked in this order, every title shows.
std::vector<QRect> tileGrid(const QRect &area, const std::vector<QSize> &least,
                            int titleHeight = 0);

// Tiles the area's windows that are shown and not minimized, in the order
// they were opened (the active one last, on top), every title bar in view.
void tileWindows(QMdiArea *area);

} // namespace hk
