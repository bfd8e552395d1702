// The clock label and its tick.
#include "game/Clock.h"
#include "game/Puzzle.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Clock, TextOfLevelAndTime) {
    const struct {
        int16_t Level;
        int32_t Secs;
        const char* Text;
    } cases[] = {
        {3, 75, "Fácil - 00:01:15"},
        {0, 3 * 3600 + 25 * 60 + 7, "Kids A - 03:25:07"},
        {4, 1, "Medio - 00:00:01"},
        {5, 0, "Dificil - 00:00:00"},
        {1, 32767, "Kids B - 09:06:07"},
        // Past the 16-bit count the time goes on; a day wraps like a clock.
        {1, 32768, "Kids B - 09:06:08"},
        {3, 86399, "Fácil - 23:59:59"},
        {3, 86400 + 61, "Fácil - 00:01:01"},
        {3, std::numeric_limits<int32_t>::max(), "Fácil - 03:14:07"},
        {3, -5, "Fácil - 23:59:55"},
        {9, 10, " - 00:00:10"},
    };
    for (const auto& c : cases) EXPECT_EQ(game::ClockText(c.Level, c.Secs), QString::fromUtf8(c.Text)) << c.Secs;
}

TEST(Clock, TickCountsAndShowsTheCount) {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random;
    game::Puzzle puzzle{state, surfaces, view, window, host, random};
    state.GameLevel = 4;
    state.ElapsedSecs = 74;
    puzzle.Timer1_Timer();
    EXPECT_EQ(state.ElapsedSecs, 75);
    EXPECT_EQ(window.ClockText, "Medio - 00:01:15");
    // The count stops at its largest value instead of turning negative.
    state.ElapsedSecs = std::numeric_limits<int32_t>::max();
    puzzle.Timer1_Timer();
    EXPECT_EQ(state.ElapsedSecs, std::numeric_limits<int32_t>::max());
}
