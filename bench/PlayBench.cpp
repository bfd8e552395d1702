// Dragging cost: one pointer move of a held group, handler and full
// recomposition, on the hardest level's board of a 1920 x 1080 screen.
#include "game/Puzzle.h"
#include "game/PuzzleModule.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeWindow.h"
#include "tools/MaskStrip.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

// 20 x 12 pieces of 80 pixels on a 2400 x 1350 board: a 5 x 4 block joined
// at (1100, 550), the rest scattered over the board, as BM_DrawBoard lays
// them out. The block's top-left piece is held, so 20 pieces move.
void BM_DragStep(benchmark::State& st) {
    game::GameState state;
    game::BoardSurfaces surfaces;
    game::BoardView view{-240, -135, 2400, 1350, 1920, 1040};
    FakeWindow window(view);
    FakeHost host;
    platform::Random random;
    game::Puzzle puzzle(state, surfaces, view, window, host, random);

    state.PieceBox = 80;
    state.PieceStep = 44;
    state.SnapDiv = 4;
    state.GameLevel = 5;
    state.ChosenLevel = 5;
    state.Cols = 20;
    state.Rows = 12;
    surfaces.picMasks[0] = tools::MaskStrip();
    game::PuzzleModule::PrepareMasks(surfaces, 80);
    surfaces.picMaster.Resize(20 * 44, 12 * 44, 0xFF406080u);
    game::PuzzleModule::CutPieces(state, surfaces, surfaces.picMaster);
    surfaces.picScreen.Resize(2400, 1350);
    surfaces.picBG.Resize(2400, 1350, platform::PixelFromColor(surfaces.BackColor));

    uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int16_t>((seed >> 8) % static_cast<uint32_t>(range));
    };
    for (game::PieceRec& p : state.Pieces) {
        if (p.Col < 5 && p.Row < 4) {
            p.Left = static_cast<int16_t>(1100 + p.Col * 44);
            p.Top = static_cast<int16_t>(550 + p.Row * 44);
        } else {
            p.Left = next(2400 - 80);
            p.Top = next(1350 - 80);
        }
    }
    // The block on top of the stack, so that the press finds its corner piece.
    std::stable_partition(state.Pieces.begin(), state.Pieces.end(),
                          [](const game::PieceRec& p) { return p.Col < 5 && p.Row < 4; });
    state.GameRunning = true;
    state.SelectedPiece = -1;
    puzzle.picScreen_MouseDown(game::LeftButton, 0, 1140, 590);

    float dx = 1;
    for (auto _ : st) {
        puzzle.picScreen_MouseMove(game::LeftButton, 0, 1140 + dx, 590 + dx);
        dx = -dx;
        benchmark::DoNotOptimize(surfaces.picScreen.Row(0));
    }
    // The held piece itself may carry the flag too (a ring leads back to it).
    st.counters["moving"] = static_cast<double>(1 + std::count_if(state.Pieces.begin() + 1, state.Pieces.end(),
                                                                  [](const game::PieceRec& p) { return p.InGroup; }));
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

}  // namespace
