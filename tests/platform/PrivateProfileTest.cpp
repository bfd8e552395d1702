// The settings-file reader and writer keep every line they do not own.
#include "platform/PrivateProfile.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

void WriteAll(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QString Get(const QString& section, const QString& key, const QString& path, int size = 255) {
    QString buffer;
    platform::GetPrivateProfileString(section, key, QStringLiteral("dflt"), buffer, size, path);
    return buffer;
}

TEST(PrivateProfile, FindsSectionsAndKeysInAnyCase) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    WriteAll(path, "; comment\r\n[Other]\r\nSom=no\r\n[setup]\r\n  som = False \r\nColor=0\r\n");
    EXPECT_EQ(Get("SETUP", "Som", path), "False");
    EXPECT_EQ(Get("SETUP", "COLOR", path), "0");
    EXPECT_EQ(Get("SETUP", "Navegador", path), "dflt");
    EXPECT_EQ(Get("Missing", "Som", path), "dflt");
    EXPECT_EQ(Get("SETUP", "Som", dir.filePath("none.ini")), "dflt");
    EXPECT_EQ(Get("SETUP", "Som", path, 3), "Fa");
}

TEST(PrivateProfile, WritingCreatesFileAndSection) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    ASSERT_TRUE(platform::WritePrivateProfileString("SETUP", "Som", "False", path));
    EXPECT_EQ(ReadAll(path), "[SETUP]\nSom=False\n");
    ASSERT_TRUE(platform::WritePrivateProfileString("SETUP", "Color", "255", path));
    ASSERT_TRUE(platform::WritePrivateProfileString("Other", "x", "1", path));
    EXPECT_EQ(ReadAll(path), "[SETUP]\nSom=False\nColor=255\n[Other]\nx=1\n");
}

TEST(PrivateProfile, WritingReplacesOnlyItsKeyLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("config.ini");
    WriteAll(path, "; keep me\r\n[SETUP]\r\nNavegador=True\r\nsom=True\r\n\r\n[Next]\r\nSom=1\r\n");
    ASSERT_TRUE(platform::WritePrivateProfileString("SETUP", "Som", "False", path));
    EXPECT_EQ(ReadAll(path), "; keep me\r\n[SETUP]\r\nNavegador=True\r\nSom=False\r\n\r\n[Next]\r\nSom=1\r\n");
    ASSERT_TRUE(platform::WritePrivateProfileString("SETUP", "Color", "7", path));
    EXPECT_EQ(ReadAll(path),
              "; keep me\r\n[SETUP]\r\nNavegador=True\r\nSom=False\r\nColor=7\r\n\r\n[Next]\r\nSom=1\r\n");
}

TEST(PrivateProfile, UnwritableFileReportsFailureAndKeepsContents) {
    QTemporaryDir dir;
    EXPECT_FALSE(platform::WritePrivateProfileString("SETUP", "Som", "False", dir.filePath("no/such/dir/config.ini")));
}

}  // namespace
