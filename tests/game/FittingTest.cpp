// The picture fit with the worked examples: budgets, shrink and grow passes,
// the grid, the margin touch-up, the frame's place, and the miniature's size.
#include "game/Fitting.h"
#include "game/Numeric.h"

#include <gtest/gtest.h>

using game::FitPicture;

TEST(Fitting, CellBudgetOfScreens) {
    const struct {
        int16_t W, H, Step, Budget;
    } cases[] = {{800, 600, 33, 98}, {1024, 768, 66, 40}, {1280, 1024, 88, 38}, {1920, 1080, 88, 60}};
    for (const auto& c : cases)
        EXPECT_EQ(game::CellBudget(c.W, c.H, c.Step), c.Budget) << c.W << "x" << c.H << " at " << c.Step;
}

TEST(Fitting, GridsOfLargeScreensStayWithinTheLoadersBound) {
    // A 10240 x 4320 screen at step 44 gives a budget of 5078 cells; a
    // picture of 501 x 10.1 cells fits it and its grid rounds up to 501 x 11.
    const game::Fit f = FitPicture(22043, 445, 10240, 4320, 44);
    EXPECT_EQ(f.Budget, 5078);
    EXPECT_EQ(f.Cols * f.Rows, 5511);
    EXPECT_LE(f.Cols * f.Rows, game::MaxGridCells(44));
}

TEST(Fitting, IntermediateStepsOfTheWorkedExamples) {
    // 400 x 300 at 33 (budget 98): two shrink passes, no grow, height stretched.
    auto s = game::ShrinkToBudget(400, 300, 98, 33);
    EXPECT_EQ(s.Passes, 2);
    EXPECT_EQ(s.W, 361);
    EXPECT_EQ(s.H, 271);
    EXPECT_EQ(game::GridSide(361, 33), 363);
    EXPECT_EQ(game::GridSide(271, 33), 297);
    EXPECT_EQ(game::GrowInGrid(361, 271, 363, 297).Passes, 0);
    s = game::EvenOutMargins(361, 271, 363, 297);
    EXPECT_EQ(s.W, 361);
    EXPECT_EQ(s.H, 284);

    // 300 x 200 at 88 (budget 38): no shrink, 17 grow passes.
    EXPECT_EQ(game::ShrinkToBudget(300, 200, 38, 88).Passes, 0);
    s = game::GrowInGrid(300, 200, 352, 264);
    EXPECT_EQ(s.Passes, 17);
    EXPECT_EQ(s.W, 351);
    EXPECT_EQ(s.H, 234);
    EXPECT_EQ(game::EvenOutMargins(351, 234, 352, 264).H, 245);

    // 640 x 480 at 88: one shrink pass, one grow pass, stretched to 484.
    s = game::ShrinkToBudget(640, 480, 38, 88);
    EXPECT_EQ(s.Passes, 1);
    EXPECT_EQ(s.W, 608);
    EXPECT_EQ(s.H, 456);
    s = game::GrowInGrid(608, 456, 616, 528);
    EXPECT_EQ(s.Passes, 1);
    EXPECT_EQ(s.W, 614);
    EXPECT_EQ(s.H, 461);
    EXPECT_EQ(game::EvenOutMargins(614, 461, 616, 528).H, 484);

    // 1700 x 1300 at 88 (budget 60): 16 passes.
    s = game::ShrinkToBudget(1700, 1300, 60, 88);
    EXPECT_EQ(s.Passes, 16);
    EXPECT_EQ(s.W, 749);
    EXPECT_EQ(s.H, 572);

    // A whole number of cells gains one more.
    EXPECT_EQ(game::GridSide(176, 88), 264);
    EXPECT_EQ(game::GridSide(88, 88), 176);
    EXPECT_EQ(game::GridSide(87, 88), 88);
}

TEST(Fitting, WholeFitOfTheWorkedExamples) {
    const struct {
        const char* Name;
        int16_t W, H, ScreenW, ScreenH, Step;
        int16_t GridW, GridH, Cols, Rows, FrameX, FrameY, PicX, PicY, PicW, PicH;
        bool TooSmall;
    } cases[] = {
        {"400x300", 400, 300, 800, 600, 33, 363, 297, 11, 9, 1, 7, 2, 8, 359, 281, false},
        {"300x200", 300, 200, 1280, 1024, 88, 352, 264, 4, 3, 1, 10, 2, 11, 348, 242, false},
        {"640x480", 640, 480, 1280, 1024, 88, 616, 528, 7, 6, 1, 22, 2, 23, 612, 482, false},
        {"88x88", 88, 88, 1280, 1024, 88, 176, 176, 2, 2, 0, 0, 1, 1, 174, 174, false},
        {"1700x1300", 1700, 1300, 1920, 1080, 88, 792, 616, 9, 7, -1, -1, -1, -1, -1, -1, false},
        {"87x87", 87, 87, 1280, 1024, 88, 88, 88, 1, 1, -1, -1, -1, -1, -1, -1, true},
        {"60x20", 60, 20, 800, 600, 33, 66, 33, 2, 1, -1, -1, -1, -1, -1, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const game::Fit f = FitPicture(c.W, c.H, c.ScreenW, c.ScreenH, c.Step);
        EXPECT_EQ(f.GridW, c.GridW);
        EXPECT_EQ(f.GridH, c.GridH);
        EXPECT_EQ(f.Cols, c.Cols);
        EXPECT_EQ(f.Rows, c.Rows);
        EXPECT_EQ(f.TooSmall, c.TooSmall);
        if (c.PicW < 0) continue;
        EXPECT_EQ(f.FrameX, c.FrameX);
        EXPECT_EQ(f.FrameY, c.FrameY);
        EXPECT_EQ(f.PicX, c.PicX);
        EXPECT_EQ(f.PicY, c.PicY);
        EXPECT_EQ(f.PicW, c.PicW);
        EXPECT_EQ(f.PicH, c.PicH);
    }
}

TEST(Fitting, EveryAcceptedFitFramesThePictureWithEvenMargins) {
    for (int16_t w : {50, 120, 333, 1024, 4000})
        for (int16_t h : {50, 90, 480, 2999}) {
            const game::Fit f = FitPicture(w, h, 1920, 1080, 44);
            if (f.TooSmall) continue;
            SCOPED_TRACE(testing::Message() << w << "x" << h);
            EXPECT_EQ(f.GridW, f.Cols * 44);
            EXPECT_EQ(f.GridH, f.Rows * 44);
            EXPECT_GE(f.Cols, 2);
            EXPECT_GE(f.Rows, 2);
            EXPECT_EQ((f.GridW - f.PicW - 2) % 2, 0);
            EXPECT_EQ((f.GridH - f.PicH - 2) % 2, 0);
            EXPECT_GE(f.GridW - f.PicW - 2, 0);
            EXPECT_GE(f.GridH - f.PicH - 2, 0);
            EXPECT_EQ(f.PicX, f.FrameX + 1);
            EXPECT_EQ(f.PicY, f.FrameY + 1);
        }
}

TEST(Fitting, TinyAndHugePicturesEndWithoutHanging) {
    // Sides of 50 pixels or less never move by 1 %: the grow loop still ends.
    const game::PictureSize16 g = game::GrowInGrid(40, 30, 88, 88);
    EXPECT_EQ(g.W, 40);
    EXPECT_EQ(g.H, 30);
    EXPECT_EQ(g.Passes, 0);
    EXPECT_TRUE(FitPicture(1, 1, 1920, 1080, 88).TooSmall);
    EXPECT_TRUE(FitPicture(50, 50, 1920, 1080, 88).TooSmall);
    EXPECT_FALSE(FitPicture(50, 50, 800, 600, 33).TooSmall);
    // A long strip shrinks to the budget and keeps at least two rows.
    const game::Fit strip = FitPicture(30000, 200, 1920, 1080, 44);
    EXPECT_FALSE(strip.TooSmall);
    EXPECT_EQ(strip.Rows, 2);
    // Sides near the 16-bit limit overflow the grid: an error, not a wrap.
    EXPECT_THROW(game::GridSide(32767, 44), game::Overflow16);
}

TEST(Fitting, SetSizeOfTheMiniature) {
    const struct {
        float W, H, Left, Top, Width, Height;
    } cases[] = {
        {400, 300, 0.0f, 1.0f, 159.0f, 116.0f},
        {300, 400, 35.25f, 1.0f, 88.5f, 116.0f},
        {1000, 200, 0.0f, 43.1f, 159.0f, 31.8f},
        {159, 118, 0.0f, 1.0f, 159.0f, 116.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.W << "x" << c.H);
        const game::MiniatureRect m = game::SetSize(c.W, c.H, 159, 118);
        EXPECT_NEAR(m.Width, c.Width, 1e-3);
        EXPECT_NEAR(m.Height, c.Height, 1e-3);
        EXPECT_NEAR(m.Left, c.Left, 1e-3);
        EXPECT_NEAR(m.Top, c.Top, 1e-3);
    }
    EXPECT_THROW(game::SetSize(0, 10, 159, 118), std::invalid_argument);
}
