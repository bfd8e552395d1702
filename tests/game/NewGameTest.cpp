// The new-game set-up from a picture file: the fitted and framed picture,
// the new game's state, the miniature; and every refused picture leaving the
// running game exactly as it was.
#include "game/Fitting.h"
#include "game/Levels.h"
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "platform/PictureReader.h"
#include "support/DamagedPictures.h"
#include "support/FakeHost.h"
#include "support/FakeWindow.h"
#include "tools/MaskStrip.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

constexpr uint32_t kRed = 0xFFCC2211u;

struct SetupBoard {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random{7};
    game::Puzzle puzzle{state, surfaces, view, window, host, random};
    QTemporaryDir dir;
    int hidden = 0;

    SetupBoard(QSize screen, int16_t level) {
        host.Screen = screen;
        state.ScreenW = static_cast<int16_t>(screen.width());
        state.ScreenH = static_cast<int16_t>(screen.height());
        game::ChooseLevel(state, level);
        view.Width = static_cast<int16_t>(screen.width() * 5 / 4);
        view.Height = static_cast<int16_t>(screen.height() * 5 / 4);
        view.ScaleWidth = static_cast<int16_t>(screen.width());
        view.ScaleHeight = static_cast<int16_t>(screen.height() - 60);
        window.CentreLeft = static_cast<int16_t>(-(view.Width - screen.width()) / 2);
        window.CentreTop = static_cast<int16_t>(-(view.Height - screen.height()) / 2);
        surfaces.picScreen.Resize(view.Width, view.Height);
        surfaces.picBG.Resize(view.Width, view.Height, platform::PixelFromColor(surfaces.BackColor));
        surfaces.picMasks[0] = tools::MaskStrip();
    }

    QString Picture(const QString& name, QSize size, const char* format, uint32_t colour = kRed) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QString File(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    bool Setup(const QString& path) { return puzzle.NewGameSetup(path, [this] { ++hidden; }); }
};

}  // namespace

TEST(NewGame, StartsAGameOnTheFittedFramedPicture) {
    SetupBoard b({1280, 1024}, game::KidsA);
    b.view.Left = -5;  // panned: the set-up centres the board again
    b.state.ChooserOpen = true;
    const QString path = b.Picture("p.bmp", {640, 480}, "BMP");
    ASSERT_TRUE(b.Setup(path));

    EXPECT_EQ(b.hidden, 1);
    EXPECT_FALSE(b.state.ChooserOpen);
    EXPECT_EQ(b.state.PicFile, path);
    EXPECT_EQ(b.state.PicW, 612);
    EXPECT_EQ(b.state.PicH, 482);
    EXPECT_EQ(b.state.Cols, 7);
    EXPECT_EQ(b.state.Rows, 6);
    EXPECT_EQ(b.state.Pieces.size(), 42u);
    EXPECT_EQ(b.surfaces.picPat.size(), 42u);
    EXPECT_EQ(b.state.GameLevel, game::KidsA);
    EXPECT_EQ(b.state.SelectedPiece, -1);
    EXPECT_EQ(b.state.ElapsedSecs, 0);
    EXPECT_TRUE(b.state.GameRunning);
    EXPECT_TRUE(b.state.BoardReady);
    EXPECT_TRUE(b.window.Timer);
    EXPECT_TRUE(b.window.Maximized);
    EXPECT_EQ(b.view.Left, b.window.CentreLeft);
    EXPECT_FALSE(b.host.Busy);
    EXPECT_TRUE(b.host.Messages.empty());

    // picMaster: black, a white rectangle 614 x 484 at (1, 22), the picture inside.
    const platform::Surface& m = b.surfaces.picMaster;
    ASSERT_EQ(m.Width(), 616);
    ASSERT_EQ(m.Height(), 528);
    const struct {
        int X, Y;
        uint32_t Pixel;
    } probes[] = {{0, 0, platform::kBlack},    {0, 22, platform::kBlack},    {1, 21, platform::kBlack},
                  {1, 22, platform::kWhite},   {614, 505, platform::kWhite}, {615, 505, platform::kBlack},
                  {614, 506, platform::kBlack}, {1, 300, platform::kWhite},  {2, 23, kRed},
                  {613, 504, kRed},            {300, 300, kRed},             {2, 22, platform::kWhite}};
    for (const auto& p : probes) EXPECT_EQ(m.Pixel(p.X, p.Y), p.Pixel) << p.X << "," << p.Y;

    // The miniature: the loaded picture, fitted to its frame, and shown.
    EXPECT_TRUE(b.window.MiniatureShown);
    EXPECT_EQ(b.window.MiniaturePictureSize.width(), 640);
    EXPECT_FLOAT_EQ(b.window.MiniatureWidth, 159.0f);
    EXPECT_FLOAT_EQ(b.window.MiniatureHeight, 116.0f);
    EXPECT_FLOAT_EQ(b.window.MiniatureTop, 1.0f);
    // The board shows the scattered pieces over the background.
    EXPECT_EQ(b.window.Refreshes, 1);
    const game::PieceRec& top = b.state.Pieces[0];
    const int margin = (b.state.PieceBox - b.state.PieceStep) / 2;
    EXPECT_NE(b.surfaces.picScreen.Pixel(top.Left + margin + 30, top.Top + margin + 30),
              b.surfaces.picBG.Pixel(top.Left + margin + 30, top.Top + margin + 30));
}

TEST(NewGame, TheMiniatureBoxStaysHiddenWhenItsOptionIsOff) {
    SetupBoard b({1280, 1024}, game::Easy);
    b.window.Miniature = false;
    ASSERT_TRUE(b.Setup(b.Picture("p.png", {300, 200}, "PNG")));
    EXPECT_FALSE(b.window.MiniatureShown);
    EXPECT_EQ(b.state.GameLevel, game::Easy);
}

TEST(NewGame, RefusedPicturesLeaveTheRunningGameAsItWas) {
    SetupBoard b({1280, 1024}, game::Easy);
    ASSERT_TRUE(b.Setup(b.Picture("first.bmp", {400, 300}, "BMP", 0xFF2266AAu)));
    b.state.ElapsedSecs = 321;
    b.window.Refreshes = 0;

    QByteArray jpeg;
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::green);
        QFile f(b.dir.filePath("whole.jpg"));
        ASSERT_TRUE(image.save(&f, "JPEG"));
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        jpeg = f.readAll();
    }
    // A BMP header that declares 40000 x 10 pixels over no pixel data.
    QByteArray huge;
    {
        QImage image(40000, 2, QImage::Format_RGB32);
        image.fill(Qt::blue);
        const QString path = b.dir.filePath("huge.bmp");
        ASSERT_TRUE(image.save(path, "BMP"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        huge = f.readAll();
    }

    const QString fifo = b.dir.filePath("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

    const struct {
        const char* Name;
        QString Path;
        bool TooSmallMessage;
    } cases[] = {
        {"missing", b.dir.filePath("nowhere.jpg"), false},
        {"empty", b.File("empty.jpg", QByteArray()), false},
        {"not a picture", b.File("text.jpg", QByteArray("just some words, no picture")), false},
        {"header only", b.File("cut.jpg", jpeg.left(20)), false},
        {"over 32767 wide", b.Picture("wide.png", {32768, 1}, "PNG"), false},
        {"over 32767 wide, no pixels", b.File("huge.bmp", huge.left(54)), false},
        // Headers that claim more than their few hundred bytes hold, and a
        // FIFO that would block the read for ever.
        {"png text chunk of 2^31 - 1 bytes", b.File("text.png", damaged::PngWithHugeTextChunk(false)), false},
        {"jpeg claiming 4000 x 3000", b.File("claims.jpg", damaged::JpegClaiming(4000, 3000)), false},
        {"jpeg claiming 30000 x 30000", b.File("huge.jpg", damaged::JpegClaiming(30000, 30000)), false},
        {"gif claiming 30000 x 30000", b.File("huge.gif", damaged::GifClaiming(30000, 30000)), false},
        {"bmp claiming 30000 x 30000", b.File("claims.bmp", damaged::BmpClaiming(30000, 30000)), false},
        {"fifo", fifo, false},
        {"1 x 1", b.Picture("dot.bmp", {1, 1}, "BMP"), true},
        {"87 x 87 at 66", b.Picture("small.bmp", {65, 87}, "BMP"), true},
        {"60 x 20", b.Picture("strip.gif", {60, 20}, "PNG"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const game::GameState before = b.state;
        const platform::Surface master = b.surfaces.picMaster;
        const auto pats = b.surfaces.picPat;
        const platform::Surface masks = b.surfaces.picMasks[1];
        const platform::Surface screen = b.surfaces.picScreen;
        b.host.Messages.clear();
        b.window.Timer = true;
        b.window.MiniatureShown = true;
        b.view.Left = -3;

        EXPECT_FALSE(b.Setup(c.Path));

        EXPECT_EQ(b.state.PicFile, before.PicFile);
        EXPECT_EQ(b.state.PicW, before.PicW);
        EXPECT_EQ(b.state.PicH, before.PicH);
        EXPECT_EQ(b.state.Cols, before.Cols);
        EXPECT_EQ(b.state.Rows, before.Rows);
        EXPECT_EQ(b.state.Pieces, before.Pieces);
        EXPECT_EQ(b.state.ElapsedSecs, 321);
        EXPECT_TRUE(b.state.GameRunning);
        EXPECT_EQ(b.state.Generation, before.Generation);
        EXPECT_TRUE(b.surfaces.picMaster == master);
        EXPECT_TRUE(b.surfaces.picPat == pats);
        EXPECT_TRUE(b.surfaces.picMasks[1] == masks);
        EXPECT_TRUE(b.surfaces.picScreen == screen);
        EXPECT_TRUE(b.window.Timer);           // the clock goes on
        EXPECT_TRUE(b.window.MiniatureShown);  // and so does the box
        EXPECT_EQ(b.view.Left, -3);
        EXPECT_FALSE(b.host.Busy);
        EXPECT_EQ(b.window.Refreshes, 0);
        if (c.TooSmallMessage) {
            ASSERT_EQ(b.host.Messages.size(), 1u);
            EXPECT_EQ(b.host.Messages[0].Text, QString::fromUtf8("A imagem selecionada é muito pequena!"));
            EXPECT_EQ(b.host.Messages[0].Icon, platform::MsgIcon::Critical);
            EXPECT_EQ(b.host.Messages[0].Buttons, platform::MsgButtons::Ok);
            EXPECT_TRUE(b.host.Messages[0].Title.isEmpty());
        } else {
            EXPECT_TRUE(b.host.Messages.empty());
        }
    }
}

TEST(NewGame, BeforeAnyGameARefusedPictureLeavesNoGame) {
    SetupBoard b({800, 600}, game::Hard);
    EXPECT_FALSE(b.Setup(b.Picture("p.bmp", {60, 20}, "BMP")));
    EXPECT_FALSE(b.state.GameRunning);
    EXPECT_TRUE(b.state.Pieces.empty());
    EXPECT_TRUE(b.state.BoardReady);
    EXPECT_FALSE(b.window.Timer);
    EXPECT_FALSE(b.window.MiniatureShown);
}

TEST(NewGame, OddPictureSizesEndWithoutHanging) {
    // A long strip at large pieces shrinks below one row; at small pieces it keeps two.
    const struct {
        int W, H;
        int16_t Level;
        bool Accepted;
    } cases[] = {{30000, 200, game::KidsB, false}, {30000, 200, game::Hard, true}, {200, 30000, game::Hard, true},
                 {88, 88, game::KidsB, true},      {40, 30, game::KidsB, false},   {50, 50, game::Hard, true},
                 {50, 50, game::KidsA, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.W << "x" << c.H << " level " << c.Level);
        SetupBoard b({1920, 1080}, c.Level);
        EXPECT_EQ(b.Setup(b.Picture("p.png", {c.W, c.H}, "PNG")), c.Accepted);
        if (!c.Accepted) continue;
        EXPECT_EQ(b.state.Pieces.size(), static_cast<size_t>(b.state.Cols * b.state.Rows));
        EXPECT_GE(b.state.Cols, 2);
        EXPECT_GE(b.state.Rows, 2);
    }
}

TEST(NewGame, LargeJpegIsDecodedReducedButFittedAtItsOwnSize) {
    SetupBoard b({1920, 1080}, game::Hard);
    // Four coloured quarters, so that the painted picture can be checked.
    QImage image(4000, 3000, QImage::Format_RGB32);
    {
        QPainter p(&image);
        p.fillRect(0, 0, 2000, 1500, QColor(200, 30, 30));
        p.fillRect(2000, 0, 2000, 1500, QColor(30, 200, 30));
        p.fillRect(0, 1500, 2000, 1500, QColor(30, 30, 200));
        p.fillRect(2000, 1500, 2000, 1500, QColor(220, 220, 40));
    }
    const QString path = b.dir.filePath("big.jpg");
    ASSERT_TRUE(image.save(path, "JPEG", 90));
    ASSERT_TRUE(b.Setup(path));

    const game::Fit fit = game::FitPicture(4000, 3000, 1920, 1080, b.state.PieceStep);
    EXPECT_EQ(b.state.PicW, fit.PicW);
    EXPECT_EQ(b.state.PicH, fit.PicH);
    EXPECT_LT(b.window.MiniaturePictureSize.width(), 4000);
    EXPECT_GE(b.window.MiniaturePictureSize.width(), fit.PicW);
    EXPECT_GE(b.window.MiniaturePictureSize.height(), fit.PicH);
    // Miniature proportions come from the file's size.
    const game::MiniatureRect mini = game::SetSize(4000, 3000, 159, 118);
    EXPECT_FLOAT_EQ(b.window.MiniatureHeight, mini.Height);

    auto near = [](uint32_t px, int r, int g, int bl) {
        return std::abs(int((px >> 16) & 255) - r) < 40 && std::abs(int((px >> 8) & 255) - g) < 40 &&
               std::abs(int(px & 255) - bl) < 40;
    };
    const platform::Surface& m = b.surfaces.picMaster;
    const int x0 = fit.PicX, y0 = fit.PicY, w = fit.PicW, h = fit.PicH;
    EXPECT_TRUE(near(m.Pixel(x0 + w / 4, y0 + h / 4), 200, 30, 30));
    EXPECT_TRUE(near(m.Pixel(x0 + 3 * w / 4, y0 + h / 4), 30, 200, 30));
    EXPECT_TRUE(near(m.Pixel(x0 + w / 4, y0 + 3 * h / 4), 30, 30, 200));
    EXPECT_TRUE(near(m.Pixel(x0 + 3 * w / 4, y0 + 3 * h / 4), 220, 220, 40));
    EXPECT_EQ(m.Pixel(x0 - 1, y0 + h / 2), platform::kWhite);
}

// A phone photograph stored on its side with an orientation tag is played
// upright: the fit, the picture cut and the miniature.
TEST(NewGame, TaggedPhotographsArePlayedUpright) {
    const QColor red(200, 30, 30), green(30, 200, 30), blue(30, 30, 200), yellow(220, 220, 40);
    const QByteArray jpeg =
        damaged::Written(damaged::Quarters(1600, 1000, {red.rgb(), green.rgb(), blue.rgb(), yellow.rgb()}), "JPEG");
    const struct {
        int Tag;
        QSize Shown;
        QColor Quarters[4];  // left to right, top to bottom
    } cases[] = {
        {3, {1600, 1000}, {yellow, blue, green, red}},
        {6, {1000, 1600}, {blue, red, yellow, green}},
        {8, {1000, 1600}, {green, yellow, red, blue}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Tag);
        SetupBoard b({1920, 1080}, game::Hard);
        ASSERT_TRUE(b.Setup(b.File("foto.jpg", damaged::WithOrientation(jpeg, c.Tag))));
        const game::Fit fit = game::FitPicture(static_cast<int16_t>(c.Shown.width()),
                                               static_cast<int16_t>(c.Shown.height()), 1920, 1080, b.state.PieceStep);
        EXPECT_EQ(b.state.PicW, fit.PicW);
        EXPECT_EQ(b.state.PicH, fit.PicH);
        const QSize mini = b.window.MiniaturePictureSize;
        EXPECT_EQ(mini.width() > mini.height(), c.Shown.width() > c.Shown.height());
        const game::MiniatureRect box = game::SetSize(c.Shown.width(), c.Shown.height(), 159, 118);
        EXPECT_FLOAT_EQ(b.window.MiniatureWidth, box.Width);
        EXPECT_FLOAT_EQ(b.window.MiniatureHeight, box.Height);
        const platform::Surface& m = b.surfaces.picMaster;
        const int x0 = fit.PicX, y0 = fit.PicY, w = fit.PicW, h = fit.PicH;
        const QPoint at[] = {{x0 + w / 4, y0 + h / 4}, {x0 + 3 * w / 4, y0 + h / 4}, {x0 + w / 4, y0 + 3 * h / 4},
                             {x0 + 3 * w / 4, y0 + 3 * h / 4}};
        for (int q = 0; q < 4; ++q) {
            const QColor got = QColor::fromRgb(m.Pixel(at[q].x(), at[q].y()));
            EXPECT_NEAR(got.red(), c.Quarters[q].red(), 40) << q;
            EXPECT_NEAR(got.green(), c.Quarters[q].green(), 40) << q;
            EXPECT_NEAR(got.blue(), c.Quarters[q].blue(), 40) << q;
        }
    }
}

TEST(PictureReader, ReductionCoversWhatIsNeeded) {
    const struct {
        QSize File, Need;
        int K;
    } cases[] = {{{6000, 4000}, {831, 554}, 4}, {{6000, 4000}, {750, 500}, 8}, {{800, 600}, {700, 500}, 1},
                 {{1600, 1200}, {800, 600}, 2}, {{8001, 8001}, {1001, 10}, 7 + 1}, {{3, 3}, {1, 1}, 8}, {{3, 3}, {3, 1}, 1}};
    for (const auto& c : cases) EXPECT_EQ(platform::ReductionFor(c.File, c.Need), c.K) << c.File.width();
}

TEST(NewGame, TruncatedJpegNeverBreaksTheGame) {
    // How much of a cut-off JPEG the decoder shows is its own affair: either
    // a game starts on what it decoded, or the running game stays.
    SetupBoard b({1280, 1024}, game::Medium);
    ASSERT_TRUE(b.Setup(b.Picture("first.bmp", {500, 400}, "BMP")));
    const QString whole = b.Picture("whole.jpg", {900, 700}, "JPEG", 0xFF4488CCu);
    QFile f(whole);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    for (const qsizetype keep : {bytes.size() / 2, bytes.size() / 8, qsizetype(400)}) {
        SCOPED_TRACE(keep);
        const std::vector<game::PieceRec> before = b.state.Pieces;
        const bool started = b.Setup(b.File(QStringLiteral("cut%1.jpg").arg(keep), bytes.left(keep)));
        EXPECT_TRUE(b.state.GameRunning);
        if (!started) {
            EXPECT_EQ(b.state.Pieces, before);
            continue;
        }
        EXPECT_EQ(b.state.Pieces.size(), static_cast<size_t>(b.state.Cols * b.state.Rows));
        EXPECT_EQ(b.surfaces.picMaster.Width(), b.state.Cols * b.state.PieceStep);
    }
}
