// A whole game on the main window, driven by mouse events on the board
// only: a "Fácil" game from a generated picture, played to completion by
// picking, turning and dropping every piece; and a game given up.
#include "app/frmMain.h"
#include "game/PuzzleModule.h"
#include "support/FakeHost.h"
#include "widgets/SurfaceView.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class PlayWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmMain>(state, host);
        window->Form_Load();
        state.AppPath = dir.path() + QLatin1Char('/');
        window->resize(1280, 960);
        window->show();
        QCoreApplication::processEvents();
    }

    // A picture with a texture, so that every piece differs.
    QString Picture() {
        QImage image(700, 460, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        const QString path = dir.filePath(QStringLiteral("picture.bmp"));
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    // "Jogo" > "Novo Jogo" > "Fácil", and the picture chosen in the chooser.
    void StartEasyGame() {
        const QString path = Picture();
        window->ShowChooser = [this, path] { window->Puzzle().NewGameSetup(path); };
        window->mnuNewGame[3]->trigger();
        ASSERT_TRUE(state.GameRunning);
        ASSERT_GE(state.Pieces.size(), 4u);
        ASSERT_EQ(state.PieceStep, 66);
    }

    void Send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QWidget* board = window->picScreen();
        QMouseEvent e(type, at, board->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(board, &e);
    }

    // The index a left press at (x, y) would pick: the top-most piece whose
    // square holds the point and whose outline covers it.
    int PickedAt(int x, int y) const {
        for (size_t i = 0; i < state.Pieces.size(); ++i) {
            const auto& p = state.Pieces[i];
            if (x < p.Left || y < p.Top || x > p.Left + state.PieceBox || y > p.Top + state.PieceBox) continue;
            if (game::PuzzleModule::PieceHit(state, window->Surfaces(), static_cast<int16_t>(i), static_cast<int16_t>(x),
                                             static_cast<int16_t>(y)))
                return static_cast<int>(i);
        }
        return -1;
    }

    // A point of the piece's body where a press picks that very piece.
    std::optional<QPoint> GrabPoint(int index) const {
        const auto& p = state.Pieces[static_cast<size_t>(index)];
        const int m = (state.PieceBox - state.PieceStep) / 2;
        for (int v = state.PieceStep / 2; v < state.PieceStep; v += 7)
            for (int u = state.PieceStep / 2; u < state.PieceStep; u += 7)
                for (QPoint at : {QPoint(p.Left + m + u, p.Top + m + v), QPoint(p.Left + m + state.PieceStep - u, p.Top + m + state.PieceStep - v)})
                    if (PickedAt(at.x(), at.y()) == index) return at;
        return std::nullopt;
    }

    int IndexOf(int picIndex) const {
        for (size_t i = 0; i < state.Pieces.size(); ++i)
            if (state.Pieces[i].PicIndex == picIndex) return static_cast<int>(i);
        return -1;
    }

    QTemporaryDir dir;
    FakeHost host;
    game::GameState state;
    std::unique_ptr<frmMain> window;
};

TEST_F(PlayWindowTest, AGamePlayedToTheEndWithTheMouse) {
    StartEasyGame();
    const int count = static_cast<int>(state.Pieces.size());
    // The picture is put together beyond the board's right edge, where no
    // scattered piece lies; the pointer may go there while a button is held.
    const int x0 = 11 * ((window->View().Width + 220) / 11);
    const int y0 = 110;
    int turns = 0;
    for (int k = 0; k < count; ++k) {
        SCOPED_TRACE(k);
        ASSERT_TRUE(state.GameRunning);
        const int index = IndexOf(k);
        const auto at = GrabPoint(index);
        ASSERT_TRUE(at.has_value());
        Send(QEvent::MouseButtonPress, *at, Qt::LeftButton, Qt::LeftButton);
        ASSERT_EQ(state.SelectedPiece, 0);
        ASSERT_EQ(state.Pieces[0].PicIndex, k);
        for (size_t i = 1; i < state.Pieces.size(); ++i) ASSERT_FALSE(state.Pieces[i].InGroup);
        while (state.Pieces[0].Rotation != 0) {
            Send(QEvent::MouseButtonPress, *at, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
            Send(QEvent::MouseButtonRelease, *at, Qt::RightButton, Qt::LeftButton);
            ++turns;
            ASSERT_LE(turns, 3 * count);
        }
        const auto& p = state.Pieces[0];
        const QPointF grab(at->x() - p.Left, at->y() - p.Top);
        const QPointF to(x0 + p.Col * state.PieceStep + grab.x(), y0 + p.Row * state.PieceStep + grab.y());
        for (int step = 1; step <= 4; ++step)
            Send(QEvent::MouseMove, QPointF(*at) + (to - QPointF(*at)) * step / 4.0, Qt::NoButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        ASSERT_EQ(state.SelectedPiece, -1);
        ASSERT_EQ(state.Pieces[0].Left, x0 + state.Pieces[0].Col * state.PieceStep);
        ASSERT_EQ(state.Pieces[0].Top, y0 + state.Pieces[0].Row * state.PieceStep);
        ASSERT_EQ(host.Messages.empty(), k < count - 1);
    }
    EXPECT_GT(turns, 0);  // "Fácil" starts some pieces turned
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text, QStringLiteral("Jogo Completo"));
    EXPECT_EQ(host.Messages[0].Title, QStringLiteral("Parabéns!!"));
    EXPECT_EQ(host.Messages[0].Icon, platform::MsgIcon::Exclamation);
    EXPECT_FALSE(state.GameRunning);
    EXPECT_FALSE(window->Timer1().isActive());
    ASSERT_GE(host.Played.size(), 3u);
    EXPECT_EQ(host.Played.back(), state.SndComplete);

    // The finished board pans instead of picking.
    const int16_t left = window->View().Left;
    Send(QEvent::MouseButtonPress, QPointF(600, 500), Qt::LeftButton, Qt::LeftButton);
    Send(QEvent::MouseMove, QPointF(630, 500), Qt::NoButton, Qt::LeftButton);
    Send(QEvent::MouseButtonRelease, QPointF(630, 500), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(window->View().Left, left + 30);
    EXPECT_EQ(window->HScroll1()->value(), std::abs(left + 30));
}

TEST_F(PlayWindowTest, GivingUpSolvesTheBoardAtTheVisibleCorner) {
    StartEasyGame();
    const game::BoardView view = window->View();
    window->MnDesistir->trigger();
    const auto corner = [](int offset) { return 11 * static_cast<int>(std::nearbyint((std::abs(offset) + 10 - 20) / 11.0)); };
    for (const auto& p : state.Pieces) {
        EXPECT_EQ(p.Rotation, 0);
        EXPECT_EQ(p.Left, corner(view.Left) + p.Col * state.PieceStep);
        EXPECT_EQ(p.Top, corner(view.Top) + p.Row * state.PieceStep);
    }
    EXPECT_FALSE(state.GameRunning);
    EXPECT_FALSE(window->Timer1().isActive());
    EXPECT_TRUE(window->picScreen()->isEnabled());
    EXPECT_TRUE(host.Messages.empty());

    // The solved picture shows: the board pixel at the centre of each
    // piece's body is the piece's own bitmap pixel there.
    const int m = (state.PieceBox - state.PieceStep) / 2, c = m + state.PieceStep / 2;
    for (const auto& p : state.Pieces)
        EXPECT_EQ(window->Surfaces().picScreen.Pixel(p.Left + c, p.Top + c),
                  window->Surfaces().picPat[static_cast<size_t>(p.PicIndex)].Pixel(c, c));
}

}  // namespace
