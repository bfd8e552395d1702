// Fitting a picture to the screen and to the piece grid: pure arithmetic on
// the picture's size, so the set-up and the tests share it. All results are
// 16-bit; a value that leaves that range throws Overflow16.
#pragma once

#include <cstdint>

namespace game {

// The cell budget: the screen's area in grid cells, made whole, over 4.5.
int16_t CellBudget(int16_t screenW, int16_t screenH, int16_t step);

struct PictureSize16 {
    int16_t W;
    int16_t H;
    int Passes = 0;  // how many shrink or grow passes were made
};

// Shrinks both sides by 5 % a pass while the area in cells exceeds the budget.
PictureSize16 ShrinkToBudget(int16_t w, int16_t h, int16_t budget, int16_t step);

// The grid side over a picture side: the next multiple of `step` strictly above it.
int16_t GridSide(int16_t side, int16_t step);

// The most cells a grid cut by the set-up can have at grid step `step`, on
// any screen. The cell budget B is at most a 16-bit cell count over 4.5,
// 7282: a screen of more cells overflows that count and starts no game.
// After the shrink the picture's area in cells is within B; rounding each
// side up to the next cell adds at most one column and one row, so the grid
// holds at most B + a + b + 1 cells for sides of a and b cells, and no 16-bit
// side is more than 32767 / step cells long (rounded up). At step 33 that is
// 7282 + 2 * 993 + 1 = 9269 pieces with bitmaps of 60 x 60, about 130 MB; at
// step 88, 7282 + 2 * 373 + 1 = 8029 with bitmaps of 160 x 160, about 820 MB.
// A file that claims more is damaged and is refused before anything is made
// for it.
int32_t MaxGridCells(int16_t step);

// Grows both sides by 1 % a pass while each next 1 % stays inside its grid
// side. Sides too small for 1 % to move them would never end the loop: it
// ends when a pass changes neither side.
PictureSize16 GrowInGrid(int16_t w, int16_t h, int16_t gridW, int16_t gridH);

// Stretches the side with the larger margin a pixel at a time, by at most
// 3 % in width or 5 % in height, never past the other side's margin.
PictureSize16 EvenOutMargins(int16_t w, int16_t h, int16_t gridW, int16_t gridH);

// Everything the fit decides for a picture of w x h pixels.
struct Fit {
    int16_t Budget;
    int16_t GridW, GridH;    // the size of picMaster
    int16_t Cols, Rows;
    int16_t FrameX, FrameY;  // the white rectangle, (PicW + 2) x (PicH + 2)
    int16_t PicX, PicY;      // the picture, one pixel inside it
    int16_t PicW, PicH;      // the painted size
    bool TooSmall;           // a single column or a single row
};

// The whole fit on a screen of screenW x screenH pixels at grid step `step`.
Fit FitPicture(int16_t w, int16_t h, int16_t screenW, int16_t screenH, int16_t step);

// Whether a new game of a w x h picture at grid step `step` paints it at
// picW x picH on some screen: the screen decides only how many times the
// picture shrinks by 5 % before the rest of the fit.
bool PaintedAt(int16_t w, int16_t h, int16_t step, int16_t picW, int16_t picH);

// The miniature inside its frame, in the frame's pixels; fractions stay.
struct MiniatureRect {
    float Left, Top, Width, Height;
};

// Sizes and centres the miniature of a w x h picture in a frame of
// frameW x frameH pixels, to the picture's proportions.
MiniatureRect SetSize(float w, float h, float frameW, float frameH);

}  // namespace game
