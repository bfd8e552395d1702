// The start-up window: its shape cut from the key yellow, its picture, the
// version label and the timed sequence against a scripted clock.
#include "app/FrmSplash.h"
#include "app/FrmAbout.h"
#include "support/FakeHost.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

// Builds a picture from rows of 'Y' (key yellow), 'y' (almost yellow) and
// '.' (blue).
QImage PictureOf(const std::vector<std::string>& rows) {
    QImage image(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            image.setPixel(x, y, c == 'Y' ? qRgb(255, 255, 0) : c == 'y' ? qRgb(254, 255, 0) : qRgb(0, 0, 255));
        }
    return image;
}

struct RegionCase {
    const char* Name;
    std::vector<std::string> Rows;
    std::vector<QRect> Runs;
};

class MakeRegionCases : public ::testing::TestWithParam<RegionCase> {};

TEST_P(MakeRegionCases, CutsExactlyTheKeyRuns) {
    const RegionCase& c = GetParam();
    const QImage picture = PictureOf(c.Rows);
    EXPECT_EQ(KeyColorRuns(picture, kSplashKeyColor), c.Runs);
    const std::optional<QRegion> region = MakeRegion(picture, kSplashKeyColor);
    ASSERT_TRUE(region.has_value());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            EXPECT_EQ(region->contains(QPoint(x, y)), c.Rows[y][x] != 'Y') << c.Name << " at " << x << "," << y;
    EXPECT_FALSE(region->contains(QPoint(picture.width(), 0)));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, MakeRegionCases,
    ::testing::Values(
        RegionCase{"RunToTheRightEdge", {"..YY", ".Y.Y", "YYYY"}, {{2, 0, 2, 1}, {1, 1, 1, 1}, {3, 1, 1, 1}, {0, 2, 4, 1}}},
        RegionCase{"NoYellow", {"...", "..."}, {}},
        RegionCase{"AllYellow", {"YYY", "YYY"}, {{0, 0, 3, 1}, {0, 1, 3, 1}}},
        RegionCase{"AlmostYellowStays", {"YyY", "y.."}, {{0, 0, 1, 1}, {2, 0, 1, 1}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MakeRegion, GivesNothingForNoPicture) {
    EXPECT_FALSE(MakeRegion(QImage(), kSplashKeyColor).has_value());
}

TEST(SplashPicture, IsA24BitPictureWithACleanKeyBorder) {
    QFile file(QStringLiteral(":/splash.bmp"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 30);
    EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 24);  // bits per pixel

    const QImage picture = QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), QSize(614, 223));
    const QRgb key = qRgb(255, 255, 0);
    for (const QPoint corner : {QPoint(0, 0), QPoint(613, 0), QPoint(0, 222), QPoint(613, 222)})
        EXPECT_EQ(picture.pixel(corner), key);
    // The version label sits on the panel, not on the see-through border.
    const QRect label(495, 122, 62, 13);
    for (int y = label.top(); y <= label.bottom(); ++y)
        for (int x = label.left(); x <= label.right(); ++x) ASSERT_NE(picture.pixel(x, y), key);
    // Where the artwork meets the key no pixel is a blend towards yellow.
    int edgePixels = 0;
    for (int y = 1; y < picture.height() - 1; ++y)
        for (int x = 1; x < picture.width() - 1; ++x) {
            const QRgb p = picture.pixel(x, y);
            if (p == key) continue;
            const bool nextToKey = picture.pixel(x - 1, y) == key || picture.pixel(x + 1, y) == key ||
                                   picture.pixel(x, y - 1) == key || picture.pixel(x, y + 1) == key;
            if (!nextToKey) continue;
            ++edgePixels;
            EXPECT_FALSE(qRed(p) > 160 && qGreen(p) > 160 && qBlue(p) < 100) << "yellowish edge at " << x << "," << y;
        }
    EXPECT_GT(edgePixels, 500);
}

TEST(VersionTexts, JoinTheBuildVersion) {
    EXPECT_EQ(VersionText(), QStringLiteral("1.0.0"));
    EXPECT_EQ(AboutVersionText(), QStringLiteral("Versão 1.0.0"));
}

TEST(FrmSplash, LoadShapesTheWindowAndShowsTheVersion) {
    FakeHost host;
    FrmSplash splash(host, nullptr, nullptr);
    EXPECT_TRUE(splash.windowFlags().testFlag(Qt::FramelessWindowHint));
    splash.Form_Load();
    EXPECT_EQ(splash.Label8()->text(), QStringLiteral("1.0.0"));
    ASSERT_TRUE(splash.Shaped());
    EXPECT_FALSE(splash.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(splash.mask().contains(splash.Label8()->geometry().center()));
}

TEST(FrmSplash, AnUnreadablePictureLeavesAPlainWindow) {
    QTemporaryDir dir;
    const QString corrupt = dir.path() + "/splash.bmp";
    QFile f(corrupt);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BM this is not a bitmap");
    f.close();
    for (const QString& path : {corrupt, dir.path() + "/missing.bmp"}) {
        FakeHost host;
        FrmSplash splash(host, nullptr, nullptr);
        splash.Form_Load(path);
        EXPECT_FALSE(splash.Shaped());
        EXPECT_TRUE(splash.mask().isEmpty());
        EXPECT_EQ(splash.Label8()->text(), QStringLiteral("1.0.0"));
        splash.grab();  // paints without a picture
    }
}

// A clock that only moves when the sequence sleeps or a step takes time.
struct ScriptedRun {
    double Clock = 100.0;
    double LoadTakes = 0.0;
    std::vector<std::pair<std::string, double>> Log;
    std::vector<double> Sleeps;

    SplashSteps Steps() {
        SplashSteps s;
        s.DoEvents = [this] {
            Log.emplace_back("DoEvents", Clock);
            return true;
        };
        s.LoadMain = [this] {
            Log.emplace_back("LoadMain", Clock);
            Clock += LoadTakes;
        };
        s.ShowMain = [this] { Log.emplace_back("ShowMain", Clock); };
        s.ShowSplash = [this] { Log.emplace_back("ShowSplash", Clock); };
        s.Unload = [this] { Log.emplace_back("Unload", Clock); };
        s.Now = [this] { return Clock; };
        s.Sleep = [this](double seconds) {
            Sleeps.push_back(seconds);
            Clock += seconds;
        };
        return s;
    }
};

struct SequenceCase {
    double LoadTakes;
    double ShownAt;     // ShowMain, after the start
    double UnloadedAt;  // Unload, after the start
};

class SplashSequenceCases : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(SplashSequenceCases, ShowsMainAfterOneAndAHalfSecondsThenCloses) {
    const SequenceCase c = GetParam();
    ScriptedRun run;
    run.LoadTakes = c.LoadTakes;
    SplashSequence sequence;
    ASSERT_TRUE(sequence.Run(run.Steps()));
    const std::vector<std::string> order = {"DoEvents",   "LoadMain", "ShowMain", "DoEvents",
                                            "ShowSplash", "DoEvents", "Unload"};
    ASSERT_EQ(run.Log.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(run.Log[i].first, order[i]);
    EXPECT_DOUBLE_EQ(run.Log[2].second - 100.0, c.ShownAt);
    EXPECT_DOUBLE_EQ(run.Log[6].second - 100.0, c.UnloadedAt);
}

INSTANTIATE_TEST_SUITE_P(LoadTimes, SplashSequenceCases,
                         ::testing::Values(SequenceCase{0.0, 1.5, 2.0}, SequenceCase{0.4, 1.5, 2.0},
                                           SequenceCase{1.5, 1.5, 2.0}, SequenceCase{2.25, 2.25, 2.75}),
                         [](const auto& info) {
                             return "LoadTakes" + std::to_string(std::lround(info.param.LoadTakes * 1000)) + "ms";
                         });

// Under a window manager a window paints some passes of events after it was
// shown; the sequence lets events run until then, and no longer than its
// limit for a window that never paints.
struct PaintCase {
    const char* Name;
    int SplashPasses;  // passes until the start-up window has painted, each time it is shown
    int MainPasses;    // passes until the main window has painted
    double ShownAt;    // ShowMain, after the start
    double UnloadedAt;
};

void PrintTo(const PaintCase& c, std::ostream* os) { *os << c.Name; }

class SplashPaintCases : public ::testing::TestWithParam<PaintCase> {};

TEST_P(SplashPaintCases, EventsRunUntilEachWindowHasPaintedThenTheWaitsFollow) {
    const PaintCase c = GetParam();
    ScriptedRun run;
    SplashSteps steps = run.Steps();
    int passes = 0;
    steps.DoEvents = [&] {
        ++passes;
        run.Log.emplace_back("DoEvents", run.Clock);
        return true;
    };
    const auto shown = [&](std::function<void()> show) {
        return [&passes, show] {
            show();
            passes = 0;
        };
    };
    steps.ShowMain = shown(steps.ShowMain);
    steps.ShowSplash = shown(steps.ShowSplash);
    steps.SplashPainted = [&] { return passes >= c.SplashPasses; };
    steps.MainPainted = [&] { return passes >= c.MainPasses; };
    SplashSequence sequence;
    ASSERT_TRUE(sequence.Run(steps));
    const auto at = [&](const std::string& step) {
        for (const auto& [name, time] : run.Log)
            if (name == step) return time - 100.0;
        return -1.0;
    };
    const auto passesBefore = [&](const std::string& step) {
        int n = 0;
        for (const auto& entry : run.Log) {
            if (entry.first == step) return n;
            n += entry.first == "DoEvents";
        }
        return -1;
    };
    const int limit = static_cast<int>(SplashSequence::kPaintLimit / SplashSequence::kPaintPoll);
    const auto expected = [&](int needed) { return std::min(needed, limit + 1); };
    EXPECT_EQ(passesBefore("LoadMain"), expected(c.SplashPasses));
    EXPECT_EQ(passesBefore("ShowSplash") - passesBefore("ShowMain"), expected(c.MainPasses));
    EXPECT_EQ(passesBefore("Unload") - passesBefore("ShowSplash"), expected(c.SplashPasses));
    EXPECT_NEAR(at("ShowMain"), c.ShownAt, 0.015);
    EXPECT_NEAR(at("Unload"), c.UnloadedAt, 0.03);
}

INSTANTIATE_TEST_SUITE_P(
    Displays, SplashPaintCases,
    ::testing::Values(PaintCase{"AtOnce", 1, 1, 1.5, 2.0}, PaintCase{"AfterSomePasses", 4, 3, 1.53, 2.08},
                      PaintCase{"Never", 1000000, 1000000, 2.5, 5.0}),
    [](const ::testing::TestParamInfo<PaintCase>& info) { return std::string(info.param.Name); });

TEST(SplashSequence, AProgramEndingWhileEventsRunStopsIt) {
    for (int endAt = 1; endAt <= 3; ++endAt) {
        ScriptedRun run;
        SplashSteps steps = run.Steps();
        int passes = 0;
        steps.DoEvents = [&] { return ++passes < endAt; };
        SplashSequence sequence;
        EXPECT_TRUE(sequence.Run(steps));
        EXPECT_EQ(passes, endAt);
        const std::vector<std::string> shown = {"LoadMain", "ShowMain", "ShowSplash", "Unload"};
        // Ending in the first pass shows nothing; in the main window's, no start-up window again.
        ASSERT_EQ(run.Log.size(), static_cast<size_t>(endAt == 1 ? 0 : endAt)) << endAt;
        for (size_t i = 0; i < run.Log.size(); ++i) EXPECT_EQ(run.Log[i].first, shown[i]);
        // Only the main window's delay is waited, and only once it is loaded.
        EXPECT_EQ(run.Sleeps.size(), endAt == 1 ? 0u : 1u);
    }
}

TEST(SplashSequence, RunsOnlyOnce) {
    ScriptedRun run;
    SplashSequence sequence;
    EXPECT_TRUE(sequence.Run(run.Steps()));
    const size_t steps = run.Log.size();
    EXPECT_FALSE(sequence.Run(run.Steps()));
    EXPECT_EQ(run.Log.size(), steps);
}

TEST(SplashSequence, AStoppedClockStillEndsTheWaits) {
    ScriptedRun run;
    SplashSteps steps = run.Steps();
    double slept = 0;
    steps.Sleep = [&](double seconds) { slept += seconds; };  // the clock never moves
    SplashSequence sequence;
    sequence.Run(steps);
    EXPECT_EQ(run.Log.back().first, "Unload");
    EXPECT_DOUBLE_EQ(slept, 2.0);

    // Nor can it hold up the wait for windows that never paint.
    ScriptedRun unpainted;
    steps = unpainted.Steps();
    slept = 0;
    steps.Sleep = [&](double seconds) { slept += seconds; };
    steps.SplashPainted = steps.MainPainted = [] { return false; };
    SplashSequence().Run(steps);
    EXPECT_EQ(unpainted.Log.back().first, "Unload");
    EXPECT_NEAR(slept, 2.0 + 3 * SplashSequence::kPaintLimit, 3 * SplashSequence::kPaintPoll);
}

TEST(FrmSplash, ActivationLoadsAndShowsTheMainWindowOnce) {
    FakeHost host;
    host.MonotonicStep = 2.0;  // every reading is past both waits: no real sleeping
    int loads = 0;
    int shows = 0;
    FrmSplash splash(host, [&] { ++loads; }, [&]() -> QWidget* {
        ++shows;
        return nullptr;
    });
    splash.Form_Load();
    splash.show();
    splash.Form_Activate();
    splash.Form_Activate();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(host.DoEventsCalls, 3);
    EXPECT_FALSE(splash.isVisible());
    // What the screen shows meanwhile, its picture through the waits and in
    // front of the main window, is checked on a virtual X screen
    // (FrmMainDesktop.TheStartUpWindowShowsItsPictureThroughItsWaits).
}

}  // namespace
