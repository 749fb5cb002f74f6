// Where a window opens before its saved placement is applied: sized to its
// content and centred in the document area (a document window) or over the
// window it belongs to or was started from (a dialog). A document window whose content has a
// fixed size loses its maximize button.
#pragma once

class QWidget;

namespace hk
{

// Call once the window is shown (a sub-window learns its frame then).
void putAtDesignPlace(QWidget *window);

} // namespace hk
