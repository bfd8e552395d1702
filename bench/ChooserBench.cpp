// Scanning a folder of large photographs into the thumbnail grid, beside
// decoding the same files at full size: thumbnails decode near their own
// size, so a scan should cost a small fraction of the full decoding.
#include "bench/Memory.h"
#include "bench/PictureKinds.h"
#include "chooser/ThumbsCtl.h"
#include "tests/support/DamagedPictures.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>

namespace {

// What the scan asks of the machine: only the clock and the event pump.
class BenchHost : public platform::Host {
public:
    platform::MsgAnswer ShowMessage(const platform::MessageBox&) override { return platform::MsgAnswer::Ok; }
    std::optional<platform::FileDialogAnswer> ShowOpenFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<platform::FileDialogAnswer> ShowSaveFile(const platform::FileDialogRequest&) override { return std::nullopt; }
    std::optional<int32_t> ShowColor(int32_t, bool, std::array<int32_t, 16>&) override { return std::nullopt; }
    void PlaySound(const QByteArray&) override {}
    double MonotonicSeconds() override { return 0; }
    double TimeOfDay() override { return 0; }
    QSize ScreenSize() override { return {1280, 1024}; }
    bool DoEvents() override {
        const auto now = std::chrono::steady_clock::now();
        if (m_Last) LongestBlock = std::max(LongestBlock, std::chrono::duration<double>(now - *m_Last).count());
        QCoreApplication::processEvents();
        m_Last = std::chrono::steady_clock::now();
        return true;
    }
    // The longest time the scan kept the events waiting, in seconds, from
    // the last Start.
    double LongestBlock = 0;
    void Start() {
        LongestBlock = 0;
        m_Last = std::chrono::steady_clock::now();
    }

private:
    std::optional<std::chrono::steady_clock::time_point> m_Last;
    void Quit() override {}
    void SetBusyPointer(bool) override {}
    void OpenUrl(const QString&) override {}
};

QApplication& App() {
    static int argc = 1;
    static char name[] = "puzzle_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Forty 4000 x 3000 JPEG photographs, written once.
QString PhotoFolder() {
    static QTemporaryDir dir;
    static bool written = false;
    if (!written) {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        for (int i = 0; i < 40; ++i) {
            QPainter p(&photo);
            QLinearGradient g(0, 0, 4000, 3000);
            g.setColorAt(0, QColor::fromHsv((i * 37) % 360, 200, 230));
            g.setColorAt(1, QColor::fromHsv((i * 37 + 150) % 360, 180, 120));
            p.fillRect(photo.rect(), g);
            for (int k = 0; k < 60; ++k) {
                p.setBrush(QColor::fromHsv((i * 13 + k * 29) % 360, 160, 200));
                p.drawEllipse(QPoint((k * 677 + i * 31) % 4000, (k * 389 + i * 53) % 3000), 150 + k * 3, 120 + k * 2);
            }
            p.end();
            photo.save(dir.filePath(QStringLiteral("foto%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), "JPEG", 90);
        }
        written = true;
    }
    return dir.path();
}

// Lists a folder in the thumbnail grid, afresh at each iteration, which
// must list `count` pictures. extra_MB is the peak memory over what was
// resident before the first listing.
void ScanInGrid(benchmark::State& state, const QString& folder, int count) {
    BenchHost host;
    game::GameState game;
    game.ChooserOpen = true;
    game.PieceBox = 160;
    chooser::ThumbsCtl grid(game, host);
    grid.resize(7650 / 15, 3420 / 15);
    grid.show();
    const double base = bench::ResetPeak();
    for (auto _ : state) {
        grid.Clear();
        QString path = folder;
        host.Start();
        grid.ScanPath(path);
        if (grid.ListCount() != count) state.SkipWithError("not every picture was listed");
    }
    state.counters["extra_MB"] = bench::PeakMegabytes() - base;
    state.counters["longest_block_s"] = host.LongestBlock;
}

void BM_ScanFolder(benchmark::State& state) {
    App();
    ScanInGrid(state, PhotoFolder(), 40);
}
BENCHMARK(BM_ScanFolder)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DecodeFolderFull(benchmark::State& state) {
    App();
    const QString folder = PhotoFolder();
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    for (auto _ : state) {
        for (const QString& f : files) {
            QImageReader reader(QDir(folder).filePath(f));
            QImage image = reader.read();
            benchmark::DoNotOptimize(image.constBits());
        }
    }
}
BENCHMARK(BM_DecodeFolderFull)->Unit(benchmark::kMillisecond)->Iterations(3);

// The chooser's thumbnail of each kind of picture file (see
// bench/PictureKinds.h), the yardstick first: a genuine 8000 x 6000
// photograph. Every other file must cost at most twice its time and its
// peak memory + 150 MB.
void BM_ThumbnailRead(benchmark::State& state) {
    App();
    const bench::PictureKind& kind = bench::PictureKinds().at(static_cast<size_t>(state.range(0)));
    state.SetLabel(kind.Name);
    QTemporaryDir dir;
    QFile::link(kind.Path, dir.filePath(QStringLiteral("picture.jpg")));
    ScanInGrid(state, dir.path(), 1);
}
BENCHMARK(BM_ThumbnailRead)->DenseRange(0, bench::kPictureKinds - 1)->Unit(benchmark::kMillisecond)->Iterations(1);

// Thirty photographs and every kind of file above in one folder: the
// chooser must never keep the events waiting for more than 2 s at a time.
void BM_ScanHostileFolder(benchmark::State& state) {
    App();
    QTemporaryDir dir;
    const QString photos = PhotoFolder();
    const QStringList names = QDir(photos).entryList({QStringLiteral("*.jpg")}, QDir::Files);
    for (int i = 0; i < 30; ++i) QFile::link(QDir(photos).filePath(names[i]), dir.filePath(names[i]));
    const auto& kinds = bench::PictureKinds();
    for (size_t i = 0; i < kinds.size(); ++i)
        QFile::link(kinds[i].Path, dir.filePath(QStringLiteral("file%1.jpg").arg(i)));
    ScanInGrid(state, dir.path(), 30 + static_cast<int>(kinds.size()));
}
BENCHMARK(BM_ScanHostileFolder)->Unit(benchmark::kMillisecond)->Iterations(1);

// The chooser's thumbnail of a 17 KB RLE bitmap that claims 16384 x 16384
// (see BM_BombNewGame): under 200 ms and 100 MB more memory.
void BM_BombThumbnail(benchmark::State& state) {
    App();
    QTemporaryDir dir;
    damaged::Write(dir.filePath(QStringLiteral("bomb.bmp")), damaged::Rle8Claiming(16384, 16384, 4096));
    ScanInGrid(state, dir.path(), 1);
}
BENCHMARK(BM_BombThumbnail)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
