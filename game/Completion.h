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
// next one inward where that lies beyond 16 bits. `step` is at least 1 and
// `quotient` a finite position over it, so the result always fits.
int16_t GridPoint(double quotient, int16_t step);

// v rounded to the nearest multiple of `step`, ties to even, inside 16 bits.
int16_t SnapToGrid(double v, int16_t step);

}  // namespace game
