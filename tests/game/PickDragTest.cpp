// Picking, dragging, grouping, turning and panning on a small board.
#include "game/Grouping.h"
#include "game/PlayBoard.h"

#include <gtest/gtest.h>

namespace {

using game::LeftButton;
using game::RightButton;
using playtest::PlayBoard;

TEST(PickTest, TransparentCornerPicksThePieceBelowOrNothing) {
    struct Case {
        bool pieceBelow;
        int picked;  // PicIndex at index 0 afterwards, -1 when nothing is held
    };
    for (const Case c : {Case{true, 1}, Case{false, -1}}) {
        SCOPED_TRACE(c.pieceBelow);
        PlayBoard b(2, 1);
        auto& top = b.state.Pieces[0];
        auto& below = b.state.Pieces[1];
        top.Left = 110;
        top.Top = 110;
        below.Left = 77;  // its body covers top's left corner margin
        below.Top = 77;
        if (!c.pieceBelow) below.Left = 400;
        // Top's transparent corner: inside its square, outside its body.
        const float x = 112, y = 112;
        b.puzzle.picScreen_MouseDown(LeftButton, 0, x, y);
        EXPECT_FALSE(b.puzzle.Panning);
        EXPECT_EQ(b.state.SelectedPiece, c.picked < 0 ? -1 : 0);
        if (c.picked >= 0) EXPECT_EQ(b.state.Pieces[0].PicIndex, c.picked);
        EXPECT_EQ(b.window.Refreshes, c.picked < 0 ? 0 : 1);
    }
}

TEST(PickTest, JustBeyondTheSquarePicksNothingAndStartsNoPan) {
    PlayBoard b(1, 1);
    auto& p = b.state.Pieces[0];
    p.Left = 110;
    p.Top = 220;
    for (auto [x, y] : {std::pair{110.0f + 80, 260.0f}, std::pair{150.0f, 220.0f + 80}}) {
        b.puzzle.picScreen_MouseDown(LeftButton, 0, x, y);
        EXPECT_EQ(b.state.SelectedPiece, -1);
        EXPECT_FALSE(b.puzzle.Panning);
    }
    // One pixel further is off every square: that press pans.
    b.puzzle.picScreen_MouseDown(LeftButton, 0, 110.0f + 81, 260.0f);
    EXPECT_TRUE(b.puzzle.Panning);
}

TEST(PickTest, PickMovesThePieceToTheTopAndKeepsTheOthersInOrder) {
    PlayBoard b(8, 1);
    const int picked = b.state.Pieces[5].PicIndex;
    b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(picked) + 0.4f, b.CentreY(picked) - 0.6f);
    const std::vector<int> order{5, 0, 1, 2, 3, 4, 6, 7};
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(b.state.Pieces[i].PicIndex, order[i]) << i;
    EXPECT_EQ(b.state.SelectedPiece, 0);
    EXPECT_EQ(b.puzzle.GrabDX, 40);   // rounded 40.4
    EXPECT_EQ(b.puzzle.GrabDY, 39);   // rounded 39.4
    EXPECT_EQ(b.puzzle.LastX, b.state.Pieces[0].Left + 40);
    EXPECT_EQ(b.host.Played, std::vector<QByteArray>{playtest::kClick});
}

// A 3 x 3 grid laid out solved at (99, 99), then one case at a time
// spoils something; the table says which pieces follow piece `held`.
TEST(GroupTest, JoinedUprightNeighboursFollowThePickedPiece) {
    struct Case {
        const char* name;
        int held;
        std::function<void(PlayBoard&)> spoil;
        std::vector<int> grouped;  // PicIndex of the pieces marked InGroup
    };
    const std::vector<Case> cases{
        {"whole block", 4, [](PlayBoard&) {}, {0, 1, 2, 3, 5, 6, 7, 8}},
        {"turned piece is picked alone", 4, [](PlayBoard& b) { b.Piece(4).Rotation = 1; }, {}},
        {"a turned neighbour stays behind with what hangs only on it", 0,
         [](PlayBoard& b) {
             b.Piece(1).Rotation = 2;
             b.Piece(4).Left += 11;  // cut 2 off from the middle
             b.Piece(5).Left += 11;
             b.Piece(7).Left += 11;
             b.Piece(8).Left += 11;
         },
         {3, 6}},
        {"one step off in the other axis does not join", 0, [](PlayBoard& b) { b.Piece(1).Top += 44; }, {3, 4, 5, 6, 7, 8, 2}},
        {"one snap step off does not join", 8,
         [](PlayBoard& b) {
             for (int i : {0, 1, 2, 3, 4, 5, 6}) b.Piece(i).Left -= 11;
         },
         {7}},
        {"a second left press without a release leaves the first group behind", 0,
         [](PlayBoard& b) {
             for (int i : {2, 5, 8}) b.Piece(i).Left += 11;  // the right column apart
             b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(2), b.CentreY(2));
         },
         {1, 3, 4, 6, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayBoard b(3, 3);
        b.Solve(99, 99);
        c.spoil(b);
        const game::PieceRec before = b.Piece(c.held);
        b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(c.held), b.CentreY(c.held));
        ASSERT_EQ(b.state.Pieces[0].PicIndex, c.held);
        std::vector<bool> want(9, false);
        for (int i : c.grouped) want[static_cast<size_t>(i)] = true;
        // A ring of joined pieces leads back to the held piece, which may
        // then carry the flag with offset 0: that is harmless.
        auto got = b.Grouped();
        if (got[static_cast<size_t>(c.held)]) {
            EXPECT_EQ(b.state.Pieces[0].GroupDX, 0);
            got[static_cast<size_t>(c.held)] = false;
        }
        EXPECT_EQ(got, want);
        for (const auto& p : b.state.Pieces)
            if (p.InGroup && p.PicIndex != c.held) {
                EXPECT_EQ(p.GroupDX, p.Left - before.Left);
                EXPECT_EQ(p.GroupDY, p.Top - before.Top);
            }
        // The group moves as one and lands together.
        const float x = b.CentreX(c.held) + 33, y = b.CentreY(c.held) + 22;
        b.puzzle.picScreen_MouseMove(LeftButton, 0, x, y);
        b.puzzle.picScreen_MouseUp(LeftButton, 0, x, y);
        for (int i : c.grouped) {
            EXPECT_EQ(b.Piece(i).Left - b.Piece(c.held).Left, (b.Piece(i).Col - b.Piece(c.held).Col) * 44) << i;
            EXPECT_EQ(b.Piece(i).Top - b.Piece(c.held).Top, (b.Piece(i).Row - b.Piece(c.held).Row) * 44) << i;
        }
    }
}

TEST(GroupTest, LeftColumnNeverLooksLeft) {
    // The last piece of row 0 lies exactly left of the first piece of row 1.
    PlayBoard b(3, 2);
    b.Piece(3).Left = 300;
    b.Piece(3).Top = 300;
    b.Piece(2).Left = 256;
    b.Piece(2).Top = 300;
    b.state.SelectedPiece = 0;
    std::rotate(b.state.Pieces.begin(), b.state.Pieces.begin() + b.IndexOf(3), b.state.Pieces.begin() + b.IndexOf(3) + 1);
    game::CollectGroup(b.state, 0);
    EXPECT_EQ(b.GroupCount(), 0);
    // The same layout one column in does join.
    PlayBoard c(3, 2);
    c.Piece(4).Left = 300;
    c.Piece(4).Top = 300;
    c.Piece(3).Left = 256;
    c.Piece(3).Top = 300;
    c.puzzle.picScreen_MouseDown(LeftButton, 0, c.CentreX(4), c.CentreY(4));
    EXPECT_TRUE(c.Piece(3).InGroup);
}

TEST(TurnTest, AnotherButtonTurnsOnlyALoneHeldPieceAtTheTurningLevels) {
    struct Case {
        const char* name;
        int16_t level;
        bool joinedNeighbour;
        bool holding;
        int16_t button;
        bool turns;
    };
    for (const Case c : {Case{"Fácil, alone", 3, false, true, RightButton, true},
                         Case{"middle button", 5, false, true, game::MiddleButton, true},
                         Case{"with a joined neighbour", 3, true, true, RightButton, false},
                         Case{"Kids B", 1, false, true, RightButton, false},
                         Case{"no piece held", 3, false, false, RightButton, false}}) {
        SCOPED_TRACE(c.name);
        PlayBoard b(2, 1);
        b.state.ChosenLevel = c.level;
        if (c.joinedNeighbour) b.Solve(100, 100);
        if (c.holding) b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(0), b.CentreY(0));
        const int refreshes = b.window.Refreshes;
        const size_t played = b.host.Played.size();
        b.puzzle.picScreen_MouseDown(c.button, 0, b.CentreX(0), b.CentreY(0));
        EXPECT_EQ(b.Piece(0).Rotation, c.turns ? 1 : 0);
        EXPECT_EQ(b.window.Refreshes, refreshes + (c.turns ? 1 : 0));
        EXPECT_EQ(b.host.Played.size(), played + (c.turns ? 1 : 0));
        if (c.turns) EXPECT_EQ(b.host.Played.back(), playtest::kGiro);
        EXPECT_EQ(b.state.SelectedPiece, c.holding ? 0 : -1);
        EXPECT_FALSE(b.puzzle.Panning);
    }
}

TEST(DragTest, MovesFollowThePointerAndTheSamePixelDoesNothing) {
    PlayBoard b(2, 1);
    b.puzzle.picScreen_MouseDown(LeftButton, 0, 40, 40);
    ASSERT_EQ(b.state.SelectedPiece, 0);
    const int refreshes = b.window.Refreshes;
    b.puzzle.picScreen_MouseMove(LeftButton, 0, 40, 40);
    EXPECT_EQ(b.window.Refreshes, refreshes);
    b.puzzle.picScreen_MouseMove(LeftButton, 0, 1040.5f, -959.5f);  // halves go to even
    EXPECT_EQ(b.state.Pieces[0].Left, 1000);
    EXPECT_EQ(b.state.Pieces[0].Top, -1000);
    EXPECT_EQ(b.window.Refreshes, refreshes + 1);
    EXPECT_EQ(b.puzzle.LastX, 1040);
    EXPECT_EQ(b.puzzle.LastY, -960);
}

TEST(PanTest, PressesThatGrabTheBoard) {
    struct Case {
        const char* name;
        bool running;
        int16_t button;
        bool pans;
    };
    for (const Case c : {Case{"no game, right", false, RightButton, true},
                         Case{"no game, on a piece", false, LeftButton, true},
                         Case{"game, right on empty board", true, RightButton, false},
                         Case{"game, left on empty board", true, LeftButton, true}}) {
        SCOPED_TRACE(c.name);
        PlayBoard b(1, 1);
        b.state.GameRunning = c.running;
        const float x = c.button == LeftButton && !c.running ? 40.0f : 500.0f;
        b.puzzle.picScreen_MouseDown(c.button, 0, x, 300.5f);
        EXPECT_EQ(b.puzzle.Panning, c.pans);
        EXPECT_EQ(b.state.SelectedPiece, -1);
        if (c.pans) EXPECT_EQ(b.puzzle.PanY, 300);
    }
}

TEST(PanTest, LimitsDropTheMoveOnThatAxis) {
    // Board 800 x 600 in a 400 x 300 client area: Top may lie in (-300, 0].
    struct Case {
        float dy;
        int16_t top;
    };
    for (const Case c : {Case{-100, -200}, Case{100, 0}, Case{101, -100}, Case{100.5f, 0}, Case{-199, -299},
                         Case{-200, -100}}) {
        SCOPED_TRACE(c.dy);
        PlayBoard b(1, 1);
        b.state.GameRunning = false;
        b.view.Left = -50;
        b.view.Top = -100;
        b.puzzle.picScreen_MouseDown(RightButton, 0, 500, 400);
        b.puzzle.picScreen_MouseMove(RightButton, 0, 510, 400 + c.dy);
        EXPECT_EQ(b.view.Top, c.top);
        EXPECT_EQ(b.view.Left, -40);
        b.puzzle.picScreen_MouseUp(RightButton, 0, 0, 0);
        EXPECT_FALSE(b.puzzle.Panning);
    }
}

}  // namespace
