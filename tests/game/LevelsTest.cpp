// The level table, the clock's level names, the menu enabling and the
// board's size and place on screens of every width.
#include "game/BoardLayout.h"
#include "game/Levels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LevelCase {
    int16_t Index;
    int16_t ScreenW;
    game::LevelParams Expected;
};

class LevelTableCases : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LevelTableCases, ChooseLevelSetsTheRow) {
    const LevelCase c = GetParam();
    game::GameState s;
    s.ScreenW = c.ScreenW;
    ASSERT_TRUE(game::ChooseLevel(s, c.Index));
    EXPECT_EQ(s.ChosenLevel, c.Index);
    EXPECT_EQ(s.PieceBox, c.Expected.PieceBox);
    EXPECT_EQ(s.PieceStep, c.Expected.PieceStep);
    EXPECT_EQ(s.SnapDiv, c.Expected.SnapDiv);
    EXPECT_EQ(s.GapUnits, c.Expected.GapUnits);
    EXPECT_EQ(s.PieceBox, 20 * s.SnapDiv);
    EXPECT_EQ(s.PieceStep, 11 * s.SnapDiv);
}

INSTANTIATE_TEST_SUITE_P(
    BothSets, LevelTableCases,
    ::testing::Values(LevelCase{0, 800, {120, 66, 6, 1}}, LevelCase{1, 640, {120, 66, 6, 1}},
                      LevelCase{3, 800, {100, 55, 5, 1}}, LevelCase{3, 801, {120, 66, 6, 3}},
                      LevelCase{4, 800, {80, 44, 4, 1}}, LevelCase{5, 800, {60, 33, 3, 1}},
                      LevelCase{0, 1920, {160, 88, 8, 2}}, LevelCase{1, 1024, {160, 88, 8, 2}},
                      LevelCase{4, 1280, {100, 55, 5, 3}}, LevelCase{5, 1920, {80, 44, 4, 3}}),
    [](const auto& info) {
        return "Level" + std::to_string(info.param.Index) + "Screen" + std::to_string(info.param.ScreenW);
    });

TEST(Levels, TheSeparatorAndUnknownIndexesAreNoLevel) {
    game::GameState s;
    s.ScreenW = 1024;
    s.PieceBox = 7;
    for (int16_t bad : {2, -1, 6, 100}) {
        EXPECT_FALSE(game::ChooseLevel(s, bad));
        EXPECT_EQ(s.PieceBox, 7);
    }
}

TEST(Levels, ClockNames) {
    EXPECT_EQ(game::LevelName(0), "Kids A");
    EXPECT_EQ(game::LevelName(1), "Kids B");
    EXPECT_EQ(game::LevelName(3), "Fácil");
    EXPECT_EQ(game::LevelName(4), "Medio");
    EXPECT_EQ(game::LevelName(5), "Dificil");
    EXPECT_EQ(game::LevelName(2), "");
}

TEST(Levels, MenuEnabling) {
    game::GameState s;
    EXPECT_FALSE(game::GameMenuEnabling(s, 1).SaveGame);
    EXPECT_FALSE(game::GameMenuEnabling(s, 1).Shuffle);
    EXPECT_FALSE(game::OptionsMenuEnabling(s).Hints);
    // A finished game: restart stays, saving goes.
    EXPECT_TRUE(game::GameMenuEnabling(s, 12).Shuffle);
    EXPECT_FALSE(game::GameMenuEnabling(s, 12).SaveGame);
    s.GameRunning = true;
    EXPECT_TRUE(game::GameMenuEnabling(s, 12).SaveGame);
    EXPECT_TRUE(game::OptionsMenuEnabling(s).GiveUp);
}

TEST(BoardLayout, FactorThresholds) {
    const std::pair<int16_t, double> cases[] = {{1920, 1.25}, {1280, 1.25}, {1279, 1.5}, {1024, 1.5},
                                                 {1023, 2.0},  {800, 2.0},   {640, 2.0}};
    for (auto [w, f] : cases) EXPECT_EQ(game::BoardFactor(w), f) << w;
}

TEST(BoardLayout, BoardOverhangsTheScreenOnEverySide) {
    const auto b1024 = game::BoardForScreen(1024, 768);
    EXPECT_EQ(b1024.Width, 1536);
    EXPECT_EQ(b1024.Height, 1152);
    EXPECT_EQ(b1024.Left, -256);
    EXPECT_EQ(b1024.Top, -192);
    const auto b800 = game::BoardForScreen(800, 600);
    EXPECT_EQ(b800.Width, 1600);
    EXPECT_EQ(b800.Left, -400);
    EXPECT_EQ(b800.Top, -300);
    const auto b1280 = game::BoardForScreen(1280, 1024);
    EXPECT_EQ(b1280.Left, -160);
    EXPECT_EQ(b1280.Top, -128);
    const auto b1920 = game::BoardForScreen(1920, 1080);
    EXPECT_EQ(b1920.Width, 2400);
    EXPECT_EQ(b1920.Height, 1350);
    EXPECT_EQ(b1920.Top, -135);
}

TEST(BoardLayout, ScrollRanges) {
    const auto h = game::ScrollFor(1536, 1011, -256);
    EXPECT_EQ(h.Maximum, 525);
    EXPECT_EQ(h.Value, 256);
    EXPECT_EQ(h.LargeChange, 350);
    EXPECT_TRUE(h.ValueFits);
    const auto tooFar = game::ScrollFor(1536, 1400, -256);
    EXPECT_FALSE(tooFar.ValueFits);
    // Large change rounds half to even: 3 / 1.5 = 2, 75 / 1.5 = 50, 1.5 / 1.5...
    EXPECT_EQ(game::ScrollFor(1003, 1000, 0).LargeChange, 2);
}

}  // namespace
