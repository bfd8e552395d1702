// Saving a running game and loading it back; files and pictures that must
// not replace the game on the board.
#include "game/Levels.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "game/SavedGame.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"
#include "tools/MaskStrip.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SaveLoadBoard {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random{11};
    game::Puzzle puzzle{state, surfaces, view, window, host, random};
    QTemporaryDir dir;

    SaveLoadBoard() {
        host.Screen = {1280, 1024};
        state.ScreenW = 1280;
        state.ScreenH = 1024;
        view.Width = 1600;
        view.Height = 1280;
        view.ScaleWidth = 1280;
        view.ScaleHeight = 960;
        window.CentreLeft = -160;
        window.CentreTop = -128;
        surfaces.picScreen.Resize(view.Width, view.Height);
        surfaces.picBG.Resize(view.Width, view.Height, platform::PixelFromColor(surfaces.BackColor));
        surfaces.picMasks[0] = tools::MaskStrip();
    }

    QString Picture(const QString& name, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        QPainter p(&image);
        p.fillRect(image.rect(), QColor(30, 90, 160));
        p.fillRect(QRect(0, 0, size.width() / 2, size.height() / 3), QColor(230, 180, 40));
        p.end();
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }

    bool Start(const QString& picture, int16_t level) {
        game::ChooseLevel(state, level);
        return puzzle.NewGameSetup(picture);
    }

    QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST(SaveLoad, ALoadedGameHasEveryPieceWhereAndHowItWasSaved) {
    SaveLoadBoard b;
    ASSERT_TRUE(b.Start(b.Picture("p.png", {600, 400}), game::Easy));
    b.state.ElapsedSecs = 321;
    // Shuffle the stacking order and turn a piece, as play would.
    std::swap(b.state.Pieces.front(), b.state.Pieces.back());
    game::PuzzleModule::RotatePiece(b.state, b.surfaces, 1);
    const int16_t turned = b.state.Pieces[1].PicIndex;
    const int16_t turnedTo = b.state.Pieces[1].Rotation;
    std::vector<game::PieceRec> before = b.state.Pieces;
    game::SortHomeOrder(before);

    const QString file = b.dir.filePath("jogo.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));
    // The live game is now stacked in home order; nothing else moved.
    EXPECT_EQ(b.state.Pieces, before);

    SaveLoadBoard other;
    ASSERT_TRUE(other.puzzle.LoadGame(file));
    EXPECT_TRUE(other.state.GameRunning);
    EXPECT_TRUE(other.window.Timer);
    EXPECT_EQ(other.state.SelectedPiece, -1);
    EXPECT_EQ(other.state.ElapsedSecs, 321);
    EXPECT_EQ(other.state.GameLevel, game::Easy);
    EXPECT_EQ(other.state.ChosenLevel, game::Easy);
    EXPECT_EQ(other.state.PieceStep, b.state.PieceStep);
    EXPECT_EQ(other.state.Cols, b.state.Cols);
    EXPECT_EQ(other.state.Rows, b.state.Rows);
    ASSERT_EQ(other.state.Pieces.size(), before.size());
    for (size_t k = 0; k < before.size(); ++k) {
        const game::PieceRec& p = other.state.Pieces[k];
        EXPECT_EQ(p.PicIndex, static_cast<int16_t>(k));
        EXPECT_EQ(p.Left, before[k].Left);
        EXPECT_EQ(p.Top, before[k].Top);
        EXPECT_EQ(p.Rotation, before[k].Rotation);
        EXPECT_EQ(p.Shape, before[k].Shape);
        EXPECT_FALSE(p.InGroup);
    }
    EXPECT_EQ(other.state.Pieces[turned].Rotation, turnedTo);
    EXPECT_EQ(other.surfaces.picPat.size(), before.size());
    // Saving the loaded game writes the same pieces again.
    const QString again = other.dir.filePath("again.pzl");
    ASSERT_TRUE(other.puzzle.SaveGame(again));
    const QList<QByteArray> a = b.Read(file).split('\n'), c = other.Read(again).split('\n');
    ASSERT_EQ(a.size(), c.size());
    for (int i = 10; i < a.size(); ++i) EXPECT_EQ(a[i], c[i]);
}

TEST(SaveLoad, RefusedFilesLeaveTheGameOnTheBoard) {
    SaveLoadBoard b;
    ASSERT_TRUE(b.Start(b.Picture("p.png", {600, 400}), game::KidsB));
    const QString file = b.dir.filePath("jogo.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));
    const QByteArray good = b.Read(file);
    const game::GameState before = b.state;
    b.window.Timer = true;

    auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(b.dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    QList<QByteArray> lines = good.split('\n');
    lines[1] = b.dir.filePath("gone.png").toUtf8() + "\r";
    const QString missing = write("missing.pzl", lines.join('\n'));
    lines = good.split('\n');
    lines[9] = " 2 \r";  // fewer pieces than the picture's grid
    const QString fewer = write("fewer.pzl", lines.join('\n'));
    lines = good.split('\n');
    lines[1] = write("notapicture.png", "nothing here").toUtf8() + "\r";
    const QString broken = write("broken.pzl", lines.join('\n'));

    EXPECT_FALSE(b.puzzle.LoadGame(b.dir.filePath("nosuchfile.pzl")));
    EXPECT_FALSE(b.puzzle.LoadGame(write("garbage.pzl", "\x01\x02 not a saved game")));
    EXPECT_FALSE(b.puzzle.LoadGame(fewer));
    EXPECT_FALSE(b.puzzle.LoadGame(broken));
    EXPECT_TRUE(b.host.Messages.empty());
    EXPECT_FALSE(b.puzzle.LoadGame(missing));
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_EQ(b.host.Messages[0].Text, "O arquivo " + b.dir.filePath("gone.png") + " não foi encontrado");
    EXPECT_EQ(b.host.Messages[0].Icon, platform::MsgIcon::None);

    EXPECT_EQ(b.state.Pieces, before.Pieces);
    EXPECT_EQ(b.state.PicFile, before.PicFile);
    EXPECT_EQ(b.state.GameLevel, before.GameLevel);
    EXPECT_TRUE(b.window.Timer);
}

TEST(SaveLoad, AFailedWriteKeepsTheEarlierFile) {
    SaveLoadBoard b;
    ASSERT_TRUE(b.Start(b.Picture("p.png", {600, 400}), game::KidsA));
    EXPECT_FALSE(b.puzzle.SaveGame(b.dir.filePath("no/such/folder/jogo.pzl")));
    const QString file = b.dir.filePath("jogo.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));
    const QByteArray first = b.Read(file);
    QFile::setPermissions(b.dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    b.state.ElapsedSecs = 999;
    const bool written = b.puzzle.SaveGame(file);
    QFile::setPermissions(b.dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!written) EXPECT_EQ(b.Read(file), first);  // root may write anyway
}

}  // namespace
