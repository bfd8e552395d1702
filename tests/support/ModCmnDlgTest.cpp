// The colour dialog's custom colours in the per-user store, and the board
// colour command.
#include "support/ModCmnDlg.h"
#include "support/ModINI.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using support::ColorList;

ColorList Whites() {
    ColorList c;
    c.fill(16777215);
    return c;
}

QString Numbers(int from, int count) {
    QStringList parts;
    for (int i = 0; i < count; ++i) parts << QString::number(from + i);
    return parts.join(QLatin1Char(','));
}

TEST(ParseCustomColors, ReadsSixteenNumbersOrNothing) {
    ColorList first16{};
    for (int i = 0; i < 16; ++i) first16[i] = i + 1;
    const struct {
        QString Text;
        std::optional<ColorList> Expected;
    } cases[] = {
        {Numbers(1, 16), first16},
        {Numbers(1, 17), first16},  // extra entries are ignored
        {Numbers(1, 15), std::nullopt},
        {QString(), std::nullopt},
        {QStringLiteral("Key"), std::nullopt},
        {QStringLiteral("x,") + Numbers(2, 15), std::nullopt},
        {QStringLiteral(",") + Numbers(1, 16), first16},  // a leading delimiter adds no field
        {QStringLiteral("1,,") + Numbers(3, 14), std::nullopt},
        {QStringLiteral("2147483648,") + Numbers(2, 15), std::nullopt},
        {QStringLiteral("inf,") + Numbers(2, 15), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(support::ParseCustomColors(c.Text), c.Expected) << c.Text.toStdString();

    const auto rounded = support::ParseCustomColors(QStringLiteral("1.5,2.5,-2147483648,") + Numbers(4, 13));
    ASSERT_TRUE(rounded);
    EXPECT_EQ((*rounded)[0], 2);
    EXPECT_EQ((*rounded)[1], 2);  // ties to even
    EXPECT_EQ((*rounded)[2], INT32_MIN);
}

class ShowColorTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeHost host;
    QString storePath() const { return dir.path() + "/zelvano.ini"; }
    support::ModCmnDlg dialog{host, std::make_unique<support::IniUserSettings>(dir.path() + "/zelvano.ini")};
    std::optional<QString> Stored() { return dialog.Store().GetSetting("cDialog", "RegColors"); }
};

TEST_F(ShowColorTest, NothingStoredGivesSixteenWhitesAndStoresThem) {
    host.ColorAnswers.push_back(123);
    EXPECT_EQ(dialog.ShowColor(456, true), 123);
    EXPECT_EQ(host.LastCustomColors, Whites());
    EXPECT_EQ(host.LastColorInitial, 456);
    EXPECT_TRUE(host.LastColorFullOpen);
    EXPECT_EQ(Stored(), support::JoinCustomColors(Whites()));
    EXPECT_EQ(Stored()->split(',').size(), 16);
}

TEST_F(ShowColorTest, MoreThanSixteenStoredUsesTheFirstAndStoresSixteen) {
    ASSERT_TRUE(dialog.Store().SaveSetting("cDialog", "RegColors", Numbers(100, 20)));
    EXPECT_EQ(dialog.ShowColor(0, false), -1);  // cancelled: stored all the same
    EXPECT_EQ(host.LastCustomColors[0], 100);
    EXPECT_EQ(host.LastCustomColors[15], 115);
    EXPECT_EQ(Stored(), Numbers(100, 16));
}

TEST_F(ShowColorTest, AnUnreadableListStartsWhiteAndIsReplaced) {
    ASSERT_TRUE(dialog.Store().SaveSetting("cDialog", "RegColors", "1,2,banana"));
    host.ColorAnswers.push_back(7);
    EXPECT_EQ(dialog.ShowColor(0, true), 7);
    EXPECT_EQ(host.LastCustomColors, Whites());
    EXPECT_EQ(Stored(), support::JoinCustomColors(Whites()));
}

TEST_F(ShowColorTest, AListWrittenByHandWithoutQuotesIsRead) {
    QFile f(storePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("[cDialog]\nRegColors=" + Numbers(5, 16) + "\n").toUtf8());
    f.close();
    dialog.ShowColor(0, true);
    EXPECT_EQ(host.LastCustomColors[0], 5);
    EXPECT_EQ(host.LastCustomColors[15], 20);
}

struct BackColorFixture : ::testing::Test {
    QTemporaryDir dir;
    FakeHost host;
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    support::ModCmnDlg dialog{host, std::make_unique<support::IniUserSettings>(dir.path() + "/store.ini")};

    void SetUp() override {
        state.AppPath = dir.path() + "/";
        surfaces.BackColor = 15203838;
        surfaces.picBG.Resize(4, 3, platform::PixelFromColor(15203838));
        surfaces.picScreen.Resize(4, 3, platform::PixelFromColor(15203838));
    }
    bool AllOf(const platform::Surface& s, uint32_t pixel) {
        for (int y = 0; y < s.Height(); ++y)
            for (int x = 0; x < s.Width(); ++x)
                if (s.Pixel(x, y) != pixel) return false;
        return true;
    }
};

TEST_F(BackColorFixture, PureRedRecoloursTheBoardAndWritesColor255) {
    host.ColorAnswers.push_back(255);
    EXPECT_TRUE(support::ChooseBackColor(dialog, state, surfaces, window));
    EXPECT_EQ(host.LastColorInitial, 15203838);
    EXPECT_TRUE(host.LastColorFullOpen);
    EXPECT_EQ(surfaces.BackColor, 255);
    EXPECT_TRUE(AllOf(surfaces.picBG, 0xFFFF0000u));
    EXPECT_TRUE(AllOf(surfaces.picScreen, 0xFFFF0000u));
    EXPECT_EQ(window.Refreshes, 1);
    EXPECT_EQ(support::ReadINI(state.AppPath, "SETUP", "Color", "none"), "255");
}

TEST_F(BackColorFixture, CancelChangesNothing) {
    EXPECT_FALSE(support::ChooseBackColor(dialog, state, surfaces, window));
    EXPECT_EQ(surfaces.BackColor, 15203838);
    EXPECT_TRUE(AllOf(surfaces.picScreen, platform::PixelFromColor(15203838)));
    EXPECT_EQ(window.Refreshes, 0);
    EXPECT_FALSE(QFile::exists(state.AppPath + "config.ini"));
}

TEST_F(BackColorFixture, UnwritableStoresChangeOnlyTheRunningColour) {
    // A file where a folder should be: neither store can be written.
    QFile blocker(dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    state.AppPath = dir.path() + "/file/";
    dialog.SetStore(std::make_unique<support::IniUserSettings>(dir.path() + "/file/store.ini"));
    host.ColorAnswers.push_back(0x00FF00);
    EXPECT_TRUE(support::ChooseBackColor(dialog, state, surfaces, window));
    EXPECT_EQ(surfaces.BackColor, 0x00FF00);
    EXPECT_TRUE(AllOf(surfaces.picBG, 0xFF00FF00u));
}

}  // namespace
