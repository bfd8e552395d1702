// The chooser window: it opens on the program's picture folder in any letter
// case, OK asks for a picture or starts the game with the one clicked, Cancel
// and the close box unload it, and a drive that cannot be opened sends the
// drive list back without opening anything.
#include "chooser/DirList.h"
#include "chooser/ThumbsCtl.h"
#include "chooser/frmThumbs.h"
#include "chooser/ucFirefoxWait.h"
#include "support/FakeHost.h"
#include "widgets/Skin.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using chooser::frmThumbs;

namespace {

struct Call {
    QString File;
    bool ChooserOpenAfterHide = true;
};

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.isValid());
        state.AppPath = app.path() + "/";
        state.PieceBox = 160;
        QDir(app.path()).mkdir("IMAGENS");
        for (const char* name : {"um.bmp", "dois.bmp"}) {
            QImage image(64, 48, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            ASSERT_TRUE(image.save(app.path() + "/IMAGENS/" + name, "BMP"));
        }
        MakeWindow();
    }
    void TearDown() override { QDir::setCurrent(startFolder); }

    void MakeWindow(const Skin* skin = nullptr) {
        window = std::make_unique<frmThumbs>(state, host, skin, [this](const QString& f, const std::function<void()>& hide) {
            Call call{f};
            if (hide) hide();
            call.ChooserOpenAfterHide = state.ChooserOpen;
            calls.push_back(call);
            return true;
        });
    }

    const QString startFolder = QDir::currentPath();

    QTemporaryDir app;
    game::GameState state;
    FakeHost host;
    std::vector<Call> calls;
    std::unique_ptr<frmThumbs> window;
};

TEST(ChooserFolder, FoundInAnyLetterCaseAndOnlyAsAFolder) {
    struct Case { const char* dir; const char* file; bool found; };
    const Case cases[] = {{"Imagens", nullptr, true}, {"imagens", nullptr, true}, {"IMAGENS", nullptr, true},
                          {nullptr, "Imagens", false}, {"Fotos", nullptr, false}};
    for (const Case& c : cases) {
        QTemporaryDir app;
        if (c.dir) QDir(app.path()).mkdir(c.dir);
        if (c.file) {
            QFile f(app.path() + "/" + c.file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        const auto folder = chooser::FindPictureFolder(app.path() + "/");
        EXPECT_EQ(folder.has_value(), c.found) << (c.dir ? c.dir : c.file);
        if (folder) EXPECT_EQ(QFileInfo(*folder).fileName(), c.dir);
    }
}

TEST_F(Chooser, LayoutAndCaptions) {
    EXPECT_EQ(window->windowTitle(), "Busca Imagens");
    EXPECT_EQ(window->size(), QSize(710, 266));
    EXPECT_EQ(window->Label1()->text(), "Por favor, Aguarde...");
    EXPECT_TRUE(window->Label1()->isHidden());
    EXPECT_EQ(window->ThumbsCtl1()->BackColor(), 0xFFFFFF);
    EXPECT_EQ(window->ThumbsCtl1()->geometry(), QRect(189, 4, 510, 228));
    // The busy ring's square is the window's own colour, also where the skin
    // paints the window in one of its own; the wait label has room for its
    // whole caption in its own font, also where the skin chooses the font.
    QFile file(app.path() + "/Puzzle.skn");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("QDialog { background-color: #e9dcc3; } QLabel { font-size: 15pt; }");
    file.close();
    Skin skin;
    ASSERT_TRUE(skin.OpenSkinFile(file.fileName()));
    const Skin* const skins[] = {nullptr, &skin};
    for (const Skin* s : skins) {
        MakeWindow(s);
        window->show();
        window->Form_Activate();
        const uint32_t behind = window->palette().color(window->backgroundRole()).rgb();
        if (s) EXPECT_EQ(behind, 0xFFE9DCC3u);
        EXPECT_EQ(window->ucFirefoxWait1()->picDestination().Pixel(0, 0), behind);
        const QLabel* label = window->Label1();
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->contentsRect().width(), metrics.horizontalAdvance(label->text())) << (s != nullptr);
        EXPECT_GE(label->contentsRect().height(), metrics.height()) << (s != nullptr);
    }
}

TEST_F(Chooser, ActivationOpensThePictureFolder) {
    bool playingDuringScan = false;
    host.OnDoEvents = [&] {
        if (window->ThumbsCtl1()->ListCount() > 0) playingDuringScan = window->ucFirefoxWait1()->IsPlaying();
    };
    window->show();
    window->Form_Activate();
    EXPECT_TRUE(state.ChooserOpen);
    EXPECT_EQ(QFileInfo(window->Dir1()->Path()).fileName(), "IMAGENS");
    EXPECT_EQ(window->ThumbsCtl1()->ListCount(), 2);
    EXPECT_TRUE(window->Label1()->isHidden());
    // The ring turns while the folder is read and rests once it is.
    EXPECT_TRUE(playingDuringScan);
    EXPECT_FALSE(window->ucFirefoxWait1()->IsPlaying());
    // Coming back to the window keeps the folder the player went to.
    ASSERT_TRUE(window->Dir1()->SetPath(app.path()));
    window->Form_Activate();
    EXPECT_EQ(window->Dir1()->Path(), QDir::cleanPath(app.path()));
}

TEST_F(Chooser, OkWithoutAPictureAsksForOne) {
    window->show();
    window->Form_Activate();
    window->Command1_Click();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_EQ(host.Messages[0].Text, "Primeiro selecione uma imagemna lista");
    EXPECT_EQ(host.Messages[0].Title, "");
    EXPECT_EQ(host.Messages[0].Buttons, platform::MsgButtons::Ok);
    EXPECT_EQ(host.Messages[0].Icon, platform::MsgIcon::None);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(state.ChooserOpen);
    EXPECT_TRUE(window->isVisible());
    // A click, then a folder change: the selection is gone again.
    window->ThumbsCtl1()->imgFigura_Click(1);
    window->Dir1_Change();
    window->Command1_Click();
    EXPECT_EQ(host.Messages.size(), 2u);
}

TEST_F(Chooser, OkAfterAClickStartsTheGameAndUnloads) {
    window->show();
    window->Form_Activate();
    window->ThumbsCtl1()->imgFigura_Click(2);
    const QString picture = window->ThumbsCtl1()->ItemData(2);
    window->Command1_Click();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].File, picture);
    EXPECT_FALSE(calls[0].ChooserOpenAfterHide);
    EXPECT_FALSE(state.ChooserOpen);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(host.Messages.empty());
}

TEST_F(Chooser, DoubleClickStartsTheGame) {
    window->show();
    window->Form_Activate();
    window->ThumbsCtl1()->imgFigura_DblClick(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].File, window->ThumbsCtl1()->ItemData(1));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Chooser, CancelAndCloseBoxUnload) {
    window->show();
    window->Form_Activate();
    window->cmdVoltar_Click();
    EXPECT_FALSE(state.ChooserOpen);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(calls.empty());

    window->show();
    window->Form_Activate();
    EXPECT_TRUE(state.ChooserOpen);
    window->close();
    EXPECT_FALSE(state.ChooserOpen);
}

TEST_F(Chooser, CancelInTheMiddleOfAScanEndsIt) {
    for (int i = 0; i < 6; ++i) {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(app.path() + QString("/IMAGENS/x%1.bmp").arg(i), "BMP");
    }
    host.OnDoEvents = [&] {
        if (window->ThumbsCtl1()->ListCount() == 3) window->cmdVoltar_Click();
    };
    window->show();
    window->Form_Activate();
    EXPECT_EQ(window->ThumbsCtl1()->ListCount(), 3);
    EXPECT_FALSE(state.ChooserOpen);
    EXPECT_TRUE(window->Label1()->isHidden());
}

TEST_F(Chooser, ADriveThatCannotBeOpenedSendsTheListBackAndScansNothing) {
    // With the picture folder, and without it: the list then still shows the
    // folder the program started in.
    for (const bool pictureFolder : {true, false}) {
        SCOPED_TRACE(pictureFolder);
        if (!pictureFolder) {
            ASSERT_TRUE(QDir(app.path() + "/IMAGENS").removeRecursively());
            ASSERT_TRUE(QDir::setCurrent(app.path()));
            MakeWindow();
        }
        window->show();
        window->Form_Activate();
        const QString shown = window->Dir1()->Path();
        const QString drive = window->Drive1()->currentText();
        const int items = window->ThumbsCtl1()->ListCount();
        const int events = host.DoEventsCalls;
        window->Drive1()->addItem("/no/such/drive/");
        window->Drive1()->setCurrentIndex(window->Drive1()->count() - 1);
        EXPECT_EQ(window->Drive1()->currentText(), drive);
        EXPECT_EQ(window->Dir1()->Path(), shown);
        EXPECT_EQ(window->ThumbsCtl1()->ListCount(), items);
        EXPECT_EQ(host.DoEventsCalls, events);
        EXPECT_TRUE(host.Messages.empty());
    }
}

}  // namespace
