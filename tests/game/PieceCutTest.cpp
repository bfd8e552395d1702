// Scaling the mask strip and cutting a picture into pieces.
#include "game/Numeric.h"
#include "game/PuzzleModule.h"
#include "tools/MaskStrip.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using game::PuzzleModule::CutPieces;
using game::PuzzleModule::PrepareMasks;

// A picture whose every pixel tells where it came from and is never white.
uint32_t SourcePixel(int x, int y) { return platform::kOpaque | (uint32_t(x & 0xFF) << 16) | (uint32_t(y & 0xFF) << 8) | 0x40u; }

platform::Surface Picture(int w, int h) {
    platform::Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) s.SetPixel(x, y, SourcePixel(x, y));
    return s;
}

struct Cut {
    game::GameState state;
    game::BoardSurfaces surfaces;

    Cut(int16_t box, int16_t step, int16_t level) {
        state.PieceBox = box;
        state.PieceStep = step;
        state.GameLevel = level;
        surfaces.picMasks[0] = tools::MaskStrip();
        PrepareMasks(surfaces, box);
    }
    std::vector<int> Shapes() const {
        std::vector<int> out;
        for (const game::PieceRec& p : state.Pieces) out.push_back(p.Shape);
        return out;
    }
};

TEST(PrepareMasks, ScaledStripStaysBlackAndWhiteAtEveryPieceSize) {
    const platform::Surface strip = tools::MaskStrip();
    for (int16_t box : {160, 120, 100, 80, 60}) {
        game::BoardSurfaces s;
        s.picMasks[0] = strip;
        PrepareMasks(s, box);
        ASSERT_EQ(s.picMasks[1].Width(), 19 * box);
        ASSERT_EQ(s.picMasks[1].Height(), box);
        int white = 0;
        for (int y = 0; y < box; ++y)
            for (int x = 0; x < 19 * box; ++x) {
                const uint32_t px = s.picMasks[1].Pixel(x, y);
                ASSERT_TRUE(px == platform::kWhite || px == platform::kBlack) << box << ": " << x << "," << y;
                white += px == platform::kWhite;
            }
        // The body's centre is white and the cell's corner black in every cell.
        for (int k = 0; k < 19; ++k) {
            EXPECT_EQ(s.picMasks[1].Pixel(k * box + box / 2, box / 2), platform::kWhite) << box << " mask " << k;
            EXPECT_EQ(s.picMasks[1].Pixel(k * box, 0), platform::kBlack) << box << " mask " << k;
        }
        // White area scales with the square of the size, within a few percent.
        const double designWhite = 36784.0 * box * box / (80.0 * 80.0);
        EXPECT_NEAR(white, designWhite, designWhite * 0.05) << box;
    }
}

TEST(PrepareMasks, AtDesignSizeEqualsTheStrip) {
    game::BoardSurfaces s;
    s.picMasks[0] = tools::MaskStrip();
    PrepareMasks(s, 80);
    EXPECT_TRUE(s.picMasks[1] == s.picMasks[0]);
}

TEST(PrepareMasks, SizesThatCannotMakeAStripFail) {
    game::BoardSurfaces s;
    s.picMasks[0] = tools::MaskStrip();
    EXPECT_THROW(PrepareMasks(s, 0), std::out_of_range);
    EXPECT_THROW(PrepareMasks(s, -80), std::out_of_range);
    EXPECT_THROW(PrepareMasks(s, 1725), game::Overflow16);  // 19 x 1725 > 32767
    game::BoardSurfaces noStrip;
    EXPECT_THROW(PrepareMasks(noStrip, 80), std::runtime_error);
}

// Each level's piece size with its step; the body of every scaled mask must
// sit exactly on the cut's cell, (PieceBox - PieceStep) \ 2 in.
struct LevelSize { int16_t box, step, margin; };
constexpr LevelSize kSizes[] = {{160, 88, 36}, {120, 66, 27}, {100, 55, 22}, {80, 44, 18}, {60, 33, 13}};

TEST(PrepareMasks, PlainSquareIsExactlyTheCutsCell) {
    for (const LevelSize& sz : kSizes) {
        game::BoardSurfaces s;
        s.picMasks[0] = tools::MaskStrip();
        PrepareMasks(s, sz.box);
        int wrong = 0;
        for (int y = 0; y < sz.box; ++y)
            for (int x = 0; x < sz.box; ++x) {
                const bool body = x >= sz.margin && x < sz.margin + sz.step && y >= sz.margin && y < sz.margin + sz.step;
                wrong += (s.picMasks[1].Pixel(18 * sz.box + x, y) == platform::kWhite) != body;
            }
        EXPECT_EQ(wrong, 0) << "box " << sz.box;
    }
}

// Laid out as the cut lays them, the outlines of a grid cover every pixel of
// the picture exactly once: tabs fill sockets with no gap and no overlap.
TEST(PrepareMasks, NeighboursInterlockExactlyAtEverySize) {
    for (const LevelSize& sz : kSizes) {
        Cut cut(sz.box, sz.step, 3);
        const int cols = 4, rows = 3;
        CutPieces(cut.state, cut.surfaces, Picture(cols * sz.step, rows * sz.step));
        std::vector<int> cover(static_cast<size_t>(cols * sz.step * rows * sz.step), 0);
        int outside = 0;
        for (const game::PieceRec& p : cut.state.Pieces)
            for (int v = 0; v < sz.box; ++v)
                for (int u = 0; u < sz.box; ++u) {
                    if (cut.surfaces.picMasks[1].Pixel(p.Shape * sz.box + u, v) != platform::kWhite) continue;
                    const int x = p.Col * sz.step - sz.margin + u, y = p.Row * sz.step - sz.margin + v;
                    if (x < 0 || y < 0 || x >= cols * sz.step || y >= rows * sz.step) ++outside;
                    else ++cover[static_cast<size_t>(y * cols * sz.step + x)];
                }
        int wrong = 0;
        for (int c : cover) wrong += c != 1;
        EXPECT_EQ(wrong, 0) << "box " << sz.box;
        EXPECT_EQ(outside, 0) << "box " << sz.box;
    }
}

// Where the design unit is a whole even number of pixels the scaled masks
// keep the turning cycles exactly.
TEST(PrepareMasks, QuarterTurnCyclesHoldAtEvenUnitSizes) {
    const int next[19] = {1, 0, 3, 4, 5, 2, 7, 8, 9, 6, 11, 12, 13, 10, 15, 16, 17, 14, 18};
    for (int16_t box : {160, 120, 80}) {
        game::BoardSurfaces s;
        s.picMasks[0] = tools::MaskStrip();
        PrepareMasks(s, box);
        for (int k = 0; k < 19; ++k) {
            int wrong = 0;
            for (int y = 0; y < box; ++y)
                for (int x = 0; x < box; ++x)
                    wrong += s.picMasks[1].Pixel(k * box + x, y) != s.picMasks[1].Pixel(next[k] * box + box - 1 - y, x);
            EXPECT_EQ(wrong, 0) << "box " << box << " mask " << k;
        }
    }
}

TEST(CutPieces, ShapesFollowPlaceAndParity) {
    struct Case { const char* name; int cols, rows, level; std::vector<int> shapes; };
    const Case cases[] = {
        {"2 x 2", 2, 2, 3, {2, 3, 5, 4}},
        {"3 x 2", 3, 2, 3, {2, 14, 6, 5, 12, 7}},
        {"3 x 3", 3, 3, 1, {2, 14, 6, 13, 0, 11, 8, 16, 4}},
        {"4 x 3", 4, 3, 2, {2, 14, 10, 3, 13, 0, 1, 15, 8, 16, 12, 7}},
        {"Kids A", 3, 2, 0, {18, 18, 18, 18, 18, 18}},
        {"one row", 3, 1, 3, {2, 14, 6}},
        {"one column", 1, 3, 3, {2, 13, 8}},
    };
    for (const Case& c : cases) {
        Cut cut(80, 44, static_cast<int16_t>(c.level));
        CutPieces(cut.state, cut.surfaces, Picture(c.cols * 44, c.rows * 44));
        EXPECT_EQ(cut.Shapes(), c.shapes) << c.name;
    }
}

TEST(CutPieces, RecordsAreRowMajorAndFresh) {
    Cut cut(80, 44, 3);
    cut.state.Pieces.assign(50, game::PieceRec{7, 7, 3, 1, 9, 9, 9, 5, 5, true});
    // 3 whole cells across and 2 down; the spare columns and rows are not cut.
    CutPieces(cut.state, cut.surfaces, Picture(3 * 44 + 43, 2 * 44 + 10));
    ASSERT_EQ(cut.state.Pieces.size(), 6u);
    ASSERT_EQ(cut.surfaces.picPat.size(), 6u);
    for (int k = 0; k < 6; ++k) {
        const game::PieceRec& p = cut.state.Pieces[k];
        EXPECT_EQ(p.Row, k / 3);
        EXPECT_EQ(p.Col, k % 3);
        EXPECT_EQ(p.PicIndex, k);
        EXPECT_EQ(p.Rotation, 0);
        EXPECT_EQ(p.Left, 0);
        EXPECT_EQ(p.Top, 0);
        EXPECT_EQ(p.GroupDX, 0);
        EXPECT_EQ(p.GroupDY, 0);
        EXPECT_FALSE(p.InGroup);
    }
    EXPECT_EQ(cut.Shapes(), (std::vector<int>{2, 14, 6, 5, 12, 7}));
}

TEST(CutPieces, EachCutReplacesTheBitmapsAndBumpsTheGeneration) {
    Cut cut(80, 44, 3);
    const uint32_t before = cut.state.Generation;
    CutPieces(cut.state, cut.surfaces, Picture(4 * 44, 4 * 44));
    EXPECT_EQ(cut.surfaces.picPat.size(), 16u);
    EXPECT_EQ(cut.state.Generation, before + 1);
    // The next cut at the smallest pieces: every bitmap is a square of its size.
    cut.state.PieceBox = 60;
    cut.state.PieceStep = 33;
    PrepareMasks(cut.surfaces, 60);
    CutPieces(cut.state, cut.surfaces, Picture(2 * 33, 2 * 33));
    EXPECT_EQ(cut.surfaces.picPat.size(), 4u);
    EXPECT_EQ(cut.state.Pieces.size(), 4u);
    EXPECT_EQ(cut.state.Generation, before + 2);
    for (const platform::Surface& s : cut.surfaces.picPat) {
        EXPECT_EQ(s.Width(), 60);
        EXPECT_EQ(s.Height(), 60);
    }
}

// Inside its outline a piece's bitmap holds the picture with the piece's
// cell at (m, m); outside it is white. Checked at every level's sizes.
TEST(CutPieces, BitmapIsThePictureInsideTheOutlineAndWhiteOutside) {
    for (const LevelSize& sz : kSizes) {
        Cut cut(sz.box, sz.step, 3);
        CutPieces(cut.state, cut.surfaces, Picture(3 * sz.step, 3 * sz.step));
        ASSERT_EQ(cut.state.Pieces.size(), 9u);
        const platform::Surface& masks = cut.surfaces.picMasks[1];
        for (const game::PieceRec& p : cut.state.Pieces) {
            const platform::Surface& bmp = cut.surfaces.picPat[p.PicIndex];
            int wrong = 0;
            for (int y = 0; y < sz.box; ++y)
                for (int x = 0; x < sz.box; ++x) {
                    const bool inside = masks.Pixel(p.Shape * sz.box + x, y) == platform::kWhite;
                    const uint32_t expected = inside ? SourcePixel(p.Col * sz.step - sz.margin + x,
                                                                   p.Row * sz.step - sz.margin + y)
                                                     : platform::kWhite;
                    wrong += bmp.Pixel(x, y) != expected;
                }
            EXPECT_EQ(wrong, 0) << "box " << sz.box << " piece " << p.PicIndex;
        }
    }
}

TEST(CutPieces, DegenerateSourcesAndStepsGiveOnePieceWithoutFailing) {
    struct Case { int w, h; int16_t step; };
    const Case cases[] = {{10, 10, 44}, {0, 0, 44}, {200, 200, 0}, {200, 200, -5}};
    for (const Case& c : cases) {
        Cut cut(80, 44, 3);
        cut.state.PieceStep = c.step;
        EXPECT_NO_THROW(CutPieces(cut.state, cut.surfaces, Picture(c.w, c.h)));
        EXPECT_EQ(cut.state.Pieces.size(), 1u);
        EXPECT_EQ(cut.surfaces.picPat.size(), 1u);
        EXPECT_EQ(cut.state.Pieces[0].Shape, 2);
    }
}

}  // namespace
