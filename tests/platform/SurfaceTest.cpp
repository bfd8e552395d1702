// Raster operations against their truth tables, clipping at every edge,
// scaled drawing and picture loading.
#include "bench/Memory.h"
#include "platform/PictureReader.h"
#include "platform/Surface.h"
#include "support/DamagedPictures.h"
#include "tools/SamplePictures.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/stat.h>

using platform::Rop;
using platform::Surface;

namespace {

// The four combinations of a black/white source bit and destination bit,
// laid out on a 2 x 2 surface: pixel i has source bit (i & 1), destination bit (i >> 1).
Surface Bits(bool fromSource) {
    Surface s(4, 1);
    for (int i = 0; i < 4; ++i) {
        const bool bit = fromSource ? (i & 1) : (i >> 1);
        s.SetPixel(i, 0, bit ? platform::kWhite : platform::kBlack);
    }
    return s;
}

struct RopCase {
    const char* Name;
    Rop Op;
    std::array<bool, 4> Expected;  // result bit for (S, D) = (0,0), (1,0), (0,1), (1,1)
};

class RopTruthTable : public ::testing::TestWithParam<RopCase> {};

TEST_P(RopTruthTable, EveryBitCombination) {
    const RopCase c = GetParam();
    const Surface src = Bits(true);
    Surface dst = Bits(false);
    dst.BitBlt(0, 0, 4, 1, src, 0, 0, c.Op);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dst.Pixel(i, 0), c.Expected[i] ? platform::kWhite : platform::kBlack) << "combination " << i;
}

INSTANTIATE_TEST_SUITE_P(AllOps, RopTruthTable,
                         ::testing::Values(RopCase{"SrcCopy", Rop::SrcCopy, {false, true, false, true}},
                                           RopCase{"SrcAnd", Rop::SrcAnd, {false, false, false, true}},
                                           RopCase{"SrcPaint", Rop::SrcPaint, {false, true, true, true}},
                                           RopCase{"SrcInvert", Rop::SrcInvert, {false, true, true, false}},
                                           RopCase{"MergePaint", Rop::MergePaint, {true, false, true, true}}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Surface, RopsWorkOnEveryColourBitAndKeepPixelsOpaque) {
    Surface src(1, 1, 0xFF0F0F0Fu);
    Surface dst(1, 1, 0xFF00FF33u);
    dst.BitBlt(0, 0, 1, 1, src, 0, 0, Rop::SrcInvert);
    EXPECT_EQ(dst.Pixel(0, 0), 0xFF0FF03Cu);
    dst.BitBlt(0, 0, 1, 1, src, 0, 0, Rop::MergePaint);
    EXPECT_EQ(dst.Pixel(0, 0), 0xFFFFF0FCu);
}

struct ClipCase {
    const char* Name;
    int Dx, Dy, W, H, Sx, Sy;
};

class BlitClipping : public ::testing::TestWithParam<ClipCase> {};

// Any rectangle, however far out, copies exactly the pixels that lie on both
// surfaces and nothing else.
TEST_P(BlitClipping, MatchesPixelByPixelReference) {
    const ClipCase c = GetParam();
    Surface src(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) src.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y * 16 + x + 1));
    Surface dst(6, 4, 0xFFABCDEFu);
    Surface expected = dst;
    for (int j = 0; j < c.H; ++j)
        for (int i = 0; i < c.W; ++i)
            if (src.InBounds(c.Sx + i, c.Sy + j) && expected.InBounds(c.Dx + i, c.Dy + j))
                expected.SetPixel(c.Dx + i, c.Dy + j, src.Pixel(c.Sx + i, c.Sy + j));
    dst.BitBlt(c.Dx, c.Dy, c.W, c.H, src, c.Sx, c.Sy, Rop::SrcCopy);
    EXPECT_EQ(dst, expected);
}

INSTANTIATE_TEST_SUITE_P(Edges, BlitClipping,
                         ::testing::Values(ClipCase{"Whole", 0, 0, 7, 5, 0, 0},
                                           ClipCase{"DestinationAboveLeft", -3, -2, 7, 5, 0, 0},
                                           ClipCase{"DestinationBelowRight", 4, 3, 7, 5, 0, 0},
                                           ClipCase{"SourceAboveLeft", 1, 1, 7, 5, -2, -1},
                                           ClipCase{"SourceBelowRight", 0, 0, 3, 3, 5, 3},
                                           ClipCase{"DestinationFarLeft", -100, 0, 7, 5, 0, 0},
                                           ClipCase{"DestinationFarOut", 100, 100, 7, 5, 0, 0},
                                           ClipCase{"SourceFarOut", 0, 0, 7, 5, 50, 50},
                                           ClipCase{"ZeroWidth", 2, 1, 0, 5, 0, 0},
                                           ClipCase{"NegativeSize", 2, 1, -4, -4, 0, 0},
                                           ClipCase{"LargerThanBoth", -1, -1, 100, 100, -1, -1}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(Surface, OverlappingBlitWithinOneSurfaceReadsTheOriginal) {
    Surface s(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) s.SetPixel(x, y, 0xFF000000u | static_cast<uint32_t>(y * 4 + x));
    const Surface before = s;
    s.BitBlt(1, 1, 3, 3, s, 0, 0, Rop::SrcCopy);
    for (int y = 1; y < 4; ++y)
        for (int x = 1; x < 4; ++x) EXPECT_EQ(s.Pixel(x, y), before.Pixel(x - 1, y - 1));
}

TEST(Surface, PixelAccessOutsideIsHarmless) {
    Surface s(2, 2);
    s.SetPixel(-1, 0, platform::kWhite);
    s.SetPixel(2, 1, platform::kWhite);
    EXPECT_EQ(s.Pixel(-1, 0), 0u);
    EXPECT_EQ(s.Pixel(0, 2), 0u);
    EXPECT_EQ(s, Surface(2, 2));
    s.FillRect(5, 0, 3, 3, platform::kWhite);  // wholly beyond the right edge
    s.FillRect(0, 7, 3, 3, platform::kWhite);  // and below
    EXPECT_EQ(s, Surface(2, 2));
    s.FillRect(-5, -5, 6, 6, platform::kWhite);
    EXPECT_EQ(s.Pixel(0, 0), platform::kWhite);
    EXPECT_EQ(s.Pixel(1, 0), platform::kBlack);
}

TEST(Surface, NearestScalingKeepsBlackAndWhitePure) {
    Surface mask(8, 8);
    mask.FillRect(2, 2, 4, 4, platform::kWhite);
    for (int side : {3, 5, 7, 13, 16, 20}) {
        Surface out(side, side, 0xFF123456u);
        out.DrawScaled(mask, 0, 0, side, side, platform::ScaleMode::Nearest);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const uint32_t p = out.Pixel(x, y);
                ASSERT_TRUE(p == platform::kWhite || p == platform::kBlack) << side << " at " << x << "," << y;
            }
    }
    Surface same(8, 8, platform::kWhite);
    same.DrawScaled(mask, 0, 0, 8, 8, platform::ScaleMode::Nearest);
    EXPECT_EQ(same, mask);
}

TEST(Surface, ColourConversionRoundTrips) {
    EXPECT_EQ(platform::PixelFromColor(15203838), 0xFFFEFDE7u);  // red 254, green 253, blue 231
    EXPECT_EQ(platform::PixelFromColor(255), 0xFFFF0000u);
    EXPECT_EQ(platform::ColorFromPixel(0xFFFF0000u), 255);
    EXPECT_EQ(platform::ColorFromPixel(platform::PixelFromColor(0x00C08000)), 0x00C08000);
}

TEST(LoadPicture, ReadsPicturesAndRefusesWhatIsNot) {
    QTemporaryDir dir;
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(10, 20, 30));
    const QString bmp = dir.filePath("p.bmp");
    ASSERT_TRUE(image.save(bmp));
    const auto loaded = platform::LoadPicture(bmp);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded.Pixels.Width(), 5);
    EXPECT_EQ(loaded.Pixels.Pixel(4, 2), 0xFF0A141Eu);

    EXPECT_EQ(platform::LoadPicture(dir.filePath("missing.jpg")).Error, platform::LoadError::NotFound);
    QFile junk(dir.filePath("junk.jpg"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("this is not a picture at all");
    junk.close();
    EXPECT_FALSE(platform::LoadPicture(junk.fileName()));
    QFile empty(dir.filePath("empty.gif"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(platform::LoadPicture(empty.fileName()));
}

TEST(LoadPicture, HeadersAreCheckedAgainstTheFileBeforeAnyDecoder) {
    QTemporaryDir dir;
    auto file = [&](const QString& name, const QByteArray& bytes) { return damaged::Write(dir.filePath(name), bytes); };
    auto saved = [&](const QString& name, const QImage& image, const char* format, bool progressive = false) {
        QImageWriter writer(dir.filePath(name), format);
        writer.setProgressiveScanWrite(progressive);
        writer.setOptimizedWrite(progressive);
        EXPECT_TRUE(writer.write(image)) << name.toStdString();
        return dir.filePath(name);
    };
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QImage grey(4000, 3000, QImage::Format_Grayscale8);
    grey.fill(128);
    QImage mono(4000, 3000, QImage::Format_Mono);
    mono.fill(0);
    QImage widest(32767, 1, QImage::Format_Mono);
    widest.fill(0);
    QImage flat(4000, 3000, QImage::Format_Indexed8);
    flat.setColorTable({qRgb(40, 90, 160)});
    flat.fill(0);
    ASSERT_TRUE(tools::WriteGif(flat, dir.filePath("flat.gif")));
    ASSERT_TRUE(tools::WriteGif(dot, dir.filePath("dot.gif")));
    const QByteArray jpeg = damaged::JpegClaiming(16, 16);
    QByteArray arithmetic = damaged::JpegClaiming(30000, 30000);
    arithmetic[arithmetic.indexOf("\xFF\xC0") + 1] = char(0xC9);
    QByteArray cutGif = damaged::GifClaiming(1, 1);
    cutGif.insert(19, QByteArray("\x21\xFE\x40", 3));  // a comment block before the image runs past the end
    const QString fifo = dir.filePath("fifo.jpg");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);

    using platform::LoadError;
    const struct {
        const char* Name;
        QString Path;
        LoadError Error;
        QSize Size;
    } cases[] = {
        {"png text chunk of 2^31 - 1 bytes", file("text.png", damaged::PngWithHugeTextChunk(false)),
         LoadError::NotAPicture},
        {"png text chunk of 2^31 - 1 bytes after the pixels", file("late.png", damaged::PngWithHugeTextChunk(true)),
         LoadError::NotAPicture},
        {"png 20000 x 20000 over 10 bytes", file("rows.png", damaged::PngClaiming(20000, 20000)),
         LoadError::NotAPicture},
        {"png 40000 wide", file("wide.png", damaged::PngClaiming(40000, 1)), LoadError::TooLarge},
        {"jpeg 30000 x 30000", file("huge.jpg", damaged::JpegClaiming(30000, 30000)), LoadError::NotAPicture},
        {"jpeg 4000 x 3000", file("claims.jpg", damaged::JpegClaiming(4000, 3000)), LoadError::NotAPicture},
        {"arithmetic-coded jpeg 30000 x 30000", file("arithmetic.jpg", arithmetic), LoadError::NotAPicture},
        {"jpeg cut inside its frame header", file("cut.jpg", jpeg.left(jpeg.indexOf("\xFF\xC0") + 10)),
         LoadError::NotAPicture},
        {"gif 30000 x 30000", file("huge.gif", damaged::GifClaiming(30000, 30000)), LoadError::NotAPicture},
        {"gif block before the image past the end", file("cut.gif", cutGif), LoadError::NotAPicture},
        {"bmp 30000 x 30000", file("huge.bmp", damaged::BmpClaiming(30000, 30000)), LoadError::NotAPicture},
        {"rle8 bmp of 17 KB claiming 16384 x 16384", file("rle.bmp", damaged::Rle8Claiming(16384, 16384, 4096)),
         LoadError::NotAPicture},
        {"tiff named .jpg", saved("tiff.jpg", dot, "TIFF"), LoadError::NotAPicture},
        {"fifo", fifo, LoadError::NotAPicture},
        {"folder", dir.path(), LoadError::NotAPicture},
        // Honest pictures at the edges of the bounds.
        {"uniform grey progressive jpeg", saved("grey.jpg", grey, "JPEG", true), LoadError::None, {4000, 3000}},
        {"uniform 1-bit png", saved("mono.png", mono, "PNG"), LoadError::None, {4000, 3000}},
        {"1-bit bmp", saved("mono.bmp", mono.copy(0, 0, 33, 7), "BMP"), LoadError::None, {33, 7}},
        {"uniform gif", dir.filePath("flat.gif"), LoadError::None, {4000, 3000}},
        {"1 x 1 jpeg", saved("dot.jpg", dot, "JPEG"), LoadError::None, {1, 1}},
        {"1 x 1 bmp", saved("dot.bmp", dot, "BMP"), LoadError::None, {1, 1}},
        {"1 x 1 gif", dir.filePath("dot.gif"), LoadError::None, {1, 1}},
        {"png named .jpg", saved("png.jpg", dot, "PNG"), LoadError::None, {1, 1}},
        {"png 32767 wide", saved("widest.png", widest, "PNG"), LoadError::None, {32767, 1}},
    };
    // A decoder may allocate what the picture needs, whatever limit the
    // process has otherwise (Qt's default, 128 MB, turns away 48-megapixel
    // photographs), and the limit is left as it was.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(3);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        platform::PictureFile picture(c.Path);
        EXPECT_EQ(picture.Error(), c.Error);
        EXPECT_EQ(picture.Size(), c.Size);
        EXPECT_EQ(picture.Scaled(QSize(8, 6)).isNull(), c.Error != LoadError::None);
        if (c.Error == LoadError::None) continue;
        EXPECT_FALSE(platform::LoadPicture(c.Path));
        EXPECT_FALSE(platform::LoadPictureCovering(c.Path, QSize(10, 10)));
    }
    EXPECT_EQ(QImageReader::allocationLimit(), 3);
    QImageReader::setAllocationLimit(limit);

    // Each bound at its edge: the most a file can honestly hold passes, one
    // step past it is refused. Only what codes the picture shown counts:
    // not a PNG's text, a JPEG's comments, a GIF's comment or later frames.
    const QByteArray rows = qCompress(QByteArray(4, '\0')).mid(4);
    const int pngWidth = static_cast<int>((rows.size() * 1100 - 1) / 3);  // 1 + 3w bytes a row
    QByteArray pngText = damaged::PngClaiming(pngWidth + 1, 1);
    pngText.insert(33, damaged::PngChunk("tEXt", "Comment" + QByteArray(1000, '\0')));
    const QByteArray baseline = damaged::JpegWith(16, 16, false);
    const qsizetype scan = baseline.lastIndexOf("\xFF\xD9") - baseline.indexOf("\xFF\xDA") - 14;  // 3 components
    const auto jpegWidth = static_cast<uint16_t>(scan * 1024);
    QByteArray gifComment = damaged::GifClaiming(8193, 1);
    gifComment.insert(19, "\x21\xFE" + damaged::GifData(255));
    const QByteArray greyScans = damaged::JpegWith(64, 64, true, 0, 0, 0, true);
    const int ownScans = static_cast<int>(greyScans.count("\xFF\xDA"));
    const struct {
        const char* Name;
        QByteArray Bytes;
        LoadError Error;
    } edges[] = {
        {"png at its deflate bound", damaged::PngClaiming(pngWidth, 1), LoadError::None},
        {"png a pixel past it with a text chunk", pngText, LoadError::NotAPicture},
        {"png 32768 wide", damaged::BlankPng(32768, 1, 1, false), LoadError::TooLarge},
        {"baseline jpeg at its bound", damaged::JpegWith(jpegWidth, 1, false), LoadError::None},
        {"baseline jpeg a pixel past it, padded with comments",
         damaged::JpegWith(static_cast<uint16_t>(jpegWidth + 1), 1, false, 0, 0, 70000), LoadError::NotAPicture},
        {"rle8 bmp at 255 pixels for 2 bytes", damaged::Rle8Claiming(510, 4096, 4096), LoadError::None},
        {"rle8 bmp a row past it", damaged::Rle8Claiming(510, 4097, 4096), LoadError::NotAPicture},
        {"bmp holding half its rows", damaged::MonoBitmapRows(64, 64, 32), LoadError::None},
        {"bmp holding a row less", damaged::MonoBitmapRows(64, 64, 31), LoadError::NotAPicture},
        {"bmp holding a quarter of its rows", damaged::MonoBitmapRows(64, 64, 16), LoadError::NotAPicture},
        {"gif at its bound", damaged::GifClaiming(8192, 1), LoadError::None},
        {"gif a pixel past it with a comment", gifComment, LoadError::NotAPicture},
        {"gif a pixel past it with a later frame", damaged::GifFrames(8193, 1, 1, 1, 2, 4096), LoadError::NotAPicture},
        // What a whole decode may hold: 100 megapixels and 320 MB.
        {"1-bit png of 100 megapixels", damaged::BlankPng(10000, 10000, 1, false), LoadError::None},
        {"1-bit png a row over", damaged::BlankPng(10000, 10001, 1, false), LoadError::TooLarge},
        {"16-bit grey png of 320 MB", damaged::BlankPng(6000, 6990, 16, false), LoadError::None},
        {"16-bit grey png over", damaged::BlankPng(6000, 7000, 16, false), LoadError::TooLarge},
        {"gif of 320 MB", damaged::GifFrames(10000, 8388, 10000, 8388, 20479, 0), LoadError::None},
        {"gif a row over", damaged::GifFrames(10000, 8389, 10000, 8389, 20481, 0), LoadError::TooLarge},
        // A progressive JPEG holds 2 bytes a coefficient for every block.
        {"progressive jpeg of 320 MB of coefficients", damaged::JpegWith(10560, 10560, true, 108900),
         LoadError::None},
        {"progressive jpeg a row of blocks over", damaged::JpegWith(10576, 10576, true, 109300), LoadError::TooLarge},
        {"grey progressive jpeg visiting each block 16 times", damaged::JpegWith(64, 64, true, 0, 16 - ownScans, 0, true),
         LoadError::None},
        {"grey progressive jpeg visiting each block 17 times", damaged::JpegWith(64, 64, true, 0, 17 - ownScans, 0, true),
         LoadError::NotAPicture},
    };
    for (const auto& c : edges) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(platform::PictureFile(file("edge", c.Bytes)).Error(), c.Error);
    }
}

// A picture with a different colour at almost every pixel.
QImage Drawing(int w, int h, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x * 255 / w, y * 255 / h, (x * 7 + y * 13) & 255));
    return image.convertToFormat(format);
}

// Files whose headers tell the truth, each a few hundred kilobytes at most,
// of pictures no photograph comes near: decoded, each would take seconds and
// gigabytes. Every read of them (the probe, a thumbnail, a new game's) costs
// no more than the same reads of a genuine photograph in this test: a
// generous multiple of its time, and its peak memory + 150 MB.
TEST(LoadPicture, TruthfulPicturesCostNoMoreThanAPhotograph) {
    QTemporaryDir dir;
    const QString photo = dir.filePath("photo.png");
    ASSERT_TRUE(Drawing(3000, 2000).save(photo, "PNG"));
    struct Cost {
        double Seconds, Megabytes;
        platform::LoadError Error;
    };
    // AddressSanitizer holds freed memory back for a while: what a process
    // keeps resident then tells nothing of what a read needs at once.
#if defined(__SANITIZE_ADDRESS__)
    constexpr bool kMemory = false;
#else
    constexpr bool kMemory = true;
#endif
    // The chooser's read (its thumbnail), then a new game's, or the
    // thumbnail's alone.
    auto read = [](const QString& path, bool game = true) {
        const double base = bench::ResetPeak();
        const auto start = std::chrono::steady_clock::now();
        platform::PictureFile picture(path);
        const QImage thumb = picture.Scaled(QSize(120, 80));
        if (game) picture.Covering(QSize(900, 600));
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        return Cost{took.count(), bench::PeakMegabytes() - base, picture.Error()};
    };
    Cost genuine = read(photo);
    ASSERT_EQ(genuine.Error, platform::LoadError::None);
    for (int i = 0; i < 2; ++i) {
        const Cost again = read(photo);
        genuine.Seconds = std::min(genuine.Seconds, again.Seconds);
        genuine.Megabytes = std::max(genuine.Megabytes, again.Megabytes);
    }
    // The blank rows are honest: they decode.
    const QImage blank = QImage::fromData(damaged::BlankPng(300, 200, 8, true));
    ASSERT_EQ(blank.size(), QSize(300, 200));
    EXPECT_EQ(blank.pixel(299, 199), qRgb(0x20, 0x40, 0x60));

    QByteArray arithmetic = damaged::JpegWith(32767, 32767, true, 66000);
    arithmetic[arithmetic.indexOf("\xFF\xC2") + 1] = char(0xCA);
    const struct {
        const char* Name;
        QByteArray Bytes;
    } bombs[] = {
        {"1-bit png 20000 x 20000", damaged::BlankPng(20000, 20000, 1, false)},
        {"1-bit png 32767 x 32767", damaged::BlankPng(32767, 32767, 1, false)},
        {"8-bit palette png 16000 x 16000", damaged::BlankPng(16000, 16000, 8, true)},
        {"rle8 bmp 16383 x 16383", damaged::RleRuns(16383, 16383, 8)},
        {"rle4 bmp 16383 x 16383", damaged::RleRuns(16383, 16383, 4)},
        {"1-bit bmp 16383 x 16383 holding half its rows", damaged::MonoBitmapRows(16383, 16383, 8192)},
        {"gif 16000 x 16000", damaged::GifFrames(16000, 16000, 16000, 16000, 62500, 0)},
        {"gif 16000 x 16000 whose first frame a later one pays for", damaged::GifFrames(16000, 16000, 1, 1, 2, 62500)},
        {"progressive jpeg 32767 x 32767 padded with comments", damaged::JpegWith(32767, 32767, true, 0, 0, 1000000)},
        {"progressive jpeg 32767 x 32767", damaged::JpegWith(32767, 32767, true, 1050000)},
        {"arithmetic progressive jpeg 32767 x 32767", arithmetic},
        {"jpeg 8000 x 8000 of 6500 empty scans", damaged::JpegWith(8000, 8000, true, 62500, 6500)},
    };
    for (const auto& bomb : bombs) {
        SCOPED_TRACE(bomb.Name);
        const Cost cost = read(damaged::Write(dir.filePath("bomb"), bomb.Bytes));
        EXPECT_LT(cost.Seconds, 3 * genuine.Seconds);
        if (kMemory) EXPECT_LT(cost.Megabytes, genuine.Megabytes + 150);
        EXPECT_NE(cost.Error, platform::LoadError::None);
    }
    // Neither the thumbnail nor the game of a large 1-bit picture is made
    // through a whole copy in 32 bits a pixel (192 MB here).
    const QString mono = damaged::Write(dir.filePath("mono.png"), damaged::BlankPng(8000, 6000, 1, false));
    for (const bool game : {false, true}) {
        SCOPED_TRACE(game ? "game" : "thumbnail");
        const Cost cost = read(mono, game);
        EXPECT_EQ(cost.Error, platform::LoadError::None);
        if (kMemory) EXPECT_LT(cost.Megabytes, read(photo, game).Megabytes + 100);
    }
}

// A photograph whose EXIF orientation says how to turn it is read turned,
// in size and pixels, whole, reduced and as a thumbnail; kept as stored
// when asked.
TEST(LoadPicture, TaggedPhotographsAreReadUpright) {
    QTemporaryDir dir;
    const QRgb red = qRgb(220, 30, 30), green = qRgb(30, 200, 30), blue = qRgb(30, 30, 220),
               yellow = qRgb(230, 220, 40);
    const QByteArray jpeg = damaged::Written(damaged::Quarters(400, 200, {red, green, blue, yellow}), "JPEG");
    auto near = [](QRgb px, QRgb want) {
        return std::abs(qRed(px) - qRed(want)) < 40 && std::abs(qGreen(px) - qGreen(want)) < 40 &&
               std::abs(qBlue(px) - qBlue(want)) < 40;
    };
    // The colours at the centres of the quarters, left to right, top to bottom.
    auto quarters = [&](const QImage& image, const std::array<QRgb, 4>& want) {
        const int w = image.width(), h = image.height();
        return near(image.pixel(w / 4, h / 4), want[0]) && near(image.pixel(3 * w / 4, h / 4), want[1]) &&
               near(image.pixel(w / 4, 3 * h / 4), want[2]) && near(image.pixel(3 * w / 4, 3 * h / 4), want[3]);
    };
    const struct {
        int Tag;
        QSize Shown;
        std::array<QRgb, 4> Quarters;
    } cases[] = {
        {1, {400, 200}, {red, green, blue, yellow}},
        {3, {400, 200}, {yellow, blue, green, red}},   // turned half round
        {6, {200, 400}, {blue, red, yellow, green}},   // a quarter clockwise
        {8, {200, 400}, {green, yellow, red, blue}},   // a quarter anticlockwise
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Tag);
        const QString path = damaged::Write(dir.filePath(QString("tag%1.jpg").arg(c.Tag)),
                                            damaged::WithOrientation(jpeg, c.Tag));
        platform::PictureFile picture(path);
        EXPECT_EQ(picture.Size(), c.Shown);
        EXPECT_EQ(picture.StoredSize(), QSize(400, 200));
        const platform::CoveringPicture decoded = picture.Covering(QSize());
        const QImage whole = decoded.Pixels.Image();
        EXPECT_EQ(whole.size(), c.Shown);
        EXPECT_TRUE(quarters(whole, c.Quarters));
        const platform::CoveringPicture reduced = picture.Covering(c.Shown / 4);
        EXPECT_EQ(reduced.FileSize, c.Shown);
        EXPECT_EQ(reduced.Pixels.Image().size(), c.Shown / 4);
        EXPECT_TRUE(quarters(reduced.Pixels.Image(), c.Quarters));
        const QImage thumb = picture.Scaled(c.Shown / 10);
        EXPECT_EQ(thumb.size(), c.Shown / 10);
        EXPECT_TRUE(quarters(thumb, c.Quarters));
        picture.KeepStoredOrientation();
        EXPECT_EQ(picture.Size(), QSize(400, 200));
        EXPECT_TRUE(quarters(picture.Covering(QSize(100, 50)).Pixels.Image(), {red, green, blue, yellow}));
    }
}

// A JPEG with arithmetic coding, which Qt's writer does not offer.
QByteArray ArithmeticJpeg(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = static_cast<JDIMENSION>(rgb.width());
    c.image_height = static_cast<JDIMENSION>(rgb.height());
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    c.arith_code = TRUE;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}

// Leaves freed blocks the size of a w x h picture's pixels (1, 8 or 32 bits
// a pixel) full of 0xA5, so that an image that a decoder allocates and does
// not wholly draw shows it. Under AddressSanitizer a new block is filled
// with 0xBE anyway.
void SoilHeap(QSize size) {
    const size_t w = static_cast<size_t>(size.width()), h = static_cast<size_t>(size.height());
    std::vector<void*> blocks;
    for (const size_t bytes : {(w + 31) / 32 * 4 * h, (w + 3) / 4 * 4 * h, 4 * w * h})
        for (int i = 0; i < 8; ++i) {
            blocks.push_back(std::malloc(bytes));
            std::memset(blocks.back(), 0xA5, bytes);
        }
    for (void* block : blocks) std::free(block);
}

// Qt's own decode of a file, whole or scaled as its decoder scales it.
QImage QtDecode(const QString& path, QSize size = QSize()) {
    QImageReader reader(path);
    if (size.isValid()) reader.setScaledSize(size);
    return reader.read();
}

// A picture with its top `rows` rows cleared to colour 0: black, or the
// first of its colours.
QImage Blank(QImage image, int rows) {
    for (int y = 0; y < rows; ++y) std::memset(image.scanLine(y), 0, static_cast<size_t>(image.bytesPerLine()));
    return image;
}

// Files as players have them: made by programs other than Qt, or cut short
// or padded on the way. Each is played as Qt decodes it, whole and as a
// thumbnail. Where Qt's bitmap decoder leaves pixels undrawn (a short file,
// RLE escapes) they are colour 0, not what memory held.
TEST(LoadPicture, PicturesAsPlayersHaveThemLoadAsQtDecodesThem) {
    QTemporaryDir dir;
    int files = 0;
    auto file = [&](const QByteArray& bytes) { return damaged::Write(dir.filePath(QString::number(++files)), bytes); };
    const QImage drawing = Drawing(40, 24);
    const QByteArray jpeg = damaged::Written(drawing, "JPEG");
    const qsizetype afterApp0 = 4 + (uchar(jpeg[4]) << 8 | uchar(jpeg[5]));
    const QByteArray exif("\xFF\xE1\0\x16" "Exif\0\0II*\0\x08\0\0\0\0\0\0\0\0\0", 24);
    const QByteArray png = damaged::Written(drawing, "PNG");
    const QByteArray bmp = damaged::Written(drawing, "BMP");

    // Qt writes no GIF: one of a single frame, and one of two.
    ASSERT_TRUE(tools::WriteGif(drawing, dir.filePath("one.gif")));
    QFile gifFile(dir.filePath("one.gif"));
    ASSERT_TRUE(gifFile.open(QIODevice::ReadOnly));
    const QByteArray gif = gifFile.readAll();
    const qsizetype frameAt = 13 + 3 * 256;  // after the colours
    const QByteArray frame = gif.mid(frameAt, gif.size() - 1 - frameAt);
    const QByteArray twoFrames = gif.left(gif.size() - 1) + frame + ";";

    // A bitmap written top row first says so with a negative height.
    QByteArray topDown = bmp.left(54).replace(22, 4, damaged::Little(static_cast<uint32_t>(-24), 4));
    for (int y = 23; y >= 0; --y) topDown += bmp.mid(54 + y * 120, 120);

    // Each row of its own colour, in runs of 255 pixels: 120 pixels a byte.
    QImage stripes(4080, 16, QImage::Format_Indexed8);
    for (int i = 0; i < 16; ++i) stripes.setColor(i, qRgb(i * 16, 255 - i * 16, i * 5));
    for (int y = 0; y < 16; ++y) std::memset(stripes.scanLine(y), y, 4080);

    // Rows of 100 pixels ended early in rows of 160, a jump over 5 rows and
    // an early end: what the escapes skip is the first colour.
    QImage skipping(160, 40, QImage::Format_Indexed8);
    skipping.setColorTable({qRgb(20, 40, 60), qRgb(200, 100, 0)});
    skipping.fill(0);
    QByteArray skips;
    for (int y = 39; y >= 10; --y) {
        std::memset(skipping.scanLine(y), 1, 100);
        skips += QByteArray("\x64\x01\0\0", 4);
    }
    std::memset(skipping.scanLine(4), 1, 10);
    skips += QByteArray("\0\x02\0\x05\x0A\x01\0\x01", 8);

    // 32-bit pixels with an alpha mask in a version 5 header, as GIMP writes
    // a picture with transparency.
    QByteArray alpha = damaged::Bitmap(40, 24, 32, 3, {}, QByteArray());
    alpha.replace(10, 8, damaged::Little(14 + 124, 4) + damaged::Little(124, 4));
    alpha += damaged::Little(0xFF0000, 4) + damaged::Little(0xFF00, 4) + damaged::Little(0xFF, 4) +
             damaged::Little(0xFF000000u, 4) + QByteArray(124 - 56, '\0');
    for (int y = 23; y >= 0; --y)
        for (int x = 0; x < 40; ++x) alpha += damaged::Little(drawing.pixel(x, y) & 0x7FFFFFFFu, 4);

    // Blocks of colour on a plain ground, on the 8-pixel grid: arithmetic
    // coding spends next to nothing on a plain 8 x 8 block, and this file
    // holds some 1600 pixels a byte, more than Huffman coding can.
    QImage blocks(1024, 768, QImage::Format_RGB32);
    blocks.fill(QColor(240, 236, 220));
    {
        QPainter painter(&blocks);
        painter.fillRect(128, 128, 256, 192, QColor(200, 40, 40));
        painter.fillRect(512, 256, 320, 64, QColor(30, 90, 160));
        painter.fillRect(64, 512, 640, 128, QColor(40, 150, 60));
    }

    const struct {
        const char* Name;
        QByteArray Bytes;
        QImage Shown;  // where Qt's own decode leaves pixels undrawn
    } cases[] = {
        {"greyscale jpeg", damaged::Written(Drawing(40, 24, QImage::Format_Grayscale8), "JPEG")},
        {"jpeg with a zero byte after its start marker", QByteArray(jpeg).insert(2, '\0')},
        {"jpeg with a zero byte after its APP0 segment", QByteArray(jpeg).insert(afterApp0, '\0')},
        {"jpeg with two pad bytes after its EXIF segment",
         QByteArray(jpeg).insert(afterApp0, exif + QByteArray(2, '\0'))},
        {"jpeg with 16 zero bytes before its quantisation table",
         QByteArray(jpeg).insert(jpeg.indexOf("\xFF\xDB"), QByteArray(16, '\0'))},
        {"arithmetic-coded blocks of colour on a plain ground", ArithmeticJpeg(blocks)},
        {"16-bit png", damaged::Written(Drawing(600, 500, QImage::Format_RGBX64), "PNG")},
        {"png with bytes after its end chunk", png + "trailing bytes"},
        {"png missing its end chunk's checksum", png.left(png.size() - 4)},
        {"gif with zero bytes before its trailer", gif.left(gif.size() - 1) + QByteArray(4, '\0') + ";"},
        {"gif without trailer", gif.left(gif.size() - 1)},
        {"gif whose second frame is cut", twoFrames.left(gif.size() + frame.size() / 2)},
        {"gif whose only frame is cut", gif.left(frameAt + frame.size() / 2)},
        {"top-down bmp", topDown},
        {"bmp missing its last 10 bytes", bmp.left(bmp.size() - 10), Blank(QtDecode(file(bmp)), 1)},
        {"32-bit bmp with alpha missing its last 10 bytes", alpha.left(alpha.size() - 10),
         Blank(QtDecode(file(alpha)), 1)},
        {"rle8 bmp", damaged::RleBitmap(stripes, 8)},
        {"rle4 bmp", damaged::RleBitmap(stripes, 4)},
        {"rle8 bmp whose escapes skip pixels", damaged::Bitmap(160, 40, 8, 1, skipping.colorTable(), skips),
         skipping},
    };
    const QSize thumb(13, 9);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString path = file(c.Bytes);
        const QImage qt = c.Shown.isNull() ? QtDecode(path) : c.Shown;
        ASSERT_FALSE(qt.isNull());
        platform::PictureFile picture(path);
        EXPECT_EQ(picture.Error(), platform::LoadError::None);
        EXPECT_EQ(picture.Size(), qt.size());
        SoilHeap(qt.size());
        EXPECT_TRUE(picture.Covering(QSize()).Pixels == Surface::FromImage(qt));
        const QImage qtThumb = c.Shown.isNull()
                                   ? QtDecode(path, thumb)
                                   : c.Shown.scaled(thumb, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        SoilHeap(qt.size());
        EXPECT_TRUE(Surface::FromImage(picture.Scaled(thumb)) == Surface::FromImage(qtThumb));
    }
}

}  // namespace
