// The settings-file reader and writer keep every line they do not own.
#include "platform/PrivateProfile.h"
#include "support/WriteCases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Whatever the file holds besides the key, a write changes only the key's line.
TEST(PrivateProfile, WritingKeepsEveryOtherByte) {
    const QByteArray garbage = QByteArray("\xff\xfe\0[\x80\r\rz=\x81\n\x90\n[SETUP\n", 20) + QByteArray(3000, '\xa0');
    const struct {
        QByteArray Before;
        const char* Key;
        QByteArray After;
    } cases[] = {
        {"[Jogador]\r\nNome=Jos\xe9 Concei\xe7\xe3o\r\n[SETUP]\r\nSom=True\r\n", "Som",
         "[Jogador]\r\nNome=Jos\xe9 Concei\xe7\xe3o\r\n[SETUP]\r\nSom=False\r\n"},
        {"[SETUP]\nSom=True\r\nColor=1\n", "Som", "[SETUP]\nSom=False\r\nColor=1\n"},
        {"[SETUP]\nSom=True\r\nColor=1\n", "Navegador", "[SETUP]\nSom=True\r\nColor=1\nNavegador=False\r\n"},
        {"[SETUP]\nSom=True", "Navegador", "[SETUP]\nSom=True\nNavegador=False"},
        {"\xEF\xBB\xBF[SETUP]\r\nSom=True\r\n", "Som", "\xEF\xBB\xBF[SETUP]\r\nSom=False\r\n"},
        {garbage, "Som", garbage + "\n[SETUP]\nSom=False\n"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("config.ini");
        WriteAll(path, c.Before);
        ASSERT_TRUE(platform::WritePrivateProfileString("SETUP", c.Key, "False", path));
        EXPECT_EQ(ReadBytes(path), c.After) << c.Before.left(40).toStdString();
        ASSERT_TRUE(platform::WritePrivateProfileString("SETUP", c.Key, "False", path));
        EXPECT_EQ(ReadBytes(path), c.After) << "written twice";
    }
    QTemporaryDir dir;
    WriteAll(dir.filePath("config.ini"), cases[0].Before);
    EXPECT_EQ(Get("jogador", "NOME", dir.filePath("config.ini")), QString::fromUtf8("José Conceição"));
}

TEST(PrivateProfile, UnwritableFileReportsFailureAndKeepsContents) {
    writetest::Writer writer;
    writer.Shorter = "[S]\r\nK=1\r\n";
    writer.Longer = "[S]\nK=" + QByteArray(3000, 'x') + "\n";
    writer.Write = [](const QString& path) { return platform::WritePrivateProfileString("S", "K", "False", path); };
    std::vector<writetest::WriteCase> cases = writetest::kCases;
    // A file that cannot be read cannot be merged into: writing it would lose
    // every other line.
    cases.push_back({"UnreadableFile", writetest::Folder::Writable, writetest::Old::Shorter, 0200,
                     writetest::Limit::None, true, false});
    writetest::RunCases(writer, cases);

    // A "settings file" that is a FIFO or a folder is neither read (a FIFO
    // would block the start-up for ever) nor replaced.
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.ini"), folder = dir.filePath("folder.ini");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ini"));
    for (const QString& path : {fifo, folder}) {
        EXPECT_EQ(Get("S", "K", path), "dflt");
        EXPECT_FALSE(writer.Write(path));
        EXPECT_FALSE(QFileInfo(path).isFile());
    }
}

}  // namespace
