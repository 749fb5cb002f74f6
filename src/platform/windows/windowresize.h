// Controls that follow their window's size. A registered window remembers
// the size it had and the place of every control at registration (its design
// layout); whenever the window is resized, each control is put at its design
// place scaled by the window's new width and height over the design ones.
// Every place is computed from the design values, never from the previous
// ones, so growing a window back to its design size restores the design
// layout exactly.
#pragma once

namespace hk
{

class BuiltWindow;

// Takes the window's current size and control places as its design and, from
// then on, lays the controls out again whenever the window is resized.
// Registering again starts afresh from the current layout.
void RegisterWindowControls(BuiltWindow &window);

// Scales every registered control to the window's current size; does nothing
// when the size is unchanged or the window is not registered. A fixed-text
// display whose design width is one dialog unit keeps its size and only moves.
void RelayoutControls(BuiltWindow &window);

// Forgets the window's design layout; its controls stay where they are. A
// window that is destroyed forgets it by itself.
void ReleaseWindowControls(BuiltWindow &window);

// Whether the window is registered.
bool hasRegisteredControls(const BuiltWindow &window);

} // namespace hk
