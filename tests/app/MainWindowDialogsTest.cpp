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
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
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
// never the words after it. What a player copies is the message as written.
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
        // All the text shows: it lies in the box, tall enough for its lines.
        auto* text = mb->findChild<QTextEdit*>(QStringLiteral("MessageText"));
        ASSERT_NE(text, nullptr);
        EXPECT_TRUE(text->isVisible()) << name;
        EXPECT_TRUE(mb->rect().contains(text->geometry())) << name;
        EXPECT_LE(text->document()->size().height(), text->viewport()->height()) << name;
        EXPECT_LE(text->document()->idealWidth(), text->viewport()->width()) << name;
        // What a player copies: the text selected with the keyboard in the
        // clicked text, and Ctrl+C anywhere else on the box, which copies the
        // whole message even where the box shows it shortened.
        QApplication::clipboard()->clear();
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(1, 1));
        ASSERT_EQ(QApplication::focusWidget(), text) << name;
        QTest::keySequence(text, QKeySequence::SelectAll);
        QTest::keySequence(text, QKeySequence::Copy);
        const QString selected = QApplication::clipboard()->text();
        if (c.Whole) EXPECT_EQ(selected.toStdString(), c.Text.toStdString());
        if (!c.End.isEmpty()) EXPECT_TRUE(selected.endsWith(c.End)) << name;
        EXPECT_EQ(selected, mb->text()) << name;
        QApplication::clipboard()->clear();
        mb->defaultButton()->setFocus();
        QTest::keySequence(QApplication::focusWidget(), QKeySequence::Copy);
        EXPECT_EQ(QApplication::clipboard()->text(), c.Text) << name;
        // A path shown whole breaks only after a "/" or inside a name wider
        // than a line.
        if (c.Whole && c.Text.contains('/')) {
            const qsizetype pathAt = c.Text.indexOf('/'), pathEnd = c.Text.indexOf(' ', pathAt);
            const qsizetype longName = c.Text.lastIndexOf('/', pathEnd) + 1;
            int lines = 0;
            for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
                for (int i = 0; i + 1 < block.layout()->lineCount(); ++i, ++lines) {
                    const QTextLine line = block.layout()->lineAt(i);
                    const qsizetype end = block.position() + line.textStart() + line.textLength();
                    if (end <= pathAt || end > pathEnd) continue;
                    EXPECT_TRUE(c.Text[end - 1] == '/' || end > longName) << name << " breaks at " << end;
                }
            EXPECT_GT(lines, 10) << name;
        }
    }
}

// A text cut in the middle keeps every character whole: an emoji, written
// as two code units, is never halved before or after the "…", wherever the
// box size puts the cut.
TEST(MessageBoxes, ShortenedTextsKeepEmojiWhole) {
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600, two code units
    const QString word = emoji.repeated(1500);
    const QString words = (emoji + ' ' + emoji + emoji + ' ').repeated(600);
    const QFont font = QApplication::font();
    const QString texts[] = {word, "x" + word, QString::fromUtf8("O arquivo ") + word + " x", words, "x" + words};
    for (int t = 0; t < 5; ++t) {
        for (const int width : {30, 61, 97, 200, 333}) {
            for (const int height : {20, 45, 101}) {
                const QString shown = FitMessageText(texts[t], font, width, height);
                const std::string name = "text " + std::to_string(t) + " in " + std::to_string(width) + "x" +
                                         std::to_string(height);
                ASSERT_TRUE(shown.contains(QString::fromUtf8("…"))) << name;
                for (qsizetype i = 0; i < shown.size(); ++i) {
                    if (shown[i].isHighSurrogate())
                        ASSERT_TRUE(i + 1 < shown.size() && shown[i + 1].isLowSurrogate()) << name << " at " << i;
                    if (shown[i].isLowSurrogate())
                        ASSERT_TRUE(i > 0 && shown[i - 1].isHighSurrogate()) << name << " at " << i;
                }
            }
        }
    }
}

}  // namespace
