// Thousands of random pointer sequences, in any order and with any button,
// including presses during the give-up and far beyond the board: the
// handlers never fail and the piece array keeps its invariants.
#include "game/PlayBoard.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace {

using playtest::PlayBoard;

void ExpectInvariants(const PlayBoard& b, size_t count, bool afterDrop, int step) {
    const auto& s = b.state;
    ASSERT_TRUE(s.SelectedPiece == -1 || s.SelectedPiece == 0) << step;
    ASSERT_EQ(s.Pieces.size(), count) << step;
    std::set<int> seen;
    for (const auto& p : s.Pieces) seen.insert(p.PicIndex);
    ASSERT_EQ(seen.size(), count) << step;
    if (afterDrop)
        for (const auto& p : s.Pieces) {
            ASSERT_EQ(p.Left % 11, 0) << step;
            ASSERT_EQ(p.Top % 11, 0) << step;
            ASSERT_FALSE(p.InGroup) << step;
        }
}

TEST(PlayFuzzTest, RandomEventSequencesKeepTheInvariants) {
    std::mt19937 rng(7177);
    const std::vector<int16_t> buttons{0, 1, 1, 1, 2, 4, 3, 7, -1};
    int drops = 0, turns = 0, giveUps = 0;
    for (int game = 0; game < 12; ++game) {
        PlayBoard b(4, 3, 2, 400, 300);  // PieceBox 40, PieceStep 22
        // Half the pieces solved in a block, the rest scattered on the grid.
        b.Solve(44, 44);
        for (auto& p : b.state.Pieces)
            if (rng() % 2) {
                p.Left = static_cast<int16_t>(11 * (rng() % 30));
                p.Top = static_cast<int16_t>(11 * (rng() % 22));
            }
        b.state.ChosenLevel = static_cast<int16_t>(game % 2 ? 3 : 1);
        b.view.Left = -20;
        b.view.Top = -10;
        const size_t count = b.state.Pieces.size();
        auto point = [&] {
            const int r = static_cast<int>(rng() % 20);
            if (r >= 10) {  // somewhere on a piece's square
                const auto& p = b.state.Pieces[rng() % count];
                return static_cast<float>((rng() % 2 ? p.Left : p.Top) + static_cast<int>(rng() % 41));
            }
            if (r == 0) return static_cast<float>(rng() % 2 ? 1e9 : -1e9);
            if (r == 1) return static_cast<float>(static_cast<int>(rng() % 80001) - 40000);
            return static_cast<float>(static_cast<int>(rng() % 2400) - 200) / 4.0f;
        };
        auto fire = [&](int step) {
            const int16_t button = buttons[rng() % buttons.size()];
            const float x = point(), y = point();
            const bool wasHeld = b.state.SelectedPiece >= 0 && b.state.GameRunning;
            switch (rng() % 3) {
                case 0: b.puzzle.picScreen_MouseDown(button, 0, x, y); break;
                case 1: b.puzzle.picScreen_MouseMove(button, 0, x, y); break;
                default: {
                    b.puzzle.picScreen_MouseUp(button, 0, x, y);
                    const bool dropped = wasHeld && button == game::LeftButton && !b.puzzle.GivingUp();
                    drops += dropped;
                    ExpectInvariants(b, count, dropped, step);
                    return;
                }
            }
            ExpectInvariants(b, count, false, step);
        };
        int inner = 0;
        b.host.OnDoEvents = [&] {
            for (int i = 0; i < 5; ++i) fire(-(++inner));
        };
        for (int step = 0; step < 2000; ++step) {
            const int r = static_cast<int>(rng() % 200);
            if (r == 0) {
                b.puzzle.MnDesistir_Click();
                ExpectInvariants(b, count, true, step);
            } else if (r == 1) {
                b.puzzle.mnuHints_Click();
            } else if (r < 4) {
                b.state.GameRunning = true;  // as a restart leaves it
            } else {
                fire(step);
            }
            if (HasFatalFailure()) return;
        }
        turns += static_cast<int>(std::count(b.host.Played.begin(), b.host.Played.end(), playtest::kGiro));
        giveUps += b.host.DoEventsCalls > 0;
    }
    // The sequences did reach every kind of work.
    EXPECT_GT(drops, 100);
    EXPECT_GT(turns, 20);
    EXPECT_GT(giveUps, 5);
}

}  // namespace
