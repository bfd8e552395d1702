#include "game/Puzzle.h"

namespace game {

Puzzle::Puzzle(GameState& state, BoardSurfaces& surfaces, BoardView& view, MainWindowPort& window,
               platform::Host& host, platform::Random& random)
    : m_State(state), m_Surfaces(surfaces), m_View(view), m_Window(window), m_Host(host), m_Random(random) {}

void Puzzle::PlayCue(const QByteArray& wave) {
    if (m_Window.SoundsChecked()) m_Host.PlaySound(wave);
}

}  // namespace game
