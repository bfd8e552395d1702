// The main window: its menus, the board's size and place, the scroll bars.
#include "app/FrmSplash.h"
#include "app/frmMain.h"
#include "support/ModINI.h"
#include "support/FakeHost.h"
#include "widgets/SurfaceView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

}  // namespace
