// The saved-game file: its exact text, and files that must not load.
#include "game/Fitting.h"
#include "game/SavedGame.h"

#include <QList>

#include <gtest/gtest.h>

namespace {

game::GameState SixPieceGame() {
    game::GameState s;
    s.ElapsedSecs = 42;
    s.PicFile = "/home/ana/Imagens/praia, verão.jpg";
    s.GameLevel = 3;
    s.PicW = 190;
    s.PicH = 120;
    s.PieceBox = 120;
    s.PieceStep = 66;
    s.SnapDiv = 6;
    s.GapUnits = 3;
    // Stacked out of home order; piece (0, 0) turned once, mask 3.
    const int16_t order[] = {4, 0, 5, 2, 1, 3};
    for (int16_t k : order) {
        game::PieceRec p;
        p.Row = k / 3;
        p.Col = k % 3;
        p.PicIndex = k;
        p.Left = static_cast<int16_t>(k == 0 ? 264 : -12 + 11 * k);
        p.Top = 110;
        p.Rotation = k == 0 ? 1 : 0;
        p.Shape = static_cast<int16_t>(k == 0 ? 3 : k);
        s.Pieces.push_back(p);
    }
    return s;
}

TEST(SavedGame, WritesHeaderAndPiecesInHomeOrder) {
    game::GameState s = SixPieceGame();
    game::SortHomeOrder(s.Pieces);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(s.Pieces[k].PicIndex, k);
    const QList<QByteArray> lines = game::FormatSavedGame(s).split('\n');
    ASSERT_EQ(lines.size(), 17);  // 16 lines and the empty rest after the last CR LF
    EXPECT_EQ(lines[0], " 42 \r");
    EXPECT_EQ(lines[1], "/home/ana/Imagens/praia, verão.jpg\r");
    EXPECT_EQ(lines[2], " 3 \r");
    EXPECT_EQ(lines[9], " 5 \r");
    EXPECT_EQ(lines[10], " 264  110  0  0  1  0  3 \r");
    EXPECT_EQ(lines[11], "-1  110  1  0  0  1  1 \r");
    EXPECT_EQ(lines[16], "");
    EXPECT_EQ(game::FormatNumber(-12), "-12 ");
    EXPECT_EQ(game::FormatNumber(0), " 0 ");
}

TEST(SavedGame, ReadsBackWhatItWrote) {
    game::GameState s = SixPieceGame();
    game::SortHomeOrder(s.Pieces);
    s.PicFile += "  ";  // a name may end in blanks
    // Play can leave a piece anywhere a 16-bit position reaches.
    s.Pieces[2].Left = 32767;
    s.Pieces[2].Top = -32768;
    const auto g = game::ParseSavedGame(game::FormatSavedGame(s));
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->ElapsedSecs, 42);
    EXPECT_EQ(g->PicFile, s.PicFile);  // a comma in the path survives
    EXPECT_EQ(g->GameLevel, 3);
    EXPECT_EQ(g->PicW, 190);
    EXPECT_EQ(g->PieceStep, 66);
    ASSERT_EQ(g->Pieces.size(), 6u);
    EXPECT_EQ(g->Pieces[0].Left, 264);
    EXPECT_EQ(g->Pieces[0].Rotation, 1);
    EXPECT_EQ(g->Pieces[1].Left, -1);
    EXPECT_EQ(g->Pieces[2].Left, 32767);
    EXPECT_EQ(g->Pieces[2].Top, -32768);
    EXPECT_EQ(g->Pieces[5].Row, 1);
}

TEST(SavedGame, RefusesDamagedFiles) {
    game::GameState s = SixPieceGame();
    game::SortHomeOrder(s.Pieces);
    const QByteArray good = game::FormatSavedGame(s);
    auto replaceLine = [&](int index, const QByteArray& with) {
        QList<QByteArray> lines = good.split('\n');
        lines[index] = with + "\r";
        return lines.join('\n');
    };
    // The 3 x 2 grid with its cell (1, 1) empty: five pieces, the last in (2, 1).
    QList<QByteArray> holedLines = good.split('\n');
    holedLines[9] = " 4 \r";
    holedLines[14] = " 44  110  2  1  0  4  1 \r";
    holedLines.removeAt(15);
    const QByteArray holed = holedLines.join('\n');
    const QByteArray bad[] = {
        "",
        good.left(good.size() / 2),                   // truncated in the piece lines
        replaceLine(0, "abc"),                        // not a number
        replaceLine(2, " 2 "),                        // the separator is no level
        replaceLine(5, " 0 "),                        // no piece size
        replaceLine(5, " 200 "),                      // a size the level table never gives
        replaceLine(9, " 9 "),                        // more pieces than lines
        replaceLine(10, " 264  110  0  0  4  0  3 "),  // a turn outside 0..3
        replaceLine(10, " 264  110  0  0  1  3  3 "),  // not in home order
        replaceLine(11, " 1 2 3"),                    // too few numbers
        replaceLine(12, " 99999  1  2  0  0  2  1 "),  // beyond 16 bits
        replaceLine(11, " 1  -32769  1  0  0  1  1 "),
        holed,                                        // a grid with a hole
        replaceLine(5, " 40 ").replace("\r\n 66 \r\n 6 ", "\r\n 22 \r\n 2 "),  // finer than any level
        replaceLine(5, " 180 ").replace("\r\n 66 \r\n 6 ", "\r\n 99 \r\n 9 "),  // coarser than any level
        replaceLine(9, " 32766 "),                    // more pieces than any screen's grid
    };
    for (const QByteArray& text : bad) EXPECT_FALSE(game::ParseSavedGame(text).has_value()) << text.toStdString();
}

// The largest grid a game cut at step 66 (Fácil on a screen wider than 800
// pixels, Kids A and B on a smaller one) can have, worked by hand: a screen
// whose area is the most cells a 16-bit count holds, 32767, gives a budget
// of 32767 / 4.5 = 7281.6, made whole 7282 cells; the shrunk picture fills
// at most that, and rounding each side up to whole cells adds at most a
// column and a row, each no longer than a 16-bit side in cells,
// 32767 / 66 = 496.5, so 497 cells: 7282 + 2 x 497 + 1 = 8277 pieces.
TEST(SavedGame, TakesAsManyPiecesAsTheLargestGridAndNoMore) {
    game::GameState s = SixPieceGame();
    ASSERT_EQ(s.PieceStep, 66);
    const int32_t most = 8277;
    for (const int32_t count : {most, most + 1}) {
        SCOPED_TRACE(count);
        // One row of `count` pieces, each in its home cell.
        s.Pieces.clear();
        for (int32_t k = 0; k < count; ++k) {
            game::PieceRec p;
            p.Col = static_cast<int16_t>(k);
            p.PicIndex = static_cast<int16_t>(k);
            s.Pieces.push_back(p);
        }
        EXPECT_EQ(game::ParseSavedGame(game::FormatSavedGame(s)).has_value(), count == most);
    }
}

}  // namespace

namespace {

// The loader's own fit, worked by hand: 300 x 200 at a step of 66 gives a
// 330 x 264 grid; 2 % passes grow it to 324 x 216 (the next 2 % of the width
// reaches 330.48); the height, with the larger margin, is stretched by 3 %
// at most, to 222; both margins are even already.
TEST(SavedGame, LoaderFitGrowsByTwoPercentWithoutAFrame) {
    // The saved sizes of a picture and its grid of pieces.
    auto saved = [](int16_t picW, int16_t picH, int16_t step, int16_t cols, int16_t rows) {
        game::SavedGame g;
        g.PicW = picW;
        g.PicH = picH;
        g.PieceStep = step;
        g.Cols = cols;
        g.Rows = rows;
        return g;
    };
    const game::LoadFit f = game::FitSavedGame(saved(300, 200, 66, 5, 4)).value();
    EXPECT_EQ(f.GridW, 330);
    EXPECT_EQ(f.GridH, 264);
    EXPECT_EQ(f.Cols, 5);
    EXPECT_EQ(f.Rows, 4);
    EXPECT_EQ(f.PicW, 324);
    EXPECT_EQ(f.PicH, 222);
    EXPECT_EQ(f.PicX, 3);
    EXPECT_EQ(f.PicY, 21);
    EXPECT_FALSE(f.TooSmall);
    // Tiny sides end the growth instead of looping for ever.
    const game::LoadFit tiny = game::FitSavedGame(saved(20, 10, 44, 1, 1)).value();
    EXPECT_TRUE(tiny.TooSmall);
    EXPECT_EQ(tiny.GridW, 44);
}

}  // namespace
