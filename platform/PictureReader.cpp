#include "platform/PictureReader.h"

#include <QFile>
#include <QImageReader>

#include <utility>

namespace platform {

namespace {

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

}  // namespace

int ReductionFor(QSize fileSize, QSize need) {
    for (int k : {8, 4, 2})
        if (CeilDiv(fileSize.width(), k) >= need.width() && CeilDiv(fileSize.height(), k) >= need.height()) return k;
    return 1;
}

CoveringPicture LoadPictureCovering(const QString& path, QSize need) {
    CoveringPicture result;
    QImageReader reader(path);
    if (!reader.canRead()) {
        result.Error = QFile::exists(path) ? LoadError::NotAPicture : LoadError::NotFound;
        return result;
    }
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide)) {
        result.Error = LoadError::TooLarge;
        return result;
    }
    // Only JPEG reduces inside its decoder; asking another format for a
    // smaller size would decode it whole and then scale it.
    const int k = size.isValid() && need.isValid() && reader.format() == "jpeg" ? ReductionFor(size, need) : 1;
    if (k > 1) reader.setScaledSize(QSize(CeilDiv(size.width(), k), CeilDiv(size.height(), k)));
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        result.Error = LoadError::NotAPicture;
        return result;
    }
    result.FileSize = k > 1 ? size : image.size();
    if (result.FileSize.width() > kMaxPictureSide || result.FileSize.height() > kMaxPictureSide) {
        result.Error = LoadError::TooLarge;
        return result;
    }
    result.Pixels = Surface::FromImage(image);
    return result;
}

LoadedPicture LoadPicture(const QString& path) {
    CoveringPicture full = LoadPictureCovering(path, QSize());
    LoadedPicture result;
    result.Pixels = std::move(full.Pixels);
    result.Error = full.Error;
    return result;
}

}  // namespace platform
