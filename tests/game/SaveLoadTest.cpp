// Saving a running game and loading it back; files and pictures that must
// not replace the game on the board.
#include "game/BoardLayout.h"
#include "game/Completion.h"
#include "game/Levels.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "game/SavedGame.h"
#include "support/DamagedPictures.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"
#include "support/WriteCases.h"
#include "tools/MaskStrip.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // The board of a simulated screen, centred as the main window makes it.
    // Its surfaces keep their size: nothing here looks beyond them.
    void OnScreen(QSize screen) {
        host.Screen = screen;
        state.ScreenW = static_cast<int16_t>(screen.width());
        state.ScreenH = static_cast<int16_t>(screen.height());
        const game::BoardRect board = game::BoardForScreen(state.ScreenW, state.ScreenH);
        view.Width = board.Width;
        view.Height = board.Height;
        view.ScaleWidth = state.ScreenW;
        view.ScaleHeight = static_cast<int16_t>(state.ScreenH - 64);
        window.CentreLeft = board.Left;
        window.CentreTop = board.Top;
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

// Wide rows and tall columns joined and carried as far as the pointer goes:
// the group stops where its last piece would leave the snap grid's range,
// lands in line, and the save loads with every piece where it was.
TEST(SaveLoad, AJoinedRowCarriedToTheFarEdgeSavesAndLoadsInLine) {
    struct Case {
        QSize screen;
        QSize picture;
        int16_t pieces;  // in the line carried
        bool down;       // a column carried down, not a row across
    };
    for (const Case& c : {Case{{2560, 1440}, {18600, 44}, 423, false}, Case{{3840, 2160}, {32000, 44}, 728, false},
                          Case{{3840, 2160}, {44, 32000}, 728, true}}) {
        SCOPED_TRACE(c.picture.width());
        SaveLoadBoard b;
        b.OnScreen(c.screen);
        ASSERT_TRUE(b.Start(b.Picture("line.png", c.picture), game::Hard));
        ASSERT_EQ(c.down ? b.state.Rows : b.state.Cols, c.pieces);
        // The first row (or column) joined and upright near the board's
        // corner, its first piece on top.
        const int16_t step = b.state.PieceStep;
        const auto along = [&](const game::PieceRec& p) { return c.down ? p.Row : p.Col; };
        const auto inLine = [&](const game::PieceRec& p) { return (c.down ? p.Col : p.Row) == 0; };
        for (size_t k = 0; k < b.state.Pieces.size(); ++k) {
            game::PieceRec& p = b.state.Pieces[k];
            if (!inLine(p)) continue;
            while (p.Rotation != 0) game::PuzzleModule::RotatePiece(b.state, b.surfaces, static_cast<int16_t>(k));
            p.Left = static_cast<int16_t>(22 + (c.down ? 0 : along(p) * step));
            p.Top = static_cast<int16_t>(22 + (c.down ? along(p) * step : 0));
        }
        const auto first = std::find_if(b.state.Pieces.begin(), b.state.Pieces.end(),
                                        [](const game::PieceRec& p) { return p.Row == 0 && p.Col == 0; });
        std::rotate(b.state.Pieces.begin(), first, first + 1);

        const float at = 22 + b.state.PieceBox / 2.0f;
        b.puzzle.picScreen_MouseDown(game::LeftButton, 0, at, at);
        ASSERT_EQ(b.state.SelectedPiece, 0);
        if (c.down) {
            b.puzzle.picScreen_MouseMove(game::LeftButton, 0, at, b.view.Height);
            b.puzzle.picScreen_MouseMove(game::LeftButton, 0, at, 40000);
            b.puzzle.picScreen_MouseUp(game::LeftButton, 0, at, 40000);
        } else {
            b.puzzle.picScreen_MouseMove(game::LeftButton, 0, b.view.Width, at);
            b.puzzle.picScreen_MouseMove(game::LeftButton, 0, 40000, at);
            b.puzzle.picScreen_MouseUp(game::LeftButton, 0, 40000, at);
        }
        EXPECT_TRUE(b.host.Messages.empty());

        auto expectInLine = [&](const game::GameState& s) {
            std::vector<game::PieceRec> line(static_cast<size_t>(c.pieces));
            for (const game::PieceRec& p : s.Pieces)
                if (inLine(p)) line[static_cast<size_t>(along(p))] = p;
            EXPECT_EQ(c.down ? line.back().Top : line.back().Left, game::SnapRange(11).Hi);
            for (const game::PieceRec& p : line) {
                EXPECT_EQ(c.down ? p.Left : p.Top, 22) << along(p);
                EXPECT_EQ(c.down ? p.Top : p.Left, (c.down ? line[0].Top : line[0].Left) + along(p) * step)
                    << along(p);
            }
        };
        expectInLine(b.state);
        const QString file = b.dir.filePath("line.pzl");
        ASSERT_TRUE(b.puzzle.SaveGame(file));
        SaveLoadBoard other;
        other.OnScreen(c.screen);
        ASSERT_TRUE(other.puzzle.LoadGame(file));
        EXPECT_TRUE(other.host.Messages.empty());
        expectInLine(other.state);
    }
}

// The give-up lays a wide picture out from the visible corner, or inward
// from it where its last column would leave 16 bits; the solved game saves
// and loads solved.
TEST(SaveLoad, AGiveUpOnAWideBoardSavesAndLoadsSolved) {
    struct Case {
        QSize picture;
        int16_t level;
        bool scrolledRight;  // the board scrolled as far right as it goes
    };
    for (const Case& c : {Case{{20700, 89}, game::KidsA, false}, Case{{32000, 44}, game::Hard, true}}) {
        SCOPED_TRACE(c.picture.width());
        SaveLoadBoard b;
        b.OnScreen({3840, 2160});
        ASSERT_TRUE(b.Start(b.Picture("wide.png", c.picture), c.level));
        if (c.scrolledRight) b.window.MoveBoard(static_cast<int16_t>(b.view.ScaleWidth - b.view.Width + 1), b.view.Top);
        b.puzzle.MnDesistir_Click();
        EXPECT_TRUE(b.host.Messages.empty());
        const auto ref = game::FindReference(b.state);
        ASSERT_TRUE(ref.has_value());
        EXPECT_TRUE(game::IsComplete(b.state, ref->X0, ref->Y0));

        const QString file = b.dir.filePath("solved.pzl");
        ASSERT_TRUE(b.puzzle.SaveGame(file));
        SaveLoadBoard other;
        other.OnScreen({3840, 2160});
        ASSERT_TRUE(other.puzzle.LoadGame(file));
        EXPECT_TRUE(other.host.Messages.empty());
        EXPECT_TRUE(game::IsComplete(other.state, ref->X0, ref->Y0));
    }
}

TEST(SaveLoad, AGameOfA48MegapixelPhotographLoads) {
    // Decoded whole, 8000 x 6000 pixels take 192 MB, more than a decoder may
    // allocate by default; the load decodes the picture reduced, as the new
    // game did.
    SaveLoadBoard b;
    QImage photo(8000, 6000, QImage::Format_RGB32);
    photo.fill(QColor(30, 90, 160));
    QPainter(&photo).fillRect(0, 0, 4000, 3000, QColor(230, 180, 40));
    const QString picture = b.dir.filePath("foto.jpg");
    ASSERT_TRUE(photo.save(picture, "JPEG"));
    photo = QImage();
    ASSERT_TRUE(b.Start(picture, game::Hard));
    const QString file = b.dir.filePath("foto.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));

    SaveLoadBoard other;
    ASSERT_TRUE(other.puzzle.LoadGame(file));
    EXPECT_TRUE(other.host.Messages.empty());
    EXPECT_EQ(other.state.Pieces.size(), b.state.Pieces.size());
    EXPECT_LT(other.window.MiniaturePictureSize.width(), 8000);
    EXPECT_FLOAT_EQ(other.window.MiniatureWidth, b.window.MiniatureWidth);
    EXPECT_FLOAT_EQ(other.window.MiniatureHeight, b.window.MiniatureHeight);
    const platform::Surface& m = other.surfaces.picMaster;
    const QColor topLeft = QColor::fromRgb(m.Pixel(m.Width() / 4, m.Height() / 4));
    const QColor bottomRight = QColor::fromRgb(m.Pixel(m.Width() * 3 / 4, m.Height() * 3 / 4));
    EXPECT_NEAR(topLeft.red(), 230, 20);
    EXPECT_NEAR(bottomRight.blue(), 160, 20);
}

// A phone photograph stored on its side with a tag to turn it: a game saved
// before the tag was read cut the picture as stored, one saved since cuts
// it upright, and each loads as it was cut.
TEST(SaveLoad, AGameOfATaggedPhotographLoadsAsItWasCut) {
    QImage stored(800, 400, QImage::Format_RGB32);
    stored.fill(QColor(30, 90, 160));
    QPainter(&stored).fillRect(0, 0, 400, 200, QColor(230, 180, 40));
    const QByteArray jpeg = damaged::Written(stored, "JPEG");
    SaveLoadBoard b;
    const QString picture = damaged::Write(b.dir.filePath("foto.jpg"), jpeg);
    ASSERT_TRUE(b.Start(picture, game::Hard));  // as the tag was not read: the file as stored
    const QString before = b.dir.filePath("antes.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(before));
    SaveLoadBoard asStored;
    ASSERT_TRUE(asStored.puzzle.LoadGame(before));

    damaged::Write(picture, damaged::WithOrientation(jpeg, 6));
    SaveLoadBoard old;
    ASSERT_TRUE(old.puzzle.LoadGame(before));
    EXPECT_TRUE(old.surfaces.picMaster == asStored.surfaces.picMaster);
    EXPECT_EQ(old.window.MiniaturePictureSize, asStored.window.MiniaturePictureSize);
    EXPECT_FLOAT_EQ(old.window.MiniatureWidth, asStored.window.MiniatureWidth);
    EXPECT_FLOAT_EQ(old.window.MiniatureHeight, asStored.window.MiniatureHeight);

    ASSERT_TRUE(b.Start(picture, game::Hard));
    EXPECT_GT(b.state.PicH, b.state.PicW);
    const QString since = b.dir.filePath("agora.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(since));
    SaveLoadBoard upright;
    ASSERT_TRUE(upright.puzzle.LoadGame(since));
    const platform::Surface& m = upright.surfaces.picMaster;
    EXPECT_GT(m.Height(), m.Width());
    EXPECT_GT(upright.window.MiniatureHeight, upright.window.MiniatureWidth);
    // The stored picture's top left quarter is the upright one's top right.
    EXPECT_NEAR(QColor::fromRgb(m.Pixel(m.Width() * 3 / 4, m.Height() / 4)).red(), 230, 20);
    EXPECT_NEAR(QColor::fromRgb(m.Pixel(m.Width() / 4, m.Height() / 4)).blue(), 160, 20);
}

// Every file but its clock line.
QList<QByteArray> WithoutClock(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty()) lines.removeFirst();
    return lines;
}

TEST(SaveLoad, ALoadedGameSavedAgainIsTheSameFile) {
    // Narrow, tall, tiny and exact-multiple pictures among ordinary ones: the
    // new game's framed picture may end within a cell of its grid's edge,
    // and a picture grown by a load may reach the edge exactly.
    const QSize sizes[] = {{173, 653}, {100, 138}, {66, 262}, {33, 65}, {44, 52},
                           {55, 163}, {12, 40}, {88, 88}, {300, 200}, {1000, 90}};
    const int16_t levels[] = {game::KidsA, game::KidsB, game::Easy, game::Medium, game::Hard};
    for (const QSize screen : {QSize(1280, 1024), QSize(800, 600)}) {
        SaveLoadBoard b;
        b.host.Screen = screen;
        b.state.ScreenW = static_cast<int16_t>(screen.width());
        b.state.ScreenH = static_cast<int16_t>(screen.height());
        for (const QSize size : sizes) {
            const QString picture = b.Picture("p.png", size);
            for (const int16_t level : levels) {
                SCOPED_TRACE(QStringLiteral("%1x%2 level %3 screen %4")
                                 .arg(size.width())
                                 .arg(size.height())
                                 .arg(level)
                                 .arg(screen.width())
                                 .toStdString());
                if (!b.Start(picture, level)) continue;  // too small for a new game
                b.host.Messages.clear();
                // A loaded game writes the file it came from, so every later
                // load and save repeats this one.
                const QString first = b.dir.filePath("1.pzl"), second = b.dir.filePath("2.pzl");
                ASSERT_TRUE(b.puzzle.SaveGame(first));
                ASSERT_TRUE(b.puzzle.LoadGame(first));
                ASSERT_TRUE(b.puzzle.SaveGame(second));
                EXPECT_EQ(WithoutClock(b.Read(second)), WithoutClock(b.Read(first)));

                // A file saved after a load by earlier versions holds the
                // picture size the load painted; it loads and saves as it is.
                const game::LoadFit grown = game::FitSavedGame(game::ParseSavedGame(b.Read(first)).value()).value();
                QList<QByteArray> lines = b.Read(first).split('\n');
                lines[3] = game::FormatNumber(grown.PicW) + "\r";
                lines[4] = game::FormatNumber(grown.PicH) + "\r";
                const QByteArray older = lines.join('\n');
                QFile f(b.dir.filePath("older.pzl"));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write(older);
                f.close();
                ASSERT_TRUE(b.puzzle.LoadGame(f.fileName()));
                ASSERT_TRUE(b.puzzle.SaveGame(second));
                EXPECT_EQ(WithoutClock(b.Read(second)), WithoutClock(older));
                EXPECT_TRUE(b.host.Messages.empty()) << b.host.Messages.back().Text.toStdString();
            }
        }
    }
}

TEST(SaveLoad, RefusedFilesLeaveTheGameOnTheBoard) {
    SaveLoadBoard b;
    ASSERT_TRUE(b.Start(b.Picture("p.png", {600, 400}), game::KidsB));
    const QString file = b.dir.filePath("jogo.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));
    const QByteArray good = b.Read(file);
    const game::GameState before = b.state;

    auto write = [&](const QString& name, const QByteArray& text) {
        QFile f(b.dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    auto withLine = [&](int index, const QByteArray& text) {
        QList<QByteArray> lines = good.split('\n');
        lines[index] = text + "\r";
        return lines.join('\n');
    };
    const QString fifo = b.dir.filePath("fifo");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const QString folder = b.dir.filePath("pasta.pzl");
    ASSERT_TRUE(QDir().mkpath(folder));
    // A megabyte that claims the most pieces a 16-bit count can.
    QByteArray huge = withLine(9, " 32766 ");
    huge = huge.left(huge.indexOf("\r\n", huge.indexOf(" 32766 ")) + 2);
    for (int k = 0; k < 32767; ++k) huge += " 0  0  0  0  0  0  0 \r\n";
    // A good game, then more blank lines than any saved game is long.
    const QByteArray padded = good + QByteArray("\r\n").repeated(game::kMaxSavedGameBytes / 2);

    const QString damaged = " está danificado e não pode ser aberto";
    struct Case {
        QString file;
        QString message;  // after "O arquivo " and the file's name
    };
    const QString gone = b.dir.filePath("gone.png");
    const std::vector<Case> cases{
        {b.dir.filePath("nosuchfile.pzl"), b.dir.filePath("nosuchfile.pzl") + " não foi encontrado"},
        {folder, folder + " não foi encontrado"},
        {fifo, fifo + " não foi encontrado"},
        {write("garbage.pzl", "\x01\x02 not a saved game"), b.dir.filePath("garbage.pzl") + damaged},
        {write("cut.pzl", good.left(good.size() / 2)), b.dir.filePath("cut.pzl") + damaged},
        {write("fewer.pzl", withLine(9, " 2 ")), b.dir.filePath("fewer.pzl") + damaged},
        {write("huge.pzl", huge), b.dir.filePath("huge.pzl") + damaged},
        {write("padded.pzl", padded), b.dir.filePath("padded.pzl") + damaged},
        {write("far.pzl", withLine(10, " 32768  110  0  0  0  0  1 ")), b.dir.filePath("far.pzl") + damaged},
        {write("narrow.pzl", withLine(3, " 60 ")), b.dir.filePath("narrow.pzl") + damaged},
        {write("missing.pzl", withLine(1, gone.toUtf8())), gone + " não foi encontrado"},
        {write("picfolder.pzl", withLine(1, b.dir.path().toUtf8())), b.dir.path() + " não foi encontrado"},
        {write("picfifo.pzl", withLine(1, fifo.toUtf8())), fifo + " não foi encontrado"},
    };
    bool clockStood = true;
    b.host.OnMessage = [&](const platform::MessageBox&) { clockStood = clockStood && !b.window.Timer; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        b.host.Messages.clear();
        b.window.Timer = true;
        EXPECT_FALSE(b.puzzle.LoadGame(c.file));
        ASSERT_EQ(b.host.Messages.size(), 1u);
        EXPECT_EQ(b.host.Messages[0].Text, "O arquivo " + c.message);
        EXPECT_TRUE(clockStood);
        EXPECT_TRUE(b.window.Timer);
        EXPECT_EQ(b.state.Pieces, before.Pieces);
        EXPECT_EQ(b.state.PicFile, before.PicFile);
        EXPECT_EQ(b.state.PicW, before.PicW);
        EXPECT_EQ(b.state.GameLevel, before.GameLevel);
    }
    // The picture's own messages stay as they were.
    b.host.Messages.clear();
    EXPECT_FALSE(b.puzzle.LoadGame(write("missing.pzl", withLine(1, gone.toUtf8()))));
    ASSERT_EQ(b.host.Messages.size(), 1u);
    EXPECT_EQ(b.host.Messages[0].Icon, platform::MsgIcon::None);
    EXPECT_FALSE(b.puzzle.LoadGame(write("notapicture.pzl", withLine(1, write("notapicture.png", "nothing").toUtf8()))));
    ASSERT_EQ(b.host.Messages.size(), 2u);
    EXPECT_EQ(b.host.Messages[1].Text, "A imagem " + b.dir.filePath("notapicture.png") + " não pôde ser aberta");
    // A picture whose header claims more than its bytes hold is never decoded.
    const QString claims = write("claims.jpg", damaged::JpegClaiming(4000, 3000));
    EXPECT_FALSE(b.puzzle.LoadGame(write("claims.pzl", withLine(1, claims.toUtf8()))));
    ASSERT_EQ(b.host.Messages.size(), 3u);
    EXPECT_EQ(b.host.Messages[2].Text, "A imagem " + claims + " não pôde ser aberta");
    EXPECT_EQ(b.state.Pieces, before.Pieces);
}

TEST(SaveLoad, AFileThatCannotBeReadIsNotCalledDamaged) {
    SaveLoadBoard b;
    ASSERT_TRUE(b.Start(b.Picture("p.png", {600, 400}), game::KidsB));
    const QString file = b.dir.filePath("jogo.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));
    // Nobody may read the file, though anyone may reach it. Root reads it all
    // the same, so the load runs in a child process that is nobody (65534).
    ASSERT_EQ(chmod(b.dir.path().toLocal8Bit().constData(), 0711), 0);
    ASSERT_EQ(chmod(file.toLocal8Bit().constData(), 0), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
        b.host.Messages.clear();
        const bool loaded = b.puzzle.LoadGame(file);
        const bool told = b.host.Messages.size() == 1 &&
                          b.host.Messages[0].Text == "O arquivo " + file + " não pôde ser aberto" &&
                          b.host.Messages[0].Icon == platform::MsgIcon::Critical;
        _exit(!loaded && told ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not told that the file cannot be opened; 2: could not become nobody";
}

TEST(SaveLoad, AFailedWriteIsToldAndKeepsTheEarlierFile) {
    SaveLoadBoard b;
    ASSERT_TRUE(b.Start(b.Picture("p.png", {600, 400}), game::KidsA));
    writetest::Writer writer;
    writer.Shorter = "x\r\n";
    writer.Longer = QByteArray(100000, 'x');
    writer.Write = [&](const QString& path) {
        b.host.Messages.clear();
        const bool written = b.puzzle.SaveGame(path);
        EXPECT_EQ(b.host.Messages.size(), written ? 0u : 1u);
        if (!written && !b.host.Messages.empty())
            EXPECT_EQ(b.host.Messages[0].Text, "O arquivo " + path + " não pôde ser gravado");
        EXPECT_FALSE(b.host.Busy);
        return written;
    };
    writetest::RunCases(writer);

    // A picture whose name holds a line break or a CR: its path would not
    // read back from its line, so the file is not written.
    const QString file = b.dir.filePath("jogo.pzl");
    ASSERT_TRUE(b.puzzle.SaveGame(file));
    const QByteArray first = b.Read(file);
    for (const char* name : {"a\nb.png", "a\rb.png"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(b.Start(b.Picture(name, {600, 400}), game::KidsA));
        b.host.Messages.clear();
        EXPECT_FALSE(b.puzzle.SaveGame(file));
        ASSERT_EQ(b.host.Messages.size(), 1u);
        EXPECT_EQ(b.host.Messages[0].Text, "O arquivo " + file + " não pôde ser gravado");
        EXPECT_EQ(b.Read(file), first);
    }
}

}  // namespace
