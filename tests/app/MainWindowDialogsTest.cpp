// The main window's help, about and board-colour commands.
#include "app/Form1.h"
#include "app/FrmAbout.h"
#include "app/frmMain.h"
#include "support/FakeHost.h"
#include "support/ModINI.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The title of the modal window the next command opened, which is closed.
QString& LastModalTitle() {
    static QString title;
    return title;
}

void CloseNextModal() {
    QTimer::singleShot(0, [] {
        QWidget* modal = QApplication::activeModalWidget();
        LastModalTitle() = modal ? modal->windowTitle() : QString();
        if (modal) modal->close();
    });
}

TEST(MainWindowDialogs, HelpAndAboutOpenModally) {
    FakeHost host;
    game::GameState state;
    frmMain window(state, host);
    CloseNextModal();
    window.mnuHowToPlay->trigger();
    EXPECT_EQ(LastModalTitle(), QStringLiteral("Como Jogar"));
    CloseNextModal();
    window.mnuAbout->trigger();
    EXPECT_EQ(LastModalTitle(), QStringLiteral(" Sobre o Zelvano"));
}

TEST(MainWindowDialogs, BoardColourMenuRecoloursAndSavesTheColour) {
    QTemporaryDir dir;
    FakeHost host;
    game::GameState state;
    frmMain window(state, host);
    window.ColorDialog().SetStore(std::make_unique<support::IniUserSettings>(dir.path() + "/user.ini"));
    state.AppPath = dir.path() + "/";
    window.Surfaces().picBG.Resize(2, 2);
    window.Surfaces().picScreen.Resize(2, 2);
    host.ColorAnswers.push_back(255);
    window.mnuBackground->trigger();
    EXPECT_EQ(window.Surfaces().BackColor, 255);
    EXPECT_EQ(window.Surfaces().picScreen.Pixel(1, 1), 0xFFFF0000u);
    EXPECT_EQ(support::ReadINI(state.AppPath, "SETUP", "Color", ""), "255");
    EXPECT_TRUE(window.ColorDialog().Store().GetSetting("cDialog", "RegColors").has_value());
}

}  // namespace
