// The save and load commands of the main window: the "Save" folder, the
// file name's extension, the question before a file is replaced and the clock.
#include "app/frmMain.h"
#include "game/Levels.h"
#include "support/FakeHost.h"
#include "widgets/SurfaceView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <utility>

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

TEST_F(SaveLoadWindow, SavingAddsTheExtensionAndAsksBeforeReplacingAFile) {
    StartGame();
    const QString save = dir.filePath("Save");
    auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    auto saveAs = [&](const QString& typed, std::optional<platform::MsgAnswer> answer) {
        host.SaveAnswers.push_back(typed);
        if (answer) host.Answers.push_back(*answer);
        host.Messages.clear();
        window->mnuSaveGame->trigger();
    };
    std::vector<bool> clockWhileAsked;
    host.OnMessage = [&](const platform::MessageBox&) { clockWhileAsked.push_back(window->TimerOn()); };

    // New names: written without a question.
    saveAs(save + "/jogo", std::nullopt);
    EXPECT_TRUE(host.Messages.empty());
    saveAs(save + "/outro.txt", std::nullopt);
    EXPECT_TRUE(host.Messages.empty());
    host.SaveAnswers.push_back(std::nullopt);
    window->mnuSaveGame->trigger();
    ASSERT_EQ(host.SaveRequests.size(), 3u);
    EXPECT_EQ(host.SaveRequests[0].InitialDir, save);
    EXPECT_EQ(host.SaveRequests[0].Filter, "Zelvano (*.pzl)|*.pzl");
    // The dialog itself never asks (flags 5): it knows only the name typed.
    // The filter in use comes back into the record.
    EXPECT_FALSE(host.SaveRequests[0].ConfirmOverwrite);
    EXPECT_EQ(window->CmnDlg.FilterIndex, 1);
    EXPECT_TRUE(QFile::exists(save + "/outro.pzl"));
    EXPECT_FALSE(QFile::exists(save + "/outro.txt"));
    EXPECT_TRUE(window->TimerOn());

    // A name that would replace a file, typed as it is or made so by the
    // extension: the question names the file that would be replaced. Não
    // leaves every byte of it, Sim writes the game.
    QFile other(save + "/kidsA_salvo.pzl");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("another game\r\n");
    other.close();
    ASSERT_FALSE(bytes(save + "/jogo.pzl").isEmpty());
    state.ElapsedSecs = 4321;  // the game differs from the saved one
    for (const auto& [typed, written] : {std::pair<QString, QString>{save + "/jogo", save + "/jogo.pzl"},
                                         {save + "/kidsA_salvo.copia", save + "/kidsA_salvo.pzl"}}) {
        SCOPED_TRACE(typed.toStdString());
        const QByteArray before = bytes(written);
        clockWhileAsked.clear();
        saveAs(typed, platform::MsgAnswer::No);
        ASSERT_EQ(host.Messages.size(), 1u);
        const platform::MessageBox& asked = host.Messages[0];
        EXPECT_EQ(asked.Text, "O arquivo " + written + " já existe. Deseja substituí-lo?");
        EXPECT_EQ(asked.Title, "");
        EXPECT_EQ(asked.Buttons, platform::MsgButtons::YesNo);
        EXPECT_EQ(asked.Icon, platform::MsgIcon::Question);
        EXPECT_TRUE(asked.DefaultSecond);
        EXPECT_EQ(clockWhileAsked, std::vector<bool>{false});
        EXPECT_EQ(bytes(written), before);
        EXPECT_FALSE(host.Busy);
        EXPECT_TRUE(window->TimerOn());

        saveAs(typed, platform::MsgAnswer::Yes);
        EXPECT_EQ(host.Messages.size(), 1u);
        EXPECT_TRUE(bytes(written).startsWith(" 4321 \r\n"));
        EXPECT_FALSE(host.Busy);
        EXPECT_TRUE(window->TimerOn());
    }
    EXPECT_FALSE(QFile::exists(save + "/kidsA_salvo.copia"));
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
    // A "Save" folder that cannot be made still leaves no earlier name to load.
    const QString appPath = state.AppPath;
    QTemporaryDir other;
    QFile blocker(other.filePath("Save"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    state.AppPath = other.path() + "/";
    window->CmnDlg.FileName = file;
    window->mnuLoadGame->trigger();  // cancelled
    EXPECT_FALSE(state.GameRunning);
    state.AppPath = appPath;

    host.OpenAnswers.push_back(file);
    window->mnuLoadGame->trigger();
    EXPECT_EQ(host.OpenRequests.back().InitialDir, dir.filePath("Save"));
    EXPECT_TRUE(state.GameRunning);
    EXPECT_TRUE(window->TimerOn());
    EXPECT_EQ(state.PicFile, picture);
}

TEST_F(SaveLoadWindow, FarPiecesAndFailingHandlersNeverEndTheProgram) {
    StartGame();
    const QString file = dir.filePath("Save/jogo.pzl");
    host.SaveAnswers.push_back(file);
    window->mnuSaveGame->trigger();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = saved.readAll().split('\n');
    auto withFirstPieceAt = [&](const QString& name, const QByteArray& place) {
        QList<QByteArray> copy = lines;
        copy[10] = place + copy[10].mid(copy[10].indexOf("  ", copy[10].indexOf("  ") + 2));
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(copy.join('\n'));
        return f.fileName();
    };
    const std::vector<game::PieceRec> before = state.Pieces;

    // Beyond the 16-bit edge: refused, told, and the game stays.
    host.OpenAnswers.push_back(withFirstPieceAt("far.pzl", " 32768 -32768"));
    window->mnuLoadGame->trigger();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text, "O arquivo " + dir.filePath("far.pzl") + " está danificado e não pode ser aberto");
    EXPECT_EQ(state.Pieces, before);
    EXPECT_TRUE(state.GameRunning);

    // At the 16-bit edge: loaded, and every piece dropped.
    host.OpenAnswers.push_back(withFirstPieceAt("edge.pzl", " 32767 -32768"));
    window->mnuLoadGame->trigger();
    ASSERT_EQ(host.Messages.size(), 1u);
    ASSERT_TRUE(state.GameRunning);
    EXPECT_EQ(state.Pieces[0].Left, 32767);
    EXPECT_EQ(state.Pieces[0].Top, -32768);
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QWidget* board = window->picScreen();
        QMouseEvent e(type, at, board->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(board, &e);
    };
    const int16_t half = static_cast<int16_t>(state.PieceBox / 2);
    for (size_t k = 1; k < before.size(); ++k) {
        const game::PieceRec& p = state.Pieces[k];
        const QPointF at(p.Left + half, p.Top + half);
        send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, at + QPointF(25, 13), Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, at + QPointF(25, 13), Qt::LeftButton, Qt::NoButton);
    }
    EXPECT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(state.SelectedPiece, -1);

    // A handler that fails half-way is caught at the window's edge: the
    // player is told and the game goes on. The clock stands still while the
    // box is shown.
    std::vector<bool> clockWhileTold;
    host.OnMessage = [&](const platform::MessageBox&) { clockWhileTold.push_back(window->TimerOn()); };
    const game::PieceRec& last = state.Pieces.front();  // the last one dropped, on top
    const QPointF at(last.Left + half, last.Top + half);
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    ASSERT_EQ(state.SelectedPiece, 0);
    // A group wider than 16 bits hold: no place of the held piece fits both.
    state.Pieces[1].InGroup = true;
    state.Pieces[1].GroupDX = 32767;
    state.Pieces[2].InGroup = true;
    state.Pieces[2].GroupDX = -32767;
    send(QEvent::MouseMove, at + QPointF(40, 0), Qt::NoButton, Qt::LeftButton);
    ASSERT_EQ(host.Messages.size(), 2u);
    EXPECT_EQ(host.Messages[1].Text, "Ocorreu um erro e a ação não pôde ser concluída. O jogo continua.");
    EXPECT_EQ(host.Messages[1].Icon, platform::MsgIcon::Critical);
    EXPECT_EQ(clockWhileTold, std::vector<bool>{false});
    EXPECT_TRUE(state.GameRunning);
    EXPECT_TRUE(window->TimerOn());
    send(QEvent::MouseButtonRelease, at + QPointF(40, 0), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(state.SelectedPiece, -1);

    // A menu command that fails, and fails again while its box is shown:
    // told once; the game keeps its level, and its clock runs again once
    // the box is closed, and only while a game runs.
    const int16_t pieceBox = state.PieceBox;
    window->ShowChooser = [] { throw std::runtime_error("no chooser"); };
    clockWhileTold.clear();
    host.OnMessage = [&](const platform::MessageBox&) {
        clockWhileTold.push_back(window->TimerOn());
        if (clockWhileTold.size() == 1) window->mnuNewGame[5]->trigger();
    };
    window->mnuNewGame[5]->trigger();
    EXPECT_EQ(host.Messages.size(), 3u);
    EXPECT_EQ(clockWhileTold, std::vector<bool>{false});
    EXPECT_TRUE(window->TimerOn());
    EXPECT_EQ(state.PieceBox, pieceBox);
    state.GameRunning = false;
    window->mnuNewGame[5]->trigger();
    EXPECT_EQ(host.Messages.size(), 4u);
    EXPECT_FALSE(window->TimerOn());
}

}  // namespace
