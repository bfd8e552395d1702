// The grid's arithmetic with the worked numbers of its layout: panel sizes,
// cell positions, fitted thumbnails, size and tool-tip texts, the picture
// filter and the scroll ranges.
#include "chooser/ThumbLayout.h"
#include "game/Numeric.h"

#include <gtest/gtest.h>

using namespace chooser;

namespace {

TEST(ThumbLayout, PanelsFollowTheWidgetAndTheLevel) {
    struct Case { float w, h; int16_t box; int step; float fw, fh, iw, ih; };
    const Case cases[] = {
        {7650, 3420, 160, 7, 7390, 3400, 7230, 3240},
        {7650, 3420, 60, 7, 7390, 3400, 7330, 3340},
        {250, 1000, 60, 2, 0, 0, 0, 0},       // narrower than the bar
        {275, 1000, 60, 4, 15, 980, 0, 0},    // a viewport 15 wide
        {400, 10, 200, 7, 140, 0, 0, 0},      // smaller than the margin: empty, never negative
    };
    for (const Case& c : cases) {
        const PanelLayout l = LayoutPanels(c.w, c.h, 240, c.box);
        EXPECT_EQ(l.Step, c.step) << c.w;
        EXPECT_FLOAT_EQ(l.FundoWidth, c.fw) << c.w;
        EXPECT_FLOAT_EQ(l.FundoHeight, c.fh) << c.w;
        EXPECT_FLOAT_EQ(l.InteriorWidth, c.iw) << c.w;
        EXPECT_FLOAT_EQ(l.InteriorHeight, c.ih) << c.w;
    }
    EXPECT_FLOAT_EQ(LayoutPanels(7650, 3420, 240, 160).ScrollLeft, 7390);
}

TEST(ThumbLayout, ThreeColumnsSevenItems) {
    EXPECT_EQ(AutoColumns(7230), 3);
    EXPECT_EQ(AutoColumns(1834), 0);
    struct Case { int32_t s; int16_t c; float left, top; };
    const Case cases[] = {
        {0, 1, 0, 200}, {0, 2, 1835, 200}, {0, 3, 3670, 200},
        {3, 1, 0, 1990}, {3, 3, 3670, 1990}, {6, 1, 0, 3780},
        {0, 20, 34865, 200},  // beyond column 18 still in its own place
    };
    for (const Case& c : cases) {
        const FramePos p = FramePosition(c.s, 3, c.c);
        EXPECT_FLOAT_EQ(p.Left, c.left) << c.s << "," << c.c;
        EXPECT_FLOAT_EQ(p.Top, c.top) << c.s << "," << c.c;
    }
    EXPECT_EQ(RowCount(7, 3), 3);
    EXPECT_EQ(RowCount(6, 3), 2);
    EXPECT_FLOAT_EQ(PanelHeight(1680, 3), 5630);
    EXPECT_FLOAT_EQ(PanelHeight(1680, 1), 2010);
    // One row under a 3400 bar has nothing to scroll.
    EXPECT_EQ(ScrollMaximum(2010, 3400), 0);
    EXPECT_EQ(ScrollMaximum(5630, 3400), 2230);
    // Twenty rows and more still scroll all the way.
    EXPECT_EQ(ScrollMaximum(PanelHeight(1680, 40), 3400), 1810 * 40 + 200 - 3400);
}

TEST(ThumbLayout, FittedSizes) {
    struct Case { int pw, ph; float w, h; };
    const Case cases[] = {
        {1050, 1000, 1575, 1500}, {1100, 1000, 1635, 1486}, {1000, 2000, 750, 1500},
        {1000, 1000, 1500, 1500}, {16933, 12700, 1635, 1226},
    };
    for (const Case& c : cases) {
        const FittedSize f = FitPicture(QSize(c.pw, c.ph), 1500, 1635, {1635, 1500});
        EXPECT_EQ(game::Int16(f.Width), c.w) << c.pw << "x" << c.ph;
        EXPECT_EQ(game::Int16(f.Height), c.h) << c.pw << "x" << c.ph;
    }
    // No picture: the scratch keeps its size.
    const FittedSize kept = FitPicture(std::nullopt, 1500, 1635, {1200, 900});
    EXPECT_FLOAT_EQ(kept.Width, 1200);
    EXPECT_FLOAT_EQ(kept.Height, 900);
    // The 1635 x 1226 thumbnail sits 45 from its frame's sides, 227 from its top.
    const FramePos t = CentredThumb({0, 200}, 1725, 1680, 1635, 1226);
    EXPECT_FLOAT_EQ(t.Left, 45);
    EXPECT_FLOAT_EQ(t.Top, 427);
}

TEST(ThumbLayout, SizeAndToolTipTexts) {
    EXPECT_EQ(SizeText(16933, 12700), "639 x 479");
    EXPECT_EQ(SizeText(21167, 15875), "800 x 599");
    EXPECT_EQ(SizeText(0, 0), "0 x 0");
    EXPECT_EQ(HimetricFromPixels(800), 21167);
    EXPECT_EQ(HimetricFromPixels(600), 15875);
    EXPECT_EQ(ToolTipText("C:\\Fotos\\praia.jpg", 12800, "800 x 599"), "praia.jpg (12k) - 800 x 599");
    EXPECT_EQ(ToolTipText("/fotos/praia.jpg", 1023, "1 x 1"), "praia.jpg (0k) - 1 x 1");
    struct Case { const char* path; const char* name; };
    const Case cases[] = {{"C:\\Fotos\\praia.jpg", "praia.jpg"}, {"praia.jpg", "praia.jpg"},
                          {"C:\\Fotos\\", ""}, {"/home/a/b.gif", "b.gif"}, {"", ""}};
    for (const Case& c : cases) EXPECT_EQ(GetFileName(c.path), c.name) << c.path;
}

TEST(ThumbLayout, PictureFilter) {
    struct Case { const char* name; bool picture; };
    const Case cases[] = {{"A.BMP", true}, {"b.Gif", true}, {"c.jpg", true}, {"d.jpeg", false},
                          {"e.png", false}, {"f.txt", false}, {".jpg", true}, {"jpg", false}, {"", false}};
    for (const Case& c : cases) EXPECT_EQ(IsPictureName(c.name), c.picture) << c.name;
}

TEST(ThumbLayout, ScrollBarSettingOnClearing) {
    struct Case { int32_t max; std::optional<int16_t> set; int32_t written; };
    const Case cases[] = {{-5, 0, 0}, {200, 200, 200}, {31999, 31999, 31999}, {32000, std::nullopt, 32000}};
    for (const Case& c : cases) {
        int32_t max = c.max;
        const ScrollSetting s = ScrollBarSetting(max, 60, 1133);
        EXPECT_EQ(s.Maximum, c.set) << c.max;
        EXPECT_EQ(max, c.written) << c.max;
        EXPECT_EQ(s.SmallChange, 60);
        EXPECT_EQ(s.LargeChange, 1133);
    }
    int32_t max = 0;
    EXPECT_THROW(ScrollBarSetting(max, 1, 40000), game::Overflow16);
}

}  // namespace
