#include "support/CmnDlg.h"
#include "support/FakeHost.h"

#include <gtest/gtest.h>

namespace {

TEST(CmnDlg, ChangeExtension) {
    EXPECT_EQ(support::ChangeExtension("/home/ana/Save/jogo.txt", "pzl"), "/home/ana/Save/jogo.pzl");
    EXPECT_EQ(support::ChangeExtension("/home/ana/Save/a.b.c", "pzl"), "/home/ana/Save/a.b.pzl");
    EXPECT_EQ(support::ChangeExtension("/home/ana/Save/jogo", "pzl"), "/home/ana/Save/jogo.pzl");
    EXPECT_EQ(support::ChangeExtension("/Jogo 1.5/Save/jogo", "pzl"), "/Jogo 1.5/Save/jogo.pzl");
    EXPECT_EQ(support::ChangeExtension("x.txt", ""), "x");
}

TEST(CmnDlg, StripNull) {
    EXPECT_EQ(support::StripNull(QString("ab") + QChar(0) + "cd"), "ab");
    EXPECT_EQ(support::StripNull("abc"), "abc");
    EXPECT_EQ(support::StripNull(""), "");
}

TEST(CmnDlg, DialogsFillTheRecordOrLeaveItAlone) {
    FakeHost host;
    support::CmnDlgInfo dlg;
    dlg.Filter = "Zelvano (*.pzl)|*.pzl";
    dlg.InitDir = "/games/Save";
    dlg.FileTitle = "before";
    dlg.FilterIndex = 3;
    support::ShowOpen(host, dlg);  // cancelled
    EXPECT_EQ(dlg.FileName, "");
    EXPECT_EQ(dlg.FileTitle, "before");
    EXPECT_EQ(dlg.FilterIndex, 3);
    ASSERT_EQ(host.OpenRequests.size(), 1u);
    EXPECT_EQ(host.OpenRequests[0].InitialDir, "/games/Save");
    EXPECT_EQ(host.OpenRequests[0].Filter, "Zelvano (*.pzl)|*.pzl");

    host.SaveAnswers.push_back(QString("/games/Save/  meu jogo .pzl"));
    host.FilterAnswers.push_back(2);
    dlg.Flags = 5;
    support::ShowSave(host, dlg);
    EXPECT_EQ(dlg.FileName, "/games/Save/  meu jogo .pzl");
    EXPECT_EQ(dlg.FileTitle, "meu jogo .pzl");
    EXPECT_EQ(dlg.FilterIndex, 2);  // the pair in use when the dialog closed
    ASSERT_EQ(host.SaveRequests.size(), 1u);
    EXPECT_EQ(host.SaveRequests[0].FilterIndex, 3);
    EXPECT_FALSE(host.SaveRequests[0].ConfirmOverwrite);
    dlg.Flags = 5 | 2;
    support::ShowSave(host, dlg);
    EXPECT_TRUE(host.SaveRequests[1].ConfirmOverwrite);
}

}  // namespace
