// Scattering the pieces and the restart command: every piece placed once on
// the 11-pixel grid, outside the picture area, over the part of the board the
// window shows; turns by level, never on the last piece.
#include "game/Levels.h"
#include "game/Numeric.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "game/Scatter.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"
#include "tools/MaskStrip.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <utility>
#include <vector>

namespace {

// The scatter's generator, seeded, or scripted: a draw right after a reseed
// picks the order and then gives the pieces in array order (piece i takes
// slot i); every other draw is the next of the scripted ones, 0 when they
// have run out.
class ScatterRandom : public platform::Random {
public:
    using platform::Random::Random;

    void Script(int lastIndex, std::vector<double> draws) {
        m_Scripted = true;
        m_LastIndex = lastIndex;
        m_Draws.assign(draws.begin(), draws.end());
        m_OrderDraws = 0;
    }

    void Randomize(double timeOfDay) override {
        m_AfterReseed = true;
        if (!m_Scripted) platform::Random::Randomize(timeOfDay);
    }
    double Next() override {
        const bool order = m_AfterReseed;
        m_AfterReseed = false;
        if (!m_Scripted) return platform::Random::Next();
        if (order) {
            const int i = m_OrderDraws++;
            return i == 0 ? 0.0 : (i - 0.5) / m_LastIndex;  // Int(r x U + 1) = i
        }
        if (m_Draws.empty()) return 0.0;
        const double r = m_Draws.front();
        m_Draws.pop_front();
        return r;
    }

private:
    bool m_Scripted = false;
    bool m_AfterReseed = false;
    int m_LastIndex = 1;
    int m_OrderDraws = 0;
    std::deque<double> m_Draws;
};

struct ScatterBoard {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    ScatterRandom random{12345};
    game::Puzzle puzzle{state, surfaces, view, window, host, random};

    // A cut game at `level` on a 1920-pixel screen, the picture cols x rows cells.
    ScatterBoard(int16_t level, int16_t cols, int16_t rows) {
        state.ScreenW = 1920;
        game::ChooseLevel(state, level);
        state.GameLevel = level;
        view.Width = 2400;
        view.Height = 1350;
        view.Left = -240;
        view.Top = -135;
        view.ScaleWidth = 1920;
        view.ScaleHeight = 1000;
        surfaces.picScreen.Resize(2400, 1350);
        surfaces.picBG.Resize(2400, 1350, 0xFFE7FDFEu);
        surfaces.picMasks[0] = tools::MaskStrip();
        game::PuzzleModule::PrepareMasks(surfaces, state.PieceBox);
        surfaces.picMaster.Resize(cols * state.PieceStep, rows * state.PieceStep, 0xFF336699u);
        game::PuzzleModule::CutPieces(state, surfaces, surfaces.picMaster);
        for (game::PieceRec& p : state.Pieces) p.Left = p.Top = 1;  // on no grid point
    }

    int Shuffle() {
        return game::ShufflePieces(state, surfaces, view, random, [this] { return host.TimeOfDay(); });
    }
};

}  // namespace

TEST(Scatter, EveryPieceGetsItsOwnSlotOnTheGridOutsideThePicture) {
    for (int16_t level : {game::KidsA, game::Easy, game::Hard}) {
        SCOPED_TRACE(level);
        ScatterBoard b(level, 6, 4);
        b.Shuffle();
        const double masterW = b.surfaces.picMaster.Width(), masterH = b.surfaces.picMaster.Height();
        std::set<std::pair<int, int>> places;
        for (const game::PieceRec& p : b.state.Pieces) {
            EXPECT_EQ(p.Left % 11, 0);
            EXPECT_EQ(p.Top % 11, 0);
            places.insert({p.Left, p.Top});
            // The slot lies within 5.5 pixels of Left + 20 in window pixels;
            // even the farthest it can be must clear the picture area.
            const double slotX = p.Left + b.view.Left + 20 + 5.5, slotY = p.Top + b.view.Top + 20 + 5.5;
            EXPECT_TRUE(slotX - b.state.PieceStep >= masterW || slotY - b.state.PieceStep >= masterH)
                << p.Left << "," << p.Top;
        }
        EXPECT_EQ(places.size(), b.state.Pieces.size());
        // Piece 0 takes the first slot, in the first row at 2 units down.
        EXPECT_EQ(b.state.Pieces[0].Top, game::Int16(std::nearbyint((2 * b.state.SnapDiv - b.view.Top - 20) / 11.0) * 11));
    }
}

TEST(Scatter, SlotsStepAlongRowsFromScriptedDraws) {
    // 4 x 2 pieces of 66 pixels: the picture area is 264 x 132. A snap unit
    // as large as the step makes the grid 1 pixel, so every piece lies 1
    // pixel (PieceBox \ SnapDiv) up and left of its slot, in board pixels.
    ScatterBoard b(game::Easy, 4, 2);
    b.state.ChosenLevel = game::KidsA;  // no turns
    b.state.SnapDiv = 66;
    b.state.GapUnits = 1;  // a gap of 66: a step is 66 + 66 + 1 or 2
    b.view.ScaleWidth = 666;
    b.random.Script(7, {0.0, 0.75, 0.0, 0.75, 0.0, 0.75, 0.0, 0.75, 0.0, 0.75, 0.0});
    b.Shuffle();
    const struct {
        int X, Y;  // the slot in window pixels
    } slot[] = {
        {399, 132},  // from 2 x 66 = 132: a step to 265 is still over the picture, the next clears it
        {532, 132},
        {66, 265},  // 666 + 66 passes the width: a new row 133 down, at X = 66 since it lies below the picture
        {200, 265}, {333, 265}, {467, 265},
        {600, 265},  // 600 + 66 is the width itself: still this row
        {66, 398},
    };
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(b.state.Pieces[p].Left, slot[p].X - b.view.Left - 1) << p;
        EXPECT_EQ(b.state.Pieces[p].Top, slot[p].Y - b.view.Top - 1) << p;
    }
}

TEST(Scatter, TurnsByLevelNeverTheLastPiece) {
    const struct {
        int16_t Chosen, Running;
        double Factor;
    } cases[] = {{game::KidsA, game::KidsA, 0.0}, {game::KidsB, game::KidsB, 0.0}, {game::Easy, game::Easy, 0.7},
                 {game::Medium, game::Medium, 0.7}, {game::Hard, game::Hard, 0.7},
                 // A harder level chosen over a running "Kids" game, then a restart.
                 {game::Hard, game::KidsA, 0.2}, {game::Hard, game::KidsB, 0.5}};
    for (const auto& c : cases) {
        for (int seed = 1; seed <= 8; ++seed) {
            SCOPED_TRACE(testing::Message() << c.Chosen << "/" << c.Running << " seed " << seed);
            ScatterBoard b(c.Running, 5, 4);
            b.state.ChosenLevel = c.Chosen;
            b.random = ScatterRandom(static_cast<uint64_t>(seed));
            const int U = static_cast<int>(b.state.Pieces.size()) - 1;
            const int turns = b.Shuffle();
            int quarterTurns = 0;
            for (const game::PieceRec& p : b.state.Pieces) quarterTurns += p.Rotation;
            if (c.Factor == 0.0) {
                EXPECT_EQ(turns, 0);
            } else {
                EXPECT_GE(turns, 1);
                EXPECT_LE(turns, static_cast<int>(U * c.Factor) + 1);
            }
            EXPECT_EQ(quarterTurns % 4, turns % 4);
            EXPECT_EQ(b.state.Pieces.back().Rotation, 0);
        }
    }
    // The count drawn from a known r: Int(r x U x f) + 1 turns, U = 5, with
    // r x U x f just above or just below a whole number.
    const struct {
        int16_t Running;
        double R;
        int Turns;
    } scripted[] = {{game::Easy, 0.572, 3},   // 0.572 x 5 x 0.7 = 2.002
                    {game::Hard, 0.857, 3},   // 2.9995
                    {game::KidsB, 0.801, 3},  // 0.801 x 5 x 0.5 = 2.0025
                    {game::KidsB, 0.799, 2}};
    for (const auto& c : scripted) {
        SCOPED_TRACE(testing::Message() << c.Running << " r " << c.R);
        ScatterBoard b(c.Running, 3, 2);
        b.state.ChosenLevel = game::Hard;
        b.surfaces.picMaster.Resize(1, 1);  // one slot draw per piece
        std::vector<double> draws(6, 0.0);
        draws.push_back(c.R);
        b.random.Script(5, draws);  // every turn on piece 0
        EXPECT_EQ(b.Shuffle(), c.Turns);
        EXPECT_EQ(b.state.Pieces[0].Rotation, c.Turns % 4);
    }
}

TEST(Scatter, SameSeedSameLayoutAndPanningMovesIt) {
    ScatterBoard a(game::Easy, 5, 3), b(game::Easy, 5, 3), c(game::Easy, 5, 3);
    c.view.Left = static_cast<int16_t>(a.view.Left - 110);  // the board scrolled 110 pixels on
    a.Shuffle();
    b.Shuffle();
    c.Shuffle();
    EXPECT_EQ(a.state.Pieces, b.state.Pieces);
    for (size_t i = 0; i < a.state.Pieces.size(); ++i) {
        EXPECT_EQ(c.state.Pieces[i].Left, a.state.Pieces[i].Left + 110);
        EXPECT_EQ(c.state.Pieces[i].Top, a.state.Pieces[i].Top);
    }
}

TEST(Scatter, ReseedingWithAFrozenClockStillFindsEveryPiece) {
    ScatterBoard b(game::Hard, 12, 9);
    b.host.Time = 0.0;  // the clock never moves between tries
    b.Shuffle();
    std::set<std::pair<int, int>> places;
    for (const game::PieceRec& p : b.state.Pieces) places.insert({p.Left, p.Top});
    EXPECT_EQ(places.size(), b.state.Pieces.size());
}

TEST(Scatter, RowsBeyondThe16BitRangeFailAndMoveNothing) {
    ScatterBoard b(game::Easy, 2, 2);
    b.surfaces.picMaster.Resize(1, 32760);  // no slot fits above this
    b.view.ScaleWidth = 10;                 // every slot starts a new row
    const auto before = b.state.Pieces;
    EXPECT_THROW(b.Shuffle(), game::Overflow16);
    EXPECT_EQ(b.state.Pieces, before);
}

TEST(Restart, AskingAndAnswering) {
    ScatterBoard b(game::Easy, 4, 3);
    b.Shuffle();
    b.state.ElapsedSecs = 77;
    b.state.GameRunning = false;  // a finished game
    const auto before = b.state.Pieces;

    b.host.Answers.push_back(platform::MsgAnswer::No);
    b.puzzle.mnuShuffle_Click();
    ASSERT_EQ(b.host.Messages.size(), 1u);
    const platform::MessageBox& box = b.host.Messages[0];
    EXPECT_EQ(box.Text, QString::fromUtf8("Tem certeza de que deseja reiniciar este jogo do começo?"));
    EXPECT_EQ(box.Buttons, platform::MsgButtons::YesNo);
    EXPECT_EQ(box.Icon, platform::MsgIcon::Question);
    EXPECT_TRUE(box.Title.isEmpty());
    EXPECT_FALSE(box.DefaultSecond);
    EXPECT_EQ(b.state.Pieces, before);
    EXPECT_EQ(b.state.ElapsedSecs, 77);
    EXPECT_FALSE(b.window.Timer);

    b.host.Answers.push_back(platform::MsgAnswer::Yes);
    b.puzzle.mnuShuffle_Click();
    EXPECT_NE(b.state.Pieces, before);
    EXPECT_EQ(b.state.ElapsedSecs, 0);
    EXPECT_TRUE(b.state.GameRunning);
    EXPECT_TRUE(b.window.Timer);
    EXPECT_FALSE(b.host.Busy);
    EXPECT_EQ(b.window.Refreshes, 1);
    // The board shows the pieces: the top piece's body is drawn at its place.
    const game::PieceRec& top = b.state.Pieces[0];
    const int m = (b.state.PieceBox - b.state.PieceStep) / 2;
    EXPECT_EQ(b.surfaces.picScreen.Pixel(top.Left + m + 5, top.Top + m + 5), 0xFF336699u);

    // Another restart adds its turns to those the pieces have: one quarter
    // turn of piece 0 each time.
    const int U = static_cast<int>(b.state.Pieces.size()) - 1;
    b.surfaces.picMaster.Resize(1, 1);  // one slot draw per piece
    const int16_t turned = b.state.Pieces[0].Rotation;
    for (int restart = 1; restart <= 2; ++restart) {
        b.random.Script(U, std::vector<double>(static_cast<size_t>(U) + 3, 0.0));
        b.host.Answers.push_back(platform::MsgAnswer::Yes);
        b.puzzle.mnuShuffle_Click();
        EXPECT_EQ(b.state.Pieces[0].Rotation, (turned + restart) % 4) << restart;
    }
}

TEST(Restart, DoesNothingBeforeTheFirstCut) {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random;
    game::Puzzle puzzle{state, surfaces, view, window, host, random};
    puzzle.mnuShuffle_Click();
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_FALSE(window.Timer);
    EXPECT_FALSE(state.GameRunning);
}
