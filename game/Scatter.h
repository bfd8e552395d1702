// Laying the pieces out for a game: a random order of slots in rows over the
// part of the board the window shows, leaving the picture-sized area at the
// window's top left free, each snapped to the 11-pixel grid; then a random
// number of random quarter turns at the levels that allow them.
#pragma once

#include "game/Board.h"
#include "game/GameState.h"
#include "platform/Random.h"

#include <functional>

namespace game {

// Places every piece of state.Pieces and turns some of them. Reads the level
// values, GameLevel and ChosenLevel, the size of surfaces.picMaster and the
// window's inner width and board offset from `view`. The generator is
// reseeded from `timeOfDay()` before every order draw. Returns the number of
// quarter turns made.
//
// The positions are worked out in full before any piece moves, so a failure
// (a 16-bit overflow when the rows run far beyond the board, level values
// that were never set) throws and leaves every piece where it was.
int ShufflePieces(GameState& state, BoardSurfaces& surfaces, const BoardView& view, platform::Random& random,
                  const std::function<double()>& timeOfDay);

}  // namespace game
