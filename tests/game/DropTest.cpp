// Dropping onto the snap grid, the right-place cue and completion.
#include "game/Completion.h"
#include "game/PlayBoard.h"

#include <gtest/gtest.h>

namespace {

using game::LeftButton;
using game::RightButton;
using playtest::PlayBoard;
using Cues = std::vector<QByteArray>;

TEST(DropTest, ReleasePointSnapsToTheElevenPixelGrid) {
    struct Case {
        float at;  // release point minus the grab offset
        int16_t lands;
    };
    for (const Case c : {Case{126, 121}, Case{127, 132}, Case{-5, 0}, Case{-6, -11}, Case{5.5f, 0}, Case{16.5f, 22}, Case{5.51f, 11}}) {
        SCOPED_TRACE(c.at);
        PlayBoard b(2, 1);
        b.puzzle.picScreen_MouseDown(LeftButton, 0, 40, 40);
        ASSERT_EQ(b.puzzle.GrabDX, 40);
        b.puzzle.picScreen_MouseUp(LeftButton, 0, c.at + 40, c.at + 40);
        EXPECT_EQ(b.Piece(0).Left, c.lands);
        EXPECT_EQ(b.Piece(0).Top, c.lands);
        EXPECT_EQ(b.state.SelectedPiece, -1);
    }
}

TEST(DropTest, EveryPieceIsSnappedAndNoneStaysGrouped) {
    PlayBoard b(3, 2);
    b.Piece(5).Left = 305;  // off the grid, resting
    b.Piece(5).Top = -17;
    b.Piece(5).InGroup = true;
    // Resting at the 16-bit edges, whose nearest multiples lie beyond them.
    b.Piece(4).Left = 32767;
    b.Piece(4).Top = -32768;
    b.puzzle.picScreen_MouseDown(LeftButton, 0, 40, 40);
    b.puzzle.picScreen_MouseUp(LeftButton, 0, 40, 40);
    EXPECT_EQ(b.Piece(5).Left, 308);
    EXPECT_EQ(b.Piece(5).Top, -22);
    EXPECT_EQ(b.Piece(4).Left, 32758);
    EXPECT_EQ(b.Piece(4).Top, -32758);
    for (const auto& p : b.state.Pieces) {
        EXPECT_EQ(p.Left % 11, 0);
        EXPECT_EQ(p.Top % 11, 0);
        EXPECT_FALSE(p.InGroup);
    }
}

TEST(DropTest, CuesAndCompletion) {
    using playtest::kClick;
    using playtest::kComplete;
    using playtest::kRotate;
    struct Case {
        const char* name;
        std::function<void(PlayBoard&)> layout;
        int piece;           // picked and dropped where it lies
        Cues cues;
        bool completes;
        bool soundsOn = true;
    };
    const std::vector<Case> cases{
        {"scattered, a piece out of place", [](PlayBoard&) {}, 1, {kClick, kClick}, false},
        {"the top-left piece is its own reference", [](PlayBoard&) {}, 0, {kClick, kClick, kRotate}, false},
        {"last piece dropped home completes", [](PlayBoard& b) { b.Solve(220, 330); }, 3,
         {kClick, kClick, kRotate, kComplete}, true},
        {"turned top-left piece: nothing is ever in place",
         [](PlayBoard& b) {
             b.Solve(220, 330);
             b.Piece(0).Rotation = 2;
         },
         3, {kClick, kClick}, false},
        {"a turned piece at home is not in place",
         [](PlayBoard& b) {
             b.Solve(220, 330);
             b.Piece(2).Rotation = 1;
         },
         3, {kClick, kClick, kRotate}, false},
        {"one snap step right of home is not in place",
         [](PlayBoard& b) {
             b.Solve(220, 330);
             b.Piece(3).Left += 11;
         },
         3, {kClick, kClick}, false},
        {"sound option off: the completing drop plays nothing", [](PlayBoard& b) { b.Solve(220, 330); }, 3, {}, true,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlayBoard b(2, 2);
        c.layout(b);
        const game::PieceRec before = b.Piece(c.piece);
        b.window.Timer = true;
        b.window.Sounds = c.soundsOn;
        // The chime sounds as the box comes, not once it is closed.
        Cues playedWhileShown;
        b.host.OnMessage = [&](const platform::MessageBox&) { playedWhileShown = b.host.Played; };
        b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(c.piece), b.CentreY(c.piece));
        b.puzzle.picScreen_MouseUp(LeftButton, 0, b.CentreX(c.piece), b.CentreY(c.piece));
        EXPECT_EQ(b.Piece(c.piece).Left, before.Left);
        EXPECT_EQ(b.state.Pieces[0].PicIndex, c.piece);
        EXPECT_EQ(b.host.Played, c.cues);
        EXPECT_EQ(b.state.GameRunning, !c.completes);
        EXPECT_EQ(b.window.Timer, !c.completes);
        ASSERT_EQ(b.host.Messages.size(), c.completes ? 1u : 0u);
        if (c.completes) {
            const auto& box = b.host.Messages[0];
            EXPECT_EQ(box.Text, QStringLiteral("Jogo Completo"));
            EXPECT_EQ(box.Title, QStringLiteral("Parabéns!!"));
            EXPECT_EQ(box.Icon, platform::MsgIcon::Exclamation);
            EXPECT_EQ(box.Buttons, platform::MsgButtons::Ok);
            EXPECT_EQ(playedWhileShown, c.cues);
        }
    }
}

TEST(DropTest, CompletionWaitsForTheReleaseAfterATurn) {
    PlayBoard b(2, 2);
    b.Solve(220, 330);
    b.Piece(3).Rotation = 3;
    b.puzzle.picScreen_MouseDown(LeftButton, 0, b.CentreX(3), b.CentreY(3));
    b.puzzle.picScreen_MouseDown(RightButton, 0, b.CentreX(3), b.CentreY(3));
    EXPECT_EQ(b.Piece(3).Rotation, 0);
    b.puzzle.picScreen_MouseUp(RightButton, 0, b.CentreX(3), b.CentreY(3));
    EXPECT_TRUE(b.state.GameRunning);
    EXPECT_EQ(b.state.SelectedPiece, 0);  // the right release drops nothing
    EXPECT_TRUE(b.host.Messages.empty());
    b.puzzle.picScreen_MouseUp(LeftButton, 0, b.CentreX(3), b.CentreY(3));
    EXPECT_FALSE(b.state.GameRunning);
    EXPECT_EQ(b.host.Messages.size(), 1u);
}

TEST(DropTest, ReleaseWithoutAGameOrAPieceOnlyEndsThePan) {
    for (bool running : {false, true}) {
        PlayBoard b(2, 1);
        b.state.GameRunning = running;
        b.puzzle.picScreen_MouseDown(LeftButton, 0, 700, 500);
        EXPECT_TRUE(b.puzzle.Panning);
        const auto pieces = b.state.Pieces;
        b.puzzle.picScreen_MouseUp(LeftButton, 0, 701, 501);
        EXPECT_FALSE(b.puzzle.Panning);
        EXPECT_EQ(b.state.Pieces, pieces);
        EXPECT_EQ(b.window.Refreshes, 0);
        EXPECT_TRUE(b.host.Played.empty());
    }
}

TEST(CompletionTest, ReferenceAndSnapHelpers) {
    PlayBoard b(2, 2);
    EXPECT_FALSE(game::IsComplete(b.state, 0, 0));
    b.Solve(-440, 1100);
    EXPECT_TRUE(game::IsComplete(b.state, -440, 1100));  // anywhere on or off the board
    EXPECT_EQ(game::FindReference(b.state)->X0, -440);
    b.Piece(0).Rotation = 1;
    EXPECT_FALSE(game::FindReference(b.state).has_value());
    b.state.SnapDiv = 0;
    EXPECT_EQ(game::SnapStep(b.state), 1);
    EXPECT_EQ(game::SnapToGrid(-5.5, 11), 0);
    EXPECT_EQ(game::SnapToGrid(-16.5, 11), -22);
}

}  // namespace
