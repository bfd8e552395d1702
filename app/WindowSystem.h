// What the program needs to know of the window system it runs on: whether a
// window manager sizes and places the windows, and a way to wait until the
// display has carried out what was asked of it.
#pragma once

#include <QRect>

// True when a window manager that can maximise windows manages the display:
// it then sizes a maximised window itself and keeps its normal geometry.
// False on displays where nobody does (offscreen, a bare X server), and on
// an X display whose window manager does not maximise.
bool WindowManagerMaximizes();

// False where each window is drawn on its own, never on a screen with the
// others (offscreen): raising one there uncovers nothing to repaint.
bool WindowsCoverEachOther();

// Blocks until the display has carried out every request made so far, the
// drawing included, without running any event. Does nothing on a display
// that draws at once.
void SyncWithDisplay();

// A window's normal (not maximised) geometry on a screen whose free area is
// `available`: centred, three quarters of its size, with room above for the
// title bar a window manager adds.
QRect NormalPlacement(const QRect& available);
