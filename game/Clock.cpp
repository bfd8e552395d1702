// The one-second clock of a running game.
#include "game/Clock.h"

#include "game/Levels.h"
#include "game/Puzzle.h"

#include <limits>

namespace game {

QString ClockText(int16_t level, int32_t elapsedSecs) {
    constexpr int32_t kDay = 24 * 60 * 60;
    const int32_t t = ((elapsedSecs % kDay) + kDay) % kDay;
    return LevelName(level) + QStringLiteral(" - %1:%2:%3")
                                  .arg(t / 3600, 2, 10, QLatin1Char('0'))
                                  .arg(t / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(t % 60, 2, 10, QLatin1Char('0'));
}

void Puzzle::Timer1_Timer() {
    // The count never wraps to a negative time, however long the game lies open.
    if (m_State.ElapsedSecs < std::numeric_limits<int32_t>::max()) m_State.ElapsedSecs += 1;
    m_Window.SetClockText(ClockText(m_State.GameLevel, m_State.ElapsedSecs));
}

}  // namespace game
