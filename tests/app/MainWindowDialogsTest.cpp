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
    ASSERT_TRUE(UseQtDialogsInPortuguese());
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
// short, the title bar has room for the whole title. A path of up to 1,000
// characters shows whole, broken across lines; a longer one loses its middle,
// never the words after it.
TEST(MessageBoxes, StayOnTheScreenAndFitTheirTitle) {
    QString path = "/home/usuario/Imagens";
    while (path.size() < 700) path += "/ferias_2023";
    path += "/" + QString(995 - path.size(), 'x') + ".jpg";  // a name wider than a line
    ASSERT_EQ(path.size(), 1000);
    const QString longPath = "/home/" + QString(1 << 20, 'p') + "/fim.jpg";
    QStringList words;
    for (int i = 0; i < 50000; ++i) words << "palavra";
    const struct {
        QString Title, Text;
        bool Whole;   // the box shows all of it
        QString End;  // what the box shows last
    } cases[] = {
        {QString::fromUtf8("Parabéns!!"), "Jogo Completo", true, ""},
        {"Zelvano", QString::fromUtf8("O arquivo ") + path + QString::fromUtf8(" não foi encontrado"), true, ""},
        {"Zelvano", QString::fromUtf8("O arquivo ") + longPath + QString::fromUtf8(" não foi encontrado"), false,
         QString::fromUtf8(" não foi encontrado")},
        {"Zelvano", QString::fromUtf8("Imagem não encontrada: ") + longPath, false, "/fim.jpg"},
        {"Zelvano", words.join(' '), false, ""},
        {"Zelvano", QString(20000, '\n'), false, ""},
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    for (const auto& c : cases) {
        const std::string name = c.Text.left(40).toStdString();
        platform::MessageBox box{c.Text, c.Title, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation};
        const auto mb = MakeMessageBox(box, nullptr);
        mb->show();
        QApplication::processEvents();
        EXPECT_LE(mb->height(), screen.height() - 100) << name;
        EXPECT_LE(mb->width(), screen.width()) << name;
        EXPECT_GE(mb->width(), QFontMetrics(titleFont).horizontalAdvance(c.Title) + 100) << name;
        const auto* buttons = mb->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        EXPECT_TRUE(mb->rect().contains(buttons->geometry())) << name;
        // All the label holds shows: it lies in the box, tall enough for its text.
        const auto* label = mb->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(mb->rect().contains(label->geometry())) << name;
        const QRect wrapped = QFontMetrics(label->font()).boundingRect(QRect(0, 0, label->width(), 1 << 24),
                                                                       Qt::TextWordWrap, label->text());
        EXPECT_LE(wrapped.height(), label->height()) << name;
        EXPECT_LE(wrapped.width(), label->width()) << name;
        const QString shown = QString(mb->text()).remove(QChar(0x200B));  // the places to break
        if (c.Whole) EXPECT_EQ(shown, c.Text) << name;
        if (!c.End.isEmpty()) EXPECT_TRUE(shown.endsWith(c.End)) << name;
    }
}

}  // namespace
