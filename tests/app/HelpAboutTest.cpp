// The help and about windows: texts, places, the version, the links and
// centring.
#include "app/Form1.h"
#include "app/FrmAbout.h"
#include "support/CenterForm.h"
#include "support/FakeHost.h"
#include "widgets/Skin.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(HelpTexts, KeepOneLoneCarriageReturnAndNoClosingFullStop) {
    const auto& texts = HelpTexts();
    EXPECT_EQ(texts[1].count(QLatin1Char('\r')), 1);
    for (const QString& t : texts) EXPECT_FALSE(t.contains(QLatin1Char('\n')));
    EXPECT_TRUE(texts[1].contains(QStringLiteral("para iniciar.\rVocê pode")));
    EXPECT_TRUE(texts[5].endsWith(QStringLiteral("aperte o botão direito")));
    EXPECT_EQ(texts[0], QStringLiteral("Novo jogo:"));
    EXPECT_EQ(texts[2], QStringLiteral("Para mover a peça:"));
    EXPECT_EQ(texts[4], QStringLiteral("Para girar a peça:"));
}

TEST(DisplayedText, BreaksTheLineAtACarriageReturn) {
    const struct {
        const char* In;
        const char* Out;
    } cases[] = {{"a\rb", "a\nb"}, {"a\r\nb", "a\nb"}, {"ab", "ab"}, {"\r", "\n"}, {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(DisplayedText(QString::fromLatin1(c.In)), QString::fromLatin1(c.Out)) << c.In;
}

TEST(Form1, ShowsTheHelpTextsInPlace) {
    Form1 help(nullptr);
    EXPECT_EQ(help.windowTitle(), QStringLiteral("Como Jogar"));
    EXPECT_EQ(help.size(), QSize(472, 289));
    EXPECT_EQ(help.Picture1()->geometry(), QRect(7, 10, 456, 273));
    EXPECT_EQ(help.Label(2)->geometry(), QRect(9, 26, 437, 88));
    EXPECT_EQ(help.Label(6)->geometry(), QRect(8, 217, 437, 39));
    EXPECT_EQ(help.Caption(2), HelpTexts()[1]);
    EXPECT_EQ(help.Label(2)->text().count(QLatin1Char('\n')), 1);
    EXPECT_FALSE(help.Label(2)->text().contains(QLatin1Char('\r')));
    EXPECT_TRUE(help.Label(1)->font().bold());
    EXPECT_FALSE(help.Label(2)->font().bold());
}

TEST(Form1, TakesTheMainWindowsSkin) {
    Skin skin;
    ASSERT_TRUE(skin.OpenSkinFile(ZELVANO_SOURCE_DIR "/assets/Puzzle.skn"));
    Form1 help(&skin);
    EXPECT_EQ(help.styleSheet(), skin.StyleSheet());
}

TEST(FrmAbout, ShowsTheVersionAndTheFixedTexts) {
    FakeHost host;
    FrmAbout about(host);
    EXPECT_EQ(about.windowTitle(), QStringLiteral(" Sobre o Zelvano"));
    EXPECT_EQ(about.Label8()->text(), QStringLiteral("Versão 1.0.0"));
    EXPECT_EQ(about.Label2()->text(), QStringLiteral("Zelvano"));
    EXPECT_EQ(about.Label5()->text(), QStringLiteral("Para Windows 95/98/Me/NT/2000/XP"));
    EXPECT_EQ(about.Label3()->text(), QStringLiteral("Software produzido por: Valtrino"));
    EXPECT_EQ(about.Label3()->parentWidget(), about.Frame1());
    EXPECT_EQ(about.Label11()->geometry().topLeft(), QPoint(7, 98));
    EXPECT_EQ(about.Label6()->y(), 98);
    EXPECT_GE(about.Label6()->x(), 236);
    EXPECT_EQ(about.Command1()->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(about.Label11()->font().underline());
}

TEST(FrmAbout, EveryTextFitsItsLabelInsideTheWindow) {
    FakeHost host;
    FrmAbout about(host);
    for (QLabel* label : about.findChildren<QLabel*>()) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width()) << label->objectName().toStdString();
        EXPECT_TRUE(label->parentWidget()->rect().contains(label->geometry())) << label->objectName().toStdString();
    }
    EXPECT_FALSE(about.Label11()->geometry().intersects(about.Label6()->geometry()));
    // Neither crowded by its neighbour nor pressed against the window's edge.
    const auto textRight = [](const QLabel* l) { return l->x() + l->fontMetrics().horizontalAdvance(l->text()); };
    EXPECT_GE(about.Label6()->x() - textRight(about.Label11()), 8);
    for (QLabel* label : {about.Label8(), about.Label6()})
        EXPECT_LE(textRight(label), label->parentWidget()->width() - 4) << label->objectName().toStdString();
}

TEST(FrmAbout, LinksOpenTheMakersPagesAndShowTheHand) {
    FakeHost host;
    FrmAbout about(host);
    about.show();
    QTest::mouseClick(about.Label11(), Qt::LeftButton);
    QTest::mouseClick(about.Label6(), Qt::LeftButton);
    QTest::mouseClick(about.Label6(), Qt::RightButton);
    ASSERT_EQ(host.Urls.size(), 2u);
    EXPECT_EQ(host.Urls[0], kFaqUrl);
    EXPECT_EQ(host.Urls[1], kContactUrl);
    for (QLabel* link : {about.Label11(), about.Label6()}) {
        EXPECT_EQ(link->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(link->cursor().hotSpot(), QPoint(11, 1));
    }
    QTest::mouseClick(about.Command1(), Qt::LeftButton);
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

TEST(Icons, EmbeddedAtTheirSizesWithTheHandsHotSpotOnTheFinger) {
    for (int size : {16, 32, 48}) {
        const QImage icon(QStringLiteral(":/icon%1.png").arg(size));
        ASSERT_EQ(icon.size(), QSize(size, size));
        const QColor centre = icon.pixelColor(size / 2, size / 2);
        EXPECT_EQ(centre.alpha(), 255);
        EXPECT_GT(centre.red(), centre.green());  // orange
        EXPECT_GT(centre.green(), centre.blue());
        EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
    }
    const QImage hand(QStringLiteral(":/hand.png"));
    ASSERT_EQ(hand.size(), QSize(32, 32));
    const QPoint hot(hand.text(QStringLiteral("HotSpotX")).toInt(), hand.text(QStringLiteral("HotSpotY")).toInt());
    EXPECT_EQ(hot, QPoint(11, 1));
    EXPECT_GT(hand.pixelColor(hot).alpha(), 0);
    EXPECT_EQ(hand.pixelColor(0, 0).alpha(), 0);
}

TEST(CenterFormPosition, CentresInTwipsAndRoundsHalfPixelsToEven) {
    const struct {
        QSize Screen, Window;
        QPoint Expected;
    } cases[] = {
        {{1280, 1024}, {200, 100}, {540, 462}},
        {{1280, 1024}, {1400, 1100}, {-60, -38}},  // larger than the screen: negative
        {{1280, 1024}, {321, 323}, {480, 350}},    // 479.5 and 350.5 to even
        {{1280, 1024}, {323, 1}, {478, 512}},      // 478.5 to even, 511.5 to even
        {{800, 600}, {800, 600}, {0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(support::CenterFormPosition(c.Screen, c.Window), c.Expected);
}

}  // namespace
