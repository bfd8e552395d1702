// The whole new-game set-up of a 6000 x 4000 photograph at "Difícil" on a
// 1920 x 1080 screen, beside a plain decode of the same file: the set-up
// decodes the JPEG reduced to what the fit needs, so it should cost no more
// than about 1.5 times the full decode.
#include "game/Levels.h"
#include "game/Puzzle.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeWindow.h"
#include "tools/MaskStrip.h"

#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

// A photograph-like picture: smooth gradients with fine detail, so that the
// JPEG is as hard to decode as a real photo of that size.
const QString& PhotoPath() {
    static std::unique_ptr<QTemporaryDir> dir;
    static QString path;
    if (!path.isEmpty()) return path;
    dir = std::make_unique<QTemporaryDir>();
    QImage image(6000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = (x * 255) / 6000;
            const int g = (y * 255) / 4000;
            const int b = static_cast<int>(128 + 100 * std::sin(x * 0.013) * std::cos(y * 0.017)) ^ ((x ^ y) & 15);
            line[x] = qRgb(r, g, b & 255);
        }
    }
    path = dir->filePath(QStringLiteral("photo.jpg"));
    image.save(path, "JPEG", 90);
    return path;
}

void BM_DecodeJpeg(benchmark::State& state) {
    const QString path = PhotoPath();
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond);

// A game on a 1920 x 1080 screen at "Difícil", as the main window sets it up.
struct HardBoard {
    game::GameState gs;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random;
    game::Puzzle puzzle{gs, surfaces, view, window, host, random};

    HardBoard() {
        host.Screen = {1920, 1080};
        gs.ScreenW = 1920;
        gs.ScreenH = 1080;
        view.Width = 2400;
        view.Height = 1350;
        view.ScaleWidth = 1920;
        view.ScaleHeight = 1020;
        window.CentreLeft = -240;
        window.CentreTop = -135;
        surfaces.picScreen.Resize(2400, 1350);
        surfaces.picBG.Resize(2400, 1350, platform::PixelFromColor(surfaces.BackColor));
        surfaces.picMasks[0] = tools::MaskStrip();
        game::ChooseLevel(gs, game::Hard);
    }
};

void BM_NewGameSetup(benchmark::State& state) {
    const QString path = PhotoPath();
    HardBoard b;
    for (auto _ : state) {
        if (!b.puzzle.NewGameSetup(path)) state.SkipWithError("set-up refused the picture");
        benchmark::DoNotOptimize(b.surfaces.picScreen.Row(0));
    }
    state.counters["pieces"] = static_cast<double>(b.gs.Pieces.size());
}
BENCHMARK(BM_NewGameSetup)->Unit(benchmark::kMillisecond);

// Loading a saved game of the same picture decodes it as reduced as the new
// game did, so it should cost no more than about 1.3 times the new game.
void BM_LoadGame(benchmark::State& state) {
    const QString path = PhotoPath();
    HardBoard b;
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("jogo.pzl"));
    if (!b.puzzle.NewGameSetup(path) || !b.puzzle.SaveGame(saved)) {
        state.SkipWithError("no game to save");
        return;
    }
    for (auto _ : state) {
        if (!b.puzzle.LoadGame(saved)) state.SkipWithError("the saved game did not load");
        benchmark::DoNotOptimize(b.surfaces.picScreen.Row(0));
    }
    state.counters["pieces"] = static_cast<double>(b.gs.Pieces.size());
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);

}  // namespace
