// The give-up animation and the hint boxes.
#include "game/PlayBoard.h"

#include <gtest/gtest.h>

namespace {

using game::LeftButton;
using playtest::PlayBoard;

constexpr uint32_t kYellow = 0xFFFFFF00u;

// The board of a 1280 x 1024 screen, centred: the visible corner is board
// point (160, 128).
void CentreOn1280(PlayBoard& b) {
    b.view.Left = -160;
    b.view.Top = -128;
}

TEST(GiveUpTest, SolvesFromTheVisibleCornerTwoPiecesAStep) {
    struct Case {
        int16_t cols, rows;
        int doEvents, refreshes;
    };
    for (const Case c : {Case{3, 2, 3, 4}, Case{5, 1, 2, 3}}) {
        SCOPED_TRACE(c.cols * c.rows);
        PlayBoard b(c.cols, c.rows);
        CentreOn1280(b);
        b.window.Timer = true;
        b.Piece(1).Rotation = 1;
        b.Piece(2).Rotation = 3;
        int disabledSteps = 0;
        b.host.OnDoEvents = [&] {
            if (!b.window.BoardEnabled && b.puzzle.GivingUp() && !b.state.GameRunning) ++disabledSteps;
        };
        b.puzzle.MnDesistir_Click();
        EXPECT_EQ(b.host.DoEventsCalls, c.doEvents);
        EXPECT_EQ(disabledSteps, c.doEvents);
        EXPECT_EQ(b.window.Refreshes, c.refreshes);
        for (const auto& p : b.state.Pieces) {
            EXPECT_EQ(p.Rotation, 0);
            EXPECT_EQ(p.Left, 154 + p.Col * 44);
            EXPECT_EQ(p.Top, 121 + p.Row * 44);
        }
        EXPECT_FALSE(b.state.GameRunning);
        EXPECT_FALSE(b.window.Timer);
        EXPECT_TRUE(b.window.BoardEnabled);
        EXPECT_FALSE(b.puzzle.GivingUp());
        EXPECT_TRUE(b.host.Played.empty());
        EXPECT_TRUE(b.host.Messages.empty());
    }
}

TEST(GiveUpTest, TurnedTopLeftPieceIsTurnedUprightAndAnchorsAtTheCorner) {
    PlayBoard b(2, 2);
    CentreOn1280(b);
    b.Piece(0).Rotation = 2;
    b.Solve(0, 0);  // already solved elsewhere, but for the turn
    b.puzzle.MnDesistir_Click();
    EXPECT_EQ(b.Piece(0).Rotation, 0);
    EXPECT_EQ(b.Piece(0).Left, 154);
    EXPECT_EQ(b.Piece(3).Top, 121 + 44);
}

TEST(GiveUpTest, AHeldPieceIsLetGoAndEventsDuringTheAnimationAreIgnored) {
    PlayBoard b(3, 3);
    b.Solve(99, 99);
    b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(4), b.CentreY(4));
    ASSERT_EQ(b.state.SelectedPiece, 0);
    ASSERT_GT(b.GroupCount(), 0);
    b.host.OnDoEvents = [&] {
        b.puzzle.picScreen_MouseDown(game::RightButton, 0, 500, 500);
        b.puzzle.picScreen_MouseMove(game::RightButton, 0, 600, 550);
        b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(0), b.CentreY(0));
        b.puzzle.picScreen_MouseUp(LeftButton, 0, 0, 0);
    };
    const game::BoardView view = b.view;
    b.puzzle.MnDesistir_Click();
    EXPECT_EQ(b.state.SelectedPiece, -1);
    EXPECT_EQ(b.GroupCount(), 0);
    EXPECT_FALSE(b.puzzle.Panning);
    EXPECT_EQ(b.view.Left, view.Left);
    EXPECT_EQ(b.view.Top, view.Top);
    for (const auto& p : b.state.Pieces) EXPECT_EQ(p.Left, -11 + p.Col * 44);  // nearest((10 - 20) / 11) = -1
}

TEST(GiveUpTest, AGameStartedDuringTheAnimationStopsIt) {
    struct Case {
        const char* name;
        bool newCut;  // a new or loaded game replaces the pieces; a restart keeps them
    };
    for (const Case c : {Case{"new game", true}, Case{"restart", false}}) {
        SCOPED_TRACE(c.name);
        PlayBoard b(4, 2);
        std::vector<game::PieceRec> started;
        b.host.OnDoEvents = [&] {
            if (c.newCut) {
                b.state.Pieces.resize(3);
                ++b.state.Generation;
            } else {
                for (auto& p : b.state.Pieces) p.Left = 550;
            }
            b.state.GameRunning = true;
            b.window.Timer = true;
            started = b.state.Pieces;
        };
        b.puzzle.MnDesistir_Click();
        EXPECT_EQ(b.host.DoEventsCalls, 1);
        EXPECT_EQ(b.state.Pieces, started);
        EXPECT_TRUE(b.state.GameRunning);
        EXPECT_TRUE(b.window.Timer);
        EXPECT_TRUE(b.window.BoardEnabled);
        EXPECT_FALSE(b.puzzle.GivingUp());
    }
}

TEST(HintTest, MarksTheTopMostPieceOutOfPlace) {
    struct Case {
        const char* name;
        std::function<void(PlayBoard&)> layout;
        std::vector<std::pair<int, int>> boxes;  // top-left corners, in drawing order
    };
    const std::vector<Case> cases{
        {"one piece away",
         [](PlayBoard& b) {
             b.Piece(4).Left = 440;
             b.Piece(4).Top = 330;
         },
         {{110 + 44 + 18, 110 + 44 + 18}, {458, 348}}},
        {"every piece in place", [](PlayBoard&) {}, {}},
        {"the top-most of two",
         [](PlayBoard& b) {
             b.Piece(4).Left = 440;
             std::rotate(b.state.Pieces.begin(), b.state.Pieces.begin() + 5, b.state.Pieces.begin() + 6);
             b.Piece(5).Left = 660;  // now at index 0
         },
         {{110 + 88 + 18, 110 + 44 + 18}, {678, 110 + 44 + 18}}},
        {"turned top-left piece: measured from the board origin",
         [](PlayBoard& b) { b.Piece(0).Rotation = 1; },
         {{18, 18}, {128, 128}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayBoard b(3, 2);
        b.Solve(110, 110);
        c.layout(b);
        b.surfaces.picScreen.Fill(platform::kBlack);
        const auto pieces = b.state.Pieces;
        b.puzzle.mnuHints_Click();

        platform::Surface expected(b.surfaces.picScreen.Width(), b.surfaces.picScreen.Height(), platform::kBlack);
        for (auto [x, y] : c.boxes)
            for (int v = y; v <= y + 44; ++v)
                for (int u = x; u <= x + 44; ++u) expected.SetPixel(u, v, kYellow);
        EXPECT_TRUE(b.surfaces.picScreen == expected);
        EXPECT_EQ(b.window.Refreshes, c.boxes.empty() ? 0 : 1);
        EXPECT_EQ(b.state.Pieces, pieces);
        EXPECT_TRUE(b.host.Played.empty());
    }
}

TEST(HintTest, BeforeAnyGameDoesNothing) {
    PlayBoard b(2, 2);
    b.state.Pieces.clear();
    b.state.GameRunning = false;
    b.puzzle.mnuHints_Click();
    b.puzzle.MnDesistir_Click();
    EXPECT_EQ(b.window.Refreshes, 0);
    EXPECT_TRUE(b.window.BoardEnabled);
}

}  // namespace
