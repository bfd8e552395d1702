// The main window: its menus, the board's size and place, the scroll bars;
// and, under a window manager, where the player sees them.
#include "app/FrmSplash.h"
#include "app/frmMain.h"
#include "support/ModINI.h"
#include "support/FakeHost.h"
#include "widgets/SurfaceView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

#if defined(ZELVANO_HAVE_XCB) && QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#define ZELVANO_X11 1
#endif

namespace {

QStringList Captions(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

class FrmMainTest : public ::testing::Test {
protected:
    void Open(QSize screen) {
        host.Screen = screen;
        window = std::make_unique<frmMain>(state, host);
        window->Form_Load();
        window->resize(screen.width(), screen.height() - 40);
        window->show();
        QCoreApplication::processEvents();
    }

    FakeHost host;
    game::GameState state;
    std::unique_ptr<frmMain> window;
};

TEST_F(FrmMainTest, MenusCarryTheirCaptionsAndShortcuts) {
    Open({1024, 768});
    EXPECT_EQ(window->windowTitle(), "Zelvano");
    EXPECT_EQ(window->mnuGame->title(), "Jogo");
    EXPECT_EQ(Captions(window->mnuGame),
              QStringList({"Novo Jogo", "Reniciar este jogo", "-", "Salvar este jogo   ", "Abrir um jogo salvo", "-",
                           "Sair"}));
    EXPECT_EQ(Captions(window->mnuNew), QStringList({"Kids A", "Kids B", "-", "Fácil", "Intermediário", "Difícil"}));
    EXPECT_EQ(window->mnuOptions->title(), "Opções");
    EXPECT_EQ(Captions(window->mnuOptions), QStringList({"Mostrar uma jogada", "Desistir", "-", "Usar efeitos de som",
                                                         "Exibir miniatura", "Cor de Fundo"}));
    EXPECT_EQ(Captions(window->mnuHelp), QStringList({"Tópicos da Ajuda", "-", "Sobre"}));
    EXPECT_EQ(window->mnuShuffle->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window->mnuSaveGame->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(window->mnuLoadGame->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(window->mnuHints->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
    EXPECT_EQ(window->mnuHowToPlay->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(window->mnuSounds->isChecked());
    EXPECT_TRUE(window->mnuStatus->isChecked());
    // The clock reads in the start-up window's face.
    FrmSplash splash(host, nullptr, nullptr);
    EXPECT_EQ(window->lblElapsed()->font().family(), splash.Label8()->font().family());
}

TEST_F(FrmMainTest, BoardIsCentredAndOverhangs) {
    Open({1024, 768});
    EXPECT_EQ(state.ScreenW, 1024);
    EXPECT_EQ(state.ScreenH, 768);
    EXPECT_EQ(window->picScreen()->geometry(), QRect(-256, -192, 1536, 1152));
    EXPECT_EQ(window->Surfaces().picScreen.Width(), 1536);
    EXPECT_EQ(window->Surfaces().picBG.Height(), 1152);
    EXPECT_EQ(window->HScroll1()->value(), 256);
    EXPECT_EQ(window->VScroll1()->value(), 192);
    EXPECT_EQ(window->Surfaces().picBG.Pixel(0, 0), platform::PixelFromColor(15203838));
    EXPECT_TRUE(state.AppPath.endsWith('/'));
    EXPECT_FALSE(state.GameRunning);
}

TEST_F(FrmMainTest, ScrollBarsMoveTheBoardAndCentralizeBringsItBack) {
    Open({800, 600});
    EXPECT_EQ(window->picScreen()->geometry(), QRect(-400, -300, 1600, 1200));
    window->HScroll1()->setValue(0);
    window->VScroll1()->setValue(17);
    EXPECT_EQ(window->picScreen()->pos(), QPoint(0, -17));
    EXPECT_EQ(window->View().Left, 0);
    EXPECT_EQ(window->View().Top, -17);
    window->Centralize();
    EXPECT_EQ(window->picScreen()->pos(), QPoint(-400, -300));
    EXPECT_EQ(window->HScroll1()->value(), 400);
}

TEST_F(FrmMainTest, ResizingKeepsTheBoardAndFollowsWithTheRanges) {
    Open({1280, 1024});
    window->HScroll1()->setValue(100);
    const QPoint before = window->picScreen()->pos();
    window->resize(900, 700);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->picScreen()->pos(), before);
    const int clientW = window->ClientArea()->width();
    EXPECT_EQ(window->HScroll1()->maximum(), 1600 - clientW);
    EXPECT_EQ(window->HScroll1()->width(), clientW);
    EXPECT_EQ(window->VScroll1()->x(), clientW - window->VScroll1()->width());
    const QWidget* box = window->picStatus();
    EXPECT_EQ(box->x() + box->width(), clientW - 30);
    EXPECT_EQ(box->y() + box->height(), window->ClientArea()->height() - 30);
}

TEST_F(FrmMainTest, MenusEnableFromTheStateAndShortcutsObeyThem) {
    Open({1024, 768});
    emit window->mnuGame->aboutToShow();
    EXPECT_FALSE(window->mnuSaveGame->isEnabled());
    EXPECT_FALSE(window->mnuShuffle->isEnabled());
    emit window->mnuOptions->aboutToShow();
    EXPECT_FALSE(window->mnuHints->isEnabled());
    EXPECT_FALSE(window->MnDesistir->isEnabled());
    EXPECT_TRUE(window->mnuSounds->isEnabled());
    EXPECT_TRUE(window->mnuLoadGame->isEnabled());
    // Closed menus leave their items reachable for the shortcut keys...
    emit window->mnuGame->aboutToHide();
    emit window->mnuOptions->aboutToHide();
    EXPECT_TRUE(window->mnuShuffle->isEnabled());
    EXPECT_TRUE(window->mnuHints->isEnabled());

    // ...whose commands ask the menu's rule again: with no game they ask no
    // question and change nothing.
    window->mnuShuffle->trigger();
    window->mnuHints->trigger();
    EXPECT_TRUE(host.Messages.empty());
    EXPECT_TRUE(window->mnuShuffle->isEnabled());

    state.GameRunning = true;
    window->mnuGame_Click();
    window->mnuOptions_Click();
    EXPECT_TRUE(window->mnuSaveGame->isEnabled());
    EXPECT_TRUE(window->mnuHints->isEnabled());
}

TEST_F(FrmMainTest, OptionTogglesStoreTheirState) {
    Open({1024, 768});
    QTemporaryDir dir;
    state.AppPath = dir.path() + "/";
    window->mnuSounds->trigger();
    window->mnuStatus->trigger();
    EXPECT_FALSE(window->SoundsChecked());
    EXPECT_FALSE(window->picStatus()->isVisible());
    const support::Settings s = support::ReadSettings(state.AppPath);
    EXPECT_FALSE(s.Sounds);
    EXPECT_FALSE(s.Miniature);
    window->mnuStatus->trigger();
    EXPECT_TRUE(window->picStatus()->isVisible());
    EXPECT_TRUE(support::ReadSettings(state.AppPath).Miniature);
}

#ifdef ZELVANO_X11

std::string Text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
}

// What the X server itself says of a window, not Qt's idea of it: when the
// two part, the window shows what Qt lays out somewhere else.
struct ServerWindow {
    xcb_connection_t* C = nullptr;

    // The window's rectangle on the root window.
    QRect Rect(xcb_window_t w) const {
        xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(C, xcb_get_geometry(C, w), nullptr);
        if (!g) return {};
        xcb_translate_coordinates_reply_t* t =
            xcb_translate_coordinates_reply(C, xcb_translate_coordinates(C, w, g->root, 0, 0), nullptr);
        const QRect r = t ? QRect(t->dst_x, t->dst_y, g->width, g->height) : QRect();
        std::free(t);
        std::free(g);
        return r;
    }
    // The outermost window around it: the window manager's frame.
    xcb_window_t Frame(xcb_window_t w) const {
        for (;;) {
            xcb_query_tree_reply_t* tree = xcb_query_tree_reply(C, xcb_query_tree(C, w), nullptr);
            if (!tree) return w;
            const bool top = tree->parent == tree->root;
            const xcb_window_t parent = tree->parent;
            std::free(tree);
            if (top) return w;
            w = parent;
        }
    }
};

// The screen as the virtual X server holds it in its framebuffer file
// (tests/desktop.sh names it): what the windows really painted. A
// screenshot taken through the X protocol is no witness here: it shows a
// window that lies over another one black. The file is an XWD image, its
// header in big-endian 32-bit fields. A null image where there is none.
QImage ScreenFromFramebuffer() {
    QFile file(qEnvironmentVariable("ZELVANO_DESKTOP_FRAMEBUFFER"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = file.readAll();
    if (data.size() < 100) return {};
    const auto field = [&](int i) { return qFromBigEndian<quint32>(data.constData() + 4 * i); };
    const quint32 headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
    const quint32 bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
    const qint64 pixels = qint64(headerSize) + 12 * qint64(colours);
    if (bitsPerPixel != 32 || byteOrder != 0 || data.size() < pixels + qint64(bytesPerLine) * height) return {};
    return QImage(reinterpret_cast<const uchar*>(data.constData() + pixels), int(width), int(height),
                  int(bytesPerLine), QImage::Format_RGB32)
        .copy();
}

// Runs `seen` when a Close event reaches the watched object, before it is handled.
struct CloseWatch : QObject {
    std::function<void()> Seen;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Close) Seen();
        return false;
    }
};

// The main window on a virtual X screen (tests/desktop.sh starts it, with
// openbox managing it or with no window manager): the scroll bars and the
// miniature box stay on the screen through a game's start, a load and a
// restart; without a manager the window fills the free area itself, under
// one a restored window keeps its title bar on the screen.
class FrmMainDesktop : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("ZELVANO_DESKTOP_WM")) GTEST_SKIP() << "needs a virtual X screen";
        managed = qEnvironmentVariable("ZELVANO_DESKTOP_WM") != "none";
        ASSERT_EQ(QGuiApplication::platformName(), "xcb");
        server.C = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        screen = QGuiApplication::primaryScreen();
        host.Screen = screen->size();
        // The set-up lets events run, as the program's own host does.
        host.OnDoEvents = [] { QCoreApplication::processEvents(); };
        window = std::make_unique<frmMain>(state, host);
        window->Form_Load();
        window->mnuStatus->setChecked(true);
        state.AppPath = dir.path() + "/";
        QImage image(500, 380, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        picture = dir.filePath("foto.bmp");
        ASSERT_TRUE(image.save(picture));
        window->ShowChooser = [this] {
            Check("with the chooser open");
            window->Puzzle().NewGameSetup(picture);
            Check("right after the set-up");
        };
    }

    // Lets the window manager finish: events run until the window has kept
    // its place and size on the server for a while and Qt agrees with it.
    void Settle() {
        QElapsedTimer clock;
        clock.start();
        QElapsedTimer still;
        still.start();
        QRect last;
        while (clock.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            const QRect now = server.Rect(window->winId());
            if (now != last || now.size() != window->size()) {
                last = now;
                still.restart();
            } else if (still.elapsed() > 400) {
                return;
            }
        }
    }

    // Each bar and the box, where the server shows them, lie inside both the
    // window and the screen's free area.
    void Check(const char* when) {
        SCOPED_TRACE(when);
        QCoreApplication::processEvents();
        const QRect client = server.Rect(window->winId());
        const QRect free = screen->availableGeometry();
        std::vector<QWidget*> parts = {window->HScroll1(), window->VScroll1()};
        if (window->picStatus()->isVisible()) parts.push_back(window->picStatus());
        for (QWidget* part : parts) {
            const QRect inClient(part->mapTo(window.get(), QPoint(0, 0)), part->size());
            const QRect shown = inClient.translated(client.topLeft());
            EXPECT_TRUE(QRect(QPoint(0, 0), client.size()).contains(inClient))
                << part->objectName().toStdString() << " at " << Text(inClient) << " outside the window "
                << Text(client);
            EXPECT_TRUE(free.contains(shown)) << part->objectName().toStdString() << " at " << Text(shown)
                                              << " off the screen";
        }
    }

    QTemporaryDir dir;
    FakeHost host;
    game::GameState state;
    std::unique_ptr<frmMain> window;
    QScreen* screen = nullptr;
    QString picture;
    ServerWindow server;
    bool managed = true;
};

TEST_F(FrmMainDesktop, BarsAndBoxStayOnTheScreenAndARestoredWindowKeepsItsTitleBar) {
    window->Maximize();
    window->show();
    Settle();
    Check("at the first showing");
    EXPECT_TRUE(window->isMaximized());
    if (!managed) EXPECT_EQ(Text(server.Rect(window->winId())), Text(screen->availableGeometry()));

    window->mnuNewGame_Click(3);
    ASSERT_TRUE(state.GameRunning);
    Settle();
    Check("after a new game");
    EXPECT_TRUE(window->picStatus()->isVisible());

    const QString file = dir.filePath("Save/jogo.pzl");
    host.SaveAnswers.push_back(file);
    window->mnuSaveGame->trigger();
    host.OpenAnswers.push_back(file);
    window->mnuLoadGame->trigger();
    ASSERT_TRUE(state.GameRunning);
    Settle();
    Check("after a load");

    window->mnuShuffle->trigger();
    Settle();
    Check("after a restart");
    EXPECT_EQ(host.Messages.size(), 1u) << "only the restart's question";
    if (!managed) return;  // no title bar, nobody to restore the window

    window->showNormal();
    Settle();
    const QRect frame = server.Rect(server.Frame(window->winId()));
    EXPECT_TRUE(screen->geometry().contains(frame)) << "restored frame at " << Text(frame);
    EXPECT_LT(server.Rect(window->winId()).height(), screen->geometry().height());
    Check("restored");

    // A new game maximises the restored window again.
    window->mnuNewGame_Click(0);
    Settle();
    EXPECT_TRUE(window->isMaximized());
    Check("after a new game in the restored window");
}

// The start-up window as the player sees it: its picture is on the screen
// while the main window loads behind it (a wait that blocks), and again in
// front of the shown main window through the last wait, until it closes.
TEST_F(FrmMainDesktop, TheStartUpWindowShowsItsPictureThroughItsWaits) {
    if (ScreenFromFramebuffer().isNull()) GTEST_SKIP() << "needs the virtual screen's framebuffer";
    std::vector<QImage> screens;  // as the load begins, and as the window closes
    const auto look = [&] { screens.push_back(ScreenFromFramebuffer()); };
    FrmSplash splash(host, look, [this]() -> QWidget* {
        window->Maximize();
        window->show();
        return window.get();
    });
    // The pointer, which the server draws into the framebuffer, out of the way.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(server.C)).data->root;
    xcb_warp_pointer(server.C, XCB_NONE, root, 0, 0, 0, 0, 0, 0);
    xcb_flush(server.C);
    CloseWatch closing;
    closing.Seen = look;
    splash.installEventFilter(&closing);
    splash.Form_Load();
    splash.show();
    QElapsedTimer clock;
    clock.start();
    while (screens.size() < 2 && clock.elapsed() < 20000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(screens.size(), 2u);
    const QRect at = server.Rect(splash.winId());
    const QImage picture = splash.Picture().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(picture.isNull());
    // Every pixel of the picture that the window's shape keeps shows, but
    // for the version written over it.
    const QRegion shown =
        (splash.mask() & QRect(QPoint(0, 0), at.size()) & picture.rect()) - splash.Label8()->geometry();
    const char* const moments[] = {"while the main window loads", "in front of the main window"};
    for (size_t i = 0; i < screens.size(); ++i) {
        SCOPED_TRACE(moments[i]);
        const QImage& screen = screens[i];
        ASSERT_TRUE(screen.rect().contains(at));
        int pixels = 0, wrong = 0;
        QPoint first(-1, -1);
        for (const QRect& r : shown)
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    ++pixels;
                    const QRgb seen = screen.pixel(at.x() + x, at.y() + y), painted = picture.pixel(x, y);
                    if ((seen & 0xFFFFFFu) != (painted & 0xFFFFFFu) && wrong++ == 0) first = QPoint(x, y);
                }
        EXPECT_GT(pixels, picture.width() * picture.height() / 2);
        EXPECT_EQ(wrong, 0) << "of " << pixels << " pixels, the first at " << first.x() << "," << first.y();
    }
}

#endif

}  // namespace
