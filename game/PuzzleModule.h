// The piece geometry: scaling the mask strip, cutting the fitted picture
// into one bitmap per cell, composing the board, the pick test on a piece's
// outline, and the quarter turn.
#pragma once

#include "game/Board.h"
#include "game/GameState.h"

#include <cstdint>

namespace game::PuzzleModule {

// Scales the mask strip (picMasks[0], 19 cells of 80 x 80) into picMasks[1]
// at `size` pixels a cell. The result stays pure black and white.
void PrepareMasks(BoardSurfaces& surfaces, int16_t size);

// Cuts `source` (picMaster) into one bitmap per PieceStep cell in picPat and
// rebuilds state.Pieces in row-major order, each with the mask of its place.
// Bumps state.Generation.
void CutPieces(GameState& state, BoardSurfaces& surfaces, const platform::Surface& source);

// Composes the whole board in picScreen from picBG and every piece, bottom
// of the stack first, each with its inverted rim. The caller refreshes.
void DrawBoard(const GameState& state, BoardSurfaces& surfaces);

// True when board point (x, y) lies on the outline of piece `index`.
bool PieceHit(const GameState& state, const BoardSurfaces& surfaces, int16_t index, int16_t x, int16_t y);

// Turns piece `index` a quarter turn clockwise: its bitmap (through picTmp),
// its Rotation and its Shape.
void RotatePiece(GameState& state, BoardSurfaces& surfaces, int16_t index);

}  // namespace game::PuzzleModule
