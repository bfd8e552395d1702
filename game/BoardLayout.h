// The board's size and place in the main window, and the scroll bars that
// follow it. Plain numbers, so that they are tested without a window.
#pragma once

#include <cstdint>

namespace game {

// How much larger than the screen the board is: 1.25 from 1280 pixels wide,
// 1.5 from 1024, 2.0 below (a screen narrower than 800 pixels too).
double BoardFactor(int16_t screenW);

struct BoardRect {
    int16_t Left;
    int16_t Top;
    int16_t Width;
    int16_t Height;
};

// The board of a screen: its size, centred on a screen-sized area at the
// client origin so that it overhangs on every side.
BoardRect BoardForScreen(int16_t screenW, int16_t screenH);

// The left and top that centre a board of the given size on the screen.
int16_t CentredOffset(int16_t boardSide, int16_t screenSide);

struct ScrollRange {
    int16_t Maximum;
    int16_t Value;
    int16_t LargeChange;
    bool ValueFits;  // false: the value lies outside 0..Maximum and is not set
};

// A scroll bar over one axis: maximum = board - client, value = |offset|,
// large change = maximum / 1.5, each rounded half to even.
ScrollRange ScrollFor(int16_t boardSide, int16_t clientSide, int16_t boardOffset);

}  // namespace game
