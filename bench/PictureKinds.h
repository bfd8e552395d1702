// The picture files whose reads the benchmarks cost: genuine 48-megapixel
// photographs, the yardstick, beside files whose headers tell the truth
// about pictures no photograph comes near, and the largest pictures of each
// kind that are still read. Written once, to a folder of their own.
#pragma once

#include "tests/support/DamagedPictures.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <memory>
#include <vector>

namespace bench {

struct PictureKind {
    const char* Name;
    QString Path;
};

// A photograph-like picture: smooth gradients with fine detail, as hard to
// compress and decode as a real photograph of its size.
inline QImage Photograph(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int b = static_cast<int>(128 + 100 * std::sin(x * 0.013) * std::cos(y * 0.017)) ^ ((x ^ y) & 15);
            line[x] = qRgb(x * 255 / w, y * 255 / h, b & 255);
        }
    }
    return image;
}

// How many there are; the benchmarks take each by its number.
constexpr int kPictureKinds = 21;

inline const std::vector<PictureKind>& PictureKinds() {
    static std::unique_ptr<QTemporaryDir> dir;
    static std::vector<PictureKind> kinds;
    if (!kinds.empty()) return kinds;
    dir = std::make_unique<QTemporaryDir>();
    auto file = [&](const char* name, const QByteArray& bytes) {
        kinds.push_back({name, damaged::Write(dir->filePath(QString::number(kinds.size())), bytes)});
    };
    {
        const QImage photo = Photograph(8000, 6000);
        for (const char* format : {"PNG", "JPEG"}) {
            const QString path = dir->filePath(QStringLiteral("photo.") + format);
            QImageWriter writer(path, format);
            writer.setQuality(format[0] == 'J' ? 90 : 50);
            writer.write(photo);
            kinds.push_back({format[0] == 'J' ? "photo 8000 x 6000 jpeg" : "photo 8000 x 6000 png", path});
        }
    }
    QByteArray arithmetic = damaged::JpegWith(32767, 32767, true, 66000);
    arithmetic[arithmetic.indexOf("\xFF\xC2") + 1] = char(0xCA);
    file("png 1-bit 20000 x 20000", damaged::BlankPng(20000, 20000, 1, false));
    file("png 1-bit 32767 x 32767", damaged::BlankPng(32767, 32767, 1, false));
    file("png 8-bit palette 16000 x 16000", damaged::BlankPng(16000, 16000, 8, true));
    file("bmp rle8 16383 x 16383", damaged::RleRuns(16383, 16383, 8));
    file("bmp rle4 16383 x 16383", damaged::RleRuns(16383, 16383, 4));
    file("bmp 1-bit 16383 x 16383, half its rows", damaged::MonoBitmapRows(16383, 16383, 8192));
    file("gif 16000 x 16000, first frame paid by a later one", damaged::GifFrames(16000, 16000, 1, 1, 2, 62500));
    file("gif 16000 x 16000", damaged::GifFrames(16000, 16000, 16000, 16000, 62500, 0));
    file("jpeg progressive 32767 x 32767, comment padding", damaged::JpegWith(32767, 32767, true, 0, 0, 1000000));
    file("jpeg progressive 32767 x 32767, 1 MB of data", damaged::JpegWith(32767, 32767, true, 1050000));
    file("jpeg arithmetic progressive 32767 x 32767", arithmetic);
    file("jpeg 8000 x 8000, 6500 empty scans", damaged::JpegWith(8000, 8000, true, 62500, 6500));
    // The largest still read.
    file("png 1-bit 10000 x 10000 (cap)", damaged::BlankPng(10000, 10000, 1, false));
    file("png 8-bit palette 10000 x 10000 (cap)", damaged::BlankPng(10000, 10000, 8, true));
    file("bmp rle8 10000 x 10000 (cap)", damaged::RleRuns(10000, 10000, 8));
    file("gif 10000 x 8388 (cap)", damaged::GifFrames(10000, 8388, 10000, 8388, 20479, 0));
    file("jpeg progressive 10560 x 10560 (cap)", damaged::JpegWith(10560, 10560, true, 108900));
    file("jpeg progressive 8000 x 8000, 10 empty scans", damaged::JpegWith(8000, 8000, true, 62500, 10));
    file("jpeg baseline 32767 x 32767, 1 MB of data", damaged::JpegWith(32767, 32767, false, 1050000));
    return kinds;
}

}  // namespace bench
