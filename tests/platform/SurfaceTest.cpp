// Raster operations against their truth tables, clipping at every edge,
// scaled drawing and picture loading.
#include "platform/PictureReader.h"
#include "platform/Surface.h"
#include "support/DamagedPictures.h"
#include "tools/SamplePictures.h"

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

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
    QImage deep(1000, 1000, QImage::Format_RGBA64);
    deep.fill(Qt::white);
    QImage flat(4000, 3000, QImage::Format_Indexed8);
    flat.setColorTable({qRgb(40, 90, 160)});
    flat.fill(0);
    ASSERT_TRUE(tools::WriteGif(flat, dir.filePath("flat.gif")));
    ASSERT_TRUE(tools::WriteGif(dot, dir.filePath("dot.gif")));
    const QByteArray jpeg = damaged::JpegClaiming(16, 16);
    QByteArray arithmetic = damaged::JpegClaiming(30000, 30000);
    arithmetic[arithmetic.indexOf("\xFF\xC0") + 1] = char(0xC9);
    QByteArray cutGif = damaged::GifClaiming(1, 1);
    cutGif[30] = 0x40;  // the image data's block runs past the end
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
        {"gif block past the end", file("cut.gif", cutGif), LoadError::NotAPicture},
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
        {"16-bit png", saved("deep.png", deep, "PNG"), LoadError::None, {1000, 1000}},
        {"1 x 1 jpeg", saved("dot.jpg", dot, "JPEG"), LoadError::None, {1, 1}},
        {"1 x 1 bmp", saved("dot.bmp", dot, "BMP"), LoadError::None, {1, 1}},
        {"1 x 1 gif", dir.filePath("dot.gif"), LoadError::None, {1, 1}},
        {"png named .jpg", saved("png.jpg", dot, "PNG"), LoadError::None, {1, 1}},
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
}

}  // namespace
