// Composing the board from its pieces, and the pick test on an outline.
#include "game/PuzzleModule.h"
#include "tools/MaskStrip.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using game::PuzzleModule::DrawBoard;
using game::PuzzleModule::PieceHit;

constexpr int16_t kBox = 80;
constexpr uint32_t kBack = 0xFF336699u;
constexpr uint32_t kInvert = 0x00FFFFFFu;

// The outline at design size, straight from the strip: white is inside.
bool Inside(const platform::Surface& strip, int shape, int u, int v) {
    return u >= 0 && v >= 0 && u < kBox && v < kBox && strip.Pixel(shape * kBox + u, v) == platform::kWhite;
}

// A piece's picture: a colour of its own with a texture, never white.
uint32_t PiecePixel(int index, int u, int v) {
    return platform::kOpaque | (uint32_t(0x20 + 0x30 * index) << 16) | (uint32_t((u * 3 + v) & 0x7F) << 8) |
           uint32_t((v * 5) & 0x7F);
}

struct Board {
    game::GameState state;
    game::BoardSurfaces surfaces;
    platform::Surface strip = tools::MaskStrip();

    Board(int w, int h) {
        state.PieceBox = kBox;
        state.SelectedPiece = -1;
        surfaces.picScreen.Resize(w, h, 0xFF000000u);
        surfaces.picBG.Resize(w, h, kBack);
        surfaces.picMasks[0] = strip;
        game::PuzzleModule::PrepareMasks(surfaces, kBox);
        surfaces.picPat.clear();
    }

    // Adds a piece whose bitmap is its picture inside the outline, white outside.
    void Add(int16_t left, int16_t top, int16_t shape) {
        const int index = static_cast<int>(state.Pieces.size());
        game::PieceRec rec;
        rec.Left = left;
        rec.Top = top;
        rec.Shape = shape;
        rec.PicIndex = static_cast<int16_t>(index);
        state.Pieces.push_back(rec);
        platform::Surface bmp(kBox, kBox, platform::kBlack);
        for (int v = 0; v < kBox; ++v)
            for (int u = 0; u < kBox; ++u)
                bmp.SetPixel(u, v, Inside(strip, shape, u, v) ? PiecePixel(index, u, v) : platform::kWhite);
        surfaces.picPat.push_back(bmp);
    }

    // What the player should see, worked out pixel by pixel: rims of resting
    // pieces on the bare board, then each piece bottom first, the held one
    // with its rim right before it.
    platform::Surface Expected() const {
        const platform::Surface& bg = surfaces.picBG;
        platform::Surface out(bg.Width(), bg.Height());
        const int n = static_cast<int>(state.Pieces.size());
        for (int y = 0; y < bg.Height(); ++y)
            for (int x = 0; x < bg.Width(); ++x) {
                uint32_t px = bg.Pixel(x, y);
                auto rim = [&](const game::PieceRec& p) {
                    if (Inside(strip, p.Shape, x - p.Left - 1, y - p.Top - 1)) px ^= kInvert;
                };
                for (int i = n - 1; i >= 0; --i)
                    if (i != state.SelectedPiece) rim(state.Pieces[i]);
                for (int i = n - 1; i >= 0; --i) {
                    const game::PieceRec& p = state.Pieces[i];
                    if (i == state.SelectedPiece) rim(p);
                    if (Inside(strip, p.Shape, x - p.Left, y - p.Top)) px = PiecePixel(p.PicIndex, x - p.Left, y - p.Top);
                }
                out.SetPixel(x, y, px);
            }
        return out;
    }
};

int Differences(const platform::Surface& a, const platform::Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
}

TEST(DrawBoard, ComposesPiecesRimsAndClippingPixelForPixel) {
    for (int16_t selected : {-1, 0, 2, 5}) {
        Board b(210, 150);
        b.Add(30, 20, 0);
        b.Add(70, 40, 1);      // under piece 0, overlapping it
        b.Add(-30, -25, 2);    // beyond the top and left edges
        b.Add(150, 100, 10);   // beyond the right and bottom edges
        b.Add(300, 300, 18);   // wholly beyond
        b.Add(-200, 10, 14);   // wholly beyond on the left
        b.Add(100, -60, 5);    // top half beyond
        b.state.SelectedPiece = selected;
        DrawBoard(b.state, b.surfaces);
        EXPECT_EQ(Differences(b.surfaces.picScreen, b.Expected()), 0) << "held " << selected;
    }
}

TEST(DrawBoard, RimsShowOnlyOnTheBareBoardUnlessTheirPieceIsHeld) {
    // Mask 18 is the bare body square 18..61, so a piece at (0, 0) has its
    // band in column 62 (rows 19..62) and row 62 (columns 19..62).
    const uint32_t inverted = kBack ^ kInvert;
    struct Case { const char* name; std::vector<std::pair<int16_t, int16_t>> at; int16_t held; int x, y; uint32_t want; };
    const Case cases[] = {
        {"lone piece", {{0, 0}}, -1, 62, 40, inverted},
        {"corner of the band", {{0, 0}}, -1, 62, 62, inverted},
        {"above the band", {{0, 0}}, -1, 62, 18, kBack},
        {"two rims cancel", {{0, 0}, {0, 0}}, -1, 62, 40, kBack},
        {"rim covered by a piece above", {{40, 0}, {0, 0}}, -1, 62, 40, PiecePixel(0, 62 - 40, 40)},
        {"rim covered by a piece below", {{0, 0}, {40, 0}}, -1, 62, 40, PiecePixel(1, 62 - 40, 40)},
        {"held piece's rim over the one below", {{0, 0}, {40, 0}}, 0, 62, 40, PiecePixel(1, 62 - 40, 40) ^ kInvert},
    };
    for (const Case& c : cases) {
        Board b(150, 120);
        for (const auto& [left, top] : c.at) b.Add(left, top, 18);
        b.state.SelectedPiece = c.held;
        DrawBoard(b.state, b.surfaces);
        EXPECT_EQ(b.surfaces.picScreen.Pixel(c.x, c.y), c.want) << c.name;
        EXPECT_EQ(Differences(b.surfaces.picScreen, b.Expected()), 0) << c.name;
    }
}

TEST(DrawBoard, NoPiecesGivesTheEmptyBoard) {
    Board b(120, 90);
    DrawBoard(b.state, b.surfaces);
    EXPECT_TRUE(b.surfaces.picScreen == b.surfaces.picBG);
}

TEST(DrawBoard, PiecesWithoutAMaskOrBitmapAreLeftOut) {
    Board b(160, 120);
    b.Add(10, 10, 0);
    Board bad(160, 120);
    bad.Add(10, 10, 0);
    bad.Add(20, 20, 1);
    bad.Add(30, 30, 2);
    bad.state.Pieces[1].Shape = 19;
    bad.state.Pieces[2].PicIndex = 40;
    DrawBoard(b.state, b.surfaces);
    DrawBoard(bad.state, bad.surfaces);
    EXPECT_TRUE(bad.surfaces.picScreen == b.surfaces.picScreen);
    bad.state.Pieces[1].Shape = -1;
    bad.state.Pieces[2].PicIndex = -1;
    DrawBoard(bad.state, bad.surfaces);
    EXPECT_TRUE(bad.surfaces.picScreen == b.surfaces.picScreen);
}

TEST(DrawBoard, FollowsAMaskStripChangedBetweenDraws) {
    Board b(200, 150);
    b.Add(10, 10, 0);
    DrawBoard(b.state, b.surfaces);
    // Mask 18 becomes the whole square, in the board's strip and in the model.
    b.strip.FillRect(18 * kBox, 0, kBox, kBox, platform::kWhite);
    b.surfaces.picMasks[1].FillRect(18 * kBox, 0, kBox, kBox, platform::kWhite);
    b.Add(60, 40, 18);
    DrawBoard(b.state, b.surfaces);
    EXPECT_EQ(Differences(b.surfaces.picScreen, b.Expected()), 0);
    EXPECT_EQ(b.surfaces.picScreen.Pixel(60 + 79, 40 + 79), PiecePixel(1, 79, 79));
}

TEST(PieceHit, TrueOnlyOnTheOutline) {
    Board b(10, 10);
    b.Add(100, 50, 2);  // flat top and left, a tab right, a socket below
    b.Add(-32768, -32768, 18);
    struct Case { const char* name; int16_t index, x, y; bool hit; };
    const Case cases[] = {
        {"body", 0, 100 + 20, 50 + 20, true},
        {"tab, outside the body", 0, 100 + 70, 50 + 40, true},
        {"tab tip at the square's edge", 0, 100 + 79, 50 + 39, true},
        {"socket, inside the body's square", 0, 100 + 40, 50 + 55, false},
        {"margin corner", 0, 100 + 2, 50 + 2, false},
        {"square's own corner", 0, 100, 50, false},
        {"row just below", 0, 100 + 40, 50 + 80, false},
        {"column just right", 0, 100 + 80, 50 + 40, false},
        {"row just above", 0, 100 + 40, 49, false},
        {"column just left", 0, 99, 50 + 40, false},
        {"far corner of the board", 1, 32767, 32767, false},
        {"body at the lowest coordinates", 1, -32768 + 40, -32768 + 40, true},
    };
    for (const Case& c : cases) EXPECT_EQ(PieceHit(b.state, b.surfaces, c.index, c.x, c.y), c.hit) << c.name;
}

TEST(PieceHit, BadIndexOrShapeIsNeverAHit) {
    Board b(10, 10);
    b.Add(0, 0, 18);
    EXPECT_THROW(PieceHit(b.state, b.surfaces, -1, 40, 40), std::out_of_range);
    EXPECT_THROW(PieceHit(b.state, b.surfaces, 1, 40, 40), std::out_of_range);
    for (int16_t shape : {-1, 19, 200}) {
        b.state.Pieces[0].Shape = shape;
        EXPECT_FALSE(PieceHit(b.state, b.surfaces, 0, 40, 40)) << shape;
    }
}

}  // namespace
