// Piece geometry costs: composing a full board while a piece is dragged,
// cutting a picture, and one quarter turn.
#include "game/PuzzleModule.h"
#include "tools/MaskStrip.h"

#include <benchmark/benchmark.h>

namespace {

platform::Surface Picture(int w, int h) {
    platform::Surface s(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.SetPixel(x, y, platform::kOpaque | uint32_t((x * 7) & 0xFF) << 16 | uint32_t((y * 5) & 0xFF) << 8 | 0x30u);
    return s;
}

struct Game {
    game::GameState state;
    game::BoardSurfaces surfaces;

    Game(int16_t box, int16_t step, int cols, int rows) {
        state.PieceBox = box;
        state.PieceStep = step;
        state.GameLevel = 4;
        surfaces.picMasks[0] = tools::MaskStrip();
        game::PuzzleModule::PrepareMasks(surfaces, box);
        surfaces.picMaster = Picture(cols * step, rows * step);
    }
    void Cut() { game::PuzzleModule::CutPieces(state, surfaces, surfaces.picMaster); }
};

// The hardest level on a 1920 x 1080 screen: a 2400 x 1350 board with 20 x 12
// pieces of 80 pixels scattered over all of it, one of them held.
void BM_DrawBoard(benchmark::State& st) {
    Game g(80, 44, 20, 12);
    g.Cut();
    g.surfaces.picScreen.Resize(2400, 1350);
    g.surfaces.picBG.Resize(2400, 1350, platform::PixelFromColor(g.surfaces.BackColor));
    uint32_t seed = 12345;
    auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int16_t>((seed >> 8) % static_cast<uint32_t>(range));
    };
    for (game::PieceRec& p : g.state.Pieces) {
        p.Left = next(2400 - 80);
        p.Top = next(1350 - 80);
    }
    g.state.SelectedPiece = 0;
    for (auto _ : st) {
        game::PuzzleModule::DrawBoard(g.state, g.surfaces);
        benchmark::DoNotOptimize(g.surfaces.picScreen.Row(0));
    }
    st.counters["pieces"] = static_cast<double>(g.state.Pieces.size());
}
BENCHMARK(BM_DrawBoard)->Unit(benchmark::kMicrosecond);

// The largest pieces: 8 x 6 of 160 pixels.
void BM_CutPieces(benchmark::State& st) {
    Game g(160, 88, 8, 6);
    for (auto _ : st) {
        g.Cut();
        benchmark::DoNotOptimize(g.surfaces.picPat.back().Row(0));
    }
}
BENCHMARK(BM_CutPieces)->Unit(benchmark::kMicrosecond);

void BM_RotatePiece(benchmark::State& st) {
    Game g(160, 88, 2, 2);
    g.Cut();
    for (auto _ : st) {
        game::PuzzleModule::RotatePiece(g.state, g.surfaces, 0);
        benchmark::DoNotOptimize(g.surfaces.picPat[0].Row(0));
    }
}
BENCHMARK(BM_RotatePiece)->Unit(benchmark::kMicrosecond);

}  // namespace
