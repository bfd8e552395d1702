// Which pieces move with the held one: its correctly joined upright
// neighbours, and theirs in turn. Each walker goes one way along a row or a
// column and branches sideways at every piece it joins.
#pragma once

#include "game/GameState.h"

#include <cstdint>

namespace game {

// Collects the group of the held piece `held` (always index 0): the walk to
// the left, then right, up and down, each to its end. Every joined piece
// gets InGroup and its offset from the held piece in GroupDX, GroupDY.
void CollectGroup(GameState& state, int16_t held);

// One walker each, starting at piece `i`; the offsets are taken from the
// piece at SelectedPiece. Out-of-range indexes do nothing.
void JoinLeft(GameState& state, int16_t i);
void JoinRight(GameState& state, int16_t i);
void JoinUp(GameState& state, int16_t i);
void JoinDown(GameState& state, int16_t i);

}  // namespace game
