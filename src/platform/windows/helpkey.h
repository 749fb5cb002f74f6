// F1: help about the window in front of the user. The key opens the help
// topic of the procedure whose window holds the focus (or, with no focus,
// the active window), so every window has it without wiring of its own.
#pragma once

#include <QString>

class QWidget;

namespace hk
{

// Listens for F1 in every window of the program from now on; once is enough.
void installHelpKey();

// The help topic about the window holding `widget`: its procedure's, or the
// contents (empty) outside any procedure's window.
QString helpContextAt(const QWidget *widget);

} // namespace hk
