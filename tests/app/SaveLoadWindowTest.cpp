// The save and load commands of the main window: the "Save" folder, the
// file name's extension and the clock.
#include "app/frmMain.h"
#include "game/Levels.h"
#include "support/FakeHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SaveLoadWindow : public ::testing::Test {
protected:
    void SetUp() override {
        host.Screen = {1024, 768};
        window = std::make_unique<frmMain>(state, host);
        window->Form_Load();
        window->resize(1024, 700);
        window->show();
        state.AppPath = dir.path() + "/";
        QImage image(500, 380, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        picture = dir.filePath("foto.bmp");
        ASSERT_TRUE(image.save(picture));
    }

    void StartGame() {
        game::ChooseLevel(state, 3);
        ASSERT_TRUE(window->Puzzle().NewGameSetup(picture));
    }

    QTemporaryDir dir;
    FakeHost host;
    game::GameState state;
    std::unique_ptr<frmMain> window;
    QString picture;
};

TEST_F(SaveLoadWindow, SavingAddsTheExtensionInTheSaveFolder) {
    StartGame();
    const QString save = dir.filePath("Save");
    host.SaveAnswers.push_back(save + "/jogo");
    host.SaveAnswers.push_back(save + "/outro.txt");
    host.SaveAnswers.push_back(std::nullopt);
    window->mnuSaveGame->trigger();
    window->mnuSaveGame->trigger();
    window->mnuSaveGame->trigger();
    ASSERT_EQ(host.SaveRequests.size(), 3u);
    EXPECT_EQ(host.SaveRequests[0].InitialDir, save);
    EXPECT_EQ(host.SaveRequests[0].Filter, "Zelvano (*.pzl)|*.pzl");
    EXPECT_TRUE(QFile::exists(save + "/jogo.pzl"));
    EXPECT_TRUE(QFile::exists(save + "/outro.pzl"));
    EXPECT_FALSE(QFile::exists(save + "/outro.txt"));
    EXPECT_TRUE(window->TimerOn());
}

TEST_F(SaveLoadWindow, SavingIsOfferedOnlyDuringAGame) {
    window->mnuSaveGame->trigger();
    EXPECT_TRUE(host.SaveRequests.empty());
}

TEST_F(SaveLoadWindow, LoadingReplacesTheGameAndCancellingChangesNothing) {
    StartGame();
    const QString file = dir.filePath("Save/jogo.pzl");
    host.SaveAnswers.push_back(file);
    window->mnuSaveGame->trigger();
    state.GameRunning = false;  // a finished game
    window->SetTimer(false);

    window->mnuLoadGame->trigger();  // cancelled
    EXPECT_FALSE(state.GameRunning);
    EXPECT_FALSE(window->TimerOn());

    host.OpenAnswers.push_back(file);
    window->mnuLoadGame->trigger();
    EXPECT_EQ(host.OpenRequests.back().InitialDir, dir.filePath("Save"));
    EXPECT_TRUE(state.GameRunning);
    EXPECT_TRUE(window->TimerOn());
    EXPECT_EQ(state.PicFile, picture);
}

}  // namespace
