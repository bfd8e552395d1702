// The busy animation: the frame strip as drawn by its table, the frame
// cycle, play and stop, the colour keying and the saved properties.
#include "chooser/Colors.h"
#include "chooser/ucFirefoxWait.h"
#include "tools/FrameStrip.h"

#include <QFile>

#include <gtest/gtest.h>

using chooser::ucFirefoxWait;
using platform::PixelFromColor;

namespace {

constexpr uint32_t kMagentaPx = 0xFFFF00FFu;
constexpr int32_t kWhite = 0x00FFFFFF;

// Centre pixel of dot `dot` in cell `cell` (a non-corner pixel of its square).
uint32_t DotPixel(const platform::Surface& s, int cell, int dot, int cellOffset = 16) {
    static const int corners[8][2] = {{6, 0}, {10, 2}, {12, 6}, {10, 10}, {6, 12}, {2, 10}, {0, 6}, {2, 2}};
    return s.Pixel(cell * cellOffset + corners[dot][0] + 1, corners[dot][1] + 1);
}

TEST(FrameStrip, DotsFollowTheTable) {
    const platform::Surface strip = tools::FrameStrip();
    ASSERT_EQ(strip.Width(), 144);
    ASSERT_EQ(strip.Height(), 16);
    struct Case { int cell, dot; uint32_t rgb; };
    const Case cases[] = {
        {0, 0, 0x414C58}, {0, 1, 0x9AA5B1}, {0, 7, 0x4E5965}, {1, 1, 0x414C58}, {3, 3, 0x414C58},
        {4, 3, 0x4E5965}, {4, 4, 0x4E5965}, {4, 5, 0x9AA5B1}, {6, 6, 0x4E5965}, {7, 7, 0x414C58},
        {7, 0, 0x9AA5B1}, {8, 0, 0xB2B2B2}, {8, 5, 0xB2B2B2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DotPixel(strip, c.cell, c.dot), 0xFF000000u | c.rgb) << c.cell << "/" << c.dot;
    // Each dot is its 4 x 4 square without the corners: 12 pixels, so 96 per
    // cell, and the key everywhere else (the square corners included).
    for (int cell = 0; cell < 9; ++cell) {
        int dots = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) dots += strip.Pixel(cell * 16 + x, y) != kMagentaPx;
        EXPECT_EQ(dots, 96) << cell;
        EXPECT_EQ(strip.Pixel(cell * 16 + 6, 0), kMagentaPx);
        EXPECT_EQ(strip.Pixel(cell * 16 + 9, 3), kMagentaPx);
    }
}

TEST(FrameStrip, CommittedAssetIsTheGeneratorsDrawingIn24Bits) {
    QFile file(QStringLiteral(":/framestrip.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 30);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);  // bits per pixel
    const platform::LoadedPicture embedded = platform::LoadPicture(QStringLiteral(":/framestrip.bmp"));
    ASSERT_TRUE(embedded);
    EXPECT_TRUE(embedded.Pixels == tools::FrameStrip());
}

TEST(FirefoxWait, FramesCycleAndMapToCells) {
    const int32_t expected[] = {1, 2, 3, 4, 5, 6, 7, 0, 1};
    int32_t frame = 0;
    for (int32_t e : expected) {
        frame = chooser::NextFrame(frame);
        EXPECT_EQ(frame, e);
        EXPECT_EQ(chooser::FrameSourceX(frame), 16 * e);
    }
    EXPECT_EQ(chooser::kIdleSourceX, 128);
}

TEST(FirefoxWait, ReplaceColorTouchesOnlyTheKeyInsideTheArea) {
    platform::Surface s(4, 2, kMagentaPx);
    s.SetPixel(1, 0, PixelFromColor(0x123456));
    chooser::ReplaceColor(s, chooser::kMagenta, 0x00FF0000, 3, 2);
    EXPECT_EQ(s.Pixel(0, 0), PixelFromColor(0x00FF0000));
    EXPECT_EQ(s.Pixel(1, 0), PixelFromColor(0x123456));
    EXPECT_EQ(s.Pixel(2, 1), PixelFromColor(0x00FF0000));
    EXPECT_EQ(s.Pixel(3, 1), kMagentaPx);  // outside the area
    chooser::ReplaceColor(s, chooser::kMagenta, 0, 999, 999);  // clipped, no fault
    EXPECT_EQ(s.Pixel(3, 1), platform::kBlack);
}

TEST(FirefoxWait, PlaysFromCellOneOnTheHostsColour) {
    ucFirefoxWait w;
    w.SetBackColor(kWhite);
    // A fresh widget shows the idle ring.
    EXPECT_EQ(DotPixel(w.picDestination(), 0, 0, 0), 0xFFB2B2B2u);
    EXPECT_EQ(w.picDestination().Pixel(0, 0), platform::kWhite);
    w.PlayWait();
    EXPECT_TRUE(w.IsPlaying());
    EXPECT_TRUE(w.tmrPlay().isActive());
    EXPECT_EQ(w.tmrPlay().interval(), 100);
    const int32_t heads[] = {1, 2, 3, 4, 5, 6, 7, 0, 1};
    for (int32_t head : heads) {
        w.tmrPlay_Timer();
        EXPECT_EQ(w.Frame(), head);
        // The head is the darkest shade, except in cells 4 to 6 (second shade).
        const uint32_t headColour = (head >= 4 && head <= 6) ? 0x4E5965u : 0x414C58u;
        EXPECT_EQ(DotPixel(w.picDestination(), 0, head, 0), 0xFF000000u | headColour);
        EXPECT_EQ(w.picDestination().Pixel(0, 0), platform::kWhite);
    }
}

TEST(FirefoxWait, StopShowsIdleAndRestartsAtCellOne) {
    ucFirefoxWait w;
    w.SetBackColor(kWhite);
    w.PlayWait();
    w.tmrPlay_Timer();
    w.tmrPlay_Timer();
    w.PlayWait();  // already playing: nothing changes
    EXPECT_EQ(w.Frame(), 2);
    w.StopWait();
    EXPECT_FALSE(w.IsPlaying());
    EXPECT_FALSE(w.tmrPlay().isActive());
    EXPECT_EQ(w.Frame(), 0);
    EXPECT_EQ(DotPixel(w.picDestination(), 0, 3, 0), 0xFFB2B2B2u);
    w.PlayWait();
    w.tmrPlay_Timer();
    EXPECT_EQ(w.Frame(), 1);
}

TEST(FirefoxWait, StopWhileIdleDrawsNothing) {
    ucFirefoxWait w;
    w.SetBackColor(kWhite);
    w.PlayWait();
    w.tmrPlay_Timer();
    w.SetIsPlaying(false);  // the flag alone: the timer keeps ticking
    EXPECT_TRUE(w.tmrPlay().isActive());
    const platform::Surface before = w.picDestination();
    w.StopWait();
    EXPECT_TRUE(w.picDestination() == before);
    EXPECT_TRUE(w.tmrPlay().isActive());
    w.tmrPlay_Timer();
    EXPECT_EQ(w.Frame(), 2);
    w.SetAnimationSpeed(40);
    EXPECT_EQ(w.tmrPlay().interval(), 40);
    w.PlayWait();
    EXPECT_TRUE(w.IsPlaying());
    EXPECT_EQ(w.Frame(), 2);
}

TEST(FirefoxWait, IsPlayingAloneStartsNoTimer) {
    ucFirefoxWait w;
    w.SetIsPlaying(true);
    EXPECT_FALSE(w.tmrPlay().isActive());
    w.PlayWait();
    EXPECT_FALSE(w.tmrPlay().isActive());
    w.StopWait();
    w.PlayWait();
    EXPECT_TRUE(w.tmrPlay().isActive());
}

TEST(FirefoxWait, SystemColourBecomesButtonFace) {
    ucFirefoxWait w;
    w.SetBackColor(chooser::kSystemButtonFace);
    EXPECT_EQ(w.BackColor(), w.DefaultBackColor());
    EXPECT_EQ(w.picSource().Pixel(0, 0), PixelFromColor(w.DefaultBackColor()));
    EXPECT_EQ(w.picDestination().Pixel(0, 0), PixelFromColor(w.DefaultBackColor()));
}

TEST(FirefoxWait, ColourChangeRekeysFromThePristineStrip) {
    ucFirefoxWait w;
    w.SetBackColor(0x000000FF);
    w.SetBackColor(kWhite);  // red pixels must not survive: the key is restored first
    for (int x = 0; x < 144; ++x) EXPECT_NE(w.picSource().Pixel(x, 0), PixelFromColor(0x000000FF));
    EXPECT_EQ(w.picSource().Pixel(0, 0), platform::kWhite);
}

TEST(FirefoxWait, KeepsItsSizeAndNegativeSpeedIsSafe) {
    ucFirefoxWait w;
    w.resize(100, 50);
    EXPECT_EQ(w.size(), QSize(16, 16));
    w.SetAnimationSpeed(-5);
    EXPECT_EQ(w.AnimationSpeed(), -5);
    EXPECT_GE(w.tmrPlay().interval(), 1);
}

TEST(FirefoxWait, PropertiesPersistOnlyChangesAndNotify) {
    ucFirefoxWait w;
    std::vector<QString> changed;
    w.PropertyChanged = [&](const QString& name) { changed.push_back(name); };
    chooser::PropertyBag bag;
    w.UserControl_WriteProperties(bag);
    EXPECT_TRUE(bag.Values.isEmpty());
    w.SetBackColor(kWhite);
    w.SetAnimationSpeed(50);
    w.PlayWait();
    EXPECT_EQ(changed, (std::vector<QString>{"BackColor", "AnimationSpeed", "IsPlaying"}));
    w.UserControl_WriteProperties(bag);
    EXPECT_EQ(bag.Values.value("BackColor").toInt(), kWhite);
    EXPECT_EQ(bag.Values.value("AnimationSpeed").toInt(), 50);
    EXPECT_TRUE(bag.Values.value("IsPlaying").toBool());

    ucFirefoxWait r;
    bag.Values.insert("AnimationSpeed", QStringLiteral("fast"));  // unreadable: skipped
    r.UserControl_ReadProperties(bag);
    EXPECT_EQ(r.BackColor(), kWhite);
    EXPECT_EQ(r.AnimationSpeed(), 100);
    EXPECT_TRUE(r.IsPlaying());
    EXPECT_FALSE(r.tmrPlay().isActive());  // reading starts nothing
}

}  // namespace
