// The mask strip: its pixel counts, its 2 x 2 grain, the turning cycles, and
// that the committed asset is what the generator draws.
#include "platform/Surface.h"
#include "tools/MaskStrip.h"

#include <gtest/gtest.h>

namespace {

constexpr int kCell = 80;

bool IsWhite(const platform::Surface& s, int x, int y) { return s.Pixel(x, y) == platform::kWhite; }

int WhiteCount(const platform::Surface& s, int k) {
    int n = 0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x) n += IsWhite(s, k * kCell + x, y);
    return n;
}

TEST(MaskStrip, IsPureBlackAndWhiteAtDesignSize) {
    const platform::Surface strip = tools::MaskStrip();
    ASSERT_EQ(strip.Width(), 1520);
    ASSERT_EQ(strip.Height(), 80);
    for (int y = 0; y < strip.Height(); ++y)
        for (int x = 0; x < strip.Width(); ++x) {
            const uint32_t px = strip.Pixel(x, y);
            ASSERT_TRUE(px == platform::kWhite || px == platform::kBlack) << x << "," << y;
        }
}

TEST(MaskStrip, WhiteCountsFollowTabsAndBlanks) {
    const platform::Surface strip = tools::MaskStrip();
    for (int k = 0; k < 19; ++k) {
        const int expected = (k >= 10 && k <= 13) ? 2224 : (k >= 14 && k <= 17) ? 1648 : 1936;
        EXPECT_EQ(WhiteCount(strip, k), expected) << "mask " << k;
    }
}

TEST(MaskStrip, EveryPixelBelongsToAnAlignedTwoByTwoBlock) {
    const platform::Surface strip = tools::MaskStrip();
    for (int y = 0; y < strip.Height(); y += 2)
        for (int x = 0; x < strip.Width(); x += 2) {
            const uint32_t px = strip.Pixel(x, y);
            ASSERT_EQ(strip.Pixel(x + 1, y), px) << x << "," << y;
            ASSERT_EQ(strip.Pixel(x, y + 1), px) << x << "," << y;
            ASSERT_EQ(strip.Pixel(x + 1, y + 1), px) << x << "," << y;
        }
}

TEST(MaskStrip, BodyMarginAndKnobTipsLieWhereTheSidesSay) {
    const platform::Surface strip = tools::MaskStrip();
    struct Case { int mask; bool topTip, rightTip, bottomTip, leftTip, topSocket, centre; };
    // Tip pixels at the cell's edge mid-side exist only for a tab; the body
    // just inside the top edge is black only for a top blank.
    const Case cases[] = {
        {0, false, true, false, true, true, true},
        {1, true, false, true, false, false, true},
        {2, false, true, false, false, false, true},
        {18, false, false, false, false, false, true},
        {10, false, true, false, true, false, true},
        {14, false, false, true, false, false, true},
    };
    for (const Case& c : cases) {
        const int x0 = c.mask * kCell;
        EXPECT_EQ(IsWhite(strip, x0 + 39, 0), c.topTip) << c.mask;
        EXPECT_EQ(IsWhite(strip, x0 + 79, 40), c.rightTip) << c.mask;
        EXPECT_EQ(IsWhite(strip, x0 + 40, 79), c.bottomTip) << c.mask;
        EXPECT_EQ(IsWhite(strip, x0 + 0, 39), c.leftTip) << c.mask;
        EXPECT_EQ(!IsWhite(strip, x0 + 40, 18), c.topSocket) << c.mask;
        EXPECT_EQ(IsWhite(strip, x0 + 40, 40), c.centre) << c.mask;
        // The body's corners and the cell's corners.
        EXPECT_TRUE(IsWhite(strip, x0 + 18, 18)) << c.mask;
        EXPECT_TRUE(IsWhite(strip, x0 + 61, 61)) << c.mask;
        EXPECT_FALSE(IsWhite(strip, x0 + 17, 17)) << c.mask;
        EXPECT_FALSE(IsWhite(strip, x0 + 62, 62)) << c.mask;
    }
}

TEST(MaskStrip, QuarterTurnGivesTheNextMaskOfItsCycle) {
    const platform::Surface strip = tools::MaskStrip();
    const int next[19] = {1, 0, 3, 4, 5, 2, 7, 8, 9, 6, 11, 12, 13, 10, 15, 16, 17, 14, 18};
    for (int k = 0; k < 19; ++k) {
        int mismatches = 0;
        // Clockwise with y downwards: (x, y) goes to (79 - y, x).
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                mismatches += strip.Pixel(k * kCell + x, y) != strip.Pixel(next[k] * kCell + kCell - 1 - y, x);
        EXPECT_EQ(mismatches, 0) << "mask " << k << " turned is not mask " << next[k];
    }
}

TEST(MaskStrip, EmbeddedAssetEqualsTheGeneratorsDrawing) {
    const platform::LoadedPicture embedded = platform::LoadPicture(QStringLiteral(":/masks.bmp"));
    ASSERT_TRUE(embedded);
    EXPECT_TRUE(embedded.Pixels == tools::MaskStrip());
}

}  // namespace
