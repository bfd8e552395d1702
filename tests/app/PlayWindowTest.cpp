// A whole game on the main window, driven by mouse events on the board
// only: a "Fácil" game from a generated picture, played to completion by
// picking, turning and dropping every piece; a game given up; and a
// "Difícil" game under bursts of presses, drags and right-clicks, its cues
// played on a real audio server and heard there: with the sound option on
// as asked, with it off not at all.
#include "app/frmMain.h"
#include "game/PuzzleModule.h"
#include "platform/SoundPlayer.h"
#include "support/AudioServer.h"
#include "support/FakeHost.h"
#include "support/MonitorRecording.h"
#include "widgets/SurfaceView.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Records every cue, and plays it for real once a test gives it a player,
// noting when it was asked for.
class AudibleHost : public FakeHost {
public:
    std::unique_ptr<platform::SoundPlayer> Speaker;
    std::vector<audiotest::Asked> Asked;
    void PlaySound(const QByteArray& wave) override {
        FakeHost::PlaySound(wave);
        if (!Speaker) return;
        Asked.push_back({audiotest::Clock::now(), wave});
        Speaker->Play(wave);
    }
    void KeepSoundReady(bool ready) override {
        if (!Speaker) return;
        if (ready) Speaker->OpenDevice();
        else Speaker->ReleaseDevice();
    }
};

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

    // "Jogo" > "Novo Jogo" > the level, and the picture chosen in the chooser.
    void StartGame(int level) {
        const QString path = Picture();
        window->ShowChooser = [this, path] { window->Puzzle().NewGameSetup(path); };
        window->mnuNewGame[static_cast<size_t>(level)]->trigger();
        ASSERT_TRUE(state.GameRunning);
        ASSERT_GE(state.Pieces.size(), 4u);
    }
    void StartEasyGame() {
        StartGame(3);
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
    AudibleHost host;
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

TEST_F(PlayWindowTest, CuesOfRapidNestedMouseBurstsAreHeardOnTheAudioServer) {
    NEED_AUDIO_SERVER();
    host.Speaker = std::make_unique<platform::SoundPlayer>();
    audiotest::MonitorRecording recording;
    ASSERT_TRUE(recording.WaitRunning());
    StartGame(5);
    // The audio device is open only while the sound option is on.
    window->mnuSounds->setChecked(false);
    window->mnuSounds->setChecked(true);
    EXPECT_TRUE(audiotest::RunEventsUntil([] { return audiotest::OutputStreams() == 1; }, 2.0));
    QWidget* board = window->picScreen();
    QRandomGenerator random(20240611);
    Qt::MouseButtons held;
    // One random press, move or release somewhere on the board; the left
    // button picks and drops, the right one turns a held piece.
    auto randomEvent = [&]() -> QMouseEvent* {
        const QPointF at(random.bounded(board->width()), random.bounded(board->height()));
        const Qt::MouseButton button = random.bounded(3) == 0 ? Qt::RightButton : Qt::LeftButton;
        QEvent::Type type = QEvent::MouseMove;
        switch (random.bounded(4)) {
            case 0: type = QEvent::MouseButtonPress; held |= button; break;
            case 1: type = QEvent::MouseButtonRelease; held &= ~button; break;
            default: break;
        }
        return new QMouseEvent(type, at, board->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : button,
                               held, Qt::NoModifier);
    };
    // Events from a timer run inside the handling of posted ones and the
    // other way round; some timer handlers let pending events run as well.
    QTimer timer;
    timer.setInterval(0);
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        std::unique_ptr<QMouseEvent> e(randomEvent());
        QCoreApplication::sendEvent(board, e.get());
        if (++ticks % 4 == 0) QCoreApplication::processEvents();
    });
    timer.start();
    // Bursts with a pause now and then, so that some cues play out.
    for (int burst = 0; burst < 120; ++burst) {
        for (int i = 0; i < 30; ++i) QCoreApplication::postEvent(board, randomEvent());
        QCoreApplication::processEvents();
        if (burst % 10 == 9) QThread::msleep(200);
    }
    timer.stop();
    QCoreApplication::sendPostedEvents();
    ASSERT_TRUE(state.GameRunning);
    EXPECT_GT(host.Played.size(), 50u);
    QThread::msleep(1300);  // the last cue plays out

    // The sound option off: the same play reaches neither the host nor the
    // server, where nothing more may sound.
    window->mnuSounds->setChecked(false);
    EXPECT_TRUE(audiotest::RunEventsUntil([] { return audiotest::OutputStreams() == 0; }, 2.0));
    const size_t cues = host.Played.size();
    const std::vector<audiotest::Asked> asked = host.Asked;
    for (int burst = 0; burst < 20; ++burst) {
        for (int i = 0; i < 30; ++i) QCoreApplication::postEvent(board, randomEvent());
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    EXPECT_EQ(host.Played.size(), cues);
    recording.Stop();
    EXPECT_TRUE(audiotest::HeardAsAsked(audiotest::Hear(recording, asked), "game"));
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

TEST_F(PlayWindowTest, ClosingTheWindowDuringTheGiveUpEndsTheProgramThere) {
    StartEasyGame();
    const std::vector<game::PieceRec> before = state.Pieces;
    const int callsBefore = host.DoEventsCalls;
    int passes = 0;
    // The close box pressed while the board solves itself, and a restart
    // asked for after it.
    host.OnDoEvents = [&] {
        if (++passes == 1) {
            QMetaObject::invokeMethod(window.get(), [this] { window->close(); }, Qt::QueuedConnection);
            QCoreApplication::processEvents();
        } else {
            window->mnuShuffle->trigger();
        }
    };
    window->MnDesistir->trigger();
    EXPECT_TRUE(host.Quitting);
    EXPECT_FALSE(window->isVisible());
    // The loop asked once, learnt that the program ends and stopped there:
    // no further event ran (no restart), no further piece moved.
    EXPECT_EQ(passes, 1);
    EXPECT_EQ(host.DoEventsCalls - callsBefore, 1);
    EXPECT_FALSE(state.GameRunning);
    ASSERT_GT(state.Pieces.size(), 2u);
    for (size_t i = 2; i < state.Pieces.size(); ++i) {
        EXPECT_EQ(state.Pieces[i].Left, before[i].Left) << i;
        EXPECT_EQ(state.Pieces[i].Top, before[i].Top) << i;
        EXPECT_EQ(state.Pieces[i].Rotation, before[i].Rotation) << i;
    }
}

}  // namespace
