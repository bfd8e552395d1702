// Composing the board skips the pixels a cut left white outside a piece's
// outline; the result must be the same as reading every pixel, and a bitmap
// changed in any other way must be read in full again.
#include "game/PuzzleModule.h"
#include "tools/MaskStrip.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

using game::PuzzleModule::CutPieces;
using game::PuzzleModule::DrawBoard;
using game::PuzzleModule::RotatePiece;

struct CutBoard {
    game::GameState state;
    game::BoardSurfaces surfaces;

    CutBoard(int16_t box, int16_t step) {
        state.PieceBox = box;
        state.PieceStep = step;
        state.GameLevel = 3;
        state.SelectedPiece = -1;
        surfaces.picMasks[0] = tools::MaskStrip();
        game::PuzzleModule::PrepareMasks(surfaces, box);
        platform::Surface picture(4 * step, 3 * step);
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                picture.SetPixel(x, y, platform::kOpaque | uint32_t((x * 5) & 0xFF) << 16 | uint32_t((y * 3) & 0xFF));
        CutPieces(state, surfaces, picture);
        surfaces.picScreen.Resize(6 * step, 5 * step);
        surfaces.picBG.Resize(6 * step, 5 * step, 0xFF5080A0u);
        // Scattered so that pieces overlap and rims fall on other pieces.
        for (size_t k = 0; k < state.Pieces.size(); ++k) {
            state.Pieces[k].Left = static_cast<int16_t>((k * 37) % (5 * step) - step / 3);
            state.Pieces[k].Top = static_cast<int16_t>((k * 53) % (4 * step) - step / 4);
        }
    }

    // The same board with every bitmap read in full.
    platform::Surface DrawnTheLongWay() {
        game::BoardSurfaces copy = surfaces;
        for (platform::Surface& bitmap : copy.picPat) bitmap.SetMark(0);
        DrawBoard(state, copy);
        return copy.picScreen;
    }
};

TEST(DrawShortcut, SkippingWhiteOutsideTheOutlineChangesNothing) {
    for (auto [box, step] : {std::pair<int16_t, int16_t>{80, 44}, {100, 55}, {120, 66}, {60, 33}}) {
        CutBoard b(box, step);
        EXPECT_NE(b.surfaces.picPat[1].Mark(), 0u) << box;
        // Turned pieces too, at sizes where the turn matches the masks and
        // where it cannot.
        RotatePiece(b.state, b.surfaces, 1);
        RotatePiece(b.state, b.surfaces, 2);
        RotatePiece(b.state, b.surfaces, 2);
        for (int16_t held : {-1, 0, 3}) {
            b.state.SelectedPiece = held;
            DrawBoard(b.state, b.surfaces);
            EXPECT_EQ(b.surfaces.picScreen, b.DrawnTheLongWay()) << "box " << box << " held " << held;
        }
    }
}

TEST(DrawShortcut, ABitmapChangedAfterTheCutIsReadInFull) {
    CutBoard b(80, 44);
    platform::Surface& bitmap = b.surfaces.picPat[0];
    ASSERT_NE(bitmap.Mark(), 0u);
    // The square's corner lies outside every outline: a dark pixel there
    // shows through, ANDed onto the board.
    bitmap.SetPixel(0, 0, 0xFF000000u);
    EXPECT_EQ(bitmap.Mark(), 0u);
    b.state.Pieces[0].Left = 10;
    b.state.Pieces[0].Top = 12;
    DrawBoard(b.state, b.surfaces);
    EXPECT_EQ(b.surfaces.picScreen.Pixel(10, 12), 0xFF000000u);
    EXPECT_EQ(b.surfaces.picScreen, b.DrawnTheLongWay());
}

TEST(SurfaceMark, EveryWriteClearsIt) {
    platform::Surface s(4, 4);
    platform::Surface other(4, 4, platform::kWhite);
    const std::function<void()> writes[] = {
        [&] { s.SetPixel(1, 1, platform::kWhite); },
        [&] { s.Fill(platform::kWhite); },
        [&] { s.FillRect(0, 0, 2, 2, platform::kWhite); },
        [&] { s.BitBlt(0, 0, 4, 4, other, 0, 0, platform::Rop::SrcAnd); },
        [&] { s.DrawScaled(other, 0, 0, 4, 4, platform::ScaleMode::Nearest); },
        [&] { s.Resize(4, 4); },
        [&] { s.Row(0)[0] = 0; },
    };
    for (const auto& write : writes) {
        s.SetMark(7);
        write();
        EXPECT_EQ(s.Mark(), 0u);
    }
    s.SetMark(7);
    s.BitBlt(10, 10, 4, 4, other, 0, 0, platform::Rop::SrcCopy);  // wholly clipped: nothing written
    EXPECT_EQ(s.Mark(), 7u);
    platform::Surface copy = s;
    EXPECT_EQ(copy.Mark(), 7u);
    copy.SetMark(0);
    EXPECT_EQ(copy, s);  // marks do not make surfaces differ
}

}  // namespace
