// The three settings: defaults, forms that cannot be read, and writes.
#include "support/ModINI.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

struct SettingsCase {
    const char* Name;
    const char* File;  // nullptr: no config.ini at all
    bool Sounds;
    bool Miniature;
    int32_t Color;
};

class ReadSettingsCases : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(ReadSettingsCases, GivesValueOrDefault) {
    const SettingsCase c = GetParam();
    QTemporaryDir dir;
    const QString appPath = dir.path() + "/";
    if (c.File) {
        QFile f(appPath + "config.ini");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.File);
    }
    const support::Settings s = support::ReadSettings(appPath);
    EXPECT_EQ(s.Sounds, c.Sounds);
    EXPECT_EQ(s.Miniature, c.Miniature);
    EXPECT_EQ(s.Color, c.Color);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadSettingsCases,
    ::testing::Values(SettingsCase{"NoFile", nullptr, true, true, 15203838},
                      SettingsCase{"EmptyFile", "", true, true, 15203838},
                      SettingsCase{"Garbage", "\x01\xff garbage \n=\n[[[", true, true, 15203838},
                      SettingsCase{"EmptySoundFalseMiniatureBlack", "[SETUP]\nSom=\nNavegador=False\nColor=0\n", true, false, 0},
                      SettingsCase{"AnyLetterCase", "[SETUP]\nSom=false\nNavegador=TRUE\nColor=255\n", false, true, 255},
                      SettingsCase{"UnreadableValues", "[SETUP]\nSom=yes\nNavegador=1\nColor=blue\n", true, true, 15203838},
                      SettingsCase{"ColorBeyond32Bits", "[SETUP]\nColor=99999999999\n", true, true, 15203838},
                      SettingsCase{"OtherSection", "[OTHER]\nSom=False\n", true, true, 15203838}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Settings, ReadINIGivesTheDefaultForEmptyValuesAndCapsLength) {
    QTemporaryDir dir;
    const QString appPath = dir.path() + "/";
    QFile f(appPath + "config.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[SETUP]\nSom=\nLong=" + QByteArray(300, 'x') + "\n");
    f.close();
    EXPECT_EQ(support::ReadINI(appPath, "SETUP", "Som", "True"), "True");
    EXPECT_EQ(support::ReadINI(appPath, "SETUP", "Long", "").size(), 254);
}

TEST(Settings, SwitchingSoundsOffWithoutAFileCreatesIt) {
    QTemporaryDir dir;
    const QString appPath = dir.path() + "/";
    ASSERT_TRUE(support::WriteINI(appPath, support::kSetupSection, "Som", support::BoolText(false)));
    QFile f(appPath + "config.ini");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "[SETUP]\nSom=False\n");
    EXPECT_FALSE(support::ReadSettings(appPath).Sounds);
}

}  // namespace
