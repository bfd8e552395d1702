// The whole new-game set-up of a 6000 x 4000 photograph at "Difícil", beside
// a plain full decode of the same file. The set-up decodes the JPEG reduced
// to what the fit needs: on a 1920 x 1080 screen it should cost no more than
// about 1.5 times the full decode; on a 7680 x 4320 screen (3,700 pieces) no
// more than 3 times, with a peak memory under 750 MB, board surfaces included.
#include "bench/Memory.h"
#include "bench/PictureKinds.h"
#include "game/BoardLayout.h"
#include "game/Levels.h"
#include "game/Puzzle.h"
#include "platform/PictureReader.h"
#include "tests/support/DamagedPictures.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeWindow.h"
#include "tools/MaskStrip.h"

#include <QDir>
#include <QFile>
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

// A game at "Difícil" on a screen of the given size, as the main window sets it up.
struct HardBoard {
    game::GameState gs;
    game::BoardSurfaces surfaces;
    game::BoardView view;
    FakeWindow window{view};
    FakeHost host;
    platform::Random random;
    game::Puzzle puzzle{gs, surfaces, view, window, host, random};

    HardBoard(int16_t screenW, int16_t screenH) {
        const game::BoardRect board = game::BoardForScreen(screenW, screenH);
        host.Screen = {screenW, screenH};
        gs.ScreenW = screenW;
        gs.ScreenH = screenH;
        view.Width = board.Width;
        view.Height = board.Height;
        view.ScaleWidth = screenW;
        view.ScaleHeight = static_cast<int16_t>(screenH - 60);
        window.CentreLeft = board.Left;
        window.CentreTop = board.Top;
        surfaces.picScreen.Resize(board.Width, board.Height);
        surfaces.picBG.Resize(board.Width, board.Height, platform::PixelFromColor(surfaces.BackColor));
        surfaces.picMasks[0] = tools::MaskStrip();
        game::ChooseLevel(gs, game::Hard);
    }
};

// Arguments: the screen's width and height.
void BM_NewGameSetup(benchmark::State& state) {
    const QString path = PhotoPath();
    HardBoard b(static_cast<int16_t>(state.range(0)), static_cast<int16_t>(state.range(1)));
    // The first game starts on an empty board; each timed one replaces the
    // game on the board, as in play.
    bench::ResetPeak();
    if (!b.puzzle.NewGameSetup(path)) state.SkipWithError("set-up refused the picture");
    state.counters["first_peak_MB"] = bench::PeakMegabytes();
    bench::ResetPeak();
    for (auto _ : state) {
        if (!b.puzzle.NewGameSetup(path)) state.SkipWithError("set-up refused the picture");
        benchmark::DoNotOptimize(b.surfaces.picScreen.Row(0));
    }
    state.counters["pieces"] = static_cast<double>(b.gs.Pieces.size());
    state.counters["peak_MB"] = bench::PeakMegabytes();
}
BENCHMARK(BM_NewGameSetup)->Args({1920, 1080})->Args({7680, 4320})->Unit(benchmark::kMillisecond);

// Loading a saved game of the same picture decodes it as reduced as the new
// game did, so it should cost no more than about 1.3 times the new game.
void BM_LoadGame(benchmark::State& state) {
    const QString path = PhotoPath();
    HardBoard b(1920, 1080);
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

// A new game on a 1920 x 1080 screen from each kind of picture file (see
// bench/PictureKinds.h), the yardstick first: a genuine 8000 x 6000
// photograph. Every other file must cost at most twice its time and its
// peak memory (extra_MB: the peak over what was resident before), or be
// refused (refused = 1).
void BM_NewGameRead(benchmark::State& state) {
    const bench::PictureKind& kind = bench::PictureKinds().at(static_cast<size_t>(state.range(0)));
    state.SetLabel(kind.Name);
    HardBoard b(1920, 1080);
    const double base = bench::ResetPeak();
    bool accepted = false;
    for (auto _ : state) accepted = b.puzzle.NewGameSetup(kind.Path);
    state.counters["extra_MB"] = bench::PeakMegabytes() - base;
    state.counters["refused"] = accepted ? 0 : 1;
}
BENCHMARK(BM_NewGameRead)->DenseRange(0, bench::kPictureKinds - 1)->Unit(benchmark::kMillisecond)->Iterations(1);

// A 17 KB RLE bitmap whose header claims 16384 x 16384, though its bytes draw
// no more than a million pixels: each read of it (the size probe, a new game,
// a saved game's picture) should be done with it, refused or decoded, in
// under 200 ms and with under 100 MB more memory. extra_MB is the peak over
// what was resident before the read.
const QString& BombPath() {
    static QTemporaryDir dir;
    static const QString path = damaged::Write(dir.filePath(QStringLiteral("bomb.bmp")),
                                               damaged::Rle8Claiming(16384, 16384, 4096));
    return path;
}

void BM_BombProbe(benchmark::State& state) {
    const double base = bench::ResetPeak();
    for (auto _ : state) {
        platform::PictureFile picture(BombPath());
        benchmark::DoNotOptimize(picture.Size());
    }
    state.counters["extra_MB"] = bench::PeakMegabytes() - base;
}
BENCHMARK(BM_BombProbe)->Unit(benchmark::kMillisecond);

void BM_BombNewGame(benchmark::State& state) {
    HardBoard b(1920, 1080);
    const double base = bench::ResetPeak();
    for (auto _ : state) benchmark::DoNotOptimize(b.puzzle.NewGameSetup(BombPath()));
    state.counters["extra_MB"] = bench::PeakMegabytes() - base;
}
BENCHMARK(BM_BombNewGame)->Unit(benchmark::kMillisecond)->Iterations(1);

// A game saved with a picture that was later overwritten by the bomb.
void BM_BombSavedGame(benchmark::State& state) {
    HardBoard b(1920, 1080);
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("foto.bmp"));
    const QString saved = dir.filePath(QStringLiteral("jogo.pzl"));
    QImage photo(800, 600, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    if (!photo.save(picture) || !b.puzzle.NewGameSetup(picture) || !b.puzzle.SaveGame(saved)) {
        state.SkipWithError("no game to save");
        return;
    }
    QFile::remove(picture);
    QFile::copy(BombPath(), picture);
    const double base = bench::ResetPeak();
    for (auto _ : state) benchmark::DoNotOptimize(b.puzzle.LoadGame(saved));
    state.counters["extra_MB"] = bench::PeakMegabytes() - base;
}
BENCHMARK(BM_BombSavedGame)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
