// Keeping windows where the user can see and reach them. Saved placements may
// come from another screen, another font size or a damaged settings file, and
// designed sizes grow with the font: every window placed from such a value is
// fitted into its visible area first. That area is the document area for a
// document window and the available part of its screen for any other.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace hk
{

// `wanted` made to fit `area`: no larger than the area (but not below
// `minimum`), and moved as little as needed to lie inside it. It is never
// moved to a position of 0, which the window settings read as "none saved".
QRect fitInside(const QRect &wanted, const QRect &area, const QSize &minimum = {});

// The area `window` may take when placed at `wanted`, in the coordinates of
// its geometry; empty when it cannot be told yet (a document area not shown).
QRect visibleArea(const QWidget *window, const QRect &wanted);

// What a window of its own has around its geometry: its frame's title bar
// and borders, or, before it is framed, room for a usual frame.
QMargins frameMargins(const QWidget *window);

// Gives the window the geometry `wanted`, fitted into its visible area.
void placeInside(QWidget *window, const QRect &wanted);
// Fits the window's present geometry into its visible area.
void keepInside(QWidget *window);

} // namespace hk
