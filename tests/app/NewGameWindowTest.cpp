// The main window's part of a new game and of the miniature box: the level
// command keeps the running game's values unless a new game replaces it, the
// option toggles store themselves, and the box follows a drag and returns to
// its corner at the next resize.
#include "app/frmMain.h"
#include "support/FakeHost.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class NewGameWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.Screen = {1280, 1024};
        window = std::make_unique<frmMain>(state, host);
        window->Form_Load();
        // The chooser's part, answered by the scripted host: a picked file
        // goes to the set-up, a cancel starts nothing.
        window->ShowChooser = [this] {
            if (const auto chosen = host.ShowOpenFile({})) window->Puzzle().NewGameSetup(chosen->Path);
        };
        state.AppPath = dir.path() + QLatin1Char('/');
        window->resize(1280, 984);
        window->show();
        QCoreApplication::processEvents();
    }

    QString Picture(const QString& name, QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    QString Ini() {
        QFile f(dir.filePath(QStringLiteral("config.ini")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromLatin1(f.readAll());
    }

    static void Send(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }

    QTemporaryDir dir;
    FakeHost host;
    game::GameState state;
    std::unique_ptr<frmMain> window;
};

}  // namespace

TEST_F(NewGameWindowTest, LevelValuesComeBackWhenNoNewGameIsAccepted) {
    host.OpenAnswers.push_back(Picture("first.bmp", {640, 480}));
    window->mnuNewGame_Click(0);  // "Kids A"
    ASSERT_TRUE(state.GameRunning);
    EXPECT_EQ(state.PieceBox, 160);
    EXPECT_TRUE(window->picStatus()->isVisible());
    EXPECT_FALSE(window->imgMaster()->pixmap().isNull());
    EXPECT_EQ(window->imgMaster()->geometry(), QRect(0, 1, 159, 116));

    // Cancelled dialog, then a refused picture: "Kids A" values stay.
    window->mnuNewGame_Click(5);
    host.OpenAnswers.push_back(Picture("tiny.bmp", {20, 20}));
    window->mnuNewGame_Click(4);
    EXPECT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(state.ChosenLevel, 0);
    EXPECT_EQ(state.PieceBox, 160);
    EXPECT_EQ(state.PieceStep, 88);
    EXPECT_EQ(state.SnapDiv, 8);
    EXPECT_EQ(state.GapUnits, 2);
    EXPECT_EQ(state.Pieces.size(), 42u);
    EXPECT_TRUE(window->Timer1().isActive());

    // An accepted picture takes the new level.
    host.OpenAnswers.push_back(Picture("second.bmp", {400, 300}));
    window->mnuNewGame_Click(5);
    EXPECT_EQ(state.ChosenLevel, 5);
    EXPECT_EQ(state.GameLevel, 5);
    EXPECT_EQ(state.PieceBox, 80);
}

TEST_F(NewGameWindowTest, OptionTogglesStoreTheirNewState) {
    const struct {
        QAction* Item;
        const char* Key;
    } cases[] = {{window->mnuSounds, "Som"}, {window->mnuStatus, "Navegador"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Key);
        ASSERT_TRUE(c.Item->isChecked());
        c.Item->trigger();
        EXPECT_FALSE(c.Item->isChecked());
        EXPECT_TRUE(Ini().contains(QStringLiteral("%1=False").arg(QLatin1String(c.Key)))) << Ini().toStdString();
        c.Item->trigger();
        EXPECT_TRUE(Ini().contains(QStringLiteral("%1=True").arg(QLatin1String(c.Key)))) << Ini().toStdString();
    }
    EXPECT_TRUE(Ini().startsWith(QStringLiteral("[SETUP]")));
    // The miniature option shows and hides the box, also before any game.
    EXPECT_TRUE(window->picStatus()->isVisible());
    window->mnuStatus->trigger();
    EXPECT_FALSE(window->picStatus()->isVisible());
    EXPECT_FALSE(window->Timer1().isActive());
}

TEST_F(NewGameWindowTest, TheBoxFollowsADragAndReturnsToItsCorner) {
    window->ShowMiniature(true);
    QWidget* box = window->picStatus();
    const QPoint corner = box->pos();
    EXPECT_EQ(corner, QPoint(window->ClientArea()->width() - box->width() - 30,
                             window->ClientArea()->height() - box->height() - 30));
    const struct {
        QWidget* Pressed;
        int16_t LastX, LastY;
    } cases[] = {{window->imgMaster(), 1, 1}, {window->Picture1(), 5, 6}, {window->lblElapsed(), 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Pressed->objectName().toStdString());
        const QPoint start = box->pos();
        const QPoint at(5, 6);
        Send(c.Pressed, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        Send(c.Pressed, QEvent::MouseMove, at + QPoint(-40, -25), Qt::NoButton, Qt::LeftButton);
        Send(c.Pressed, QEvent::MouseButtonRelease, at + QPoint(-40, -25), Qt::LeftButton, Qt::NoButton);
        if (c.Pressed == window->lblElapsed()) {
            // The label passes its press on to the box.
            EXPECT_EQ(box->pos(), start + QPoint(-40, -25));
            continue;
        }
        EXPECT_EQ(box->pos(), start + QPoint(-40, -25));
        EXPECT_EQ(window->Puzzle().LastX, c.LastX);
        EXPECT_EQ(window->Puzzle().LastY, c.LastY);
    }
    window->resize(1200, 900);
    QCoreApplication::processEvents();
    EXPECT_EQ(box->pos(), QPoint(window->ClientArea()->width() - box->width() - 30,
                                 window->ClientArea()->height() - box->height() - 30));
}
