// Where the solved picture lies and whether a piece sits in it: the
// reference piece anchors the picture anywhere on the board, and every
// other piece is in place at its home cell's offset from it.
#pragma once

#include "game/GameState.h"

#include <cstdint>
#include <optional>

namespace game {

struct Reference {
    int16_t X0;
    int16_t Y0;
};

// The place of the first upright top-left piece (Col 0, Row 0, Rotation 0),
// searched from the top of the stack; nullopt while that piece is turned.
std::optional<Reference> FindReference(const GameState& state);

// Upright and at its home place relative to (x0, y0).
bool InPlace(const GameState& state, const PieceRec& piece, int16_t x0, int16_t y0);

// Every piece in place relative to (x0, y0), tested from index 0 up.
bool IsComplete(const GameState& state, int16_t x0, int16_t y0);

// The snap grid of the board: PieceStep \ SnapDiv (11 pixels at every
// level). Level values that give no grid (a zero SnapDiv from a damaged
// saved game) give 1, so every whole position counts as on the grid.
int16_t SnapStep(const GameState& state);

// The multiple of `step` nearest to quotient x step (ties to even), or the
// nearest one inside [lo, hi] where that lies outside; by default [lo, hi]
// is the 16-bit range. `step` is at least 1, `quotient` a finite position
// over it, and [lo, hi] a part of the 16-bit range that holds a multiple of
// `step`, so the result always fits.
int16_t GridPoint(double quotient, int16_t step, int lo = INT16_MIN, int hi = INT16_MAX);

// The first and the last multiple of `step` inside 16 bits: a position
// between them snaps to the grid without leaving it.
struct GridRange {
    int Lo;
    int Hi;
};
GridRange SnapRange(int16_t step);

// v rounded to the nearest multiple of `step`, ties to even, inside 16 bits.
int16_t SnapToGrid(double v, int16_t step);

}  // namespace game
