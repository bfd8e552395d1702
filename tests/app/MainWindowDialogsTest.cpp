// The main window's help, about and board-colour commands, and the message
// boxes every window shows.
#include "app/Form1.h"
#include "app/FrmAbout.h"
#include "app/PlatformDialogs.h"
#include "app/frmMain.h"
#include "support/FakeHost.h"
#include "support/ModINI.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
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

TEST(MessageBoxes, SpeakPortugueseAndShowTextAsItIs) {
    ASSERT_TRUE(InstallPlatformTranslations());
    platform::MessageBox box;
    box.Text = QStringLiteral("<font size=7>Jogo.pzl</font>");
    box.Buttons = platform::MsgButtons::YesNo;
    const auto mb = MakeMessageBox(box, nullptr);
    EXPECT_EQ(mb->textFormat(), Qt::PlainText);
    EXPECT_EQ(mb->text(), box.Text);
    EXPECT_EQ(mb->button(QMessageBox::Yes)->text().remove('&'), QStringLiteral("Sim"));
    EXPECT_EQ(mb->button(QMessageBox::No)->text().remove('&'), QString::fromUtf8("Não"));
}

// However long the text, the box and its buttons stay on the screen; however
// short, the title bar has room for the whole title.
TEST(MessageBoxes, StayOnTheScreenAndFitTheirTitle) {
    const QString longPath = "/home/" + QString(1 << 20, 'p') + "/fim.jpg";
    QStringList words;
    for (int i = 0; i < 50000; ++i) words << "palavra";
    const struct {
        QString Title, Text;
    } cases[] = {
        {QString::fromUtf8("Parabéns!!"), "Jogo Completo"},
        {"Zelvano", QString::fromUtf8("Imagem não encontrada: ") + longPath},
        {"Zelvano", words.join(' ')},
        {"Zelvano", QString(20000, '\n')},
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    for (const auto& c : cases) {
        platform::MessageBox box{c.Text, c.Title, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation};
        const auto mb = MakeMessageBox(box, nullptr);
        mb->show();
        QApplication::processEvents();
        EXPECT_LE(mb->height(), screen.height() - 100) << c.Title.toStdString();
        EXPECT_LE(mb->width(), screen.width()) << c.Title.toStdString();
        EXPECT_GE(mb->width(), QFontMetrics(titleFont).horizontalAdvance(c.Title) + 100) << c.Title.toStdString();
        const auto* buttons = mb->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_TRUE(mb->rect().contains(buttons->geometry())) << c.Title.toStdString();
        if (c.Text.size() > 1000) EXPECT_TRUE(mb->text().endsWith(".jpg") || mb->text().endsWith(QString::fromUtf8("…")));
    }
}

}  // namespace
