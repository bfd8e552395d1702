// The group walk: the same pieces, offsets and flags as the plain recursive
// walk it replaces, and no stack exhaustion on a chain of hundreds.
#include "game/Grouping.h"
#include "game/PlayBoard.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using playtest::PlayBoard;

// The walk written as recursion, straight from the rules, as a reference.
struct RecursiveWalk {
    game::GameState& s;
    enum Dir { L, R, U, D };
    void Walk(int i, Dir d) {
        const auto& from0 = s.Pieces[static_cast<size_t>(i)];
        const bool entry = d == L ? from0.Col >= 1 : d == R ? from0.Col < s.Cols - 1 : d == U ? from0.Row >= 1 : from0.Row < s.Rows - 1;
        if (!entry) return;
        const int dc = d == L ? -1 : d == R ? 1 : 0, dr = d == U ? -1 : d == D ? 1 : 0;
        for (;;) {
            const auto& from = s.Pieces[static_cast<size_t>(i)];
            const int wanted = from.PicIndex + dc + dr * s.Cols;
            int k = -1;
            for (int j = 0; j < static_cast<int>(s.Pieces.size()); ++j)
                if (j != i && s.Pieces[static_cast<size_t>(j)].PicIndex == wanted) {
                    k = j;
                    break;
                }
            if (k < 0) return;
            auto& to = s.Pieces[static_cast<size_t>(k)];
            if (to.InGroup || to.Rotation != 0 || to.Col != from.Col + dc || to.Row != from.Row + dr ||
                to.Left != from.Left + dc * s.PieceStep || to.Top != from.Top + dr * s.PieceStep)
                return;
            to.GroupDX = static_cast<int16_t>(to.Left - s.Pieces[static_cast<size_t>(s.SelectedPiece)].Left);
            to.GroupDY = static_cast<int16_t>(to.Top - s.Pieces[static_cast<size_t>(s.SelectedPiece)].Top);
            to.InGroup = true;
            if (d == L || d == R) {
                Walk(k, U);
                Walk(k, D);
            } else if (d == U) {
                Walk(k, R);
                Walk(k, L);
            } else {
                Walk(k, L);
                Walk(k, R);
            }
            i = k;
        }
    }
    void Collect(int h) {
        Walk(h, L);
        Walk(h, R);
        Walk(h, U);
        Walk(h, D);
    }
};

TEST(GroupingTest, MatchesTheRecursiveWalkOnRandomBoards) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 2000; ++round) {
        game::GameState s;
        s.PieceStep = 11;
        s.Cols = 6;
        s.Rows = 5;
        for (int16_t k = 0; k < 30; ++k) {
            game::PieceRec p;
            p.PicIndex = k;
            p.Row = static_cast<int16_t>(k / 6);
            p.Col = static_cast<int16_t>(k % 6);
            p.Left = static_cast<int16_t>(33 + p.Col * 11);
            p.Top = static_cast<int16_t>(22 + p.Row * 11);
            s.Pieces.push_back(p);
        }
        std::shuffle(s.Pieces.begin(), s.Pieces.end(), rng);
        for (auto& p : s.Pieces) {
            const int r = static_cast<int>(rng() % 10);
            if (r == 0) p.Rotation = 1;
            if (r == 1) p.Left += 11;
            if (r == 2) p.Top -= 11;
        }
        s.SelectedPiece = 0;
        game::GameState reference = s;
        game::CollectGroup(s, 0);
        RecursiveWalk{reference}.Collect(0);
        ASSERT_EQ(s.Pieces, reference.Pieces) << "round " << round;
    }
}

TEST(GroupingTest, LongChainsAreWalkedWithoutDeepRecursion) {
    struct Case {
        int16_t cols, rows;
    };
    // One row of 2000 pieces, and a 60 x 60 block: every piece joins.
    for (const Case c : {Case{2000, 1}, Case{60, 60}}) {
        SCOPED_TRACE(c.cols);
        game::GameState s;
        s.PieceStep = 11;
        s.Cols = c.cols;
        s.Rows = c.rows;
        for (int16_t r = 0; r < c.rows; ++r)
            for (int16_t col = 0; col < c.cols; ++col) {
                game::PieceRec p;
                p.Row = r;
                p.Col = col;
                p.PicIndex = static_cast<int16_t>(r * c.cols + col);
                p.Left = static_cast<int16_t>(col * 11);
                p.Top = static_cast<int16_t>(r * 11);
                s.Pieces.push_back(p);
            }
        const size_t last = s.Pieces.size() - 1;
        std::swap(s.Pieces[0], s.Pieces[last]);
        s.SelectedPiece = 0;
        game::CollectGroup(s, 0);
        for (size_t i = 1; i < s.Pieces.size(); ++i) {
            ASSERT_TRUE(s.Pieces[i].InGroup) << i;
            ASSERT_EQ(s.Pieces[i].GroupDX, s.Pieces[i].Left - s.Pieces[0].Left);
        }
    }
}

TEST(GroupingTest, BadIndexesDoNothing) {
    PlayBoard b(2, 2);
    b.Solve(0, 0);
    b.state.SelectedPiece = -1;
    game::CollectGroup(b.state, 0);
    b.state.SelectedPiece = 0;
    game::CollectGroup(b.state, 7);
    game::JoinLeft(b.state, -1);
    EXPECT_EQ(b.GroupCount(), 0);
}

}  // namespace
