// Titles shown whole. A window of its own gets its title bar from the
// window manager, which cuts a title longer than the bar; a message box or
// a progress window sizes itself to its contents and not to its title.
#pragma once

#include <QString>

class QWidget;

namespace hk
{

// The width a window of its own needs to show `title` whole: the text in the
// title bar's (bold) font, with room for the window's icon and its buttons.
int titleWidth(const QWidget *window, const QString &title);

// Makes `window` at least as wide as its title needs.
void fitTitle(QWidget *window);

} // namespace hk
