#include "game/Puzzle.h"

namespace game {

void Puzzle::Timer1_Timer() {}
void Puzzle::mnuShuffle_Click() {}

}  // namespace game
