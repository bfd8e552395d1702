// Loading a picture that will only be shown much smaller than it is: a JPEG
// is decoded straight at 1/2, 1/4 or 1/8 of its size (the decoder's own DCT
// scaling), which costs a fraction of a full decode. Other formats, and
// pictures that are needed near their own size, are decoded whole.
#pragma once

#include "platform/Surface.h"

#include <QSize>
#include <QString>

namespace platform {

struct CoveringPicture {
    Surface Pixels;   // the decoded picture, possibly reduced
    QSize FileSize;   // the picture's own size, as the file declares it
    LoadError Error = LoadError::None;
    explicit operator bool() const { return Error == LoadError::None; }
};

// The largest of 8, 4, 2 (else 1) by which a side pair can be divided,
// rounding up, and still cover need.
int ReductionFor(QSize fileSize, QSize need);

// Loads `path` at the smallest reduction that still covers `need` pixels on
// both sides; an invalid `need` (QSize()) loads it at its own size. Refuses what LoadPicture refuses: missing files, files that are
// not pictures or cannot be decoded, sides over kMaxPictureSide.
CoveringPicture LoadPictureCovering(const QString& path, QSize need);

}  // namespace platform
