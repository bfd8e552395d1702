#include "game/Puzzle.h"

namespace game {

void Puzzle::picScreen_MouseDown(int16_t, int16_t, float, float) {}
void Puzzle::picScreen_MouseMove(int16_t, int16_t, float, float) {}
void Puzzle::picScreen_MouseUp(int16_t, int16_t, float, float) {}
void Puzzle::MnDesistir_Click() {}
void Puzzle::mnuHints_Click() {}

}  // namespace game
