// Board composition costs on the board of a 1920 x 1080 screen.
#include "platform/Surface.h"

#include <benchmark/benchmark.h>

namespace {

// One plain copy of a 2400 x 1350 surface: the floor any full recompose of
// the board has to pay.
void BM_BoardCopy(benchmark::State& state) {
    platform::Surface bg(2400, 1350, platform::PixelFromColor(15203838));
    platform::Surface screen(2400, 1350);
    for (auto _ : state) {
        screen.BitBlt(0, 0, bg.Width(), bg.Height(), bg, 0, 0, platform::Rop::SrcCopy);
        benchmark::DoNotOptimize(screen.Row(0));
    }
}
BENCHMARK(BM_BoardCopy)->Unit(benchmark::kMicrosecond);

}  // namespace

