// Turning a piece a quarter turn clockwise: its bitmap, Rotation and Shape.
#include "game/PuzzleModule.h"
#include "tools/MaskStrip.h"

#include <gtest/gtest.h>

namespace {

using game::PuzzleModule::RotatePiece;

uint32_t Texture(int x, int y) { return platform::kOpaque | (uint32_t(x) << 12) | uint32_t(y); }

// Pieces cut from a picture with no white in it, so that the white of a
// bitmap is exactly the outside of its outline.
struct Turn {
    game::GameState state;
    game::BoardSurfaces surfaces;

    Turn(int16_t box, int16_t step, int cols, int rows) {
        state.PieceBox = box;
        state.PieceStep = step;
        state.GameLevel = 3;
        surfaces.picMasks[0] = tools::MaskStrip();
        game::PuzzleModule::PrepareMasks(surfaces, box);
        platform::Surface picture(cols * step, rows * step);
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) picture.SetPixel(x, y, Texture(x, y));
        game::PuzzleModule::CutPieces(state, surfaces, picture);
    }
    const platform::Surface& Bitmap(int i) const { return surfaces.picPat[state.Pieces[i].PicIndex]; }
};

TEST(RotatePiece, ShapesFollowTheirCycles) {
    struct Case { int16_t shape; int16_t after[4]; };
    const Case cases[] = {
        {0, {1, 0, 1, 0}},     {2, {3, 4, 5, 2}},     {6, {7, 8, 9, 6}},
        {10, {11, 12, 13, 10}}, {14, {15, 16, 17, 14}}, {18, {18, 18, 18, 18}},
        {5, {2, 3, 4, 5}},     {17, {14, 15, 16, 17}},
    };
    for (const Case& c : cases) {
        Turn t(80, 44, 2, 2);
        t.state.Pieces[0].Shape = c.shape;
        for (int n = 0; n < 4; ++n) {
            RotatePiece(t.state, t.surfaces, 0);
            EXPECT_EQ(t.state.Pieces[0].Shape, c.after[n]) << "from " << c.shape << " turn " << n + 1;
            EXPECT_EQ(t.state.Pieces[0].Rotation, (n + 1) % 4);
        }
    }
}

TEST(RotatePiece, BitmapTurnsClockwiseAboutTheSquaresCentre) {
    for (int16_t box : {160, 100, 60}) {
        Turn t(box, static_cast<int16_t>(box * 11 / 20), 2, 2);
        platform::Surface& bmp = t.surfaces.picPat[0];
        for (int y = 0; y < box; ++y)
            for (int x = 0; x < box; ++x) bmp.SetPixel(x, y, Texture(x, y));
        const uint32_t outsideSquare = bmp.Pixel(box, box);
        // After n turns, the pixel that started at (x, y) is found at:
        auto where = [box](int n, int x, int y) {
            for (int i = 0; i < n; ++i) {
                const int nx = box - 1 - y;
                y = x;
                x = nx;
            }
            return std::pair{x, y};
        };
        for (int n = 1; n <= 4; ++n) {
            RotatePiece(t.state, t.surfaces, 0);
            int wrong = 0;
            for (int y = 0; y < box; ++y)
                for (int x = 0; x < box; ++x) {
                    const auto [tx, ty] = where(n, x, y);
                    wrong += bmp.Pixel(tx, ty) != Texture(x, y);
                }
            EXPECT_EQ(wrong, 0) << "box " << box << " after " << n << " turns";
            EXPECT_EQ(bmp.Pixel(box, box), outsideSquare) << "beyond the square is left alone";
        }
    }
}

TEST(RotatePiece, TopLeftPixelGoesRoundTheCorners) {
    Turn t(80, 44, 2, 2);
    platform::Surface& bmp = t.surfaces.picPat[0];
    constexpr uint32_t marker = 0xFF123456u;
    bmp.SetPixel(0, 0, marker);
    const std::pair<int, int> path[] = {{79, 0}, {79, 79}, {0, 79}, {0, 0}};
    for (const auto& [x, y] : path) {
        RotatePiece(t.state, t.surfaces, 0);
        EXPECT_EQ(bmp.Pixel(x, y), marker) << x << "," << y;
    }
}

TEST(RotatePiece, FourTurnsRestoreEveryPieceOfAGrid) {
    Turn t(120, 66, 3, 3);
    const game::GameState before = t.state;
    const std::vector<platform::Surface> bitmaps = t.surfaces.picPat;
    for (int16_t i = 0; i < 9; ++i)
        for (int n = 0; n < 4; ++n) RotatePiece(t.state, t.surfaces, i);
    EXPECT_EQ(t.state.Pieces, before.Pieces);
    EXPECT_TRUE(t.surfaces.picPat == bitmaps);
}

// A turned piece is white exactly outside the outline of its new shape, as
// a freshly cut piece is.
TEST(RotatePiece, TurnedBitmapFitsItsNewMask) {
    for (int16_t box : {160, 120, 80}) {
        Turn t(box, static_cast<int16_t>(box * 11 / 20), 4, 3);
        const platform::Surface& masks = t.surfaces.picMasks[1];
        for (int16_t i = 0; i < static_cast<int16_t>(t.state.Pieces.size()); ++i) {
            for (int n = 1; n <= 3; ++n) {
                RotatePiece(t.state, t.surfaces, i);
                const game::PieceRec& p = t.state.Pieces[i];
                int wrong = 0;
                for (int y = 0; y < box; ++y)
                    for (int x = 0; x < box; ++x)
                        wrong += (t.Bitmap(i).Pixel(x, y) == platform::kWhite) !=
                                 (masks.Pixel(p.Shape * box + x, y) == platform::kBlack);
                EXPECT_EQ(wrong, 0) << "box " << box << " piece " << i << " turn " << n;
            }
        }
    }
}

TEST(RotatePiece, BadPiecesFailWithoutTouchingAnything) {
    Turn t(80, 44, 2, 2);
    const game::GameState before = t.state;
    const std::vector<platform::Surface> bitmaps = t.surfaces.picPat;
    struct Case { const char* name; int16_t index; int16_t picIndex, shape, box; };
    const Case cases[] = {
        {"index -1", -1, 0, 2, 80},
        {"index past the end", 4, 0, 2, 80},
        {"no bitmap", 0, 9, 2, 80},
        {"negative bitmap", 0, -1, 2, 80},
        {"shape past the strip", 0, 0, 19, 80},
        {"negative shape", 0, 0, -1, 80},
        {"square larger than the bitmap", 0, 0, 2, 161},
        {"empty square", 0, 0, 2, 0},
    };
    for (const Case& c : cases) {
        t.state = before;
        t.state.Pieces[0].PicIndex = c.picIndex;
        t.state.Pieces[0].Shape = c.shape;
        t.state.PieceBox = c.box;
        const game::PieceRec rec = t.state.Pieces[0];
        EXPECT_THROW(RotatePiece(t.state, t.surfaces, c.index), std::out_of_range) << c.name;
        EXPECT_EQ(t.state.Pieces[0], rec) << c.name;
        EXPECT_TRUE(t.surfaces.picPat == bitmaps) << c.name;
    }
}

}  // namespace
